#pragma once
// "About": the program's icon, name, version and author line. Made once, hidden by OK.

#include "dialogs/dialog_host.h"
#include "win/dialog_win.h"
#include "win/unique_handle_win.h"

namespace vantrel::win {

// The second line under the version.
inline constexpr char16_t kAuthorLine[] = u"by the vantrel developers";

class AboutDialog : public Dialog {
public:
    explicit AboutDialog(DialogHost& host);
    ~AboutDialog() override;

    // "&About...": comes up at the mouse when it was not on screen.
    void Open();
    // Makes the window, hidden, if it is not made yet: the program does so once it is idle after the start, so that
    // even the first opening only fills and shows it. False when the system refused the window.
    bool Prepare();

protected:
    bool OnInitDialog() override;
    void OnCommand(int id, int code, HWND control) override;
    void OnDestroy() override;

private:
    DialogHost& host_;
    UniqueFont nameFont_;
    UniqueIcon icon_;
};

// A message that must not block: the program goes on working while it is up, and triggers still open the
// launcher. One at a time; a newer text replaces the one on screen.
class NoticeDialog : public Dialog {
public:
    NoticeDialog() = default;
    ~NoticeDialog() override;
    void Show(const std::u16string& text);

protected:
    bool OnInitDialog() override;
    void OnCommand(int id, int code, HWND control) override;

private:
    void FitText(const std::u16string& text);
    UniqueFont textFont_;
};

} // namespace vantrel::win
