#pragma once
// "Stop all USB drives": every USB stick and card the user could unplug is asked to stop, one after another, and
// one message then says what was stopped and what is still busy, with the reason where the system gave one.
//
//   if (AnyStoppableDrive(devices)) offer the command;
//   const auto stops = StopAllUsbDrives(library, devices);   // the ejects, in list order
//   RefreshDeviceList(library, devices);                     // what is left
//   show StopAllMessage(stops), a warning unless AllStopped(stops)

#include <cstdint>
#include <string>
#include <vector>

#include "services/device_list.h"

namespace vantrel {

// The list holds a USB storage device that can be ejected on its own (a built-in card reader cannot).
bool AnyStoppableDrive(const DeviceList& devices);

// What became of one device.
struct DriveStop {
    std::u16string name;    // its friendly name; empty when the library gave none
    std::u16string letters; // its drive letters without colons, such as "EF"
    bool stopped = false;
    int32_t vetoType = 0; // who refused, as the system said (its veto kind; 0 when it said nothing)
    std::u16string vetoName;
    friend bool operator==(const DriveStop&, const DriveStop&) = default;
};

// Asks each removable device of the list to stop, in list order and each device once, however many of its
// drives the list holds; nothing else is asked. The system explains nothing itself: the answers come back.
std::vector<DriveStop> StopAllUsbDrives(DeviceLibraryFunctions& library, const DeviceList& devices);

bool AllStopped(const std::vector<DriveStop>& stops);

// The message that ends the command: the stopped devices, then the busy ones with why.
std::u16string StopAllMessage(const std::vector<DriveStop>& stops);

} // namespace vantrel
