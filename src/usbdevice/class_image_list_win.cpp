#include "usbdevice/class_image_list_win.h"

#include <rpc.h>

#include <algorithm>
#include <array>

namespace vantrel::dravik {

void ClassImageList::Ensure() {
    if (data_.ImageList)
        return;
    data_.cbSize = sizeof data_;
    if (!SetupDiGetClassImageList(&data_))
        data_.ImageList = nullptr;
}

void ClassImageList::Release() {
    if (data_.ImageList)
        SetupDiDestroyClassImageList(&data_);
    data_.ImageList = nullptr;
}

HIMAGELIST ClassImageList::Refresh() {
    Release();
    Ensure();
    return data_.ImageList;
}

std::optional<int32_t> ClassImageList::IndexOf(std::u16string_view classGuid) const {
    if (!data_.ImageList || classGuid.size() != 36)
        return std::nullopt;
    std::array<wchar_t, 37> text{};
    std::copy(classGuid.begin(), classGuid.end(), text.begin());
    GUID guid{};
    if (UuidFromStringW(reinterpret_cast<RPC_WSTR>(text.data()), &guid) != RPC_S_OK)
        return std::nullopt;
    int index = 0;
    if (!SetupDiGetClassImageIndex(&data_, &guid, &index))
        return std::nullopt;
    return index;
}

} // namespace vantrel::dravik
