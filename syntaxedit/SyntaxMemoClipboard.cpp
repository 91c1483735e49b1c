// Cut, copy and paste of the editor through the system clipboard: CF_TEXT and
// the registered "Rich Text Format".
#include <cstring>

#include "SyntaxMemo.h"

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

void TSyntaxMemo::CopyToClipboard() {
    if (!OpenClipboard(Handle())) return;
    EmptyClipboard();
    CloseClipboard();
    if (core_.Anchor() == core_.Caret()) return;
    core_.FontName = "Courier New";
    core_.ResolveColor = [](TColor c) { return static_cast<TColor>(ColorToRGB(c)); };
    PutOnClipboard(Handle(), CF_TEXT, core_.ExportSelection(1), true);
    PutOnClipboard(Handle(), rtfFormat_, core_.ExportSelection(2), false);
}

void TSyntaxMemo::CutToClipboard() {
    if (core_.ReadOnly) return;
    CopyToClipboard();
    core_.ReplaceSelection("", 0);
    ViewInvalidate();
}

void TSyntaxMemo::PasteFromClipboard() {
    if (core_.ReadOnly || !IsClipboardFormatAvailable(CF_TEXT) || !OpenClipboard(Handle())) return;
    std::string text;
    if (HANDLE h = GetClipboardData(CF_TEXT)) {
        if (const char* p = static_cast<const char*>(GlobalLock(h))) {
            size_t cap = GlobalSize(h);
            text.assign(p, strnlen(p, cap));
            GlobalUnlock(h);
        }
    }
    CloseClipboard();
    core_.InsertAtCaret(text);
    core_.ScrollIntoView(core_.Caret());
    core_.UpdateScrollBars();
    ViewInvalidate();
}

bool TSyntaxMemo::ClipboardMessage(TMessage& m) {
    switch (m.Msg) {
    case WM_COPY: CopyToClipboard(); break;
    case WM_CUT: CutToClipboard(); break;
    case WM_PASTE: PasteFromClipboard(); break;
    case kEmCanPaste:
        m.Result = (m.WParam == 0 || m.WParam == CF_TEXT) && IsClipboardFormatAvailable(CF_TEXT) ? 1 : 0;
        return true;
    default: return false;
    }
    m.Result = 0;
    return true;
}
