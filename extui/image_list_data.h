// Image list data of the extended components: the tag "MITL", four bytes the reader skips, then
// an image list in the platform's image list stream format (as ImageList_Write writes it).
#pragma once
#include <windows.h>

#include <commctrl.h>

#include <cstdint>
#include <vector>

namespace ruvelto::extui {

// A new image list the caller destroys, or null for data shorter than 9 bytes, with another tag,
// or whose stream does not read.
HIMAGELIST ReadImageListData(const std::vector<uint8_t>& data);
// The data of an image list (empty when it cannot be written).
std::vector<uint8_t> ImageListData(HIMAGELIST list);

// An image list slot that destroys what it holds.
class OwnedImageList {
public:
    OwnedImageList() = default;
    OwnedImageList(const OwnedImageList&) = delete;
    OwnedImageList& operator=(const OwnedImageList&) = delete;
    ~OwnedImageList() { Reset(); }

    HIMAGELIST Get() const { return list_; }
    void Reset(HIMAGELIST list = nullptr) {
        if (list_ && list_ != list) ImageList_Destroy(list_);
        list_ = list;
    }
    // Gives the list up (to a control that destroys it itself).
    HIMAGELIST Release() {
        HIMAGELIST list = list_;
        list_ = nullptr;
        return list;
    }
    int Count() const { return list_ ? ImageList_GetImageCount(list_) : 0; }

private:
    HIMAGELIST list_ = nullptr;
};

}  // namespace ruvelto::extui
