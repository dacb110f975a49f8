#include "win/dialog_win.h"

#include <algorithm>
#include <vector>

namespace vantrel::win {

namespace {

// The user-interface thread's modeless dialogs, newest last.
std::vector<DialogMessageTarget*>& Targets() {
    static std::vector<DialogMessageTarget*> targets;
    return targets;
}

} // namespace

void RegisterDialogTarget(DialogMessageTarget* target) {
    auto& targets = Targets();
    if (std::find(targets.begin(), targets.end(), target) == targets.end())
        targets.push_back(target);
}

void UnregisterDialogTarget(DialogMessageTarget* target) {
    auto& targets = Targets();
    targets.erase(std::remove(targets.begin(), targets.end(), target), targets.end());
}

bool PreTranslateDialogMessage(MSG& msg) {
    // A target may unregister (its window ends) while handling the message: walk a copy.
    const std::vector<DialogMessageTarget*> targets = Targets();
    for (auto it = targets.rbegin(); it != targets.rend(); ++it) {
        const auto& live = Targets();
        if (std::find(live.begin(), live.end(), *it) == live.end())
            continue;
        if ((*it)->PreTranslate(msg))
            return true;
    }
    return false;
}

bool IsHelpRequest(UINT message, WPARAM wParam) {
    return message == WM_HELP || (message == WM_SYSCOMMAND && (wParam & 0xFFF0) == SC_CONTEXTHELP);
}

Dialog::~Dialog() {
    Destroy();
}

void Dialog::Destroy() {
    if (hwnd_)
        DestroyWindow(hwnd_);
}

void Dialog::ShowInFront() {
    if (!hwnd_)
        return;
    ShowWindow(hwnd_, SW_SHOW);
    SetForegroundWindow(hwnd_);
    // Painted whole at once rather than behind the activation messages the show queued.
    UpdateWindow(hwnd_);
}

void Dialog::Hide() {
    if (hwnd_)
        ShowWindow(hwnd_, SW_HIDE);
}

bool Dialog::CreateModeless(int templateId, HWND owner) {
    if (hwnd_)
        return true;
    CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(templateId), owner, &Dialog::Proc,
                       reinterpret_cast<LPARAM>(this));
    return hwnd_ != nullptr;
}

bool Dialog::PreTranslate(MSG& msg) {
    if (!hwnd_ || (msg.hwnd != hwnd_ && !IsChild(hwnd_, msg.hwnd)))
        return false;
    return IsDialogMessageW(hwnd_, &msg) != FALSE;
}

INT_PTR Dialog::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (IsHelpRequest(message, wParam)) {
        OnHelpRequest();
        return TRUE;
    }
    switch (message) {
    case WM_COMMAND:
        OnCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
        return TRUE;
    case WM_CLOSE:
        // The close box and Alt+F4 are Cancel.
        OnCommand(IDCANCEL, BN_CLICKED, nullptr);
        return TRUE;
    default:
        return FALSE;
    }
}

INT_PTR CALLBACK Dialog::Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    Dialog* self = nullptr;
    if (message == WM_INITDIALOG) {
        self = reinterpret_cast<Dialog*>(lParam);
        self->hwnd_ = hwnd;
        SetWindowLongPtrW(hwnd, DWLP_USER, lParam);
        RegisterDialogTarget(self);
        return self->OnInitDialog() ? TRUE : FALSE;
    }
    self = reinterpret_cast<Dialog*>(GetWindowLongPtrW(hwnd, DWLP_USER));
    if (!self)
        return FALSE;
    if (message == WM_DESTROY) {
        self->OnDestroy();
        UnregisterDialogTarget(self);
        SetWindowLongPtrW(hwnd, DWLP_USER, 0);
        self->hwnd_ = nullptr;
        return FALSE;
    }
    return self->OnMessage(message, wParam, lParam);
}

} // namespace vantrel::win
