#include "SyntaxMemoOleLink.h"

#include <algorithm>
#include <cstdlib>
#include <new>

#include "SysUtils.h"

namespace {

// The option bit smoOLEDragSource: drags of the selection start here.
const int32_t kOleDragSource = 0x2000000;

// Once per thread, as the platform asks before any drag and drop call.
void EnsureOle() {
    static thread_local bool done = false;
    if (!done) done = SUCCEEDED(OleInitialize(nullptr));
}

}  // namespace

TSyntaxMemoOle::TSyntaxMemoOle(TSyntaxMemoCore& core, TSyntaxMemoView& view)
    : TMemoEditSeam<TOleDropEditor>(core, view), target_(new TSynMemoDropTarget(*this)) {}

TSyntaxMemoOle::~TSyntaxMemoOle() {
    Revoke();
    target_->Release();
}

void TSyntaxMemoOle::Register(HWND window) {
    EnsureOle();
    if (registered_ && window_ != window) Revoke();
    window_ = window;
    RevokeDragDrop(window);
    registered_ = RegisterDragDrop(window, target_) == S_OK;
}

void TSyntaxMemoOle::Revoke() {
    if (registered_) RevokeDragDrop(window_);
    registered_ = false;
}

DWORD TSyntaxMemoOle::AllowedEffects() const {
    return core_.ReadOnly ? DROPEFFECT_COPY : DROPEFFECT_COPY | DROPEFFECT_MOVE;
}

DWORD TSyntaxMemoOle::StartDrag() {
    EnsureOle();
    auto* data = new TSynMemoDataObject(*this);
    auto* source = new TSynMemoDragSource;
    BeginOwnDrag(data);
    DWORD effect = DROPEFFECT_NONE;
    HRESULT hr = DoDragDrop(data, source, AllowedEffects(), &effect);
    EndOwnDrag(hr, effect);
    source->Release();
    data->Release();
    return effect;
}

void TSyntaxMemoOle::BeginOwnDrag(IDataObject* data) {
    own_ = data;
    selfDrop_ = false;
    dragFrom_ = std::min(core_.Anchor(), core_.Caret());
    dragTo_ = std::max(core_.Anchor(), core_.Caret());
}

void TSyntaxMemoOle::EndOwnDrag(HRESULT result, DWORD effect) {
    // A move into this same control was done whole by the drop.
    if (result == DRAGDROP_S_DROP && (effect & DROPEFFECT_MOVE) && !selfDrop_ && !core_.ReadOnly &&
        dragTo_ > dragFrom_) {
        BeginUndoGroup(ugDrop);
        ReplaceRange(dragFrom_, dragTo_, "");
        SetSelection(dragFrom_, dragFrom_);
        EndUndoGroup();
    }
    own_ = nullptr;
    selfDrop_ = false;
    oleDrag_ = false;
    dropPos_ = -1;
}

bool TSyntaxMemoOle::PressAt(int32_t offset, int x, int y, bool shift) {
    int32_t s = std::min(core_.Anchor(), core_.Caret()), e = std::max(core_.Anchor(), core_.Caret());
    pending_ = !shift && s < e && offset >= s && offset <= e && (core_.Options() & kOleDragSource);
    pressed_ = POINT{x, y};
    return pending_;
}

bool TSyntaxMemoOle::MoveTo(int x, int y) {
    if (!pending_) return false;
    if (std::abs(x - pressed_.x) < GetSystemMetrics(SM_CXDRAG) && std::abs(y - pressed_.y) < GetSystemMetrics(SM_CYDRAG))
        return true;
    pending_ = false;
    ReleaseCapture();
    StartDrag();
    return true;
}

bool TSyntaxMemoOle::ReleaseAt(int x, int y) {
    if (!pending_) return false;
    pending_ = false;
    int32_t offset = core_.OffsetOfPoint(x, y);
    core_.SetSelection(offset, offset);
    return true;
}

void TSyntaxMemoOle::DataDrop(uint16_t& sourceTypes) {
    if (own_) selfDrop_ = true;
    if (OnDataDrop) OnDataDrop(sourceTypes);
}

bool TSyntaxMemoOle::FilesDropped(std::vector<std::string>& files) {
    if (!(core_.Options() & smoProcessDroppedFiles) || !OnFilesDropped) return false;
    return OnFilesDropped(files, dropPoint_);
}

int32_t TSyntaxMemoOle::OffsetAtScreen(POINT pt) {
    if (!window_ || !ScreenToClient(window_, &pt)) return -1;
    dropPoint_ = pt;
    return core_.OffsetOfPoint(pt.x, pt.y);
}

void TSyntaxMemoOle::SetOleDrag(bool on) {
    oleDrag_ = on;
    // Entering shows the drop place at once; a drop or a leave hides it.
    if (on && dropPoint_.x >= 0) dropPos_ = core_.OffsetOfPoint(dropPoint_.x, dropPoint_.y);
    else if (!on) dropPos_ = -1;
    if (OnDropMoved) OnDropMoved();
}

void TSyntaxMemoOle::TrackDrag(int x, int y) {
    if (x == -1 && y == -1) {
        dropPos_ = -1;
        dropPoint_ = POINT{-1, -1};
        view_.ViewInvalidate();
        if (OnDropMoved) OnDropMoved();
        return;
    }
    dropPos_ = OffsetAtScreen(POINT{x, y});
    // Near an edge the text scrolls towards the drop place.
    int lh = core_.LineHeight(), cw = core_.CharWidth();
    int col = core_.LeftCol(), line = core_.TopLine();
    if (dropPoint_.y < 2 * lh && line > 0) line--;
    else if (dropPoint_.y > core_.ClientHeight() - 2 * lh) line++;
    if (dropPoint_.x < core_.TextLeft() + 2 * cw && col > 0) col--;
    else if (dropPoint_.x > core_.ClientWidth() - 2 * cw) col++;
    if (col != core_.LeftCol() || line != core_.TopLine()) core_.ScrollTo(col, line);
    view_.ViewInvalidate();
    if (OnDropMoved) OnDropMoved();
}

std::string TSyntaxMemoOle::SelectedText() {
    int32_t s = std::min(core_.Anchor(), core_.Caret()), e = std::max(core_.Anchor(), core_.Caret());
    return s == e ? std::string() : core_.PlainText(s, e);
}

void TSyntaxMemoOle::Paste() {
    if (core_.ReadOnly) return;
    UINT html = HtmlClipboardFormat();
    uint16_t types = dstPaste;
    if (IsClipboardFormatAvailable(html)) types |= dstHtml;
    else if (IsClipboardFormatAvailable(CF_TEXT)) types |= dstText;
    else return;
    if (OnDataDrop) OnDataDrop(types);
    UINT format = (types & dstText) ? CF_TEXT : (types & dstHtml) ? html : 0;
    if (!format || !OpenClipboard(window_)) return;
    std::string text;
    bool noMemory = false;
    if (HANDLE h = GetClipboardData(format)) {
        if (const char* p = static_cast<const char*>(GlobalLock(h))) {
            try {
                text = ClipboardText(p, GlobalSize(h), format == html);
            } catch (const std::bad_alloc&) {
                noMemory = true;
            }
            GlobalUnlock(h);
        }
    }
    CloseClipboard();
    if (noMemory) throw Exception("Cannot alloc memory for buffer!!");
    if (format == html) text = TDropRules::TrimHtml(text, types);
    // The group closes even when inserting runs out of memory.
    BeginUndoGroup(ugPaste);
    struct Close {
        TUndoRecorder& undo;
        ~Close() { undo.CloseGroup(ugPaste); }
    } close{core_.Undo()};
    core_.InsertAtCaret(text);
    EndUndoGroup();
    view_.ViewInvalidate();
}
