#include "extui/image_list_data.h"

#include <objbase.h>

#include <cstring>

namespace ruvelto::extui {
namespace {

constexpr uint8_t kTag[4] = {'M', 'I', 'T', 'L'};
constexpr size_t kHeader = 8;

}  // namespace

HIMAGELIST ReadImageListData(const std::vector<uint8_t>& data) {
    if (data.size() < kHeader + 1 || std::memcmp(data.data(), kTag, 4) != 0) return nullptr;
    const size_t size = data.size() - kHeader;
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, size);
    if (!memory) return nullptr;
    std::memcpy(GlobalLock(memory), data.data() + kHeader, size);
    GlobalUnlock(memory);
    IStream* stream = nullptr;
    if (FAILED(CreateStreamOnHGlobal(memory, TRUE, &stream))) {
        GlobalFree(memory);
        return nullptr;
    }
    HIMAGELIST list = ImageList_Read(stream);
    stream->Release();
    return list;
}

std::vector<uint8_t> ImageListData(HIMAGELIST list) {
    std::vector<uint8_t> data;
    if (!list) return data;
    IStream* stream = nullptr;
    if (FAILED(CreateStreamOnHGlobal(nullptr, TRUE, &stream))) return data;
    HGLOBAL memory = nullptr;
    if (ImageList_Write(list, stream) && SUCCEEDED(GetHGlobalFromStream(stream, &memory))) {
        STATSTG stat{};
        stream->Stat(&stat, STATFLAG_NONAME);
        const size_t size = static_cast<size_t>(stat.cbSize.QuadPart);
        data.assign(kTag, kTag + 4);
        data.resize(kHeader + size, 0);
        std::memcpy(data.data() + kHeader, GlobalLock(memory), size);
        GlobalUnlock(memory);
    }
    stream->Release();
    return data;
}

}  // namespace ruvelto::extui
