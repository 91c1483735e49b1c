// Automation strings as the engine keeps them: the search and channel hold
// text in the system ANSI code page, the database UTF-16 with null kept
// apart from empty. And the out-value helpers of the engine's members.
#pragma once

#include <windows.h>
#include <oleauto.h>

#include <string>

#include "InfoRecord.h"
#include "OleSysError.h"
#include "WideString.h"

inline std::string Ansi(BSTR s) { return WideToAnsi(s, SysStringLen(s)); }
inline BSTR AnsiBstr(const std::string& s) { return WideString::FromAnsi(s).Detach(); }

inline BStr Units(BSTR s) {
    if (!s) return BStr();
    return std::u16string(reinterpret_cast<const char16_t*>(s), SysStringLen(s));
}
inline BSTR UnitsBstr(const BStr& s) {
    if (!s) return nullptr;
    return WideString(reinterpret_cast<const wchar_t*>(s->data()), s->size()).Detach();
}

// A member whose outcome is one value: E_POINTER without a slot, else the
// value that get() gives (a failure leaves the slot empty or 0).
template <class T, class F>
HRESULT OutValue(T* out, F get) {
    if (!out) return E_POINTER;
    *out = T();
    return ComGuard([&] {
        *out = get();
        return S_OK;
    });
}

// A member with no outcome of its own.
template <class F>
HRESULT Effect(F run) {
    return ComGuard([&] {
        run();
        return S_OK;
    });
}
