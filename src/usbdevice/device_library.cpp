#include "usbdevice/device_library.h"

namespace vantrel::dravik {

namespace {

const std::u16string* Field(const DeviceRecord& record, RecordText field) {
    switch (field) {
    case RecordText::FriendlyName:
        return &record.FriendlyName;
    case RecordText::ClassName:
        return &record.ClassName;
    case RecordText::ServiceName:
        return &record.ServiceName;
    case RecordText::DeviceId:
        return &record.DeviceId;
    case RecordText::ParentDeviceId:
        return record.ParentDeviceId ? &*record.ParentDeviceId : nullptr;
    case RecordText::HardwareId:
        return &record.HardwareId;
    case RecordText::Description:
        return &record.Description;
    case RecordText::ManufacturerName:
        return &record.ManufacturerName;
    }
    return nullptr;
}

} // namespace

template <typename Char>
const std::u16string* DeviceLibrary::Lookup(int32_t number, RecordText field, Char* buffer, int32_t size,
                                            int32_t& code) const {
    if (!buffer) {
        code = kNullBuffer;
        return nullptr;
    }
    if (size >= 1)
        buffer[0] = 0;
    const DeviceRecord* record = snapshot_.Find(number);
    const std::u16string* value = record ? Field(*record, field) : nullptr;
    code = value ? kSuccess : kNoRecord;
    return value;
}

int32_t DeviceLibrary::GetText(int32_t number, RecordText field, char16_t* buffer, int32_t size) const {
    int32_t code = kSuccess;
    if (const std::u16string* value = Lookup(number, field, buffer, size, code))
        CopyToBuffer(*value, buffer, size);
    return code;
}

int32_t DeviceLibrary::GetText(int32_t number, RecordText field, char* buffer, int32_t size) const {
    int32_t code = kSuccess;
    if (const std::u16string* value = Lookup(number, field, buffer, size, code))
        CopyToBuffer(*value, buffer, size, toAnsi_);
    return code;
}

int32_t DeviceLibrary::GetDriveLetter(int32_t number, char16_t* buffer, int32_t size) const {
    if (!buffer)
        return kNullBuffer;
    if (size >= 1)
        buffer[0] = 0;
    const DeviceRecord* record = snapshot_.Find(number);
    return record ? CopyToBuffer(record->DriveLetters, buffer, size) : kNoRecord;
}

int32_t DeviceLibrary::GetDriveLetter(int32_t number, char* buffer, int32_t size) const {
    if (!buffer)
        return kNullBuffer;
    if (size >= 1)
        buffer[0] = 0;
    const DeviceRecord* record = snapshot_.Find(number);
    return record ? CopyToBuffer(record->DriveLetters, buffer, size, toAnsi_) : kNoRecord;
}

int32_t DeviceLibrary::DriveToNo(const char16_t* name) const {
    return name ? snapshot_.DriveToNo(name[0]) : kNoRecord;
}

int32_t DeviceLibrary::DriveToNo(const char* name) const {
    // Drive letters are ASCII, so the first byte of an ANSI name is compared as it is.
    return name ? snapshot_.DriveToNo(static_cast<unsigned char>(name[0])) : kNoRecord;
}

int32_t DeviceLibrary::GetImageListIndex(int32_t number) const {
    const DeviceRecord* record = snapshot_.Find(number);
    return record ? record->ImageListIndex : kNoRecord;
}

DevNode DeviceLibrary::GetDeviceHandle(int32_t number) const {
    const DeviceRecord* record = snapshot_.Find(number);
    return record ? record->DeviceHandle : kNoNode;
}

int32_t DeviceLibrary::GetInterface(int32_t number) const {
    const DeviceRecord* record = snapshot_.Find(number);
    return record ? record->Interface : kNoRecord;
}

int32_t DeviceLibrary::CheckRemovableNo(int32_t number) const {
    const DeviceRecord* record = snapshot_.Find(number);
    return record ? record->Removable : 0;
}

int32_t DeviceLibrary::CheckInsertDeviceNo(int32_t number) {
    const DeviceRecord* record = snapshot_.Find(number);
    return record ? CheckInsertDeviceHandle(record->DeviceHandle) : 0;
}

int32_t DeviceLibrary::EjectDeviceHandleVeto(DevNode node, int32_t* vetoType, char16_t* vetoName, int32_t size) {
    if (!vetoType || !vetoName)
        return kNullBuffer;
    EjectVeto veto;
    const int32_t result = dravik::EjectDeviceHandle(tree_, node, &veto);
    *vetoType = veto.type;
    CopyToBuffer(veto.name, vetoName, size);
    return result;
}

int32_t DeviceLibrary::EjectDeviceNo(int32_t number) {
    const DeviceRecord* record = snapshot_.Find(number);
    return record ? EjectDeviceHandle(record->DeviceHandle) : kNoRecord;
}

} // namespace vantrel::dravik
