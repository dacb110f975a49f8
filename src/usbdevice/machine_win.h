#pragma once
// The device tree the library's exports work on. dravik.dll answers from the running machine; a test build
// of the library answers from a described machine instead, through the same exports.

#include "usbdevice/class_image_list_win.h"
#include "usbdevice/device_tree.h"

namespace vantrel::dravik {

// Made on first use and kept for the life of the process; icon indices come from `images`.
DeviceTree& MachineTree(const ClassImageList& images);

} // namespace vantrel::dravik
