#include "OleVariant.h"

#include <gtest/gtest.h>

#include "ComTest.h"
#include "OleSysError.h"
#include "TestObject.h"

TEST(OleVariant, HoldsLongsAndStrings) {
    EXPECT_TRUE(OleVariant().IsEmpty());
    OleVariant n(42L);
    EXPECT_EQ(VT_I4, n.Type());
    EXPECT_EQ(42, n.AsLong());
    EXPECT_EQ("42", n.AsString());

    OleVariant s("17");
    EXPECT_EQ(VT_BSTR, s.Type());
    EXPECT_EQ(17, s.AsLong());  // coerced like any automation caller would
    EXPECT_EQ(L"17", s.AsWideString().ToWide());

    OleVariant w(L"wide");
    EXPECT_EQ("wide", w.AsString());
}

TEST(OleVariant, NullStringStaysNull) {
    OleVariant v{WideString()};
    EXPECT_EQ(VT_BSTR, v.Type());
    EXPECT_TRUE(v.IsNullString());
    EXPECT_TRUE(v.AsWideString().IsNull());
    EXPECT_FALSE(OleVariant("").IsNullString());
    EXPECT_TRUE(OleVariant(static_cast<const char*>(nullptr)).IsNullString());
    OleVariant copy = v;
    EXPECT_TRUE(copy.IsNullString());
}

TEST(OleVariant, FailedCoercionThrows) {
    try {
        OleVariant("abc").AsLong();
        FAIL() << "no exception";
    } catch (const EOleSysError& e) {
        EXPECT_EQ(DISP_E_TYPEMISMATCH, e.ErrorCode);
        EXPECT_NE(std::string::npos, e.Message().find("Variant to long"));
    }
}

TEST(OleVariant, CopyAndMoveShareNoStorage) {
    OleVariant a("text");
    OleVariant b = a;
    EXPECT_NE(V_BSTR(&a.Value()), V_BSTR(&b.Value()));
    OleVariant c = std::move(a);
    EXPECT_TRUE(a.IsEmpty());
    EXPECT_EQ("text", c.AsString());
    c = OleVariant(5L);
    EXPECT_EQ(5, c.AsLong());
    VARIANT* slot = c.Receive();  // cleared, ready for a callee
    EXPECT_EQ(VT_EMPTY, V_VT(slot));
}

using OleVariantCom = ComTest;

TEST_F(OleVariantCom, DispatchValuesHoldAReference) {
    ITestObject* obj = nullptr;
    ASSERT_EQ(S_OK, CreateComObject<TestObject>(IID_ITestObject, reinterpret_cast<void**>(&obj)));
    {
        OleVariant v(static_cast<IDispatch*>(obj));
        EXPECT_EQ(VT_DISPATCH, v.Type());
        EXPECT_EQ(static_cast<IDispatch*>(obj), V_DISPATCH(&v.Value()));
        OleVariant copy = v;
        EXPECT_EQ(4u, obj->AddRef());  // ours, v's, copy's, and this one
        obj->Release();
    }
    EXPECT_EQ(0u, obj->Release());
}
