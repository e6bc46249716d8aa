#include "forms/window_properties.h"

#include "forms/property_blob.h"

namespace ruvelto::forms {

bool WindowProperties::Load(const uint8_t* blob, uint32_t length) {
    *this = WindowProperties{};
    if (!blob || length == 0) return true;
    PropertyBlobReader r(blob, length);
    WindowProperties p;
    uint32_t version = r.U32();
    if (!r.Ok() || version > kVersion) return false;
    p.borderStyle = r.U32();
    p.pictureMode = r.U32();
    p.backColor = r.U32();
    p.maxButton = r.U32() != 0;
    p.minButton = r.U32() != 0;
    p.controlBox = r.U32() != 0;
    p.position = r.U32();
    p.movable = r.U32() != 0;
    p.soundMode = r.U32();
    p.enterMovesFocus = r.U32() != 0;
    p.escCloses = r.U32() != 0;
    p.f1Help = r.U32() != 0;
    p.helpContext = r.U32();
    if (version >= 2) p.showInTaskbar = r.U32() != 0;
    if (version >= 3) {
        p.dragByClient = r.U32() != 0;
        p.shape = r.U32();
    }
    if (version >= 4) p.alwaysOnTop = r.U32() != 0;
    if (version >= 5) p.keepActiveCaption = r.U32() != 0;
    if (version >= 6) p.className = r.Text();
    p.picture = r.Bytes();
    p.icon = r.Bytes();
    p.sound = r.Bytes();
    p.caption = r.Text();
    p.helpFile = r.Text();
    if (!r.Ok()) return false;
    *this = std::move(p);
    return true;
}

std::vector<uint8_t> WindowProperties::Save() const {
    PropertyBlobWriter w;
    w.U32(kVersion);
    w.U32(borderStyle);
    w.U32(pictureMode);
    w.U32(backColor);
    w.U32(maxButton);
    w.U32(minButton);
    w.U32(controlBox);
    w.U32(position);
    w.U32(movable);
    w.U32(soundMode);
    w.U32(enterMovesFocus);
    w.U32(escCloses);
    w.U32(f1Help);
    w.U32(helpContext);
    w.U32(showInTaskbar);
    w.U32(dragByClient);
    w.U32(shape);
    w.U32(alwaysOnTop);
    w.U32(keepActiveCaption);
    w.Text(className);
    w.Bytes(picture);
    w.Bytes(icon);
    w.Bytes(sound);
    w.Text(caption);
    w.Text(helpFile);
    return w.Data();
}

}  // namespace ruvelto::forms
