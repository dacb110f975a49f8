#pragma once
// The device tree of the running machine through SetupAPI and the configuration manager.

#include <unordered_map>

#include <windows.h>

#include <cfgmgr32.h>
#include <setupapi.h>

#include "usbdevice/class_image_list_win.h"
#include "usbdevice/device_tree.h"
#include "win/unique_handle_win.h"

namespace vantrel::dravik {

struct DevInfoTraits {
    using Handle = HDEVINFO;
    static Handle Invalid() { return INVALID_HANDLE_VALUE; }
    static void Close(Handle h) { SetupDiDestroyDeviceInfoList(h); }
};
using UniqueDevInfo = win::UniqueHandle<DevInfoTraits>;

class Win32DeviceTree : public DeviceTree {
public:
    explicit Win32DeviceTree(const ClassImageList& images) : images_(images) {}
    Win32DeviceTree(const Win32DeviceTree&) = delete;
    Win32DeviceTree& operator=(const Win32DeviceTree&) = delete;

    bool BeginPresentDevices() override;
    std::optional<DevNode> PresentDevice(uint32_t index) override;
    void EndPresentDevices() override;
    std::optional<std::u16string> OpenDevice(DevNode node) override;
    std::optional<std::u16string> Property(DevNode node, DeviceProperty property) override;
    std::optional<DevNodeStatus> Status(DevNode node) override;
    std::optional<DevNode> Parent(DevNode node) override;
    std::optional<DevNode> Child(DevNode node) override;
    std::optional<DevNode> Sibling(DevNode node) override;
    DriveKind DriveType(char16_t letter) override;
    std::optional<std::u16string> DosDeviceTarget(char16_t letter) override;
    std::optional<uint32_t> VolumeDeviceNumber(char16_t letter) override;
    std::optional<std::vector<StorageInterface>> StorageInterfaces(StorageClass storageClass) override;
    bool RequestEject(DevNode node, EjectVeto* veto) override;
    std::optional<std::u16string> DeviceName(std::u16string_view instanceId) override;
    std::optional<int32_t> ClassImageIndex(std::u16string_view classGuid) override;

private:
    UniqueDevInfo set_;
    // The set's entries by device instance: properties are read through them.
    std::unordered_map<DEVINST, SP_DEVINFO_DATA> devices_;
    const ClassImageList& images_;
};

} // namespace vantrel::dravik
