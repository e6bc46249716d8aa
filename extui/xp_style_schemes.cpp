#include "extui/xp_style_schemes.h"

namespace ruvelto::extui {
namespace {

constexpr SkinScheme kBlue = {
    0x00BD9E7B,
    RGB(0, 60, 116),
    RGB(255, 255, 255), RGB(214, 208, 197),
    RGB(209, 204, 193), RGB(239, 238, 233),
    RGB(255, 240, 207), RGB(229, 151, 0),
    RGB(206, 231, 255), RGB(105, 130, 238),
    RGB(28, 81, 128),
    RGB(220, 220, 215), RGB(255, 255, 255),
    RGB(33, 161, 33),
    RGB(181, 200, 251),
    RGB(200, 216, 252), RGB(166, 192, 247),
    RGB(223, 234, 255), RGB(188, 208, 253),
    RGB(142, 170, 236), RGB(178, 198, 245),
    RGB(77, 97, 133),
    RGB(208, 208, 191), RGB(0, 70, 213),
};

constexpr SkinScheme kOlive = {
    0x007FB9A4,
    RGB(55, 98, 6),
    RGB(255, 255, 246), RGB(216, 214, 186),
    RGB(205, 202, 175), RGB(238, 236, 222),
    RGB(250, 240, 200), RGB(225, 160, 40),
    RGB(210, 230, 170), RGB(139, 169, 72),
    RGB(85, 121, 38),
    RGB(220, 221, 205), RGB(255, 255, 245),
    RGB(90, 140, 30),
    RGB(164, 185, 127),
    RGB(226, 234, 196), RGB(192, 207, 150),
    RGB(238, 244, 214), RGB(208, 222, 168),
    RGB(170, 188, 124), RGB(206, 218, 170),
    RGB(80, 100, 50),
    RGB(208, 208, 191), RGB(70, 110, 20),
};

constexpr SkinScheme kSilver = {
    0x00D7C5C6,
    RGB(80, 80, 100),
    RGB(255, 255, 255), RGB(206, 206, 220),
    RGB(196, 196, 210), RGB(236, 236, 242),
    RGB(255, 240, 207), RGB(229, 151, 0),
    RGB(226, 226, 240), RGB(150, 150, 184),
    RGB(100, 100, 130),
    RGB(224, 224, 232), RGB(255, 255, 255),
    RGB(60, 60, 90),
    RGB(198, 197, 215),
    RGB(244, 244, 250), RGB(206, 206, 222),
    RGB(252, 252, 255), RGB(222, 222, 236),
    RGB(176, 176, 198), RGB(210, 210, 226),
    RGB(70, 70, 100),
    RGB(200, 200, 212), RGB(60, 60, 110),
};

}  // namespace

const SkinScheme& SchemeColours(int scheme) {
    switch (scheme) {
        case 2: return kOlive;
        case 3: return kSilver;
        default: return kBlue;
    }
}

}  // namespace ruvelto::extui
