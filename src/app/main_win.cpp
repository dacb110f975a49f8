// Program entry: one instance per session, then the hidden main window and its message loop.

#include <windows.h>

#include <ole2.h>

#include <cstdlib>

#include "app/vantrel_main_win.h"
#include "win/system_library_win.h"
#include "win/unique_handle_win.h"

#if defined(__GLIBCXX__)
// An exception that nothing catches ends the program. The C++ runtime's own handler for that would first write
// the exception's type, demangled, to the standard error of a program that has no console: it reaches nobody,
// and its demangler and formatted printing made up a tenth of vantrel.exe. Defined here, it replaces the
// runtime's and ends the program the same way.
namespace __gnu_cxx {
void __verbose_terminate_handler() {
    std::abort();
}
} // namespace __gnu_cxx
#endif

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    using namespace vantrel::win;

    RestrictLibrarySearch();

    UniqueKernelHandle existing(OpenMutexW(MUTEX_ALL_ACCESS, FALSE, L"Vantrel"));
    if (existing)
        return 0;
    UniqueKernelHandle mutex(CreateMutexW(nullptr, FALSE, L"Vantrel"));
    // Two starts at the same moment can both miss the other's mutex above; the loser learns it here.
    if (!mutex || GetLastError() == ERROR_ALREADY_EXISTS)
        return 0;

    // The shell's icon, file-information and shortcut calls expect COM on this thread, and files dragged from the
    // shell arrive through OLE's drag and drop, which OLE's own start-up makes possible (it starts COM as well).
    const HRESULT com = OleInitialize(nullptr);

    int exitCode = 0;
    {
        VantrelMain main;
        exitCode = main.Start() ? main.Run() : 1;
    }
    if (SUCCEEDED(com))
        OleUninitialize();
    return exitCode;
}
