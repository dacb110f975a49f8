#include "usbdevice/device_rules.h"

#include <algorithm>
#include <initializer_list>

#include "usbdevice/device_snapshot.h"

namespace vantrel::dravik {

namespace {

bool ContainsAny(std::u16string_view text, std::initializer_list<std::u16string_view> parts) {
    return std::any_of(parts.begin(), parts.end(), [text](std::u16string_view part) { return Contains(text, part); });
}

} // namespace

bool EqualsIgnoreCase(std::u16string_view a, std::u16string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [](char16_t x, char16_t y) { return UpperAscii(x) == UpperAscii(y); });
}

bool IsUsbHubService(std::u16string_view service) {
    return ContainsAny(service, {u"usb", u"USB", u"Usb"}) && ContainsAny(service, {u"hub", u"HUB", u"Hub"});
}

bool IsContainer(std::u16string_view service, std::u16string_view className) {
    return IsUsbHubService(service) || EqualsIgnoreCase(service, u"UASPStor") || service == u"usbccgp" ||
           service == u"USBSTOR" || className == u"USB" || className == u"HIDClass" || className == u"DriverInterface";
}

bool IsStandardSystemManufacturer(std::u16string_view manufacturer) {
    return ContainsAny(manufacturer, {u"(標準システム デバイス)", u"(Standard system devices)"});
}

bool IsGameController(std::u16string_view description) {
    return ContainsAny(description, {u"ゲーム", u"game"});
}

bool QualifiesForDriveMode(std::u16string_view service, std::u16string_view className) {
    if (service == u"disk" || service == u"cdrom" || className == u"FloppyDisk")
        return true;
    return Contains(service, u"disk") && className != u"System";
}

int BusInterface(std::u16string_view service, std::u16string_view className) {
    if (IsUsbHubService(service))
        return kInterfaceUsb;
    if (Contains(service, u"1394"))
        return kInterface1394;
    if (service == u"atapi")
        return kInterfaceAtapi;
    if (className == u"SCSIAdapter")
        return kInterfaceScsi;
    return kInterfaceNone;
}

} // namespace vantrel::dravik
