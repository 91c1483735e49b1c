#include "OleVariant.h"

#include <new>

#include "OleSysError.h"

OleVariant::OleVariant(long v) {
    VariantInit(&v_);
    V_VT(&v_) = VT_I4;
    V_I4(&v_) = v;
}

OleVariant::OleVariant(const char* ansi) : OleVariant(ansi ? WideString::FromAnsi(ansi) : WideString()) {}

OleVariant::OleVariant(const std::string& ansi) : OleVariant(WideString::FromAnsi(ansi)) {}

OleVariant::OleVariant(const wchar_t* s) : OleVariant(WideString(s)) {}

OleVariant::OleVariant(const WideString& s) {
    VariantInit(&v_);
    WideString copy(s);
    V_VT(&v_) = VT_BSTR;
    V_BSTR(&v_) = copy.Detach();
}

OleVariant::OleVariant(IDispatch* d) {
    VariantInit(&v_);
    V_VT(&v_) = VT_DISPATCH;
    V_DISPATCH(&v_) = d;
    if (d) d->AddRef();
}

OleVariant::OleVariant(const VARIANT& v) {
    VariantInit(&v_);
    // VariantCopy would turn a null BSTR into an empty one.
    if (V_VT(&v) == VT_BSTR && !V_BSTR(&v)) {
        V_VT(&v_) = VT_BSTR;
        V_BSTR(&v_) = nullptr;
        return;
    }
    OleCheck(VariantCopy(&v_, const_cast<VARIANT*>(&v)), "VariantCopy");
}

OleVariant::OleVariant(const OleVariant& o) : OleVariant(o.v_) {}

OleVariant::OleVariant(OleVariant&& o) noexcept : v_(o.v_) { VariantInit(&o.v_); }

OleVariant& OleVariant::operator=(OleVariant o) noexcept {
    VARIANT t = v_;
    v_ = o.v_;
    o.v_ = t;
    return *this;
}

long OleVariant::AsLong() const {
    if (Type() == VT_I4) return V_I4(&v_);
    VARIANT t;
    VariantInit(&t);
    OleCheck(VariantChangeType(&t, const_cast<VARIANT*>(&v_), 0, VT_I4), "Variant to long");
    return V_I4(&t);
}

WideString OleVariant::AsWideString() const {
    if (Type() == VT_BSTR) {
        BSTR b = V_BSTR(&v_);
        return b ? WideString(b, SysStringLen(b)) : WideString();
    }
    VARIANT t;
    VariantInit(&t);
    OleCheck(VariantChangeType(&t, const_cast<VARIANT*>(&v_), 0, VT_BSTR), "Variant to string");
    return WideString::Attach(V_BSTR(&t));
}

std::string OleVariant::AsString() const { return AsWideString().ToAnsi(); }

VARIANT* OleVariant::Receive() {
    VariantClear(&v_);
    return &v_;
}
