// IDispatch answered from type information, and the late-binding caller.
#include <gtest/gtest.h>

#include "ComTest.h"
#include "DispatchDriver.h"
#include "OleSysError.h"
#include "TestObject.h"

namespace {
class Dispatch : public ComTest {
protected:
    void SetUp() override {
        ComTest::SetUp();
        ASSERT_EQ(S_OK, CreateComObject<TestObject>(IID_IDispatch, reinterpret_cast<void**>(&disp)));
    }
    void TearDown() override {
        if (disp) {
            EXPECT_EQ(0u, disp->Release());  // nothing kept a reference
        }
        ComTest::TearDown();
    }
    DISPID IdOf(const wchar_t* name) {
        LPOLESTR names[1] = {const_cast<LPOLESTR>(name)};
        DISPID id = 12345;
        last = disp->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
        return id;
    }
    IDispatch* disp = nullptr;
    HRESULT last = S_OK;
};

HRESULT CodeOf(const std::function<void()>& f) {
    try {
        f();
    } catch (const EOleSysError& e) {
        return e.ErrorCode;
    }
    return S_OK;
}
}  // namespace

TEST_F(Dispatch, NamesMapToTheIdsOfTheTypeLibrary) {
    struct Case {
        const wchar_t* name;
        DISPID id;
    } cases[] = {{L"Add", 1}, {L"concat", 2}, {L"SPLIT", 3}, {L"Lookup", 4}, {L"Item", 5}, {L"Count", 6},
                 {L"Fail", 7}, {L"CallCount", 8}, {L"NullString", 9}};
    for (const Case& c : cases) {
        EXPECT_EQ(c.id, IdOf(c.name)) << c.name;
        EXPECT_EQ(S_OK, last) << c.name;
    }
    IdOf(L"NoSuchMember");
    EXPECT_EQ(DISP_E_UNKNOWNNAME, last);

    // Argument names after the member name get their positions.
    LPOLESTR names[3] = {const_cast<LPOLESTR>(L"Add"), const_cast<LPOLESTR>(L"B"), const_cast<LPOLESTR>(L"A")};
    DISPID ids[3] = {};
    ASSERT_EQ(S_OK, disp->GetIDsOfNames(IID_NULL, names, 3, LOCALE_USER_DEFAULT, ids));
    EXPECT_EQ(1, ids[1]);
    EXPECT_EQ(0, ids[2]);
}

TEST_F(Dispatch, TypeInfoDescribesTheInterface) {
    UINT n = 0;
    ASSERT_EQ(S_OK, disp->GetTypeInfoCount(&n));
    EXPECT_EQ(1u, n);
    ITypeInfo* ti = nullptr;
    ASSERT_EQ(S_OK, disp->GetTypeInfo(0, LOCALE_USER_DEFAULT, &ti));
    BSTR name = nullptr;
    ASSERT_EQ(S_OK, ti->GetDocumentation(MEMBERID_NIL, &name, nullptr, nullptr, nullptr));
    EXPECT_EQ(L"ITestObject", WideString::Attach(name).ToWide());
    TYPEATTR* attr = nullptr;
    ASSERT_EQ(S_OK, ti->GetTypeAttr(&attr));
    EXPECT_TRUE(IsEqualIID(IID_ITestObject, attr->guid));
    ti->ReleaseTypeAttr(attr);
    ti->Release();
    ti = reinterpret_cast<ITypeInfo*>(1);
    EXPECT_EQ(DISP_E_BADINDEX, disp->GetTypeInfo(1, LOCALE_USER_DEFAULT, &ti));
    EXPECT_EQ(nullptr, ti);
}

TEST_F(Dispatch, RawInvokeWithRetvalAndTrailingOuts) {
    // Add(2, 40): arguments last to first.
    VARIANTARG args[2];
    VariantInit(&args[0]);
    VariantInit(&args[1]);
    V_VT(&args[1]) = VT_I4;
    V_I4(&args[1]) = 2;
    V_VT(&args[0]) = VT_I4;
    V_I4(&args[0]) = 40;
    DISPPARAMS dp = {args, nullptr, 2, 0};
    VARIANT result;
    VariantInit(&result);
    ASSERT_EQ(S_OK, disp->Invoke(1, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &dp, &result, nullptr, nullptr));
    EXPECT_EQ(VT_I4, V_VT(&result));
    EXPECT_EQ(42, V_I4(&result));

    // Split("ab cd", [out] Head, [out] Tail, [out] HeadLength).
    BSTR text = SysAllocString(L"ab cd");
    BSTR head = nullptr, tail = nullptr;
    LONG len = 0;
    VARIANTARG sargs[4];
    for (auto& a : sargs) VariantInit(&a);
    V_VT(&sargs[3]) = VT_BSTR;
    V_BSTR(&sargs[3]) = text;
    V_VT(&sargs[2]) = VT_BSTR | VT_BYREF;
    V_BSTRREF(&sargs[2]) = &head;
    V_VT(&sargs[1]) = VT_BSTR | VT_BYREF;
    V_BSTRREF(&sargs[1]) = &tail;
    V_VT(&sargs[0]) = VT_I4 | VT_BYREF;
    V_I4REF(&sargs[0]) = &len;
    DISPPARAMS sp = {sargs, nullptr, 4, 0};
    ASSERT_EQ(S_OK, disp->Invoke(3, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &sp, nullptr, nullptr, nullptr));
    EXPECT_EQ(L"ab", WideString::Attach(head).ToWide());
    EXPECT_EQ(L"cd", WideString::Attach(tail).ToWide());
    EXPECT_EQ(2, len);
    SysFreeString(text);

    // Too few arguments, an unknown id, a foreign interface id.
    DISPPARAMS one = {args, nullptr, 1, 0};
    EXPECT_EQ(DISP_E_BADPARAMCOUNT,
              disp->Invoke(1, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &one, nullptr, nullptr, nullptr));
    EXPECT_EQ(DISP_E_MEMBERNOTFOUND,
              disp->Invoke(99, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &dp, nullptr, nullptr, nullptr));
    EXPECT_EQ(DISP_E_UNKNOWNINTERFACE,
              disp->Invoke(1, IID_IDispatch, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &dp, nullptr, nullptr, nullptr));
}

TEST_F(Dispatch, CallerByNameAndById) {
    TDispatchDriver d(disp);
    EXPECT_EQ(5, d.Call("Add", {2, 3L}).AsLong());
    EXPECT_EQ(5, d.Call(1, {2, 3L}).AsLong());
    EXPECT_EQ(12, d.Call("Add", {"5", 7}).AsLong());  // strings coerced to the declared long
    EXPECT_EQ("foobar", d.Call("Concat", {"foo", std::string("bar")}).AsString());
    EXPECT_EQ(1, d.DispIdOf("Add"));
    EXPECT_EQ(1, d.DispIdOf("add"));
}

TEST_F(Dispatch, CallerReceivesTrailingOutValues) {
    TDispatchDriver d(disp);
    WideString head;
    std::string tail = "old";
    long len = -1;
    OleVariant r = d.Call("Split", {"first second part", Out(head), Out(tail), Out(len)});
    EXPECT_TRUE(r.IsEmpty());
    EXPECT_EQ(L"first", head.ToWide());
    EXPECT_EQ("second part", tail);
    EXPECT_EQ(5, len);

    // An [out] before the [out,retval].
    d.Put("Item", {7, "seven"});
    WideString value;
    EXPECT_EQ(1, d.Call("Lookup", {7, Out(value)}).AsLong());
    EXPECT_EQ(L"seven", value.ToWide());
    EXPECT_EQ(0, d.Call(4, {8, Out(value)}).AsLong());
    EXPECT_TRUE(value.IsNull());
}

TEST_F(Dispatch, CallerGetsAndPutsIndexedProperties) {
    TDispatchDriver d(disp);
    EXPECT_EQ(0, d.Get("Count").AsLong());
    d.Put("Item", {1, "one"});
    d.Put(5, {2, L"two"});
    EXPECT_EQ(2, d.Get(6).AsLong());
    EXPECT_EQ("one", d.Get("Item", {1}).AsString());
    EXPECT_EQ("two", d.Get("Item", {2L}).AsString());
    // A null [out,retval] string arrives empty: ITypeInfo::Invoke copies the
    // result with VariantCopyInd, which makes a null BSTR an empty one.
    // (A plain [out] keeps null: CallerReceivesTrailingOutValues.)
    EXPECT_EQ(0u, d.Get("Item", {3}).AsWideString().Length());
    EXPECT_EQ(0u, d.Call("NullString").AsWideString().Length());
}

TEST_F(Dispatch, CallerPassesDispatchArguments) {
    TDispatchDriver d(disp);
    ITestObject* other = nullptr;
    ASSERT_EQ(S_OK, CreateComObject<TestObject>(IID_ITestObject, reinterpret_cast<void**>(&other)));
    BSTR v = SysAllocString(L"x");
    other->put_Item(1, v);
    other->put_Item(2, v);
    SysFreeString(v);
    EXPECT_EQ(2, d.Call("CallCount", {static_cast<IDispatch*>(other)}).AsLong());
    EXPECT_EQ(0, d.Call("CallCount", {disp}).AsLong());
    EXPECT_EQ(0u, other->Release());
}

TEST_F(Dispatch, FailuresComeBackAsExceptionsWithTheirCodes) {
    TDispatchDriver d(disp);
    EXPECT_EQ(DISP_E_UNKNOWNNAME, CodeOf([&] { d.Call("Nope"); }));
    EXPECT_EQ(DISP_E_BADPARAMCOUNT, CodeOf([&] { d.Call("Add", {1}); }));
    EXPECT_EQ(DISP_E_TYPEMISMATCH, CodeOf([&] { d.Call("Add", {"x", 1}); }));
    EXPECT_EQ(DISP_E_MEMBERNOTFOUND, CodeOf([&] { d.Call(77); }));
    try {
        d.Call("Nope");
    } catch (const EOleSysError& e) {
        EXPECT_NE(std::string::npos, e.Message().find("Nope")) << e.Message();
    }
    TDispatchDriver unbound;
    EXPECT_EQ(E_POINTER, CodeOf([&] { unbound.Call("Add"); }));
}

TEST_F(Dispatch, ExceptionsInsideMethodsStopAtTheBoundary) {
    TDispatchDriver d(disp);
    struct Case {
        long kind;
        HRESULT code;
    } cases[] = {{0, S_OK}, {1, E_OUTOFMEMORY}, {2, E_ACCESSDENIED}, {3, E_FAIL}, {4, E_FAIL}};
    ITestObject* obj = nullptr;
    ASSERT_EQ(S_OK, disp->QueryInterface(IID_ITestObject, reinterpret_cast<void**>(&obj)));
    for (const Case& c : cases) {
        EXPECT_EQ(c.code, obj->Fail(c.kind)) << c.kind;                             // vtable
        EXPECT_EQ(c.code, CodeOf([&] { d.Call("Fail", {c.kind}); })) << c.kind;  // by name
    }
    obj->Release();
}
