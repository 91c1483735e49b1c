#include "TestObject.h"

#include <stdexcept>

#include "DispatchDriver.h"
#include "WideString.h"

STDMETHODIMP TestObject::Add(long A, long B, long* Result) {
    return ComGuard([&] {
        *Result = A + B;
        return S_OK;
    });
}

STDMETHODIMP TestObject::Concat(BSTR A, BSTR B, BSTR* Result) {
    return ComGuard([&] {
        std::wstring s = WideString(A, SysStringLen(A)).ToWide() + WideString(B, SysStringLen(B)).ToWide();
        *Result = WideString(s).Detach();
        return S_OK;
    });
}

// Head: the text up to the first blank; Tail: the rest after it.
STDMETHODIMP TestObject::Split(BSTR Text, BSTR* Head, BSTR* Tail, long* HeadLength) {
    return ComGuard([&] {
        std::wstring s(Text ? Text : L"", SysStringLen(Text));
        size_t p = s.find(L' ');
        std::wstring head = s.substr(0, p);
        std::wstring tail = p == std::wstring::npos ? std::wstring() : s.substr(p + 1);
        *Head = WideString(head).Detach();
        *Tail = WideString(tail).Detach();
        *HeadLength = static_cast<long>(head.size());
        return S_OK;
    });
}

STDMETHODIMP TestObject::Lookup(long Key, BSTR* Value, long* Found) {
    return ComGuard([&] {
        auto it = items_.find(Key);
        *Found = it != items_.end();
        *Value = it != items_.end() ? WideString(it->second).Detach() : nullptr;
        return S_OK;
    });
}

STDMETHODIMP TestObject::get_Item(long Index, BSTR* Value) {
    long found = 0;
    return Lookup(Index, Value, &found);
}

STDMETHODIMP TestObject::put_Item(long Index, BSTR Value) {
    return ComGuard([&] {
        items_[Index] = std::wstring(Value ? Value : L"", SysStringLen(Value));
        return S_OK;
    });
}

STDMETHODIMP TestObject::get_Count(long* Value) {
    return ComGuard([&] {
        *Value = static_cast<long>(items_.size());
        return S_OK;
    });
}

// Throws across the method body: the guard must turn each into an HRESULT.
STDMETHODIMP TestObject::Fail(long Kind) {
    return ComGuard([&]() -> HRESULT {
        switch (Kind) {
        case 1: throw std::bad_alloc();
        case 2: throw EOleSysError("refused", E_ACCESSDENIED);
        case 3: throw std::runtime_error("plain");
        case 4: throw 42;
        default: return S_OK;
        }
    });
}

STDMETHODIMP TestObject::CallCount(IDispatch* Other, long* Result) {
    return ComGuard([&] {
        TDispatchDriver d(Other);
        *Result = d.Get("Count").AsLong();
        return S_OK;
    });
}

STDMETHODIMP TestObject::NullString(BSTR* Result) {
    *Result = nullptr;
    return S_OK;
}
