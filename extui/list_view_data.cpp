#include "extui/list_view_data.h"

#include <cstring>

namespace ruvelto::extui {
namespace {

class EntryReader {
public:
    explicit EntryReader(const std::vector<uint8_t>& data) : data_(data) {}

    bool AtEnd() const { return at_ >= data_.size(); }
    bool Ok() const { return ok_; }

    uint8_t Byte() {
        if (!Need(1)) return 0;
        return data_[at_++];
    }
    uint32_t Word() {
        if (!Need(4)) return 0;
        uint32_t v = 0;
        for (int i = 0; i < 4; ++i) v |= static_cast<uint32_t>(data_[at_ + i]) << (8 * i);
        at_ += 4;
        return v;
    }
    std::string Text() {
        if (!ok_) return {};
        const void* end = std::memchr(data_.data() + at_, 0, data_.size() - at_);
        if (!end) {
            ok_ = false;
            return {};
        }
        const size_t length = static_cast<const uint8_t*>(end) - (data_.data() + at_);
        std::string text(reinterpret_cast<const char*>(data_.data() + at_), length);
        at_ += length + 1;
        return text;
    }

private:
    bool Need(size_t n) {
        if (ok_ && data_.size() - at_ >= n) return true;
        ok_ = false;
        return false;
    }
    const std::vector<uint8_t>& data_;
    size_t at_ = 0;
    bool ok_ = true;
};

void PutWord(std::vector<uint8_t>& out, uint32_t value) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

void PutText(std::vector<uint8_t>& out, const std::string& text) {
    // A text stops at its first zero byte: the reader could not find its end otherwise.
    out.insert(out.end(), text.begin(), text.begin() + static_cast<std::ptrdiff_t>(std::strlen(text.c_str())));
    out.push_back(0);
}

}  // namespace

std::vector<ListColumn> ReadColumns(const std::vector<uint8_t>& data) {
    std::vector<ListColumn> columns;
    EntryReader in(data);
    while (!in.AtEnd()) {
        ListColumn c;
        c.imageOnRight = in.Byte() != 0;
        c.image = static_cast<int32_t>(in.Word());
        c.align = in.Word();
        c.width = static_cast<int32_t>(in.Word());
        c.title = in.Text();
        if (!in.Ok()) break;
        columns.push_back(std::move(c));
    }
    return columns;
}

std::vector<uint8_t> ColumnData(const std::vector<ListColumn>& columns) {
    std::vector<uint8_t> out;
    for (const ListColumn& c : columns) {
        out.push_back(c.imageOnRight ? 1 : 0);
        PutWord(out, static_cast<uint32_t>(c.image));
        PutWord(out, c.align);
        PutWord(out, static_cast<uint32_t>(c.width));
        PutText(out, c.title);
    }
    return out;
}

std::vector<ListItemEntry> ReadItems(const std::vector<uint8_t>& data) {
    std::vector<ListItemEntry> entries;
    EntryReader in(data);
    while (!in.AtEnd()) {
        ListItemEntry e;
        e.newRow = in.Byte() == 0;
        e.image = static_cast<int32_t>(in.Word());
        e.stateImage = static_cast<int32_t>(in.Word());
        e.indent = static_cast<int32_t>(in.Word());
        e.data = in.Word();
        e.text = in.Text();
        e.tip = in.Text();
        if (!in.Ok()) break;
        entries.push_back(std::move(e));
    }
    return entries;
}

std::vector<uint8_t> ItemData(const std::vector<ListItemEntry>& entries) {
    std::vector<uint8_t> out;
    for (const ListItemEntry& e : entries) {
        out.push_back(e.newRow ? 0 : 1);
        PutWord(out, static_cast<uint32_t>(e.image));
        PutWord(out, static_cast<uint32_t>(e.stateImage));
        PutWord(out, static_cast<uint32_t>(e.indent));
        PutWord(out, e.data);
        PutText(out, e.text);
        PutText(out, e.tip);
    }
    return out;
}

void AppendRow(std::vector<ListItemEntry>& entries, const std::vector<std::string>& texts, const std::string& tip) {
    for (size_t i = 0; i < texts.size(); ++i) {
        ListItemEntry e;
        e.newRow = i == 0;
        e.text = texts[i];
        if (i == 0) e.tip = tip;
        entries.push_back(std::move(e));
    }
}

}  // namespace ruvelto::extui
