// Registration keys written under HKEY_CLASSES_ROOT and removed again.
#include <gtest/gtest.h>

#include "ComModule.h"
#include "ComTest.h"
#include "KeyReader.h"
#include "ObjectMap.h"
#include "Registration.h"
#include "TestObject.h"

namespace {
GUID NewGuid() {
    GUID g;
    EXPECT_EQ(S_OK, CoCreateGuid(&g));
    return g;
}
}  // namespace

using Registration = ComTest;

TEST(RegistrationText, GuidsAreWrittenInRegistryForm) {
    EXPECT_EQ("{3C1F6A12-7B2D-4E51-9A0C-5D1E2F3A4B01}", GuidToString(CLSID_TestObject));
}

TEST_F(Registration, LocalServerClassWithAppIdWrittenAndRemoved) {
    GUID clsid = NewGuid(), appid = NewGuid(), libid = NewGuid();
    const std::string c = GuidToString(clsid), a = GuidToString(appid);
    const std::string prog = "QfRegTest" + c.substr(1, 8) + ".Server";
    TClassRegistration r;
    r.Clsid = &clsid;
    r.ProgID = prog;
    r.Description = "Server Class";
    r.LocalServer = true;
    r.LibId = &libid;
    r.AppId = &appid;
    const std::string exe = "QfRegTest" + c.substr(1, 8) + ".EXE";

    ASSERT_EQ(S_OK, RegisterAppId(appid, "QfRegTest", exe));
    ASSERT_EQ(S_OK, RegisterComClass(r, "C:\\Program Files\\Qf\\server.exe"));

    EXPECT_EQ("QfRegTest", ReadKey("AppID\\" + a));
    EXPECT_EQ(a, ReadKey("AppID\\" + exe, "AppID"));
    EXPECT_EQ("Server Class", ReadKey(prog + ".1"));
    EXPECT_EQ(c, ReadKey(prog + ".1\\CLSID"));
    EXPECT_FALSE(KeyExists(prog + ".1\\CurVer"));
    EXPECT_EQ("Server Class", ReadKey(prog));
    EXPECT_EQ(c, ReadKey(prog + "\\CLSID"));
    EXPECT_EQ(prog + ".1", ReadKey(prog + "\\CurVer"));
    const std::string k = "CLSID\\" + c;
    EXPECT_EQ("Server Class", ReadKey(k));
    EXPECT_EQ(prog + ".1", ReadKey(k + "\\ProgID"));
    EXPECT_EQ(prog, ReadKey(k + "\\VersionIndependentProgID"));
    EXPECT_TRUE(KeyExists(k + "\\Programmable"));
    EXPECT_EQ("\"C:\\Program Files\\Qf\\server.exe\"", ReadKey(k + "\\LocalServer32"));  // blanks: quoted
    EXPECT_FALSE(KeyExists(k + "\\InprocServer32"));
    EXPECT_EQ(GuidToString(libid), ReadKey(k + "\\TypeLib"));
    EXPECT_EQ(a, ReadKey(k, "AppID"));
    EXPECT_EQ(kNoValue, ReadKey(k + "\\InprocServer32", "ThreadingModel"));

    CLSID found;
    std::wstring wprog(prog.begin(), prog.end());
    ASSERT_EQ(S_OK, CLSIDFromProgID(wprog.c_str(), &found));
    EXPECT_TRUE(IsEqualCLSID(clsid, found));

    EXPECT_EQ(S_OK, UnregisterComClass(r));
    EXPECT_EQ(S_OK, UnregisterAppId(appid, exe));
    EXPECT_FALSE(KeyExists(prog));
    EXPECT_FALSE(KeyExists(prog + ".1"));
    EXPECT_FALSE(KeyExists(k));
    EXPECT_FALSE(KeyExists("AppID\\" + a));
    EXPECT_FALSE(KeyExists("AppID\\" + exe));
    EXPECT_TRUE(KeyExists("CLSID"));
    EXPECT_TRUE(KeyExists("AppID"));
    // Removing again finds nothing and is no error.
    EXPECT_EQ(S_OK, UnregisterComClass(r));
}

TEST_F(Registration, RegisteringAgainReplacesTheClassKeyWhole) {
    GUID clsid = NewGuid();
    const std::string k = "CLSID\\" + GuidToString(clsid);
    TClassRegistration r;
    r.Clsid = &clsid;
    r.ProgID = "QfRegTest" + GuidToString(clsid).substr(1, 8) + ".Lib";
    r.Description = "Lib Class";
    ASSERT_EQ(S_OK, RegisterComClass(r, "C:\\a.dll"));
    HKEY h;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyA(HKEY_CLASSES_ROOT, (k + "\\Stale\\Deeper").c_str(), &h));
    RegCloseKey(h);
    ASSERT_EQ(S_OK, RegisterComClass(r, "C:\\b.dll"));
    EXPECT_FALSE(KeyExists(k + "\\Stale"));
    EXPECT_EQ("C:\\b.dll", ReadKey(k + "\\InprocServer32"));
    EXPECT_FALSE(KeyExists(k + "\\TypeLib"));
    EXPECT_EQ(kNoValue, ReadKey(k, "AppID"));
    EXPECT_EQ(S_OK, UnregisterComClass(r));
    EXPECT_FALSE(KeyExists(k));
}

TEST_F(Registration, ObjectMapRegistersClassesAndTheTypeLibrary) {
    TObjectMap map({{{&CLSID_TestObject, "QfAutoTest.TestObject", 1, "TestObject Class", false,
                      &LIBID_QfAutoTestLib, nullptr},
                     CreateComObject<TestObject>}});
    const std::string k = "CLSID\\" + GuidToString(CLSID_TestObject);
    const std::string lib = "TypeLib\\" + GuidToString(LIBID_QfAutoTestLib) + "\\1.0";
    ASSERT_EQ(S_OK, map.RegisterServer());
    EXPECT_EQ(ComModule.FileName(), ReadKey(k + "\\InprocServer32"));
    EXPECT_EQ(GuidToString(LIBID_QfAutoTestLib), ReadKey(k + "\\TypeLib"));
    EXPECT_EQ("QfAutoTest.TestObject.1", ReadKey("QfAutoTest.TestObject\\CurVer"));
    EXPECT_EQ("QfAutoTest 1.0 Type Library", ReadKey(lib));
    EXPECT_EQ(ComModule.FileName(), ReadKey(lib + "\\0\\" + kTypeLibPlatform));
    EXPECT_TRUE(KeyExists("Interface\\" + GuidToString(IID_ITestObject)));

    // The registered library is found by its LIBID.
    ITypeLib* tl = nullptr;
    ASSERT_EQ(S_OK, LoadRegTypeLib(LIBID_QfAutoTestLib, 1, 0, 0, &tl));
    tl->Release();

    EXPECT_EQ(S_OK, map.UnregisterServer());
    EXPECT_FALSE(KeyExists(k));
    EXPECT_FALSE(KeyExists("QfAutoTest.TestObject"));
    EXPECT_FALSE(KeyExists("QfAutoTest.TestObject.1"));
    EXPECT_FALSE(KeyExists(lib));
    EXPECT_FALSE(KeyExists("Interface\\" + GuidToString(IID_ITestObject)));
    EXPECT_EQ(S_OK, map.UnregisterServer());  // always S_OK
}
