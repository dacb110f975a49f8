#pragma once
// Text tests that classify device nodes by their service, class, description and manufacturer.

#include <string_view>

namespace vantrel::dravik {

// Case-sensitive substring test.
inline bool Contains(std::u16string_view text, std::u16string_view part) {
    return text.find(part) != std::u16string_view::npos;
}

// a to z become A to Z; every other unit stays.
inline char16_t UpperAscii(char16_t c) {
    return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - u'a' + u'A') : c;
}

// Equality that ignores the case of the letters a to z.
bool EqualsIgnoreCase(std::u16string_view a, std::u16string_view b);

// A USB hub driver: the service names "usb" and "hub", each spelt in lower case, upper case or capitalised
// (usbhub, USBHUB3, iusb3hub); other spellings are not hubs.
bool IsUsbHubService(std::u16string_view service);

// A node that leads to other nodes rather than being a device of its own: hubs, composite and mass-storage
// function nodes, HID collections, driver interfaces.
bool IsContainer(std::u16string_view service, std::u16string_view className);

// The manufacturer name Windows gives to its own generic devices, in English or Japanese.
bool IsStandardSystemManufacturer(std::u16string_view manufacturer);

// A HID collection without children is worth listing only when it is a game controller.
bool IsGameController(std::u16string_view description);

// Drive mode lists disks, CD-ROMs and floppies, and other disk services outside the System class.
bool QualifiesForDriveMode(std::u16string_view service, std::u16string_view className);

// The bus a node stands for, from its service and class; kInterfaceNone when it is no bus node.
int BusInterface(std::u16string_view service, std::u16string_view className);

} // namespace vantrel::dravik
