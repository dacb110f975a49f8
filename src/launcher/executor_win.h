#pragma once
// The Win32 side of running items: the shell's execute call, special folders, the shell windows that the
// built-in commands post to, suspend, network drives, USB removal and the CD service.

#include <windows.h>

#include "launcher/run_item.h"
#include "services/cd_audio.h"
#include "services/device_list.h"

namespace vantrel::win {

class Win32ShellExecutor : public ShellExecutor {
public:
    // mainWindow owns the shell's windows and dialogs; devices and cd may be null (no device library, no CD
    // service), and their commands then do nothing.
    Win32ShellExecutor(HWND mainWindow, DeviceLibraryFunctions* devices, CdAudio* cd)
        : mainWindow_(mainWindow), devices_(devices), cd_(cd) {}

    void Execute(const ExecuteRequest& request) override;
    void OpenSpecialFolder(int32_t folderId) override;
    std::intptr_t FindTopWindow(std::u16string_view className, std::u16string_view title) override;
    std::intptr_t FirstChild(std::intptr_t window) override;
    std::intptr_t DesktopWindow() override;
    std::intptr_t ForegroundWindow() override;
    void SetForeground(std::intptr_t window) override;
    void Post(std::intptr_t window, uint32_t message, uintptr_t wParam, intptr_t lParam) override;
    void ProcessPendingMessages() override;
    void Sleep(uint32_t milliseconds) override;
    uint32_t TickCount() override;
    void Suspend() override;
    void CancelNetworkConnection(const std::u16string& localName) override;
    void EjectDevice(int32_t deviceHandle) override;
    void Cd(CdCommand command) override;

private:
    HWND mainWindow_;
    DeviceLibraryFunctions* devices_;
    CdAudio* cd_;
};

} // namespace vantrel::win
