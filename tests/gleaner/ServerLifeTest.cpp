// The local server's life: registration, one server for every client, and
// the end 5 s after the last object went, also when a client comes just then.
#include "GleanerTest.h"
#include "Gleaner_h.h"
#include "KeyReader.h"
#include "Registration.h"
#include "TestSupport.h"

namespace {

using ServerLife = GleanerTest;

// Makes a database object and lets go of it.
void TouchServer() {
    TDispatchDriver db = TDispatchDriver::CreateObject("Gleaner.InfoDatabase");
    db.Call("Create");
}

}  // namespace

TEST_F(ServerLife, Registered) {
    struct Class {
        const CLSID& clsid;
        const char* prog;
        const char* desc;
    } classes[] = {{CLSID_InfoDatabase, "Gleaner.InfoDatabase", "InfoDatabase Class"},
                   {CLSID_InfoSearch, "Gleaner.InfoSearch", "InfoSearch Class"},
                   {CLSID_InfoChannel, "Gleaner.InfoChannel", "InfoChannel Class"}};
    const std::string appId = "{5E8A38C1-59D4-11D0-85D0-D94CC816C71A}";
    EXPECT_EQ(GuidToString(CLSID_InfoDatabase), "{7EA9EC8F-4C7E-11D0-85D0-F3ED21668F19}");
    EXPECT_EQ(GuidToString(CLSID_InfoSearch), "{7EA9EC8D-4C7E-11D0-85D0-F3ED21668F19}");
    EXPECT_EQ(GuidToString(CLSID_InfoChannel), "{D62819C3-578A-11D0-85D0-F53EC0D32516}");
    for (const Class& c : classes) {
        SCOPED_TRACE(c.prog);
        const std::string clsid = GuidToString(c.clsid), v = std::string(c.prog) + ".1", k = "CLSID\\" + clsid;
        EXPECT_EQ(c.desc, ReadKey(v));
        EXPECT_EQ(clsid, ReadKey(v + "\\CLSID"));
        EXPECT_EQ(c.desc, ReadKey(c.prog));
        EXPECT_EQ(v, ReadKey(std::string(c.prog) + "\\CurVer"));
        EXPECT_EQ(c.desc, ReadKey(k));
        EXPECT_EQ(v, ReadKey(k + "\\ProgID"));
        EXPECT_EQ(c.prog, ReadKey(k + "\\VersionIndependentProgID"));
        EXPECT_TRUE(KeyExists(k + "\\Programmable"));
        EXPECT_EQ("{5E8A38C0-59D4-11D0-85D0-D94CC816C71A}", ReadKey(k + "\\TypeLib"));
        EXPECT_EQ(appId, ReadKey(k, "AppID"));
        const std::string server = ReadKey(k + "\\LocalServer32");
        EXPECT_TRUE(server.size() > 12 && SameText(server.substr(server.size() - 12), "\\Gleaner.exe")) << server;
        EXPECT_FALSE(KeyExists(k + "\\InprocServer32"));
    }
    EXPECT_EQ("Gleaner", ReadKey("AppID\\" + appId));
    EXPECT_EQ(appId, ReadKey("AppID\\Gleaner.EXE", "AppID"));
    EXPECT_EQ("Gleaner 1.0 Type Library", ReadKey("TypeLib\\{5E8A38C0-59D4-11D0-85D0-D94CC816C71A}\\1.0"));
}

// Objects made by two clients live in one server, and a channel made by one
// attaches to a search made by another; a dual interface also answers
// through its vtable.
TEST_F(ServerLife, OneServerForEveryClient) {
    TDispatchDriver a = TDispatchDriver::CreateObject("Gleaner.InfoSearch");
    IInfoChannel* ch = nullptr;
    ASSERT_EQ(S_OK, CoCreateInstance(CLSID_InfoChannel, nullptr, CLSCTX_LOCAL_SERVER, IID_IInfoChannel,
                                     reinterpret_cast<void**>(&ch)));
    long r = 0;
    EXPECT_EQ(S_OK, ch->Create(&r));
    EXPECT_EQ(r, 1);
    EXPECT_EQ(a.Call("AttachChannel", {static_cast<IDispatch*>(ch)}).AsLong(), 1);
    EXPECT_EQ(a.Get("ChannelCount").AsLong(), 1);
    BSTR op = nullptr;
    EXPECT_EQ(S_OK, ch->get_DefaultOperator(&op));
    EXPECT_EQ(WideString::Attach(op).ToAnsi(), "HTML");
    EXPECT_EQ(a.Call("DetachAllChannels", {-1L}).AsLong(), 1);
    EXPECT_EQ(S_OK, ch->Create(&r));
    EXPECT_EQ(r, 1);  // destroyed by the search, it can be made ready again
    ch->Release();
}

// 5 s after the last object went the server ends; an object made within
// that time keeps it.
TEST_F(ServerLife, EndsWhenIdle) {
    TouchServer();
    ASSERT_TRUE(ServerRuns());
    qftest::PumpFor(3000);
    EXPECT_TRUE(ServerRuns());
    TouchServer();
    qftest::PumpFor(4000);
    EXPECT_TRUE(ServerRuns());  // 7 s after the first release
    EXPECT_TRUE(WaitFor([] { return !ServerRuns(); }, 6000));
}

// A client that got the class object earlier makes an object just after the
// server decided to end (its class objects already revoked): the object
// works, and the server stays for it.
TEST_F(ServerLife, ClassObjectUsedAsTheServerEnds) {
    IClassFactory* factory = nullptr;
    ASSERT_EQ(S_OK, CoGetClassObject(CLSID_InfoDatabase, CLSCTX_LOCAL_SERVER, nullptr, IID_IClassFactory,
                                     reinterpret_cast<void**>(&factory)));
    IDispatch* d = nullptr;
    ASSERT_EQ(S_OK, factory->CreateInstance(nullptr, IID_IDispatch, reinterpret_cast<void**>(&d)));
    d->Release();
    const DWORD released = GetTickCount();
    // The server decides 5 s after the last release and then lingers 1 s.
    qftest::PumpFor(5400);
    ASSERT_LT(GetTickCount() - released, 5900u);
    HRESULT hr = factory->CreateInstance(nullptr, IID_IDispatch, reinterpret_cast<void**>(&d));
    factory->Release();
    ASSERT_EQ(S_OK, hr);
    TDispatchDriver db(d);
    d->Release();
    EXPECT_EQ(db.Call("Create").AsLong(), 1);
    qftest::PumpFor(1500);
    EXPECT_EQ(db.Call("Size").AsLong(), 0);
    EXPECT_TRUE(ServerRuns());
}

// The window closes in the middle of a crawl; nothing is left holding the
// server, which then ends.
TEST_F(ServerLife, EndsAfterAWindowClosedDuringACrawl) {
    engine.StartUp();
    ASSERT_EQ(engine.Start(HttpBase() + "/fan.htm"), 1);
    ASSERT_TRUE(WaitFor([&] { return engine.Size() > 1; }, 10000));
    engine.Close();
    EXPECT_TRUE(WaitFor([] { return !ServerRuns(); }, 9000));
}

// A server started for an activation that never asks for an object (its
// client went away) ends by itself too.
TEST_F(ServerLife, EndsWhenNoObjectWasEverMade) {
    ASSERT_TRUE(WaitFor([] { return !ServerRuns(); }, 9000));  // one left by an earlier test
    std::string exe = ReadKey("CLSID\\" + GuidToString(CLSID_InfoDatabase) + "\\LocalServer32");
    if (exe.size() > 1 && exe.front() == '"') exe = exe.substr(1, exe.find('"', 1) - 1);
    std::string cmd = "\"" + exe + "\" -Embedding";
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    ASSERT_TRUE(CreateProcessA(nullptr, &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) << exe;
    const DWORD ended = WaitForSingleObject(pi.hProcess, 15000);
    if (ended != WAIT_OBJECT_0) TerminateProcess(pi.hProcess, 1);
    EXPECT_EQ(ended, static_cast<DWORD>(WAIT_OBJECT_0));
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
}
