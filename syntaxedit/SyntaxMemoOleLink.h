// The editor control's side of OLE drag and drop and of pasting: registers
// its drop target for the window, starts drags of the selection, and reads
// the clipboard's text or "HTML Format" for a paste.
#pragma once

#include <windows.h>
#include <ole2.h>

#include <functional>
#include <string>
#include <vector>

#include "SynMemoOle.h"
#include "SyntaxMemoSeam.h"

class TSyntaxMemoOle : public TMemoEditSeam<TOleDropEditor> {
public:
    TSyntaxMemoOle(TSyntaxMemoCore& core, TSyntaxMemoView& view);
    ~TSyntaxMemoOle() override;

    // The window was made: its drop target is registered (again).
    void Register(HWND window);
    // The window goes: the registration is revoked.
    void Revoke();
    bool Registered() const { return registered_; }
    IDropTarget* Target() { return target_; }

    // Copy only from a read-only control, else copy and move.
    DWORD AllowedEffects() const;
    // A drag this control starts: BeginOwnDrag, the platform's drag loop,
    // EndOwnDrag. Returns the effect the drop reported.
    DWORD StartDrag();
    void BeginOwnDrag(IDataObject* data);
    // A move dropped elsewhere takes the dragged text away here.
    void EndOwnDrag(HRESULT result, DWORD effect);
    bool Dragging() const { return own_ != nullptr; }
    int32_t DropPosition() const { return dropPos_; }

    // The mouse: a press inside the selection makes a drag pending (true);
    // a move far enough runs it; a release without one places the caret.
    bool PressAt(int32_t offset, int x, int y, bool shift);
    bool MoveTo(int x, int y);
    bool ReleaseAt(int x, int y);

    // WM_PASTE: "HTML Format" (UTF-8) before CF_TEXT, through OnDataDrop.
    void Paste();

    std::function<void(uint16_t& sourceTypes)> OnDataDrop;
    // The control's OnFilesDropped; false when it has none.
    std::function<bool(std::vector<std::string>& files, POINT at)> OnFilesDropped;
    // The drop position moved or went (-1): the control shows it with its caret.
    std::function<void()> OnDropMoved;

    // TDropEditor / TOleDropEditor
    bool ReadOnly() override { return core_.ReadOnly; }
    void DataDrop(uint16_t& sourceTypes) override;
    bool FilesDropped(std::vector<std::string>& files) override;
    int32_t OffsetAtScreen(POINT pt) override;
    void TrackDrag(int x, int y) override;
    void SetOleDrag(bool on) override;
    IDataObject* OwnDataObject() override { return own_; }
    std::string SelectedText() override;

private:
    TSynMemoDropTarget* target_;
    HWND window_ = nullptr;
    bool registered_ = false;
    bool oleDrag_ = false;
    IDataObject* own_ = nullptr;
    bool selfDrop_ = false;
    bool pending_ = false;
    POINT pressed_{0, 0};
    int32_t dragFrom_ = 0, dragTo_ = 0;
    int32_t dropPos_ = -1;
    POINT dropPoint_{-1, -1};
};
