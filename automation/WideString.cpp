#include "WideString.h"

#include <climits>
#include <cwchar>
#include <new>

namespace {
BSTR AllocOrThrow(const wchar_t* s, size_t len) {
    if (len > UINT_MAX / 4) throw std::bad_alloc();
    BSTR b = SysAllocStringLen(s, static_cast<UINT>(len));
    if (!b) throw std::bad_alloc();
    return b;
}
}  // namespace

WideString::WideString(const wchar_t* s) {
    if (s) b_ = AllocOrThrow(s, wcslen(s));
}

WideString::WideString(const wchar_t* s, size_t len) : b_(AllocOrThrow(s, len)) {}

WideString::WideString(const std::wstring& s) : b_(AllocOrThrow(s.data(), s.size())) {}

WideString::WideString(const WideString& o) {
    if (o.b_) b_ = AllocOrThrow(o.b_, o.Length());
}

WideString WideString::FromAnsi(const std::string& s) {
    std::wstring w = AnsiToWide(s);
    return WideString(w);
}

WideString WideString::Attach(BSTR b) {
    WideString w;
    w.b_ = b;
    return w;
}

BSTR* WideString::Receive() {
    SysFreeString(b_);
    b_ = nullptr;
    return &b_;
}

BSTR WideString::Detach() {
    BSTR b = b_;
    b_ = nullptr;
    return b;
}

std::string WideString::ToAnsi() const { return WideToAnsi(b_, Length()); }

bool WideString::operator==(const WideString& o) const {
    if (IsNull() || o.IsNull()) return IsNull() == o.IsNull();
    return Length() == o.Length() && std::wmemcmp(b_, o.b_, Length()) == 0;
}

std::string WideToAnsi(const wchar_t* s, size_t len) {
    if (!s || len == 0) return std::string();
    if (len > INT_MAX / 4) throw std::bad_alloc();
    int n = WideCharToMultiByte(CP_ACP, 0, s, static_cast<int>(len), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(n), '\0');
    if (n > 0) WideCharToMultiByte(CP_ACP, 0, s, static_cast<int>(len), &out[0], n, nullptr, nullptr);
    return out;
}

std::wstring AnsiToWide(const std::string& s) {
    if (s.empty()) return std::wstring();
    if (s.size() > INT_MAX / 4) throw std::bad_alloc();
    int n = MultiByteToWideChar(CP_ACP, 0, s.data(), static_cast<int>(s.size()), nullptr, 0);
    std::wstring out(static_cast<size_t>(n), L'\0');
    if (n > 0) MultiByteToWideChar(CP_ACP, 0, s.data(), static_cast<int>(s.size()), &out[0], n);
    return out;
}
