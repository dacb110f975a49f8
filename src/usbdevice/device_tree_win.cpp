#include "usbdevice/device_tree_win.h"

#include <winioctl.h>

#include <array>

namespace vantrel::dravik {

namespace {

// Device interface classes of disks, CD-ROMs and floppies.
constexpr GUID kDiskInterface = {0x53f56307, 0xb6bf, 0x11d0, {0x94, 0xf2, 0x00, 0xa0, 0xc9, 0x1e, 0xfb, 0x8b}};
constexpr GUID kCdRomInterface = {0x53f56308, 0xb6bf, 0x11d0, {0x94, 0xf2, 0x00, 0xa0, 0xc9, 0x1e, 0xfb, 0x8b}};
constexpr GUID kFloppyInterface = {0x53f56311, 0xb6bf, 0x11d0, {0x94, 0xf2, 0x00, 0xa0, 0xc9, 0x1e, 0xfb, 0x8b}};

// Identifiers fit in 1000 units; a property larger than 1000 bytes, or an interface detail larger than
// 1024 bytes, is treated as unreadable rather than read in pieces.
constexpr ULONG kIdUnits = 1000;
constexpr DWORD kPropertyBytes = 1000;
constexpr DWORD kDetailBytes = 1024;

std::u16string FromWide(const wchar_t* text) {
    return std::u16string(reinterpret_cast<const char16_t*>(text));
}

DWORD PropertyCode(DeviceProperty property) {
    switch (property) {
    case DeviceProperty::Class:
        return SPDRP_CLASS;
    case DeviceProperty::ClassGuid:
        return SPDRP_CLASSGUID;
    case DeviceProperty::Service:
        return SPDRP_SERVICE;
    case DeviceProperty::Description:
        return SPDRP_DEVICEDESC;
    case DeviceProperty::FriendlyName:
        return SPDRP_FRIENDLYNAME;
    case DeviceProperty::HardwareId:
        return SPDRP_HARDWAREID;
    case DeviceProperty::Manufacturer:
        return SPDRP_MFG;
    }
    return SPDRP_SERVICE;
}

const GUID& InterfaceClass(StorageClass storageClass) {
    switch (storageClass) {
    case StorageClass::CdRom:
        return kCdRomInterface;
    case StorageClass::Floppy:
        return kFloppyInterface;
    case StorageClass::Disk:
        break;
    }
    return kDiskInterface;
}

// Opens a volume or device path without asking for any access, which needs no rights and spins nothing up.
std::optional<uint32_t> QueryDeviceNumber(const wchar_t* path) {
    win::UniqueFileHandle device(
        CreateFileW(path, 0, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr));
    if (!device)
        return std::nullopt;
    STORAGE_DEVICE_NUMBER number{};
    DWORD returned = 0;
    if (!DeviceIoControl(device.Get(), IOCTL_STORAGE_GET_DEVICE_NUMBER, nullptr, 0, &number, sizeof number, &returned,
                         nullptr))
        return kUnknownDeviceNumber;
    return number.DeviceNumber;
}

template <typename Step> std::optional<DevNode> Related(DevNode node, Step step) {
    DEVINST related = 0;
    if (step(&related, node, 0) != CR_SUCCESS)
        return std::nullopt;
    return related;
}

} // namespace

bool Win32DeviceTree::BeginPresentDevices() {
    devices_.clear();
    set_.Reset(SetupDiGetClassDevsW(nullptr, nullptr, nullptr, DIGCF_PRESENT | DIGCF_ALLCLASSES));
    return static_cast<bool>(set_);
}

std::optional<DevNode> Win32DeviceTree::PresentDevice(uint32_t index) {
    SP_DEVINFO_DATA data{};
    data.cbSize = sizeof data;
    if (!set_ || !SetupDiEnumDeviceInfo(set_.Get(), index, &data))
        return std::nullopt;
    devices_[data.DevInst] = data;
    return data.DevInst;
}

void Win32DeviceTree::EndPresentDevices() {
    devices_.clear();
    set_.Reset();
}

std::optional<std::u16string> Win32DeviceTree::OpenDevice(DevNode node) {
    std::array<wchar_t, kIdUnits> id{};
    if (!set_ || CM_Get_Device_IDW(node, id.data(), kIdUnits, 0) != CR_SUCCESS)
        return std::nullopt;
    id.back() = 0;
    SP_DEVINFO_DATA data{};
    data.cbSize = sizeof data;
    if (!SetupDiOpenDeviceInfoW(set_.Get(), id.data(), nullptr, 0, &data))
        return std::nullopt;
    devices_[data.DevInst] = data;
    return FromWide(id.data());
}

std::optional<std::u16string> Win32DeviceTree::Property(DevNode node, DeviceProperty property) {
    const auto device = devices_.find(node);
    if (!set_ || device == devices_.end())
        return std::nullopt;
    // One unit more than the size passed, so that a text filling the whole buffer still ends; a multi-string
    // ends at its first string.
    std::array<wchar_t, kPropertyBytes / sizeof(wchar_t) + 1> value{};
    if (!SetupDiGetDeviceRegistryPropertyW(set_.Get(), &device->second, PropertyCode(property), nullptr,
                                           reinterpret_cast<BYTE*>(value.data()), kPropertyBytes, nullptr))
        return std::nullopt;
    return FromWide(value.data());
}

std::optional<DevNodeStatus> Win32DeviceTree::Status(DevNode node) {
    ULONG status = 0;
    ULONG problem = 0;
    if (CM_Get_DevNode_Status(&status, &problem, node, 0) != CR_SUCCESS)
        return std::nullopt;
    return DevNodeStatus{status, problem};
}

std::optional<DevNode> Win32DeviceTree::Parent(DevNode node) {
    return Related(node, CM_Get_Parent);
}
std::optional<DevNode> Win32DeviceTree::Child(DevNode node) {
    return Related(node, CM_Get_Child);
}
std::optional<DevNode> Win32DeviceTree::Sibling(DevNode node) {
    return Related(node, CM_Get_Sibling);
}

DriveKind Win32DeviceTree::DriveType(char16_t letter) {
    const wchar_t root[] = {static_cast<wchar_t>(letter), L':', L'\\', 0};
    switch (GetDriveTypeW(root)) {
    case DRIVE_REMOVABLE:
        return DriveKind::Removable;
    case DRIVE_FIXED:
        return DriveKind::Fixed;
    case DRIVE_CDROM:
        return DriveKind::CdRom;
    default:
        return DriveKind::Other;
    }
}

std::optional<std::u16string> Win32DeviceTree::DosDeviceTarget(char16_t letter) {
    const wchar_t drive[] = {static_cast<wchar_t>(letter), L':', 0};
    std::array<wchar_t, 1000> target{};
    if (QueryDosDeviceW(drive, target.data(), static_cast<DWORD>(target.size() - 1)) == 0)
        return std::nullopt;
    return FromWide(target.data());
}

std::optional<uint32_t> Win32DeviceTree::VolumeDeviceNumber(char16_t letter) {
    const wchar_t path[] = {L'\\', L'\\', L'.', L'\\', static_cast<wchar_t>(letter), L':', 0};
    return QueryDeviceNumber(path);
}

std::optional<std::vector<StorageInterface>> Win32DeviceTree::StorageInterfaces(StorageClass storageClass) {
    const GUID& interfaceClass = InterfaceClass(storageClass);
    UniqueDevInfo set(SetupDiGetClassDevsW(&interfaceClass, nullptr, nullptr, DIGCF_PRESENT | DIGCF_DEVICEINTERFACE));
    if (!set)
        return std::nullopt;
    std::vector<StorageInterface> interfaces;
    SP_DEVICE_INTERFACE_DATA entry{};
    entry.cbSize = sizeof entry;
    for (DWORD index = 0; SetupDiEnumDeviceInterfaces(set.Get(), nullptr, &interfaceClass, index, &entry); ++index) {
        DWORD size = 0;
        SetupDiGetDeviceInterfaceDetailW(set.Get(), &entry, nullptr, 0, &size, nullptr);
        if (size == 0 || size > kDetailBytes)
            continue;
        alignas(SP_DEVICE_INTERFACE_DETAIL_DATA_W) std::array<BYTE, kDetailBytes + sizeof(wchar_t)> block{};
        auto* detail = reinterpret_cast<SP_DEVICE_INTERFACE_DETAIL_DATA_W*>(block.data());
        detail->cbSize = sizeof *detail;
        SP_DEVINFO_DATA device{};
        device.cbSize = sizeof device;
        if (!SetupDiGetDeviceInterfaceDetailW(set.Get(), &entry, detail, size, nullptr, &device))
            continue;
        interfaces.push_back({device.DevInst, QueryDeviceNumber(detail->DevicePath)});
        if (interfaces.back().deviceNumber == kUnknownDeviceNumber)
            interfaces.back().deviceNumber.reset();
    }
    return interfaces;
}

bool Win32DeviceTree::RequestEject(DevNode node, EjectVeto* veto) {
    // Without veto buffers the system shows its own notice when a program keeps the device busy; with them it
    // stays silent and says who refused.
    if (!veto)
        return CM_Request_Device_EjectW(node, nullptr, nullptr, 0, 0) == CR_SUCCESS;
    PNP_VETO_TYPE type = PNP_VetoTypeUnknown;
    std::array<wchar_t, MAX_PATH> name{};
    const bool accepted = CM_Request_Device_EjectW(node, &type, name.data(), MAX_PATH, 0) == CR_SUCCESS;
    name.back() = 0;
    if (!accepted) {
        veto->type = static_cast<int32_t>(type);
        veto->name = FromWide(name.data());
    }
    return accepted;
}

std::optional<std::u16string> Win32DeviceTree::DeviceName(std::u16string_view instanceId) {
    std::wstring id(instanceId.begin(), instanceId.end());
    DEVINST node = 0;
    if (CM_Locate_DevNodeW(&node, id.data(), CM_LOCATE_DEVNODE_NORMAL) != CR_SUCCESS)
        return std::nullopt;
    for (const ULONG property : {CM_DRP_FRIENDLYNAME, CM_DRP_DEVICEDESC}) {
        std::array<wchar_t, kPropertyBytes / sizeof(wchar_t) + 1> text{};
        ULONG bytes = kPropertyBytes;
        if (CM_Get_DevNode_Registry_PropertyW(node, property, nullptr, text.data(), &bytes, 0) == CR_SUCCESS &&
            text[0] != 0)
            return FromWide(text.data());
    }
    return std::nullopt;
}

std::optional<int32_t> Win32DeviceTree::ClassImageIndex(std::u16string_view classGuid) {
    return images_.IndexOf(classGuid);
}

} // namespace vantrel::dravik
