#include "extui/status_bar_properties.h"

#include <cstring>

namespace ruvelto::extui {

bool StatusBarProperties::Load(PropertyBlobReader& blob) {
    uint32_t version = 0;
    if (!components::ReadVersion(blob, kVersion, &version)) return false;
    backColor = blob.U32();
    alignment = blob.U32();
    sizeGrip = blob.U32();
    font = blob.Bytes();
    panelImages = blob.Bytes();
    panels = blob.Bytes();
    return blob.Ok();
}

void StatusBarProperties::Save(PropertyBlobWriter& blob) const {
    blob.U32(kVersion);
    blob.U32(backColor);
    blob.U32(alignment);
    blob.U32(sizeGrip);
    blob.Bytes(font);
    blob.Bytes(panelImages);
    blob.Bytes(panels);
}

namespace {

uint32_t WordAt(const std::vector<uint8_t>& data, size_t at) {
    uint32_t v = 0;
    for (int i = 0; i < 4; ++i) v |= static_cast<uint32_t>(data[at + i]) << (8 * i);
    return v;
}

void PutWord(std::vector<uint8_t>& out, uint32_t value) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

// A zero-terminated text at `at`; false when the data ends first.
bool TextAt(const std::vector<uint8_t>& data, size_t& at, std::string& text) {
    if (at > data.size()) return false;
    const void* end = std::memchr(data.data() + at, 0, data.size() - at);
    if (!end) return false;
    const size_t length = static_cast<const uint8_t*>(end) - (data.data() + at);
    text.assign(reinterpret_cast<const char*>(data.data() + at), length);
    at += length + 1;
    return true;
}

}  // namespace

std::vector<StatusPanel> ReadPanels(const std::vector<uint8_t>& data) {
    std::vector<StatusPanel> panels;
    if (data.size() < 4) return panels;
    const uint32_t count = WordAt(data, 0);
    size_t at = 4;
    // Each panel takes at least 14 bytes, so the data bounds the count before anything grows.
    for (uint32_t i = 0; i < count && data.size() - at >= 14; ++i) {
        StatusPanel p;
        p.width = static_cast<int32_t>(WordAt(data, at));
        p.styleBits = WordAt(data, at + 4);
        p.icon = static_cast<int32_t>(WordAt(data, at + 8));
        at += 12;
        if (!TextAt(data, at, p.text) || !TextAt(data, at, p.tip)) break;
        panels.push_back(std::move(p));
    }
    return panels;
}

std::vector<uint8_t> PanelData(const std::vector<StatusPanel>& panels) {
    std::vector<uint8_t> out;
    PutWord(out, static_cast<uint32_t>(panels.size()));
    for (const StatusPanel& p : panels) {
        PutWord(out, static_cast<uint32_t>(p.width));
        PutWord(out, p.styleBits);
        PutWord(out, static_cast<uint32_t>(p.icon));
        out.insert(out.end(), p.text.c_str(), p.text.c_str() + std::strlen(p.text.c_str()) + 1);
        out.insert(out.end(), p.tip.c_str(), p.tip.c_str() + std::strlen(p.tip.c_str()) + 1);
    }
    return out;
}

std::vector<int32_t> PanelEdges(const std::vector<StatusPanel>& panels) {
    std::vector<int32_t> edges(panels.size(), 0);
    int32_t right = 0;
    for (size_t i = 0; i < panels.size(); ++i) {
        if (panels[i].width == -1) {
            edges[i] = -1;
            break;
        }
        right += panels[i].width;
        edges[i] = right;
    }
    return edges;
}

}  // namespace ruvelto::extui
