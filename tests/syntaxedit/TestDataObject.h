// A data object for drop tests that offers the blocks it was given, and the
// helpers that build such blocks.
#pragma once

#include <windows.h>
#include <ole2.h>
#include <shlobj.h>

#include <cstring>
#include <map>
#include <string>

inline HGLOBAL Block(const void* data, size_t bytes) {
    HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, bytes);
    std::memcpy(GlobalLock(h), data, bytes);
    GlobalUnlock(h);
    return h;
}

// A data object that offers the blocks it was given.
class TTestDataObject : public IDataObject {
public:
    std::map<CLIPFORMAT, std::string> blocks;  // raw bytes, terminator included
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** out) override {
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs; }
    ULONG STDMETHODCALLTYPE Release() override { return --refs; }
    HRESULT STDMETHODCALLTYPE GetData(FORMATETC* f, STGMEDIUM* m) override {
        auto it = blocks.find(f->cfFormat);
        if (it == blocks.end()) return DV_E_FORMATETC;
        m->tymed = TYMED_HGLOBAL;
        m->hGlobal = Block(it->second.data(), it->second.size());
        m->pUnkForRelease = nullptr;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* f) override {
        return blocks.count(f->cfFormat) && (f->tymed & TYMED_HGLOBAL) ? S_OK : DV_E_FORMATETC;
    }
    HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC*, FORMATETC*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD, IEnumFORMATETC**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) override { return E_NOTIMPL; }
    ULONG refs = 1;
};

inline std::string Bytes(const std::string& s) { return std::string(s.c_str(), s.size() + 1); }
inline std::string Wide(const std::wstring& w) {
    return std::string(reinterpret_cast<const char*>(w.c_str()), (w.size() + 1) * sizeof(wchar_t));
}
inline std::string FileList(const std::wstring& doubleZeroNames) {
    DROPFILES df = {};
    df.pFiles = sizeof(DROPFILES);
    df.fWide = TRUE;
    std::string s(reinterpret_cast<const char*>(&df), sizeof df);
    s += std::string(reinterpret_cast<const char*>(doubleZeroNames.data()), doubleZeroNames.size() * sizeof(wchar_t));
    return s;
}

