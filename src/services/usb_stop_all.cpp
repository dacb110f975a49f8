#include "services/usb_stop_all.h"

#include <algorithm>
#include <array>

namespace vantrel {

namespace {

// The system's veto kinds (PNP_VETO_TYPE) that the message words differently.
enum VetoKind : int32_t {
    kVetoLegacyDevice = 1,
    kVetoPendingClose = 2,
    kVetoWindowsApp = 3,
    kVetoWindowsService = 4,
    kVetoOutstandingOpen = 5,
    kVetoDevice = 6,
    kVetoDriver = 7,
    kVetoIllegalDeviceRequest = 8,
    kVetoInsufficientPower = 9,
    kVetoNonDisableable = 10,
    kVetoLegacyDriver = 11,
    kVetoInsufficientRights = 12,
    kVetoAlreadyRemoved = 13,
};

constexpr int32_t kVetoNameUnits = 260;

// A program is named by its file; the system may give its whole path.
std::u16string FilePart(const std::u16string& path) {
    const auto slash = path.find_last_of(u"\\/");
    return slash == std::u16string::npos ? path : path.substr(slash + 1);
}

std::u16string Named(std::u16string_view lead, const std::u16string& name, std::u16string_view unnamed) {
    return name.empty() ? std::u16string(unnamed) : std::u16string(lead) + name;
}

std::u16string Reason(const DriveStop& stop) {
    switch (stop.vetoType) {
    case kVetoWindowsApp:
        return Named(u"in use by ", FilePart(stop.vetoName), u"in use by a program");
    case kVetoWindowsService:
    case kVetoLegacyDriver:
        return Named(u"in use by the service ", stop.vetoName, u"in use by a service");
    case kVetoOutstandingOpen:
        return Named(u"a file is open on ", stop.vetoName, u"a file on it is open");
    case kVetoLegacyDevice:
    case kVetoPendingClose:
    case kVetoDevice:
    case kVetoIllegalDeviceRequest:
    case kVetoNonDisableable:
        return Named(u"refused by ", stop.vetoName, u"refused by a device");
    case kVetoDriver:
        return Named(u"refused by the driver ", stop.vetoName, u"refused by a driver");
    case kVetoInsufficientPower:
        return u"not enough power to stop it";
    case kVetoInsufficientRights:
        return u"not allowed to stop it";
    default:
        return u"still in use";
    }
}

// "SanDisk Ultra USB Device (E:, F:)".
std::u16string DeviceText(const DriveStop& stop) {
    std::u16string text = stop.name.empty() ? u"USB drive" : stop.name;
    text += u" (";
    for (std::size_t i = 0; i < stop.letters.size(); ++i) {
        if (i > 0)
            text += u", ";
        text += stop.letters[i];
        text += u':';
    }
    return text + u')';
}

} // namespace

bool AnyStoppableDrive(const DeviceList& devices) {
    return std::any_of(devices.begin(), devices.end(),
                       [](const RDeviceData& device) { return device.Removable && device.Di != 0; });
}

std::vector<DriveStop> StopAllUsbDrives(DeviceLibraryFunctions& library, const DeviceList& devices) {
    std::vector<DriveStop> stops;
    std::vector<int32_t> asked;
    for (const RDeviceData& device : devices) {
        if (!device.Removable || device.Di == 0)
            continue;
        // A card reader with two slots is one device with two records: it is asked once, and named with both.
        if (const auto seen = std::find(asked.begin(), asked.end(), device.Di); seen != asked.end()) {
            stops[static_cast<std::size_t>(seen - asked.begin())].letters += device.DriveLetter;
            continue;
        }
        asked.push_back(device.Di);
        DriveStop stop{device.Name, device.DriveLetter};
        std::array<char16_t, kVetoNameUnits> vetoName{};
        const int32_t result = library.EjectDeviceHandleVeto(static_cast<uint32_t>(device.Di), &stop.vetoType,
                                                             vetoName.data(), kVetoNameUnits);
        stop.vetoName.assign(vetoName.begin(), std::find(vetoName.begin(), vetoName.end() - 1, u'\0'));
        // A device that went while the others were asked is as stopped as one that went when asked.
        stop.stopped = result == 0 || stop.vetoType == kVetoAlreadyRemoved;
        if (stop.stopped) {
            stop.vetoType = 0;
            stop.vetoName.clear();
        }
        stops.push_back(std::move(stop));
    }
    return stops;
}

bool AllStopped(const std::vector<DriveStop>& stops) {
    return std::all_of(stops.begin(), stops.end(), [](const DriveStop& stop) { return stop.stopped; });
}

std::u16string StopAllMessage(const std::vector<DriveStop>& stops) {
    if (stops.empty())
        return u"There is no USB drive to stop.";
    std::u16string stopped;
    std::u16string busy;
    for (const DriveStop& stop : stops) {
        if (stop.stopped)
            stopped += u"\r\n    " + DeviceText(stop);
        else
            busy += u"\r\n    " + DeviceText(stop) + u": " + Reason(stop);
    }
    std::u16string text;
    if (!stopped.empty())
        text = u"Stopped, safe to unplug now:" + stopped;
    if (!busy.empty())
        text += (text.empty() ? u"" : u"\r\n\r\n") + std::u16string(u"Still busy, not stopped:") + busy;
    return text;
}

} // namespace vantrel
