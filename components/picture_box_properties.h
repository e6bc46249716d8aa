// The property objects of PicBox (version 2), DrawPanel (version 1) and CommonDlg (version 1,
// version 0 also read). Portable: the builder writes them into templates.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "components/property_fields.h"

namespace ruvelto::components {

struct PicBoxProperties {
    static constexpr uint32_t kVersion = 2;

    uint32_t border = 0;
    uint32_t backColor = kSystemColor;
    std::vector<uint8_t> picture;
    uint32_t displayMode = 0;  // 0 natural size at the top-left, 1 stretched, 2 centred and shrunk to fit
    uint32_t animate = 1;
    std::string dataSource;
    std::string dataField;

    bool Load(PropertyBlobReader& blob);
    void Save(PropertyBlobWriter& blob) const;
};

struct DrawPanelProperties {
    static constexpr uint32_t kVersion = 1;

    uint32_t border = 0;
    uint32_t backColor = kSystemColor;
    uint32_t pictureMode = 1;  // 0 top-left, 1 tiled, 2 centred and shrunk to fit
    uint32_t autoRedraw = 0;
    uint32_t scaleMode = 0;    // 0 pixels, 1 0.1 mm, 2 0.01 mm, 3 0.01 inch, 4 0.001 inch, 5 twips
    uint32_t penStyle = 1;
    uint32_t drawMode = 12;    // SetROP2(value + 1)
    uint32_t penWidth = 0;
    uint32_t penColor = 0;
    uint32_t brushStyle = 1;
    uint32_t brushColor = 0xFFFFFF;
    uint32_t textColor = 0;
    uint32_t textBackColor = kSystemColor;  // transparent text background
    std::vector<uint8_t> font;
    std::vector<uint8_t> picture;

    bool Load(PropertyBlobReader& blob);
    void Save(PropertyBlobWriter& blob) const;
};

struct CommonDlgProperties {
    static constexpr uint32_t kVersion = 1;

    uint32_t dialogType = 0;  // 0 open file, 1 save file, 2 font, 3 help
    uint32_t filterIndex = 0;
    uint32_t createPrompt = 0;
    uint32_t fileMustExist = 1;
    uint32_t overwritePrompt = 1;
    uint32_t pathMustExist = 1;
    uint32_t keepDirectory = 0;
    uint32_t fontColor = 0;
    uint32_t fontBold = 0;
    uint32_t fontItalic = 0;
    uint32_t fontStrikeOut = 0;
    uint32_t fontUnderline = 0;
    uint32_t fontSize = 0;
    uint32_t helpCommand = 0;
    uint32_t helpContext = 0;
    std::string title;
    std::string fileName;
    std::string fileFilter;
    std::string initialDirectory;
    std::string defaultExtension;
    std::string fontName;
    std::string helpFile;

    bool Load(PropertyBlobReader& blob);
    void Save(PropertyBlobWriter& blob) const;
};

}  // namespace ruvelto::components
