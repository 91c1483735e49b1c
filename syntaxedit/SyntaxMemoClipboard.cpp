// Cut, copy and paste of the editor through the system clipboard: CF_TEXT and
// the registered "Rich Text Format" out, CF_TEXT or "HTML Format" in.
#include <cstring>

#include "SyntaxMemo.h"
#include "SyntaxMemoOleLink.h"

namespace {

bool PutOnClipboard(HWND owner, UINT format, const std::string& bytes, bool terminate) {
    if (!OpenClipboard(owner)) return false;
    size_t size = bytes.size() + (terminate ? 1 : 0);
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, size ? size : 1);
    bool ok = false;
    if (block) {
        if (void* p = GlobalLock(block)) {
            memcpy(p, bytes.c_str(), size);
            GlobalUnlock(block);
            ok = SetClipboardData(format, block) != nullptr;
        }
        if (!ok) GlobalFree(block);
    }
    CloseClipboard();
    return ok;
}

}  // namespace

bool TSyntaxMemo::CopyToClipboard() {
    if (!OpenClipboard(Handle())) return false;
    EmptyClipboard();
    CloseClipboard();
    if (core_.Anchor() == core_.Caret()) return true;
    // The RTF names the control's own font (kept by MeasureFont).
    core_.ResolveColor = [](TColor c) { return static_cast<TColor>(ColorToRGB(c)); };
    bool asked = false, placed = false;
    if (ClipCopyFormats & smTEXT) {
        asked = true;
        placed = PutOnClipboard(Handle(), CF_TEXT, core_.ExportSelection(1), true) || placed;
    }
    if (ClipCopyFormats & smRTF) {
        asked = true;
        placed = PutOnClipboard(Handle(), rtfFormat_, core_.ExportSelection(2), false) || placed;
    }
    return placed || !asked;
}

void TSyntaxMemo::CutToClipboard() {
    if (core_.ReadOnly) return;
    // What did not reach the clipboard stays in the text.
    if (!CopyToClipboard()) return;
    // One undo step; the group closes even when deleting throws.
    const int32_t kGroupCut = 15;
    core_.Undo().OpenGroup(kGroupCut);
    struct Close {
        TUndoRecorder& undo;
        ~Close() { undo.CloseGroup(kGroupCut); }
    } close{core_.Undo()};
    core_.ReplaceSelection("", 0);
    core_.UpdateScrollBars();
    core_.ScrollIntoView(core_.Caret());
    ViewInvalidate();
}

void TSyntaxMemo::PasteFromClipboard() {
    ole_->Paste();
    core_.UpdateScrollBars();
}

bool TSyntaxMemo::ClipboardMessage(TMessage& m) {
    switch (m.Msg) {
    case WM_COPY: CopyToClipboard(); break;
    case WM_CUT: CutToClipboard(); break;
    case WM_PASTE: PasteFromClipboard(); break;
    case kEmCanPaste:
        m.Result = (m.WParam == 0 || m.WParam == CF_TEXT) &&
                   (IsClipboardFormatAvailable(CF_TEXT) || IsClipboardFormatAvailable(HtmlClipboardFormat())) ? 1 : 0;
        return true;
    default: return false;
    }
    m.Result = 0;
    return true;
}
