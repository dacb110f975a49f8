#pragma once
// The accessibility objects of a window that draws grids itself. A screen reader asks the window for its
// client object (WM_GETOBJECT) and gets an IAccessible tree built from an AccessibleGrid: the client, one list
// per grid, one list item per cell. UI Automation reads the same tree through its MSAA bridge.
//
// Cells are simple elements. A list knows them by 1..n; the client object knows every cell by one number of
// its own (CellId), which is what the window's focus events name, so that a listener can read the cell from
// the event alone.

#include <windows.h>

#include <oleacc.h>

#include <memory>
#include <optional>

#include "core/accessible_grid.h"

namespace vantrel::win {

// Shared by the window's host and every object handed out: the objects can outlive the window (a screen
// reader may hold them), and must then answer that they are disconnected instead of reading freed memory.
struct AccessibleLink {
    AccessibleGrid* grid = nullptr;
    HWND window = nullptr;
    IAccessible* root = nullptr;
};

class AccessibleGridHost {
public:
    explicit AccessibleGridHost(AccessibleGrid& grid);
    ~AccessibleGridHost();
    AccessibleGridHost(const AccessibleGridHost&) = delete;
    AccessibleGridHost& operator=(const AccessibleGridHost&) = delete;

    // The window the objects describe; before this, WM_GETOBJECT is left to the system.
    void Attach(HWND window);
    // The window is going away: every object handed out is disconnected.
    void Detach();

    // WM_GETOBJECT: the answer for the client object, or nothing for what the system answers itself.
    std::optional<LRESULT> AnswerGetObject(WPARAM wParam, LPARAM lParam);
    // Called first by the described window's procedure: answers WM_GETOBJECT for the client object and detaches
    // on WM_DESTROY; nothing means the window handles the message as it would anyway.
    std::optional<LRESULT> OnWindowMessage(UINT message, WPARAM wParam, LPARAM lParam);

    // Raises the focus and selection events for the cell under the cursor when it is another cell than the one
    // announced last, or always with `force` (the window has just come up). Nothing while no cell has it.
    void AnnounceFocus(bool force);
    // The lists were filled anew: listeners read the tree again.
    void AnnounceReorder();

    static LONG CellId(CellAddress cell);
    static std::optional<CellAddress> CellOfId(LONG childId);

private:
    std::shared_ptr<AccessibleLink> link_;
    std::optional<CellAddress> announced_;
    bool comInitialised_ = false;
};

} // namespace vantrel::win
