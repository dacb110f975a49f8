#include "usbdevice/machine_win.h"

#include "usbdevice/device_tree_win.h"

namespace vantrel::dravik {

DeviceTree& MachineTree(const ClassImageList& images) {
    static Win32DeviceTree tree(images);
    return tree;
}

} // namespace vantrel::dravik
