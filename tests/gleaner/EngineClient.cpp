#include "EngineClient.h"

#include <tlhelp32.h>

#include <functional>

#include "TestSupport.h"
#include "masks/InfoSearchDispatch.h"
#include "masks/core/DefaultMasks.h"
#include "masks/core/MaskCollection.h"

namespace {
const char kLinkMask[] = "\\w-<a href=\"\\w+\\*\\w-\"";
const char kTitleMask[] = "\\w-<title>\\w+\\*\\w-<";

void Replace(std::string& s, const std::string& from, const std::string& to) {
    for (size_t at = s.find(from); at != std::string::npos; at = s.find(from, at + to.size())) s.replace(at, from.size(), to);
}
}  // namespace

Engine::~Engine() {
    try {
        Close();
    } catch (...) {
    }
}

void Engine::StartUp(int channels) {
    Database = TDispatchDriver::CreateObject("Gleaner.InfoDatabase");
    Search = TDispatchDriver::CreateObject("Gleaner.InfoSearch");
    Database.Call("Create");
    Search.Call("Create");
    Search.Put("ThreadPriority", {0L});
    Search.Put("PortionSize", {512L});
    Search.Put("PreloadSize", {512L});
    Search.Put("FileMul", {10L});
    for (const char* p : {"file://", "http://", "ftp://", "gopher://", "mailto:"}) Search.Call("AddProtocol", {p});
    Search.Put("MaxFound", {-1L});
    Search.Put("MaxLevel", {-1L});
    char table[MAX_PATH];
    GetFullPathNameA("Resource/HTML.ftbl", MAX_PATH, table, nullptr);
    Search.Call("LoadMetaprocessorTable", {std::string(table)});
    for (int i = 0; i < channels; ++i) {
        TDispatchDriver c = TDispatchDriver::CreateObject("Gleaner.InfoChannel");
        c.Call("Create");
        Search.Call("AttachChannel", {c.Dispatch()});
        Channels.push_back(c);
    }
    ApplyMasks();
}

void Engine::ApplyMasks() {
    Search.Call("EmptyMasks");
    Search.Call("AddMask", {"Link", kLinkMask, "", 1L, 0L, 0L, -1L, 0L, 0L});
    Search.Call("AddMask", {"Page title", kTitleMask, "", 0L, 0L, 1L, 1L, -1L, 0L});
}

void Engine::ApplyBuiltInMasks() {
    MaskCollection masks;
    InfoSearchDispatch calls(Search);
    AddDefaultMasks(masks, calls);
}

long Engine::Start(const std::string& address) {
    Database.Call("Empty");
    return Search.Call("Start", {address, Database.Dispatch()}).AsLong();
}

long Engine::Status() { return Search.Get("Status").AsLong(); }

bool Engine::WaitIdle(DWORD ms) {
    return WaitFor([&] { return Status() == 0; }, ms);
}

std::vector<std::string> ValuesOf(TDispatchDriver& db, long cursor, const std::string& property) {
    std::vector<std::string> v;
    long n = db.Call("GetValueCount", {cursor, property}).AsLong();
    for (long i = 0; i < n; ++i) {
        std::string value;
        long id = 0, dep = 0;
        db.Call("GetValue", {cursor, property, i, Out(value), Out(id), Out(dep)});
        v.push_back(value);
    }
    return v;
}

std::map<std::string, FoundRecord> Engine::Records() {
    std::map<std::string, FoundRecord> out;
    long c = Database.Call("CreateCursor").AsLong();
    while (Database.Call("TestCursor", {c}).AsLong()) {
        FoundRecord r;
        r.Level = Database.Get("Level", {c}).AsLong();
        r.Status = Database.Get("Status", {c}).AsLong();
        r.Address = ValuesOf(Database, c, "Address");
        r.Display = ValuesOf(Database, c, "Display");
        r.Parent = ValuesOf(Database, c, "Parent");
        r.ConnectStatus = ValuesOf(Database, c, "Connect status");
        r.DocumentSize = ValuesOf(Database, c, "Document Size");
        out[Database.Get("Value", {c}).AsString()] = r;
        Database.Call("NextRecord", {c});
    }
    Database.Call("DestroyCursor", {c});
    return out;
}

long Engine::Size() { return Database.Call("Size").AsLong(); }

void Engine::Close() {
    if (Search.Dispatch()) {
        Search.Call("Stop");
        Search.Call("TruncateChannels", {0L, -1L});
        Search.Call("Destroy");
    }
    if (Database.Dispatch()) Database.Call("Destroy");
    Channels.clear();
    Search.Release();
    Database.Release();
}

std::string HttpBase() { return "http://127.0.0.1:" + std::to_string(qftest::PeerPort("QF_HTTP_PORT")); }
std::string HttpHostBase() { return "http://localhost:" + std::to_string(qftest::PeerPort("QF_HTTP_PORT")); }
std::string RefusedBase() { return "http://127.0.0.1:" + std::to_string(qftest::PeerPort("QF_HTTP_REFUSED_PORT")); }
std::string FtpBase() { return "ftp://127.0.0.1:" + std::to_string(qftest::PeerPort("QF_FTP_PORT")); }

std::string ServedPage(const std::string& relative) {
    std::string s = qftest::ReadFileBytes("crawl/" + relative);
    Replace(s, "@PORT@", std::to_string(qftest::PeerPort("QF_HTTP_PORT")));
    Replace(s, "@REFUSED@", std::to_string(qftest::PeerPort("QF_HTTP_REFUSED_PORT")));
    return s;
}

bool ServerRuns() {
    HANDLE snap = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snap == INVALID_HANDLE_VALUE) return false;
    PROCESSENTRY32 e = {};
    e.dwSize = sizeof e;
    bool found = false;
    for (BOOL ok = Process32First(snap, &e); ok && !found; ok = Process32Next(snap, &e))
        found = lstrcmpiA(e.szExeFile, "Gleaner.exe") == 0;
    CloseHandle(snap);
    return found;
}

bool WaitFor(const std::function<bool()>& pred, DWORD ms) {
    const DWORD start = GetTickCount();
    while (!pred()) {
        if (GetTickCount() - start > ms) return pred();
        qftest::PumpFor(20);
    }
    return true;
}
