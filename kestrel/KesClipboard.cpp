#include "KesClipboard.h"

#include <cstring>

#include "WideString.h"
#include "core/ClipboardText.h"

namespace {
// Holds the clipboard open (no owner window) for one scope.
class ClipboardOpen {
public:
    ClipboardOpen() : open_(OpenClipboard(nullptr) != 0) {}
    ~ClipboardOpen() {
        if (open_) CloseClipboard();
    }
    ClipboardOpen(const ClipboardOpen&) = delete;
    ClipboardOpen& operator=(const ClipboardOpen&) = delete;
    bool IsOpen() const { return open_; }

private:
    bool open_;
};

// The format number of a name: registered each time, so every program that
// uses the same name meets on the same format.
UINT FormatOf(BSTR name) {
    std::string ansi = WideToAnsi(name, SysStringLen(name));
    return RegisterClipboardFormatA(ansi.c_str());
}
}  // namespace

STDMETHODIMP KesClipboard::get_Data(BSTR Format, BSTR* pVal) {
    if (!pVal) return E_POINTER;
    *pVal = nullptr;
    return ComGuard([&] {
        std::string text;
        {
            ClipboardOpen clip;
            if (clip.IsOpen()) {
                HANDLE h = GetClipboardData(FormatOf(Format));
                const char* p = h ? static_cast<const char*>(GlobalLock(h)) : nullptr;
                if (p) {
                    text = ClipboardTextOf(p, GlobalSize(h));
                    GlobalUnlock(h);
                }
            }
        }
        *pVal = WideString::FromAnsi(text).Detach();
        return S_OK;
    });
}

STDMETHODIMP KesClipboard::put_Data(BSTR Format, BSTR newVal) {
    return ComGuard([&] {
        std::string bytes = ClipboardBytesOf(WideToAnsi(newVal, SysStringLen(newVal)));
        ClipboardOpen clip;
        if (!clip.IsOpen()) return S_OK;
        HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
        if (!block) return S_OK;
        void* p = GlobalLock(block);
        if (!p) {
            GlobalFree(block);
            return S_OK;
        }
        std::memcpy(p, bytes.data(), bytes.size());
        GlobalUnlock(block);
        // The clipboard owns the block only when it took it.
        if (!SetClipboardData(FormatOf(Format), block)) GlobalFree(block);
        return S_OK;
    });
}
