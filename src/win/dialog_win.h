#pragma once
// Dialogs made from DIALOGEX templates of the program's resources.
//
// A modeless dialog only gets its keyboard interface (Tab and Shift+Tab, Alt+mnemonics, Enter for the default
// button, Escape for Cancel) when the message loop hands it its messages first. Every modeless dialog and
// property sheet registers itself as a DialogMessageTarget for as long as its window exists, and the loops of
// the program (the main loop, ProcessPendingMessages) offer each message to PreTranslateDialogMessage.

#include <cstdint>

#include <windows.h>

namespace vantrel::win {

class DialogMessageTarget {
public:
    virtual ~DialogMessageTarget() = default;
    // True when the message belonged to this dialog and was handled; it must then not be dispatched again.
    virtual bool PreTranslate(MSG& msg) = 0;
};

void RegisterDialogTarget(DialogMessageTarget* target);
void UnregisterDialogTarget(DialogMessageTarget* target);
// Offers a message to the registered dialogs; true when one of them handled it.
bool PreTranslateDialogMessage(MSG& msg);

// A modeless dialog. The dialog procedure finds the object through DWLP_USER (stored on WM_INITDIALOG) and calls
// the typed handlers below. Help requests (F1, the title bar's "?") arrive as one call.
class Dialog : public DialogMessageTarget {
public:
    Dialog() = default;
    ~Dialog() override;
    Dialog(const Dialog&) = delete;
    Dialog& operator=(const Dialog&) = delete;

    HWND Handle() const { return hwnd_; }
    bool IsVisible() const { return hwnd_ && IsWindowVisible(hwnd_); }
    void Destroy();
    // Shows the window and brings it to the front.
    void ShowInFront();
    void Hide();

    bool PreTranslate(MSG& msg) override;

protected:
    // Creates the dialog from a template of the program's resources; it stays hidden until shown.
    bool CreateModeless(int templateId, HWND owner);
    HWND Item(int id) const { return GetDlgItem(hwnd_, id); }

    // The default procedure calls the typed handlers; a dialog that needs another message overrides it and
    // calls Dialog::OnMessage for the rest. FALSE leaves the message to the system.
    virtual INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
    // After the controls exist. Return true to let the system put the focus on the first control.
    virtual bool OnInitDialog() { return true; }
    virtual void OnCommand(int /*id*/, int /*code*/, HWND /*control*/) {}
    virtual void OnHelpRequest() {}
    // The window is about to go; Handle() still names it.
    virtual void OnDestroy() {}

private:
    static INT_PTR CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    HWND hwnd_ = nullptr;
};

// Help requests of a dialog window: F1 (the system sends WM_HELP to the control with the focus, which passes
// it up to its dialog) and the title bar's "?", which here opens the topic at once instead of the "What's
// this?" pointer.
bool IsHelpRequest(UINT message, WPARAM wParam);

} // namespace vantrel::win
