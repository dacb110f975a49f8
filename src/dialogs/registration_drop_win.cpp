#include "dialogs/registration_dialog_win.h"

#include <ole2.h>

#include "dialogs/dialog_texts.h"
#include "dialogs/shell_files_win.h"
#include "win/strings_win.h"

namespace vantrel::win {

namespace {

constexpr char16_t kAddFilter[] = u"Execute file(*.exe)|*.exe|All file(*.*)|*.*";

std::vector<std::u16string> DroppedFiles(HDROP drop) {
    std::vector<std::u16string> files;
    const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
        const UINT length = DragQueryFileW(drop, i, nullptr, 0);
        std::wstring name(length + 1, L'\0');
        name.resize(DragQueryFileW(drop, i, name.data(), length + 1));
        if (!name.empty())
            files.push_back(FromWide(name));
    }
    return files;
}

} // namespace

// ---- Files dragged from the shell -----------------------------------------------------------------------------
// The shell drags files with OLE: a window that only declares it accepts files (WM_DROPFILES) gets nothing from
// another program under Wine, so the dialog is a registered drop target too.

class RegistrationDialog::DropTarget : public IDropTarget {
public:
    explicit DropTarget(RegistrationDialog* dialog) : dialog_(dialog) {}
    void Detach() { dialog_ = nullptr; }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (!out)
            return E_POINTER;
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDropTarget)) {
            *out = static_cast<IDropTarget*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&references_)); }
    ULONG STDMETHODCALLTYPE Release() override {
        const LONG left = InterlockedDecrement(&references_);
        if (left == 0)
            delete this;
        return static_cast<ULONG>(left);
    }

    HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* data, DWORD, POINTL, DWORD* effect) override {
        FORMATETC format{CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
        files_ = data && data->QueryGetData(&format) == S_OK;
        *effect = Effect();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE DragOver(DWORD, POINTL, DWORD* effect) override {
        *effect = Effect();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE DragLeave() override {
        files_ = false;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD, POINTL at, DWORD* effect) override {
        *effect = DROPEFFECT_NONE;
        files_ = false;
        FORMATETC format{CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
        STGMEDIUM medium{};
        if (!dialog_ || !data || FAILED(data->GetData(&format, &medium)))
            return S_OK;
        const std::vector<std::u16string> files = DroppedFiles(static_cast<HDROP>(medium.hGlobal));
        ReleaseStgMedium(&medium);
        *effect = DROPEFFECT_COPY;
        // The source waits for this call to return: the messages the drop may show come after it.
        dialog_->DropFiles({at.x, at.y}, files);
        return S_OK;
    }

private:
    DWORD Effect() const {
        if (!files_ || !dialog_ || TrayFull(dialog_->List(dialog_->CurrentTray())))
            return DROPEFFECT_NONE;
        return DROPEFFECT_COPY;
    }

    virtual ~DropTarget() = default;
    RegistrationDialog* dialog_;
    LONG references_ = 1;
    bool files_ = false;
};

void RegistrationDialog::AcceptDrops() {
    DragAcceptFiles(Handle(), TRUE);
    dropTarget_ = new DropTarget(this);
    // Needs OLE on this thread; without it only the files the system posts as WM_DROPFILES arrive.
    if (FAILED(RegisterDragDrop(Handle(), dropTarget_))) {
        dropTarget_->Release();
        dropTarget_ = nullptr;
    }
}

void RegistrationDialog::RevokeDrops() {
    if (dropTarget_) {
        RevokeDragDrop(Handle());
        dropTarget_->Detach();
        dropTarget_->Release();
        dropTarget_ = nullptr;
    }
}

void RegistrationDialog::DropFilesMessage(HDROP drop) {
    POINT at{};
    DragQueryPoint(drop, &at);
    ClientToScreen(Handle(), &at);
    const std::vector<std::u16string> files = DroppedFiles(drop);
    DragFinish(drop);
    DropFiles(at, files);
}

// ---- Files added ----------------------------------------------------------------------------------------------

void RegistrationDialog::AddFile() {
    const int32_t tray = CurrentTray();
    const auto file =
        AskOpenFile({Handle(), u"Add file", kAddFilter, u"", false}, [this](bool open) { ModalBox(open); });
    if (file) {
        ItemList& list = List(tray);
        if (TrayFull(list)) {
            Warn(kNoMoreIconsText);
        } else if (host_.System().FileExists(*file)) {
            ShellShortcutResolver shortcuts;
            selNow_ = InsertFileItem(list, selNow_, MakeFileItem(*file, shortcuts, host_.System(), host_.Icons()));
            ShowName(tray, selNow_);
        } else {
            Warn(kFileDoesNotExistText);
        }
    }
    if (!IsWindow(Handle()))
        return;
    SetForegroundWindow(Handle());
    Arrange();
    RepaintGrid(tray);
}

void RegistrationDialog::DropFiles(POINT screen, const std::vector<std::u16string>& files) {
    // The program the files came from waits until the drop returns: they are only taken here, for the cell they
    // were dropped on, and added once the dialog gets to its next message.
    const int32_t tray = CurrentTray();
    POINT client = screen;
    ScreenToClient(Grid(tray), &client);
    drops_.push_back({tray, CellAtPoint(tray, client), files});
    PostMessageW(Handle(), kMsgAddDropped, 0, 0);
}

void RegistrationDialog::AddDropped() {
    if (drops_.empty())
        return;
    // One drop per message, in the order they came.
    const PendingDrop drop = std::move(drops_.front());
    drops_.pop_front();
    ShellShortcutResolver shortcuts;
    const DropOutcome outcome =
        AddDroppedFiles(List(drop.tray), drop.cell, drop.files, shortcuts, host_.System(), host_.Icons());
    if (outcome.firstIndex >= 0 && drop.tray == CurrentTray())
        selNow_ = outcome.firstIndex;
    Arrange();
    RepaintGrid(drop.tray);
    ShowName(CurrentTray(), selNow_);
    if (IsVisible())
        SetForegroundWindow(Handle());
    if (outcome.full)
        Warn(kNoMoreIconsText);
}

} // namespace vantrel::win
