// DrawPanel (画板): a window the application draws on with a pen, a brush, a font, colours and a
// coordinate unit. With AutoRedraw everything drawn also goes into an off-screen copy, which
// repaints the panel, survives resizing (in the top-left corner) and can be read back as a
// picture. The three methods the application calls are here as core library commands.
#pragma once
#include <windows.h>

#include <cstdint>
#include <optional>
#include <vector>

#include "components/component_base.h"
#include "components/picture.h"
#include "components/picture_box_properties.h"
#include "runtime/value_record.h"

namespace ruvelto::components {

class DrawPanel : public ComponentBase {
public:
    bool LoadProperties(PropertyBlobReader& blob) override { return p_.Load(blob); }
    void SaveProperties(PropertyBlobWriter& blob) const override { p_.Save(blob); }
    bool CreateControl(const CreateArguments& arguments, DWORD style) override;
    void ApplyProperties() override;
    uint32_t SetProperty(int32_t index, const forms::PropertyData& value) override;
    bool GetProperty(int32_t index, forms::PropertyData* value) override;

    // Device pixels; each given part replaces that part of the client area.
    void ClearPanel(std::optional<int32_t> left, std::optional<int32_t> top, std::optional<int32_t> width,
                    std::optional<int32_t> height);
    // Position and size in the current unit; an absent size is the picture's own. Mode: absent
    // or 1 copy, 2 negative, 3 invert, 4 paint, 5 and, any other value the raster operation
    // itself (below 0: transparent, the colour -mode as key).
    void DrawPicture(const DecodedPicture& picture, int32_t x, int32_t y, std::optional<int32_t> width,
                     std::optional<int32_t> height, std::optional<int32_t> mode);
    // The panel (its off-screen copy, or what the screen shows) as the bytes of a 24-bit BMP
    // file of the given size: 0 the panel's own, below 0 a percentage of it (at least 10 %).
    // Empty when the size is not positive or the conversion fails.
    std::vector<uint8_t> GetPicture(int32_t width, int32_t height);

    const char* FaceName() const { return face_.lfFaceName; }

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void ReleaseResources() override;

private:
    void MakePen();
    void MakeBrush();
    void MakeFont();
    void MakeOffscreen(bool keepContent);
    void DeleteOffscreen();
    DecodedPicture* Picture();
    void ReleaseBackgroundPicture();
    // Fills `area` of a DC in device pixels with the background picture and colour.
    void FillBackground(HDC dc, const RECT& client, const RECT& area);
    void ApplyScaleMode(HDC dc) const;
    // The drawing state; returns SaveDC's level for Unprepare.
    int Prepare(HDC dc, bool forText);
    void Unprepare(HDC dc, int saved);
    // Runs `draw` on the off-screen copy and then on the window.
    template <class Draw>
    void DrawOnTargets(Draw draw);
    void Paint();

    DrawPanelProperties p_;
    HPEN pen_ = nullptr;
    HBRUSH brush_ = nullptr;
    HBITMAP patternBitmap_ = nullptr;
    HFONT font_ = nullptr;
    LOGFONTA face_{};
    DecodedPicture* picture_ = nullptr;
    bool pictureTried_ = false;
    HBITMAP offscreen_ = nullptr;
    SIZE offscreenSize_{};
    POINT textPosition_{};
    HDC paintDc_ = nullptr;
    int paintSaved_ = 0;  // the paint DC's saved level while a redraw handler runs
};

// The 8 x 8 monochrome pattern of BrushStyle 8-55 (eight row bytes), or null.
const uint8_t* BrushPattern(uint32_t brushStyle);

}  // namespace ruvelto::components
