// Module lock count, class factory and object map.
#include <gtest/gtest.h>

#include "ComModule.h"
#include "ComTest.h"
#include "ObjectMap.h"
#include "TestObject.h"

namespace {
TObjectMap& TestMap() {
    static TObjectMap map({{{&CLSID_TestObject, "QfAutoTest.TestObject", 1, "TestObject Class", false,
                             &LIBID_QfAutoTestLib, nullptr},
                            CreateComObject<TestObject>}});
    return map;
}
}  // namespace

using Module = ComTest;

TEST_F(Module, ObjectsHoldOneLockEachAndTheLastUnlockIsAnnounced) {
    LONG base = ComModule.LockCount();
    int drops = 0;
    ComModule.OnLastUnlock = [&] { ++drops; };
    ITestObject* a = nullptr;
    ITestObject* b = nullptr;
    ASSERT_EQ(S_OK, CreateComObject<TestObject>(IID_ITestObject, reinterpret_cast<void**>(&a)));
    ASSERT_EQ(S_OK, CreateComObject<TestObject>(IID_IDispatch, reinterpret_cast<void**>(&b)));
    EXPECT_EQ(base + 2, ComModule.LockCount());
    a->AddRef();
    a->Release();
    EXPECT_EQ(base + 2, ComModule.LockCount());  // references are not locks
    a->Release();
    EXPECT_EQ(base + 1, ComModule.LockCount());
    b->Release();
    EXPECT_EQ(base, ComModule.LockCount());
    ComModule.OnLastUnlock = nullptr;
    EXPECT_EQ(base == 0 ? 1 : 0, drops);
}

TEST_F(Module, CreatorRefusesUnknownInterfacesWithoutLeaking) {
    LONG base = ComModule.LockCount();
    void* p = reinterpret_cast<void*>(1);
    EXPECT_EQ(E_NOINTERFACE, CreateComObject<TestObject>(IID_IClassFactory, &p));
    EXPECT_EQ(nullptr, p);
    EXPECT_EQ(base, ComModule.LockCount());
    EXPECT_EQ(E_POINTER, CreateComObject<TestObject>(IID_IUnknown, nullptr));
}

TEST_F(Module, ClassFactoryMakesObjectsCountsLockServerAndRefusesAggregation) {
    IClassFactory* f = nullptr;
    ASSERT_EQ(S_OK, TestMap().GetClassObject(CLSID_TestObject, IID_IClassFactory, reinterpret_cast<void**>(&f)));
    LONG base = ComModule.LockCount();

    ITestObject* obj = nullptr;
    ASSERT_EQ(S_OK, f->CreateInstance(nullptr, IID_ITestObject, reinterpret_cast<void**>(&obj)));
    long sum = 0;
    EXPECT_EQ(S_OK, obj->Add(2, 3, &sum));
    EXPECT_EQ(5, sum);
    obj->Release();

    IUnknown* outer = f;  // any unknown will do: it is refused before use
    void* p = reinterpret_cast<void*>(1);
    EXPECT_EQ(CLASS_E_NOAGGREGATION, f->CreateInstance(outer, IID_IUnknown, &p));
    EXPECT_EQ(nullptr, p);

    EXPECT_EQ(S_OK, f->LockServer(TRUE));
    EXPECT_EQ(base + 1, ComModule.LockCount());
    EXPECT_EQ(S_OK, f->LockServer(FALSE));
    EXPECT_EQ(base, ComModule.LockCount());
    f->Release();
}

TEST_F(Module, ObjectMapServesOneClassObjectPerClass) {
    void* p = reinterpret_cast<void*>(1);
    EXPECT_EQ(CLASS_E_CLASSNOTAVAILABLE, TestMap().GetClassObject(IID_ITestObject, IID_IClassFactory, &p));
    EXPECT_EQ(nullptr, p);
    EXPECT_EQ(E_POINTER, TestMap().GetClassObject(CLSID_TestObject, IID_IClassFactory, nullptr));

    IClassFactory* f1 = nullptr;
    IUnknown* f2 = nullptr;
    ASSERT_EQ(S_OK, TestMap().GetClassObject(CLSID_TestObject, IID_IClassFactory, reinterpret_cast<void**>(&f1)));
    ASSERT_EQ(S_OK, TestMap().GetClassObject(CLSID_TestObject, IID_IUnknown, reinterpret_cast<void**>(&f2)));
    EXPECT_EQ(static_cast<IUnknown*>(f1), f2);
    p = reinterpret_cast<void*>(1);
    EXPECT_EQ(E_NOINTERFACE, TestMap().GetClassObject(CLSID_TestObject, IID_IDispatch, &p));
    EXPECT_EQ(nullptr, p);
    f1->Release();
    f2->Release();
}

TEST_F(Module, ClassObjectsRegisteredForActivationAndRevoked) {
    ASSERT_EQ(S_OK, TestMap().RegisterClassObjects(CLSCTX_LOCAL_SERVER, REGCLS_MULTIPLEUSE));
    ITestObject* obj = nullptr;
    ASSERT_EQ(S_OK, CoCreateInstance(CLSID_TestObject, nullptr, CLSCTX_LOCAL_SERVER, IID_ITestObject,
                                     reinterpret_cast<void**>(&obj)));
    long sum = 0;
    EXPECT_EQ(S_OK, obj->Add(40, 2, &sum));
    EXPECT_EQ(42, sum);
    obj->Release();

    EXPECT_EQ(S_OK, TestMap().RevokeClassObjects());
    EXPECT_EQ(S_OK, TestMap().RevokeClassObjects());  // nothing left to revoke
    obj = nullptr;
    EXPECT_NE(S_OK, CoCreateInstance(CLSID_TestObject, nullptr, CLSCTX_LOCAL_SERVER, IID_ITestObject,
                                     reinterpret_cast<void**>(&obj)));
    EXPECT_EQ(nullptr, obj);
}
