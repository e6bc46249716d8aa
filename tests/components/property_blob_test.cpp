// The property blobs of the standard components: the template examples reproduced byte for byte
// by the builder and read back to the same values, every type round-tripping its non-default
// values, and versions and truncation rejected.
#include <gtest/gtest.h>

#include <functional>

#include "image-data/component_blobs.h"

namespace ruvelto::image_data {
namespace {

using Bytes = std::vector<uint8_t>;

struct Stream {
    Bytes bytes;
    Stream& Word(uint32_t v) {
        for (int i = 0; i < 4; ++i) bytes.push_back(uint8_t(v >> (8 * i)));
        return *this;
    }
    Stream& Half(uint16_t v) {
        bytes.push_back(uint8_t(v));
        bytes.push_back(uint8_t(v >> 8));
        return *this;
    }
    Stream& Text(const std::string& s) {
        Word(uint32_t(s.size()));
        bytes.insert(bytes.end(), s.begin(), s.end());
        return *this;
    }
};

template <class Properties, class... Kind>
bool Read(const Bytes& blob, Properties* out, Kind... kind) {
    components::PropertyBlobReader reader(blob.data(), uint32_t(blob.size()));
    return out->Load(reader, kind...);
}

TEST(ComponentBlobs, CheckBoxCaptionedIcoIsTheTemplatesFiftyNineBytes) {
    CheckBoxProperties box = CheckBoxDefaults();
    box.caption = "ico";
    Bytes expected = Stream()
                         .Word(2)
                         .Word(0).Word(0).Word(0).Word(0).Word(1).Word(0).Word(0xFF000000).Word(0)
                         .Word(0).Word(0)
                         .Text("ico").Text("").Text("")
                         .bytes;
    ASSERT_EQ(expected.size(), 59u);
    EXPECT_EQ(CheckBoxBlob(box), expected);

    CheckBoxProperties read = CheckBoxDefaults();
    read.caption.clear();
    ASSERT_TRUE(Read(expected, &read, components::TickKind::kCheckBox));
    EXPECT_EQ(read.caption, "ico");
    EXPECT_EQ(read.verticalAlign, 1u);
    EXPECT_EQ(read.backColor, 0xFF000000u);
    EXPECT_EQ(read.checked, 0u);
    EXPECT_TRUE(read.picture.empty() && read.font.empty() && read.dataSource.empty());
}

TEST(ComponentBlobs, IntegerEditBoxHolding60IsTheTemplatesEightyFourBytes) {
    EditBoxProperties edit;
    edit.text = "60";
    edit.inputMode = components::kInputInteger;
    Bytes expected = Stream()
                         .Word(2).Word(1).Word(0).Word(0xFFFFFF).Word(1).Word(0).Word(0).Word(0).Word(0).Word(7)
                         .Half(0x2A)
                         .Word(0).Word(0).Word(0).Word(100).Word(0).Word(0)
                         .Word(0).Text("60").Text("").Text("")
                         .bytes;
    ASSERT_EQ(expected.size(), 84u);
    EXPECT_EQ(EditBoxBlob(edit), expected);

    EditBoxProperties read;
    ASSERT_TRUE(Read(expected, &read));
    EXPECT_EQ(read.text, "60");
    EXPECT_EQ(read.inputMode, 7u);
    EXPECT_EQ(read.passwordChar, '*');
    EXPECT_EQ(read.spinMax, 100);
    EXPECT_EQ(read.border, 1u);
}

TEST(ComponentBlobs, SeparatorLabelIsTheTemplatesEightyEightBytes) {
    LabelProperties line;
    line.backColor = 0x606060;
    line.caption.clear();
    Bytes expected = Stream()
                         .Word(2).Word(0).Word(8).Word(0)
                         .Word(0x808080).Word(0xFFFFFF).Word(0x808080)
                         .Word(0).Word(0x606060).Word(1).Word(0)
                         .Word(0x808080).Word(0xFFFFFF).Word(0x808080)
                         .Word(0).Word(1).Word(0)
                         .Word(0).Word(0).Text("").Text("").Text("")
                         .bytes;
    ASSERT_EQ(expected.size(), 88u);
    EXPECT_EQ(LabelBlob(line), expected);

    LabelProperties read;
    ASSERT_TRUE(Read(expected, &read));
    EXPECT_EQ(read.caption, "");
    EXPECT_EQ(read.backColor, 0x606060u);
    EXPECT_EQ(read.frameWidth, 8);
    EXPECT_EQ(read.verticalAlign, 1u);
    EXPECT_EQ(read.wordWrap, 0u);
}

// Every field of every type set away from its default survives writing and reading; the stored
// order quirks of Label (FrameWidth before Border, VerticalAlign before WordWrap) included.
TEST(ComponentBlobs, EveryTypeRoundTripsItsValues) {
    const Bytes font = FontProperty("\xCB\xCE\xCC\xE5", -12, 700);  // 宋体
    const Bytes picture = {'B', 'M', 1, 2, 3};

    ButtonProperties button;
    button.buttonType = 1, button.horizontalAlign = 2, button.verticalAlign = 0;
    button.picture = picture, button.font = font, button.caption = "OK";
    ButtonProperties buttonRead;
    ASSERT_TRUE(Read(ButtonBlob(button), &buttonRead));
    EXPECT_EQ(ButtonBlob(buttonRead), ButtonBlob(button));
    EXPECT_EQ(buttonRead.caption, "OK");
    EXPECT_EQ(buttonRead.picture, picture);

    CheckBoxProperties radio = RadioBoxDefaults();
    radio.pushLike = 1, radio.flat = 1, radio.textOnLeft = 1, radio.checked = 1, radio.textColor = 0xFF;
    radio.caption = "\xB0\xB4\xB1\xC8\xC0\xFD";  // 按比例
    Bytes radioBlob = RadioBoxBlob(radio);
    EXPECT_EQ(radioBlob[0], 1) << "a radio box is written as version 1";
    EXPECT_EQ(radioBlob.size(), 4 + 8 * 4 + 4 + 4 + 4 + radio.caption.size()) << "no binding texts";
    CheckBoxProperties radioRead = RadioBoxDefaults();
    ASSERT_TRUE(Read(radioBlob, &radioRead, components::TickKind::kRadioBox));
    EXPECT_EQ(RadioBoxBlob(radioRead), radioBlob);

    EditBoxProperties edit;
    edit.border = 5, edit.multiLine = 1, edit.scrollBars = 3, edit.passwordChar = '#', edit.spinMode = 2;
    edit.spinMin = -5, edit.selStart = -1, edit.font = font, edit.dataSource = "s", edit.dataField = "f";
    EditBoxProperties editRead;
    ASSERT_TRUE(Read(EditBoxBlob(edit), &editRead));
    EXPECT_EQ(EditBoxBlob(editRead), EditBoxBlob(edit));
    EXPECT_EQ(editRead.spinMin, -5);

    LabelProperties label;
    label.border = 6, label.frameWidth = 12, label.verticalAlign = 2, label.wordWrap = 1;
    label.gradientMode = 3, label.gradientColors[1] = 0xFF000000, label.picture = picture;
    LabelProperties labelRead;
    ASSERT_TRUE(Read(LabelBlob(label), &labelRead));
    EXPECT_EQ(labelRead.border, 6u);
    EXPECT_EQ(labelRead.frameWidth, 12);
    EXPECT_EQ(labelRead.verticalAlign, 2u);
    EXPECT_EQ(labelRead.wordWrap, 1u);
    EXPECT_EQ(LabelBlob(labelRead), LabelBlob(label));

    GroupBoxProperties group;
    group.caption = "\xCC\xED\xBC\xD3\xCD\xBC\xC6\xAC", group.horizontalAlign = 1, group.backColor = 0xC0C0C0;
    GroupBoxProperties groupRead;
    ASSERT_TRUE(Read(GroupBoxBlob(group), &groupRead));
    EXPECT_EQ(GroupBoxBlob(groupRead), GroupBoxBlob(group));

    ShapeBoxProperties shape;
    shape.shape = 3, shape.effect = 2, shape.lineWidth = 4, shape.fillColor = 0x00FF00;
    ShapeBoxProperties shapeRead;
    ASSERT_TRUE(Read(ShapeBoxBlob(shape), &shapeRead));
    EXPECT_EQ(ShapeBoxBlob(shapeRead), ShapeBoxBlob(shape));
    EXPECT_EQ(ShapeBoxBlob(shape).size(), 32u);

    SliderBarProperties slider;
    slider.tickStyle = 3, slider.showSelection = 1, slider.selectionStart = 2, slider.position = 7;
    SliderBarProperties sliderRead;
    ASSERT_TRUE(Read(SliderBarBlob(slider), &sliderRead));
    EXPECT_EQ(SliderBarBlob(sliderRead), SliderBarBlob(slider));
    EXPECT_EQ(SliderBarBlob(slider).size(), 4u + 12 * 4);

    ProcessBarProperties progress;
    progress.smooth = 1, progress.maximum = 40, progress.position = 9;
    ProcessBarProperties progressRead;
    ASSERT_TRUE(Read(ProcessBarBlob(progress), &progressRead));
    EXPECT_EQ(ProcessBarBlob(progressRead), ProcessBarBlob(progress));

    HScrollBarProperties scroll;
    scroll.trackEvents = 0, scroll.pageChange = 3;
    HScrollBarProperties scrollRead;
    ASSERT_TRUE(Read(HScrollBarBlob(scroll), &scrollRead));
    EXPECT_EQ(scrollRead.trackEvents, 0u);
    EXPECT_EQ(HScrollBarBlob(scrollRead), HScrollBarBlob(scroll));
}

// A blob one version newer than its type knows, or cut short anywhere, does not load.
TEST(ComponentBlobs, PictureTypesAsTheTemplatesHoldThem) {
    // The main window's panels: AutoRedraw on, every other property at its default; 64 bytes.
    DrawPanelProperties panel;
    panel.autoRedraw = 1;
    const Bytes expected = Stream()
                               .Word(1).Word(0).Word(0xFF000000).Word(1).Word(1).Word(0).Word(1).Word(12).Word(0)
                               .Word(0).Word(1).Word(0xFFFFFF).Word(0).Word(0xFF000000).Word(0).Word(0)
                               .bytes;
    ASSERT_EQ(expected.size(), 64u);
    EXPECT_EQ(DrawPanelBlob(panel), expected);

    // A stretched JPEG on the system background, then the two empty binding texts.
    PicBoxProperties box;
    box.displayMode = 1;
    box.picture = {0xFF, 0xD8, 0xFF, 0xD9};
    EXPECT_EQ(PicBoxBlob(box), Stream().Word(2).Word(0).Word(0xFF000000).Word(1).Word(1).Word(4)
                                   .Word(0xD9FFD8FF).Text("").Text("").bytes);
    PicBoxProperties older;
    const Bytes version1 = Stream().Word(1).Word(3).Word(0x123456).Word(2).Word(0).Word(0).bytes;
    ASSERT_TRUE(Read(version1, &older));
    EXPECT_EQ(older.border, 3u);
    EXPECT_EQ(older.displayMode, 2u);
    EXPECT_EQ(older.animate, 0u);

    // CommonDlg: empty data gives the defaults; a stored text ends at a zero byte inside it.
    CommonDlgProperties dialog;
    dialog.fileFilter = "a|*.a";
    Bytes withZero = CommonDlgBlob(dialog);
    const size_t filterAt = 4 + 15 * 4 + 4 + 4 + 4;  // after the words, Title and FileName
    withZero[filterAt + 1] = 0;
    CommonDlgProperties read;
    ASSERT_TRUE(Read(withZero, &read));
    EXPECT_EQ(read.fileFilter, "a");
    EXPECT_EQ(read.fileMustExist, 1u);
    EXPECT_EQ(read.overwritePrompt, 1u);
}

TEST(ComponentBlobs, NewerVersionsAndTruncatedDataAreRejected) {
    struct Case {
        const char* type;
        Bytes blob;
        uint32_t highest;
        std::function<bool(const Bytes&)> load;
    };
    std::vector<Case> cases = {
        {"Button", ButtonBlob({}), 1, [](const Bytes& b) { ButtonProperties p; return Read(b, &p); }},
        {"CheckBox", CheckBoxBlob(CheckBoxDefaults()), 2,
         [](const Bytes& b) { auto p = CheckBoxDefaults(); return Read(b, &p, components::TickKind::kCheckBox); }},
        {"RadioBox", RadioBoxBlob(RadioBoxDefaults()), 1,
         [](const Bytes& b) { auto p = RadioBoxDefaults(); return Read(b, &p, components::TickKind::kRadioBox); }},
        {"EditBox", EditBoxBlob({}), 2, [](const Bytes& b) { EditBoxProperties p; return Read(b, &p); }},
        {"Label", LabelBlob({}), 2, [](const Bytes& b) { LabelProperties p; return Read(b, &p); }},
        {"GroupBox", GroupBoxBlob({}), 1, [](const Bytes& b) { GroupBoxProperties p; return Read(b, &p); }},
        {"ShapeBox", ShapeBoxBlob({}), 1, [](const Bytes& b) { ShapeBoxProperties p; return Read(b, &p); }},
        {"ProcessBar", ProcessBarBlob({}), 1, [](const Bytes& b) { ProcessBarProperties p; return Read(b, &p); }},
        {"SliderBar", SliderBarBlob({}), 1, [](const Bytes& b) { SliderBarProperties p; return Read(b, &p); }},
        {"HScrollBar", HScrollBarBlob({}), 1, [](const Bytes& b) { HScrollBarProperties p; return Read(b, &p); }},
        {"PicBox", PicBoxBlob({}), 2, [](const Bytes& b) { PicBoxProperties p; return Read(b, &p); }},
        {"DrawPanel", DrawPanelBlob({}), 1, [](const Bytes& b) { DrawPanelProperties p; return Read(b, &p); }},
        {"CommonDlg", CommonDlgBlob({}), 1, [](const Bytes& b) { CommonDlgProperties p; return Read(b, &p); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.type);
        EXPECT_TRUE(c.load(c.blob));
        Bytes newer = c.blob;
        newer[0] = uint8_t(c.highest + 1);
        EXPECT_FALSE(c.load(newer));
        for (size_t cut = 1; cut < c.blob.size(); ++cut) {
            EXPECT_FALSE(c.load(Bytes(c.blob.begin(), c.blob.begin() + cut))) << "cut at " << cut;
        }
    }
}

// Older versions stop before the binding texts; version 0 bars read the same words.
TEST(ComponentBlobs, OlderVersionsEndBeforeTheBindingTexts) {
    CheckBoxProperties box = CheckBoxDefaults();
    box.caption = "bmp";
    Bytes v1 = RadioBoxBlob(box);  // the CheckBox layout up to the caption, version 1
    CheckBoxProperties read = CheckBoxDefaults();
    ASSERT_TRUE(Read(v1, &read, components::TickKind::kCheckBox));
    EXPECT_EQ(read.caption, "bmp");

    Bytes bar = HScrollBarBlob({});
    bar[0] = 0;
    HScrollBarProperties scroll;
    EXPECT_TRUE(Read(bar, &scroll));
    EXPECT_EQ(scroll.maximum, 100);
}

TEST(ComponentBlobs, FontPropertyIsALogFont) {
    Bytes font = FontProperty("\xCB\xCE\xCC\xE5", -12, 700, true);
    ASSERT_EQ(font.size(), 60u);
    EXPECT_EQ(font[0], 0xF4);  // -12
    EXPECT_EQ(font[3], 0xFF);
    EXPECT_EQ(font[16], 700 & 0xFF);
    EXPECT_EQ(font[20], 1);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&font[28])), "\xCB\xCE\xCC\xE5");
    EXPECT_EQ(FontProperty(std::string(40, 'x'), 0)[59], 0) << "the face name stays terminated";
}

}  // namespace
}  // namespace ruvelto::image_data
