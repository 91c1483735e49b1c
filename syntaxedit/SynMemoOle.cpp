#include "SynMemoOle.h"

#include <shellapi.h>
#include <shlobj.h>

#include <cstring>

namespace {

std::string WideToAnsi(const wchar_t* w, int count) {
    if (count <= 0) return std::string();
    int n = WideCharToMultiByte(CP_ACP, 0, w, count, nullptr, 0, nullptr, nullptr);
    std::string s(static_cast<size_t>(n > 0 ? n : 0), '\0');
    if (n > 0) WideCharToMultiByte(CP_ACP, 0, w, count, &s[0], n, nullptr, nullptr);
    return s;
}

std::string Utf8ToAnsi(const char* p, int count) {
    if (count <= 0) return std::string();
    int n = MultiByteToWideChar(CP_UTF8, 0, p, count, nullptr, 0);
    std::wstring w(static_cast<size_t>(n > 0 ? n : 0), L'\0');
    if (n > 0) MultiByteToWideChar(CP_UTF8, 0, p, count, &w[0], n);
    return WideToAnsi(w.data(), static_cast<int>(w.size()));
}

// Length up to the first zero, never beyond the block.
size_t BoundedLength(const char* p, size_t bytes) {
    const void* z = std::memchr(p, 0, bytes);
    return z ? static_cast<size_t>(static_cast<const char*>(z) - p) : bytes;
}

FORMATETC FormatOf(CLIPFORMAT cf) { return FORMATETC{cf, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL}; }

template <class T>
HRESULT Answer(T* self, REFIID riid, REFIID own, void** out) {
    if (!out) return E_POINTER;
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, own)) {
        *out = self;
        self->AddRef();
        return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
}

}  // namespace

std::string ClipboardText(const char* p, size_t bytes, bool utf8) {
    size_t n = BoundedLength(p, bytes);
    return utf8 ? Utf8ToAnsi(p, static_cast<int>(n)) : std::string(p, n);
}

UINT HtmlClipboardFormat() {
    static UINT cf = RegisterClipboardFormatA("HTML Format");
    return cf;
}

// ---- drop target

TSynMemoDropTarget::~TSynMemoDropTarget() { Keep(nullptr); }

HRESULT TSynMemoDropTarget::QueryInterface(REFIID riid, void** out) {
    return Answer(this, riid, IID_IDropTarget, out);
}
ULONG TSynMemoDropTarget::AddRef() { return static_cast<ULONG>(InterlockedIncrement(&refs_)); }
ULONG TSynMemoDropTarget::Release() {
    LONG n = InterlockedDecrement(&refs_);
    if (n == 0) delete this;
    return static_cast<ULONG>(n);
}

void TSynMemoDropTarget::Keep(IDataObject* data) {
    if (data) data->AddRef();
    if (data_) data_->Release();
    data_ = data;
}

uint16_t TSynMemoDropTarget::Offered(IDataObject* data) {
    struct {
        CLIPFORMAT cf;
        uint16_t bit;
    } const kFormats[] = {{CF_UNICODETEXT, dstUnicodeText},
                          {CF_TEXT, dstText},
                          {static_cast<CLIPFORMAT>(HtmlClipboardFormat()), dstHtml},
                          {CF_HDROP, dstFiles}};
    uint16_t types = 0;
    for (const auto& f : kFormats) {
        FORMATETC fe = FormatOf(f.cf);
        if (data->QueryGetData(&fe) == S_OK) types |= f.bit;
    }
    return types;
}

HRESULT TSynMemoDropTarget::DragEnter(IDataObject* data, DWORD keyState, POINTL pt, DWORD* effect) {
    if (!effect) return E_INVALIDARG;
    Keep(data);
    types_ = data ? Offered(data) : 0;
    accepted_ = types_ != 0;
    if (accepted_) {
        dropPos_ = editor_.OffsetAtScreen(POINT{pt.x, pt.y});
        editor_.SetOleDrag(true);
        *effect = TDropRules::Effect(keyState, *effect);
    } else {
        *effect = DROPEFFECT_NONE;
    }
    return S_OK;
}

HRESULT TSynMemoDropTarget::DragOver(DWORD keyState, POINTL pt, DWORD* effect) {
    if (!effect) return E_INVALIDARG;
    if (accepted_) {
        editor_.TrackDrag(pt.x, pt.y);
        dropPos_ = editor_.OffsetAtScreen(POINT{pt.x, pt.y});
        *effect = TDropRules::Effect(keyState, *effect);
    } else {
        *effect = DROPEFFECT_NONE;
    }
    return S_OK;
}

HRESULT TSynMemoDropTarget::DragLeave() {
    editor_.SetOleDrag(false);
    editor_.TrackDrag(-1, -1);
    Keep(nullptr);
    accepted_ = false;
    return S_OK;
}

bool TSynMemoDropTarget::ReadFormat(IDataObject* data, uint16_t format, std::string& text,
                                    std::vector<std::string>& files) {
    CLIPFORMAT cf = format == dstHtml ? static_cast<CLIPFORMAT>(HtmlClipboardFormat())
                    : format == dstText ? CF_TEXT
                    : format == dstUnicodeText ? CF_UNICODETEXT
                                               : CF_HDROP;
    FORMATETC fe = FormatOf(cf);
    STGMEDIUM medium = {};
    if (data->GetData(&fe, &medium) != S_OK) return false;
    bool ok = false;
    if (medium.tymed == TYMED_HGLOBAL && medium.hGlobal) {
        size_t bytes = GlobalSize(medium.hGlobal);
        if (void* p = GlobalLock(medium.hGlobal)) {
            const char* c = static_cast<const char*>(p);
            if (format == dstText || format == dstHtml) {
                // The clipboard's HTML is UTF-8.
                text = ClipboardText(c, bytes, format == dstHtml);
            } else if (format == dstUnicodeText) {
                const wchar_t* w = static_cast<const wchar_t*>(p);
                size_t n = 0, max = bytes / sizeof(wchar_t);
                while (n < max && w[n]) n++;
                text = WideToAnsi(w, static_cast<int>(n));
            } else if (bytes >= sizeof(DROPFILES)) {
                HDROP drop = static_cast<HDROP>(medium.hGlobal);
                UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
                for (UINT i = 0; i < count; i++) {
                    UINT len = DragQueryFileW(drop, i, nullptr, 0);
                    std::wstring name(len + 1, L'\0');
                    DragQueryFileW(drop, i, &name[0], len + 1);
                    files.push_back(WideToAnsi(name.data(), static_cast<int>(len)));
                }
                text = TDropRules::FileLines(files);
            }
            ok = true;
            GlobalUnlock(medium.hGlobal);
        }
    }
    ReleaseStgMedium(&medium);
    return ok;
}

HRESULT TSynMemoDropTarget::Drop(IDataObject* data, DWORD keyState, POINTL pt, DWORD* effect) {
    if (!data || !effect) return E_FAIL;
    uint32_t eff = TDropRules::Effect(keyState, *effect);
    uint16_t offered = Offered(data);
    uint16_t types = static_cast<uint16_t>(offered | dstInsertAsIs | dstProcessFiles);
    dropPos_ = editor_.OffsetAtScreen(POINT{pt.x, pt.y});
    editor_.DataDrop(types);
    uint16_t formats = static_cast<uint16_t>(types & dstFormatMask & offered);
    *effect = DROPEFFECT_NONE;
    editor_.SetOleDrag(false);
    if (formats && !(types & dstDontProcess) && eff != deNone) {
        uint16_t f = TDropRules::Preferred(formats);
        std::string text;
        std::vector<std::string> files;
        if (ReadFormat(data, f, text, files)) {
            uint16_t word = static_cast<uint16_t>((types & dstOptionMask) | f);
            bool own = data == editor_.OwnDataObject();
            if (TDropRules::Deliver(editor_, text, eff, word, dropPos_, own, files)) *effect = eff;
        }
    }
    Keep(nullptr);
    accepted_ = false;
    return S_OK;
}

// ---- drag source

HRESULT TSynMemoDragSource::QueryInterface(REFIID riid, void** out) {
    return Answer(this, riid, IID_IDropSource, out);
}
ULONG TSynMemoDragSource::AddRef() { return static_cast<ULONG>(InterlockedIncrement(&refs_)); }
ULONG TSynMemoDragSource::Release() {
    LONG n = InterlockedDecrement(&refs_);
    if (n == 0) delete this;
    return static_cast<ULONG>(n);
}
HRESULT TSynMemoDragSource::QueryContinueDrag(BOOL escapePressed, DWORD keyState) {
    if (escapePressed) return DRAGDROP_S_CANCEL;
    if (!(keyState & MK_LBUTTON)) return DRAGDROP_S_DROP;
    return S_OK;
}
HRESULT TSynMemoDragSource::GiveFeedback(DWORD) { return DRAGDROP_S_USEDEFAULTCURSORS; }

// ---- data object

HRESULT TSynMemoDataObject::QueryInterface(REFIID riid, void** out) {
    return Answer(this, riid, IID_IDataObject, out);
}
ULONG TSynMemoDataObject::AddRef() { return static_cast<ULONG>(InterlockedIncrement(&refs_)); }
ULONG TSynMemoDataObject::Release() {
    LONG n = InterlockedDecrement(&refs_);
    if (n == 0) delete this;
    return static_cast<ULONG>(n);
}

HRESULT TSynMemoDataObject::QueryGetData(FORMATETC* f) {
    if (!f) return E_INVALIDARG;
    if (f->cfFormat != CF_TEXT || f->dwAspect != DVASPECT_CONTENT || !(f->tymed & TYMED_HGLOBAL))
        return DV_E_FORMATETC;
    // Nothing selected: nothing on offer.
    return editor_.SelectedText().empty() ? DV_E_FORMATETC : S_OK;
}

HRESULT TSynMemoDataObject::GetData(FORMATETC* f, STGMEDIUM* medium) {
    if (!f || !medium) return E_INVALIDARG;
    if (f->dwAspect != DVASPECT_CONTENT && f->dwAspect != DVASPECT_ICON) return DV_E_DVASPECT;
    if (f->lindex != -1) return DV_E_LINDEX;
    if (!(f->tymed & TYMED_HGLOBAL)) return DV_E_TYMED;
    // Only the format on offer is served.
    if (f->cfFormat != CF_TEXT) return DV_E_FORMATETC;
    std::string text = editor_.SelectedText();
    if (text.empty()) return DV_E_FORMATETC;
    HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE, text.size() + 1);
    if (!h) return E_OUTOFMEMORY;
    char* p = static_cast<char*>(GlobalLock(h));
    std::memcpy(p, text.c_str(), text.size() + 1);
    GlobalUnlock(h);
    medium->tymed = TYMED_HGLOBAL;
    medium->hGlobal = h;
    medium->pUnkForRelease = nullptr;
    return S_OK;
}

HRESULT TSynMemoDataObject::GetDataHere(FORMATETC* f, STGMEDIUM* medium) {
    if (!f || !medium) return E_INVALIDARG;
    if (f->cfFormat != CF_TEXT || f->dwAspect != DVASPECT_CONTENT || f->tymed != TYMED_HGLOBAL)
        return DV_E_FORMATETC;
    std::string text = editor_.SelectedText();
    HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
    if (!h) return E_OUTOFMEMORY;
    std::memcpy(GlobalLock(h), text.c_str(), text.size() + 1);
    GlobalUnlock(h);
    medium->hGlobal = h;
    medium->pUnkForRelease = nullptr;
    return S_OK;
}

HRESULT TSynMemoDataObject::GetCanonicalFormatEtc(FORMATETC*, FORMATETC* out) {
    if (out) out->ptd = nullptr;
    return E_NOTIMPL;
}
HRESULT TSynMemoDataObject::SetData(FORMATETC*, STGMEDIUM*, BOOL) { return E_NOTIMPL; }
HRESULT TSynMemoDataObject::EnumFormatEtc(DWORD, IEnumFORMATETC** out) {
    if (out) *out = nullptr;
    return E_NOTIMPL;
}
HRESULT TSynMemoDataObject::DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) { return OLE_E_ADVISENOTSUPPORTED; }
HRESULT TSynMemoDataObject::DUnadvise(DWORD) { return OLE_E_ADVISENOTSUPPORTED; }
HRESULT TSynMemoDataObject::EnumDAdvise(IEnumSTATDATA** out) {
    if (out) *out = nullptr;
    return OLE_E_ADVISENOTSUPPORTED;
}
