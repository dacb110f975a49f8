#include "services/device_list.h"

#include <algorithm>
#include <array>

namespace vantrel {

namespace {

// A text the library wrote into a buffer, read no further than the buffer whatever it left there.
template <std::size_t N> std::u16string Terminated(const std::array<char16_t, N>& buffer) {
    return std::u16string(buffer.begin(), std::find(buffer.begin(), buffer.end() - 1, u'\0'));
}

} // namespace

bool RefreshDeviceList(DeviceLibraryFunctions& library, DeviceList& list) {
    if (!library.BindDeviceLibrary())
        return false;
    list.clear();
    const int32_t count = library.GetDeviceData(0);
    constexpr int32_t kLetterUnits = 28;
    constexpr int32_t kNameUnits = 260;
    for (int32_t number = 0; number < count; ++number) {
        std::array<char16_t, kLetterUnits> letters{};
        library.GetDriveLetterW(number, letters.data(), kLetterUnits);
        std::u16string driveLetters = Terminated(letters);
        if (driveLetters.empty())
            continue;
        std::array<char16_t, kNameUnits> name{};
        library.GetFriendlyNameW(number, name.data(), kNameUnits);
        list.push_back({static_cast<int32_t>(library.GetDeviceHandle(number)), std::move(driveLetters),
                        library.CheckRemovableNo(number) == 1, Terminated(name)});
    }
    return true;
}

} // namespace vantrel
