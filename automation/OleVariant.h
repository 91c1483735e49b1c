// An owned VARIANT: the values that cross late-bound calls (longs, strings,
// dispatch pointers) and what comes back from them.
#pragma once

#include <windows.h>
#include <oleauto.h>

#include <string>

#include "WideString.h"

class OleVariant {
public:
    OleVariant() { VariantInit(&v_); }        // VT_EMPTY
    OleVariant(long v);
    OleVariant(int v) : OleVariant(static_cast<long>(v)) {}
    OleVariant(const char* ansi);             // VT_BSTR from the ANSI code page; null gives a null BSTR
    OleVariant(const std::string& ansi);
    OleVariant(const wchar_t* s);
    OleVariant(const WideString& s);          // VT_BSTR, a null string stays null
    OleVariant(IDispatch* d);                 // VT_DISPATCH, holds a reference
    explicit OleVariant(const VARIANT& v);    // copy

    OleVariant(const OleVariant& o);
    OleVariant(OleVariant&& o) noexcept;
    OleVariant& operator=(OleVariant o) noexcept;
    ~OleVariant() { VariantClear(&v_); }

    VARTYPE Type() const { return V_VT(&v_); }
    bool IsEmpty() const { return Type() == VT_EMPTY; }
    // True for a VT_BSTR holding a null BSTR (an automation "null string").
    bool IsNullString() const { return Type() == VT_BSTR && V_BSTR(&v_) == nullptr; }

    // Converted with the system's coercion rules; EOleSysError when it cannot.
    long AsLong() const;
    WideString AsWideString() const;          // a null string stays null
    std::string AsString() const;             // ANSI code page

    const VARIANT& Value() const { return v_; }
    // Clears the value and gives the slot to a callee that fills it.
    VARIANT* Receive();

private:
    VARIANT v_;
};
