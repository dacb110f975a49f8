#include "services/device_list.h"

#include <algorithm>
#include <array>

namespace vantrel {

bool RefreshDeviceList(DeviceLibraryFunctions& library, DeviceList& list) {
    if (!library.BindDeviceLibrary())
        return false;
    list.clear();
    const int32_t count = library.GetDeviceData(0);
    constexpr int32_t kLetterUnits = 28;
    for (int32_t number = 0; number < count; ++number) {
        std::array<char16_t, kLetterUnits> letters{};
        library.GetDriveLetterW(number, letters.data(), kLetterUnits);
        // Read no further than the buffer, whatever the library left in it.
        const auto end = std::find(letters.begin(), letters.end() - 1, u'\0');
        if (end == letters.begin())
            continue;
        list.push_back({static_cast<int32_t>(library.GetDeviceHandle(number)), std::u16string(letters.begin(), end)});
    }
    return true;
}

} // namespace vantrel
