// The preview of the clicked row at the chosen JPEG quality, and the three linked quality
// controls (slider, text box, stepper).
#include "app/app_state.h"
#include "app/dct_scale.h"
#include "app/handlers.h"
#include "app/main_window_access.h"
#include "app/picture_formats.h"
#include "app/picture_list.h"
#include "app/program_commands.h"
#include "app/scaled_decode.h"

namespace ruvelto::app {
namespace {

using namespace main_window;

// The preview is encoded in the picture's own format when the core picture decoder can show
// it (so that a JPEG shows the chosen quality), and as BMP otherwise (PNG, probed formats).
int32_t PreviewEncoding() {
    const int32_t format = App().PreviewFormat;
    return CorePictureDecoderReads(format) ? format : kFormatBmp;
}

// How many times the preview was drawn: a handler run by a change of the quality controls draws
// it, and what it drew need not be drawn again.
uint32_t previewDraws = 0;

void ReleasePreviewPicture() {
    UnloadPicture(App().PreviewPicture);
    App().PreviewPicture = 0;
}

// Registers PreviewBytes as a picture (releasing the one shown before) and draws it stretched
// over the cleared panel.
void DrawPreview() {
    ++previewDraws;
    ReleasePreviewPicture();
    ClearPanel(kPreviewPanel);
    if (!App().PreviewBytes) return;
    App().PreviewPicture = LoadPictureBytes(App().PreviewBytes);
    DrawPictureStretched(kPreviewPanel, App().PreviewPicture, Property(kPreviewPanel, kWidthProperty),
                         Property(kPreviewPanel, kHeightProperty));
}

void EncodePreviewAtSliderQuality() {
    SetJpegScale(0);
    SetJpegQuality(static_cast<uint8_t>(Property(kQualitySlider, kSliderPositionProperty)));
    if (!EncodeToBin(&App().PreviewBytes, PreviewEncoding())) Free(App().PreviewBytes), App().PreviewBytes = nullptr;
}

// Decodes the picture at path for the panel. The panel draws the picture stretched to its own
// size, so a JPEG is decoded no larger than that (a 6000 x 4000 photo at 1/8): decoding it in
// full, encoding it at the chosen quality and reading that back took over a second to show the
// same few hundred pixels.
bool DecodeForPanel(const std::string& path, int32_t format) {
    return DecodeScaled(path, format, [](int32_t width, int32_t height) {
        return DctScaleFor(width, height, Property(kPreviewPanel, kWidthProperty), Property(kPreviewPanel, kHeightProperty));
    }) >= 0;
}

void PreviewCurrentRow() {
    AppState& app = App();
    const int32_t row = Property(kPictureList, kListSelectionProperty);
    if (row == -1) return;
    const std::string path = RowPath(row);
    Free(app.CurrentPicturePath);
    app.CurrentPicturePath = CopyText(path.c_str());
    const std::string extension = ExtensionOf(path);
    if (extension.empty()) return;
    app.PreviewFormat = FormatOfExtension(extension);
    if (!DecodeForPanel(path, app.PreviewFormat)) {
        // Nothing of the picture shown before may stand in for this one.
        DestroyPicture();
        Free(app.PreviewBytes), app.PreviewBytes = nullptr;
        DrawPreview();
        return;
    }
    // Writing the text runs the text box's handler, which encodes and draws at the slider's
    // quality already; that is drawn again only when no handler ran (encoding and drawing again
    // took a fifth of a large photo's preview).
    const uint32_t drawsBefore = previewDraws;
    SetEditText(kQualityText, ToText(GetJpegQuality()).c_str());
    SetProperty(kQualityStepper, kStepperPositionProperty, ToInteger(EditText(kQualityText).c_str()));
    if (previewDraws != drawsBefore) return;
    EncodePreviewAtSliderQuality();
    DrawPreview();
}

}  // namespace
}  // namespace ruvelto::app

using namespace ruvelto::app;
using namespace ruvelto::main_window;

RUVELTO_HANDLER(ruvelto_on_list_clicked) { return PreviewCurrentRow(), kNoAnswer; }

RUVELTO_HANDLER(ruvelto_on_quality_slider) {
    const int32_t position = Property(kQualitySlider, kSliderPositionProperty);
    SetEditText(kQualityText, ToText(position).c_str());
    SetProperty(kQualityStepper, kStepperPositionProperty, position);
    EncodePreviewAtSliderQuality();
    DrawPreview();
    return kNoAnswer;
}

RUVELTO_HANDLER(ruvelto_on_quality_text) {
    SetProperty(kQualitySlider, kSliderPositionProperty, ToInteger(EditText(kQualityText).c_str()));
    EncodePreviewAtSliderQuality();
    DrawPreview();
    return kNoAnswer;
}

RUVELTO_HANDLER(ruvelto_on_quality_stepper) {
    SetEditText(kQualityText, ToText(Property(kQualityStepper, kStepperPositionProperty)).c_str());
    return kNoAnswer;
}
