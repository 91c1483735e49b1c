// Kestrel.dll's exports, loaded straight from its file (no registration needed).
#include <gtest/gtest.h>

#include "ComTest.h"
#include "Kestrel_h.h"

namespace {
class KestrelModule : public ComTest {
protected:
    void SetUp() override {
        ComTest::SetUp();
        dll = LoadLibraryA(KESTREL_DLL);
        ASSERT_NE(nullptr, dll) << KESTREL_DLL;
        getClassObject = reinterpret_cast<GetClassObjectFn>(reinterpret_cast<void*>(GetProcAddress(dll, "DllGetClassObject")));
        canUnloadNow = reinterpret_cast<CanUnloadNowFn>(reinterpret_cast<void*>(GetProcAddress(dll, "DllCanUnloadNow")));
        ASSERT_NE(nullptr, getClassObject);
        ASSERT_NE(nullptr, canUnloadNow);
    }
    void TearDown() override {
        if (dll) FreeLibrary(dll);
        ComTest::TearDown();
    }
    IClassFactory* Factory(const CLSID& clsid) {
        IClassFactory* f = nullptr;
        EXPECT_EQ(S_OK, getClassObject(clsid, IID_IClassFactory, reinterpret_cast<void**>(&f)));
        return f;
    }
    using GetClassObjectFn = HRESULT(WINAPI*)(REFCLSID, REFIID, void**);
    using CanUnloadNowFn = HRESULT(WINAPI*)();
    HMODULE dll = nullptr;
    GetClassObjectFn getClassObject = nullptr;
    CanUnloadNowFn canUnloadNow = nullptr;
};
}  // namespace

TEST_F(KestrelModule, ExportsAreUndecorated) {
    for (const char* name : {"DllCanUnloadNow", "DllGetClassObject", "DllRegisterServer", "DllUnregisterServer"})
        EXPECT_NE(nullptr, GetProcAddress(dll, name)) << name;
}

TEST_F(KestrelModule, UnknownClassIsNotAvailable) {
    void* p = reinterpret_cast<void*>(1);
    EXPECT_EQ(CLASS_E_CLASSNOTAVAILABLE, getClassObject(IID_IKesFile, IID_IClassFactory, &p));
    EXPECT_EQ(nullptr, p);
    EXPECT_EQ(E_POINTER, getClassObject(CLSID_KesFile, IID_IClassFactory, nullptr));
}

TEST_F(KestrelModule, OneClassObjectPerClass) {
    IClassFactory* a = Factory(CLSID_KesFile);
    IClassFactory* b = Factory(CLSID_KesFile);
    IClassFactory* c = Factory(CLSID_KesClipboard);
    ASSERT_TRUE(a && b && c);
    EXPECT_EQ(a, b);
    EXPECT_NE(a, c);
    a->Release();
    b->Release();
    c->Release();
}

TEST_F(KestrelModule, CanUnloadOnlyWhenNothingIsHeld) {
    EXPECT_EQ(S_OK, canUnloadNow());
    IClassFactory* f = Factory(CLSID_KesFile);
    ASSERT_TRUE(f);
    EXPECT_EQ(S_OK, canUnloadNow());  // a class object alone holds nothing

    IKesFile* file = nullptr;
    ASSERT_EQ(S_OK, f->CreateInstance(nullptr, IID_IKesFile, reinterpret_cast<void**>(&file)));
    EXPECT_EQ(S_FALSE, canUnloadNow());
    IDispatch* disp = nullptr;
    ASSERT_EQ(S_OK, file->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&disp)));
    file->Release();
    EXPECT_EQ(S_FALSE, canUnloadNow());  // one object, still referenced
    disp->Release();
    EXPECT_EQ(S_OK, canUnloadNow());

    EXPECT_EQ(S_OK, f->LockServer(TRUE));
    EXPECT_EQ(S_FALSE, canUnloadNow());
    EXPECT_EQ(S_OK, f->LockServer(FALSE));
    EXPECT_EQ(S_OK, canUnloadNow());

    IClassFactory* cf = Factory(CLSID_KesClipboard);
    IKesClipboard* clip = nullptr;
    ASSERT_EQ(S_OK, cf->CreateInstance(nullptr, IID_IKesClipboard, reinterpret_cast<void**>(&clip)));
    EXPECT_EQ(S_FALSE, canUnloadNow());
    clip->Release();
    EXPECT_EQ(S_OK, canUnloadNow());
    void* p = reinterpret_cast<void*>(1);
    EXPECT_EQ(CLASS_E_NOAGGREGATION, cf->CreateInstance(reinterpret_cast<IUnknown*>(cf), IID_IUnknown, &p));
    EXPECT_EQ(nullptr, p);
    cf->Release();
    f->Release();
}

// The vtable slots and dispatch ids that early-bound clients compiled against
// the type library rely on, read back from the DLL's own type library.
TEST_F(KestrelModule, TypeLibraryLayout) {
    wchar_t path[MAX_PATH];
    GetModuleFileNameW(dll, path, MAX_PATH);
    ITypeLib* lib = nullptr;
    ASSERT_EQ(S_OK, LoadTypeLibEx(path, REGKIND_NONE, &lib));
    TLIBATTR* la = nullptr;
    ASSERT_EQ(S_OK, lib->GetLibAttr(&la));
    EXPECT_TRUE(IsEqualGUID(LIBID_KESTRELLib, la->guid));
    EXPECT_EQ(1, la->wMajorVerNum);
    EXPECT_EQ(0, la->wMinorVerNum);
    EXPECT_EQ(0x409u, la->lcid);
    lib->ReleaseTLibAttr(la);
    BSTR doc = nullptr, name = nullptr;
    ASSERT_EQ(S_OK, lib->GetDocumentation(-1, &name, &doc, nullptr, nullptr));
    EXPECT_STREQ(L"KESTRELLib", name);
    EXPECT_STREQ(L"Kestrel 1.0 Type Library", doc);
    SysFreeString(name);
    SysFreeString(doc);
    // Coclasses in order: KesClipboard, then KesFile.
    std::vector<std::wstring> coclasses;
    for (UINT i = 0; i < lib->GetTypeInfoCount(); ++i) {
        TYPEKIND kind;
        lib->GetTypeInfoType(i, &kind);
        if (kind != TKIND_COCLASS) continue;
        BSTR n = nullptr;
        lib->GetDocumentation(i, &n, nullptr, nullptr, nullptr);
        coclasses.push_back(n);
        SysFreeString(n);
    }
    EXPECT_EQ((std::vector<std::wstring>{L"KesClipboard", L"KesFile"}), coclasses);

    struct Member {
        const wchar_t* name;
        INVOKEKIND kind;
        int slot;
        DISPID id;
    };
    auto Check = [&](const IID& iid, std::vector<Member> members) {
        ITypeInfo* disp = nullptr;
        ASSERT_EQ(S_OK, lib->GetTypeInfoOfGuid(iid, &disp));
        HREFTYPE ref;
        ITypeInfo* vt = nullptr;
        ASSERT_EQ(S_OK, disp->GetRefTypeOfImplType(-1, &ref));  // dual: the vtable half
        ASSERT_EQ(S_OK, disp->GetRefTypeInfo(ref, &vt));
        TYPEATTR* ta = nullptr;
        ASSERT_EQ(S_OK, vt->GetTypeAttr(&ta));
        ASSERT_EQ(members.size(), static_cast<size_t>(ta->cFuncs));
        for (UINT i = 0; i < ta->cFuncs; ++i) {
            FUNCDESC* fd = nullptr;
            ASSERT_EQ(S_OK, vt->GetFuncDesc(i, &fd));
            BSTR n = nullptr;
            UINT got = 0;
            vt->GetNames(fd->memid, &n, 1, &got);
            SCOPED_TRACE(members[i].name);
            EXPECT_STREQ(members[i].name, n);
            EXPECT_EQ(members[i].kind, fd->invkind);
            EXPECT_EQ(members[i].slot, fd->oVft / static_cast<int>(sizeof(void*)));
            EXPECT_EQ(members[i].id, fd->memid);
            SysFreeString(n);
            vt->ReleaseFuncDesc(fd);
        }
        vt->ReleaseTypeAttr(ta);
        vt->Release();
        disp->Release();
    };
    Check(IID_IKesClipboard, {{L"Data", INVOKE_PROPERTYGET, 7, 1}, {L"Data", INVOKE_PROPERTYPUT, 8, 1}});
    Check(IID_IKesFile, {{L"Open", INVOKE_FUNC, 7, 1},
                         {L"Close", INVOKE_FUNC, 8, 2},
                         {L"WriteString", INVOKE_FUNC, 9, 3},
                         {L"ReadString", INVOKE_FUNC, 10, 4},
                         {L"PutBR", INVOKE_FUNC, 11, 5},
                         {L"CheckExists", INVOKE_FUNC, 12, 6},
                         {L"Position", INVOKE_PROPERTYGET, 13, 7},
                         {L"Position", INVOKE_PROPERTYPUT, 14, 7},
                         {L"FindFirst", INVOKE_FUNC, 15, 8},
                         {L"FindNext", INVOKE_FUNC, 16, 9},
                         {L"PutString", INVOKE_FUNC, 17, 10},
                         {L"GetString", INVOKE_FUNC, 18, 11}});
    lib->Release();
}
