#include <cstring>
#include <stdexcept>

#include "image-data/program_image_description.h"

namespace ruvelto::image_data {

uint32_t ConstantSegment::Add(ConstantPiece piece, uint32_t size) {
    piece.offset = size_;
    size_ += size;
    pieces_.push_back(std::move(piece));
    return pieces_.back().offset;
}

uint32_t ConstantSegment::AddText(const std::string& name, const std::string& gbk) {
    ConstantPiece piece{ConstantPiece::Kind::kText, name, {gbk.begin(), gbk.end()}, {}, 0};
    piece.bytes.push_back(0);
    uint32_t size = static_cast<uint32_t>(piece.bytes.size());
    return Add(std::move(piece), size);
}

uint32_t ConstantSegment::AddByteSet(const std::string& name, const std::vector<uint8_t>& data) {
    ConstantPiece piece{ConstantPiece::Kind::kByteSet, name, {}, {}, 0};
    uint32_t header[2] = {1, static_cast<uint32_t>(data.size())};
    piece.bytes.resize(8);
    std::memcpy(piece.bytes.data(), header, 8);  // little-endian on every target we build
    piece.bytes.insert(piece.bytes.end(), data.begin(), data.end());
    uint32_t size = static_cast<uint32_t>(piece.bytes.size());
    return Add(std::move(piece), size);
}

uint32_t ConstantSegment::AddNumber(const std::string& name, double value) {
    ConstantPiece piece{ConstantPiece::Kind::kNumber, name, std::vector<uint8_t>(8), {}, 0};
    std::memcpy(piece.bytes.data(), &value, 8);
    return Add(std::move(piece), 8);
}

uint32_t ConstantSegment::AddBytes(const std::string& name, const std::vector<uint8_t>& data) {
    uint32_t size = static_cast<uint32_t>(data.size());
    return Add({ConstantPiece::Kind::kBytes, name, data, {}, 0}, size);
}

uint32_t ConstantSegment::AddPointers(const std::string& name, const std::vector<Symbol>& pointers) {
    uint32_t size = static_cast<uint32_t>(4 * pointers.size());
    return Add({ConstantPiece::Kind::kPointers, name, {}, pointers, 0}, size);
}

uint32_t ConstantSegment::OffsetOf(const std::string& name) const {
    for (const ConstantPiece& piece : pieces_)
        if (piece.name == name) return piece.offset;
    throw std::out_of_range("no constant named " + name);
}

}  // namespace ruvelto::image_data
