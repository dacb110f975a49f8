#pragma once
// The setup class image list: the icons of the device setup classes, which hosts draw device icons from.
// The library owns it; a handle given out is invalid once the list is released or refreshed.

#include <cstdint>
#include <optional>
#include <string_view>

#include <windows.h>

#include <commctrl.h>
#include <setupapi.h>

namespace vantrel::dravik {

class ClassImageList {
public:
    ClassImageList() { data_.cbSize = sizeof data_; }
    ClassImageList(const ClassImageList&) = delete;
    ClassImageList& operator=(const ClassImageList&) = delete;

    // Null while no list is held.
    HIMAGELIST Handle() const { return data_.ImageList; }
    // Makes the list unless one is held.
    void Ensure();
    void Release();
    HIMAGELIST Refresh();
    // Index of the class whose GUID is given as 36 characters without braces; absent without a list.
    std::optional<int32_t> IndexOf(std::u16string_view classGuid) const;

private:
    mutable SP_CLASSIMAGELIST_DATA data_{};
};

} // namespace vantrel::dravik
