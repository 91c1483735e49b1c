// The automation layer's test object: a dual ITestObject on TAutoObject.
#pragma once

#include <map>
#include <string>

#include "AutoObject.h"
#include "AutoTest_h.h"

class TestObject : public TAutoObject<ITestObject, &IID_ITestObject> {
public:
    STDMETHODIMP Add(long A, long B, long* Result) override;
    STDMETHODIMP Concat(BSTR A, BSTR B, BSTR* Result) override;
    STDMETHODIMP Split(BSTR Text, BSTR* Head, BSTR* Tail, long* HeadLength) override;
    STDMETHODIMP Lookup(long Key, BSTR* Value, long* Found) override;
    STDMETHODIMP get_Item(long Index, BSTR* Value) override;
    STDMETHODIMP put_Item(long Index, BSTR Value) override;
    STDMETHODIMP get_Count(long* Value) override;
    STDMETHODIMP Fail(long Kind) override;
    STDMETHODIMP CallCount(IDispatch* Other, long* Result) override;
    STDMETHODIMP NullString(BSTR* Result) override;

private:
    std::map<long, std::wstring> items_;
};
