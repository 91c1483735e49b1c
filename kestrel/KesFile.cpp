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

// Members whose outcome is Result 1 (done) or 0 (refused or failed).
template <class F>
HRESULT Outcome(long* Result, F done) {
    if (!Result) return E_POINTER;
    return ComGuard([&] {
        *Result = done() ? 1 : 0;
        return S_OK;
    });
}

// Members that return a string, or a null string when there is nothing.
template <class F>
HRESULT Text(BSTR* Result, F make) {
    if (!Result) return E_POINTER;
    *Result = nullptr;
    return ComGuard([&] {
        *Result = make();
        return S_OK;
    });
}
}  // namespace

KesFile::~KesFile() { EndSearch(); }

void KesFile::EndSearch() {
    if (search_ != INVALID_HANDLE_VALUE) FindClose(search_);
    search_ = INVALID_HANDLE_VALUE;
}

STDMETHODIMP KesFile::Open(BSTR FileName, long Flags, long* Result) {
    return Outcome(Result, [&] { return file_.Open(Ansi(FileName), Flags); });
}

STDMETHODIMP KesFile::Close() {
    file_.Close();
    return S_OK;
}

STDMETHODIMP KesFile::WriteString(BSTR String, long* Result) {
    return Outcome(Result, [&] { return file_.WriteText(Ansi(String)); });
}

STDMETHODIMP KesFile::ReadString(BSTR* String) {
    return Text(String, [&] {
        std::string line;
        file_.ReadLine(line);  // at the end: an empty string
        return AnsiBstr(line);
    });
}

STDMETHODIMP KesFile::PutBR(long* Result) {
    return Outcome(Result, [&] { return file_.PutLineFeed(); });
}

STDMETHODIMP KesFile::CheckExists(BSTR FileName, long* Result) {
    return Outcome(Result, [&] { return CrtFile::CanOpenForReading(Ansi(FileName)); });
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
    return Text(Result, [&]() -> BSTR {
        EndSearch();
        search_ = FindFirstFileA(Ansi(Path).c_str(), &found_);
        return search_ != INVALID_HANDLE_VALUE ? AnsiBstr(found_.cFileName) : nullptr;
    });
}

STDMETHODIMP KesFile::FindNext(BSTR* Result) {
    return Text(Result, [&]() -> BSTR {
        if (search_ == INVALID_HANDLE_VALUE) return nullptr;
        if (FindNextFileA(search_, &found_)) return AnsiBstr(found_.cFileName);
        EndSearch();  // the search is over: let its handle go now
        return nullptr;
    });
}

STDMETHODIMP KesFile::PutString(BSTR String, long* Result) {
    return Outcome(Result, [&] { return file_.PutString(Units(String)); });
}

STDMETHODIMP KesFile::GetString(BSTR* Result) {
    return Text(Result, [&]() -> BSTR {
        std::u16string s;
        if (!file_.GetString(s)) return nullptr;
        return WideString(reinterpret_cast<const wchar_t*>(s.data()), s.size()).Detach();
    });
}
