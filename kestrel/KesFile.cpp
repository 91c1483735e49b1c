#include "KesFile.h"

#include "WideString.h"

namespace {
std::string Ansi(BSTR s) { return WideToAnsi(s, SysStringLen(s)); }

// A BSTR of the ANSI text, for an [out] value.
BSTR AnsiBstr(const std::string& s) { return WideString::FromAnsi(s).Detach(); }

std::u16string Units(BSTR s) {
    const wchar_t* p = s ? s : L"";
    return std::u16string(reinterpret_cast<const char16_t*>(p), SysStringLen(s));
}
}  // namespace

KesFile::~KesFile() { EndSearch(); }

void KesFile::EndSearch() {
    if (search_ != INVALID_HANDLE_VALUE) FindClose(search_);
    search_ = INVALID_HANDLE_VALUE;
}

STDMETHODIMP KesFile::Open(BSTR FileName, long Flags, long* Result) {
    if (!Result) return E_POINTER;
    return ComGuard([&] {
        *Result = file_.Open(Ansi(FileName), Flags) ? 1 : 0;
        return S_OK;
    });
}

STDMETHODIMP KesFile::Close() {
    return ComGuard([&] {
        file_.Close();
        return S_OK;
    });
}

STDMETHODIMP KesFile::WriteString(BSTR String, long* Result) {
    if (!Result) return E_POINTER;
    return ComGuard([&] {
        *Result = file_.WriteText(Ansi(String)) ? 1 : 0;
        return S_OK;
    });
}

STDMETHODIMP KesFile::ReadString(BSTR* String) {
    if (!String) return E_POINTER;
    *String = nullptr;
    return ComGuard([&] {
        std::string line;
        file_.ReadLine(line);  // at the end: an empty string
        *String = AnsiBstr(line);
        return S_OK;
    });
}

STDMETHODIMP KesFile::PutBR(long* Result) {
    if (!Result) return E_POINTER;
    return ComGuard([&] {
        *Result = file_.PutLineFeed() ? 1 : 0;
        return S_OK;
    });
}

STDMETHODIMP KesFile::CheckExists(BSTR FileName, long* Result) {
    if (!Result) return E_POINTER;
    return ComGuard([&] {
        *Result = CrtFile::CanOpenForReading(Ansi(FileName)) ? 1 : 0;
        return S_OK;
    });
}

STDMETHODIMP KesFile::get_Position(long* pVal) {
    if (!pVal) return E_POINTER;
    *pVal = file_.Position();
    return S_OK;
}

STDMETHODIMP KesFile::put_Position(long newVal) {
    file_.SetPosition(newVal);
    return S_OK;
}

STDMETHODIMP KesFile::FindFirst(BSTR Path, BSTR* Result) {
    if (!Result) return E_POINTER;
    *Result = nullptr;
    return ComGuard([&] {
        EndSearch();
        search_ = FindFirstFileA(Ansi(Path).c_str(), &found_);
        if (search_ != INVALID_HANDLE_VALUE) *Result = AnsiBstr(found_.cFileName);
        return S_OK;
    });
}

STDMETHODIMP KesFile::FindNext(BSTR* Result) {
    if (!Result) return E_POINTER;
    *Result = nullptr;
    return ComGuard([&] {
        if (search_ == INVALID_HANDLE_VALUE) return S_OK;
        if (FindNextFileA(search_, &found_)) *Result = AnsiBstr(found_.cFileName);
        else EndSearch();  // the search is over: let its handle go now
        return S_OK;
    });
}

STDMETHODIMP KesFile::PutString(BSTR String, long* Result) {
    if (!Result) return E_POINTER;
    return ComGuard([&] {
        *Result = file_.PutString(Units(String)) ? 1 : 0;
        return S_OK;
    });
}

STDMETHODIMP KesFile::GetString(BSTR* Result) {
    if (!Result) return E_POINTER;
    *Result = nullptr;
    return ComGuard([&] {
        std::u16string s;
        if (file_.GetString(s)) *Result = WideString(reinterpret_cast<const wchar_t*>(s.data()), s.size()).Detach();
        return S_OK;
    });
}
