// An owned BSTR. A null BSTR and an empty one are different values here, as
// they are to automation callers ("nothing found" versus "found, empty").
#pragma once

#include <windows.h>
#include <oleauto.h>

#include <string>

class WideString {
public:
    WideString() = default;                   // null
    WideString(const wchar_t* s);             // null stays null
    WideString(const wchar_t* s, size_t len);
    WideString(const std::wstring& s);
    // Text in the system ANSI code page, converted to UTF-16.
    static WideString FromAnsi(const std::string& s);
    // Takes ownership of b.
    static WideString Attach(BSTR b);

    WideString(const WideString& o);
    WideString(WideString&& o) noexcept : b_(o.b_) { o.b_ = nullptr; }
    WideString& operator=(WideString o) noexcept {
        std::swap(b_, o.b_);
        return *this;
    }
    ~WideString() { SysFreeString(b_); }

    BSTR c_bstr() const { return b_; }
    // Frees the held string and gives the slot to a callee that fills an [out] BSTR.
    BSTR* Receive();
    BSTR Detach();                            // caller owns the result

    bool IsNull() const { return b_ == nullptr; }
    size_t Length() const { return SysStringLen(b_); }   // in UTF-16 units, NULs included
    std::wstring ToWide() const { return std::wstring(b_ ? b_ : L"", Length()); }
    std::string ToAnsi() const;               // whole length, system ANSI code page

    bool operator==(const WideString& o) const;
    bool operator!=(const WideString& o) const { return !(*this == o); }

private:
    BSTR b_ = nullptr;
};

// Conversions between the system ANSI code page and UTF-16, over the whole length.
std::string WideToAnsi(const wchar_t* s, size_t len);
std::wstring AnsiToWide(const std::string& s);
