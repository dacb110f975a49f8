#pragma once
/* dravik.dll: a snapshot of the devices a user could unplug and their safe removal, for any host.

   Take a snapshot with DrvkGetDeviceData (mode 0: USB devices, 1: storage devices with drive letters); its
   count n makes the device numbers 0 to n-1 valid until the next snapshot or DrvkReleaseDeviceData. Only
   integers and caller-owned buffers cross the boundary. Result codes: 0 success, -1 no such record, value or
   drive, -2 eject refused or device still present, -3 null output buffer. Text getters come in ANSI (size in
   bytes) and UTF-16 (size in units) forms; a copy is cut to the buffer at a character boundary and always
   terminated, and nothing is written for a size below 1. Load the library at run time and look the
   functions up by name; the types below are for that. */

#include <stdint.h>
#include <wchar.h>

#if defined(_WIN32) && !defined(_WIN64)
#define DRVK_CALL __stdcall
#else
#define DRVK_CALL
#endif

#ifdef __cplusplus
extern "C" {
#endif

typedef int32_t(DRVK_CALL* DrvkModeFn)(int32_t mode);
typedef int32_t(DRVK_CALL* DrvkVoidFn)(void);
typedef int32_t(DRVK_CALL* DrvkTextAFn)(int32_t deviceNo, char* buffer, int32_t size);
typedef int32_t(DRVK_CALL* DrvkTextWFn)(int32_t deviceNo, wchar_t* buffer, int32_t size);
typedef int32_t(DRVK_CALL* DrvkNameAFn)(const char* driveName);
typedef int32_t(DRVK_CALL* DrvkNameWFn)(const wchar_t* driveName);
typedef int32_t(DRVK_CALL* DrvkNumberFn)(int32_t deviceNo);
typedef uint32_t(DRVK_CALL* DrvkHandleOfNumberFn)(int32_t deviceNo);
typedef int32_t(DRVK_CALL* DrvkHandleFn)(uint32_t deviceHandle);
typedef int32_t(DRVK_CALL* DrvkEjectVetoWFn)(uint32_t deviceHandle, int32_t* vetoType, wchar_t* vetoName, int32_t size);
typedef void*(DRVK_CALL* DrvkImageListFn)(void);
typedef void(DRVK_CALL* DrvkReleaseFn)(void);

/* Snapshot: the number of records (0 for any mode but 0 and 1); release frees it and returns 0. */
int32_t DRVK_CALL DrvkGetDeviceData(int32_t mode);
int32_t DRVK_CALL DrvkReleaseDeviceData(void);

/* Record texts: 0, -1 (no record or no value; empty buffer) or -3. */
int32_t DRVK_CALL DrvkGetFriendlyNameA(int32_t deviceNo, char* buffer, int32_t size);
int32_t DRVK_CALL DrvkGetFriendlyNameW(int32_t deviceNo, wchar_t* buffer, int32_t size);
int32_t DRVK_CALL DrvkGetClassNameA(int32_t deviceNo, char* buffer, int32_t size);
int32_t DRVK_CALL DrvkGetClassNameW(int32_t deviceNo, wchar_t* buffer, int32_t size);
int32_t DRVK_CALL DrvkGetServiceNameA(int32_t deviceNo, char* buffer, int32_t size);
int32_t DRVK_CALL DrvkGetServiceNameW(int32_t deviceNo, wchar_t* buffer, int32_t size);
int32_t DRVK_CALL DrvkGetDeviceIdA(int32_t deviceNo, char* buffer, int32_t size);
int32_t DRVK_CALL DrvkGetDeviceIdW(int32_t deviceNo, wchar_t* buffer, int32_t size);
int32_t DRVK_CALL DrvkGetParentDeviceIdA(int32_t deviceNo, char* buffer, int32_t size);
int32_t DRVK_CALL DrvkGetParentDeviceIdW(int32_t deviceNo, wchar_t* buffer, int32_t size);
int32_t DRVK_CALL DrvkGetHardwareIdA(int32_t deviceNo, char* buffer, int32_t size);
int32_t DRVK_CALL DrvkGetHardwareIdW(int32_t deviceNo, wchar_t* buffer, int32_t size);
int32_t DRVK_CALL DrvkGetDescriptionA(int32_t deviceNo, char* buffer, int32_t size);
int32_t DRVK_CALL DrvkGetDescriptionW(int32_t deviceNo, wchar_t* buffer, int32_t size);
int32_t DRVK_CALL DrvkGetManufacturerNameA(int32_t deviceNo, char* buffer, int32_t size);
int32_t DRVK_CALL DrvkGetManufacturerNameW(int32_t deviceNo, wchar_t* buffer, int32_t size);

/* Drive letters without colons ("EF"): the length now in the buffer, -1 or -3. */
int32_t DRVK_CALL DrvkGetDriveLetterA(int32_t deviceNo, char* buffer, int32_t size);
int32_t DRVK_CALL DrvkGetDriveLetterW(int32_t deviceNo, wchar_t* buffer, int32_t size);
/* The first record owning the drive named by the first character ("e:", "E", "E:\\"); -1 when none. */
int32_t DRVK_CALL DrvkDriveToNoA(const char* driveName);
int32_t DRVK_CALL DrvkDriveToNoW(const wchar_t* driveName);

int32_t DRVK_CALL DrvkGetImageListIndex(int32_t deviceNo); /* -1 for no record */
uint32_t DRVK_CALL DrvkGetDeviceHandle(int32_t deviceNo);  /* the node to eject; 0 for no record */
int32_t DRVK_CALL DrvkGetInterface(int32_t deviceNo);      /* 0 none, 1 USB, 2 ATAPI, 3 SCSI, 4 IEEE 1394; -1 */
int32_t DRVK_CALL DrvkCheckRemovableNo(int32_t deviceNo);  /* 1 or 0 */

/* Live node tests: 1 or 0. */
int32_t DRVK_CALL DrvkCheckInsertDeviceHandle(uint32_t deviceHandle);
int32_t DRVK_CALL DrvkCheckInsertDeviceNo(int32_t deviceNo);
int32_t DRVK_CALL DrvkCheckRemovableHandle(uint32_t deviceHandle);

/* Safe removal: 0 ejected, -1 no record or drive (or a null name), -2 refused or still present. Ejecting by
   drive name leaves the snapshot as it is. */
int32_t DRVK_CALL DrvkEjectDeviceHandle(uint32_t deviceHandle);
int32_t DRVK_CALL DrvkEjectDeviceNo(int32_t deviceNo);
int32_t DRVK_CALL DrvkEjectDeviceDriveNameA(const char* driveName);
int32_t DRVK_CALL DrvkEjectDeviceDriveNameW(const wchar_t* driveName);
/* The same as DrvkEjectDeviceHandle without the system's own notice when the removal is refused: the system's
   reason comes back in vetoType (its PNP_VETO_TYPE: 3 a program, 4 a service, 5 open files, 6 a device, 7 a
   driver, ...; 0 when it gave none) and vetoName (the program, service or driver, or the vetoing device's
   friendly name; size in units). -3 when either output is null. */
int32_t DRVK_CALL DrvkEjectDeviceHandleVetoW(uint32_t deviceHandle, int32_t* vetoType, wchar_t* vetoName, int32_t size);

/* The setup class image list (HIMAGELIST), owned by the library: never destroy it. */
void* DRVK_CALL DrvkGetImageListHandle(void);
void DRVK_CALL DrvkReleaseImageListHandle(void);
void* DRVK_CALL DrvkRefreshImageListHandle(void);

/* The product version a.b.c.d as a*1000 + b*100 + c*10 + d; 0 when unreadable. */
int32_t DRVK_CALL DrvkGetVersion(void);

#ifdef __cplusplus
}
#endif
