#include "searchwindow/EngineDispatch.h"

#include "OleSysError.h"

namespace {
long L(int32_t v) { return static_cast<long>(v); }
int32_t I(const OleVariant& v) { return static_cast<int32_t>(v.AsLong()); }
}  // namespace

bool BindEngine(const std::string& progIdPrefix, TDispatchDriver& database, TDispatchDriver& search) {
    try {
        database = TDispatchDriver::CreateObject(progIdPrefix + ".InfoDatabase");
        search = TDispatchDriver::CreateObject(progIdPrefix + ".InfoSearch");
        return true;
    } catch (const Exception&) {
        database.Release();
        search.Release();
        return false;
    }
}

int32_t DatabaseDispatch::Create() { return I(db_.Call("Create")); }
int32_t DatabaseDispatch::Destroy() { return I(db_.Call("Destroy")); }
void DatabaseDispatch::Empty() { db_.Call("Empty"); }
int32_t DatabaseDispatch::Size() { return I(db_.Call("Size")); }
int32_t DatabaseDispatch::CreateCursor() { return I(db_.Call("CreateCursor")); }
void DatabaseDispatch::DestroyCursor(int32_t c) { db_.Call("DestroyCursor", {L(c)}); }
void DatabaseDispatch::NextRecord(int32_t c) { db_.Call("NextRecord", {L(c)}); }
bool DatabaseDispatch::TestCursor(int32_t c) { return db_.Call("TestCursor", {L(c)}).AsLong() != 0; }
int32_t DatabaseDispatch::FindRecordByKey(int32_t key) { return I(db_.Call("FindRecordByKey", {L(key)})); }
std::string DatabaseDispatch::Value(int32_t c) { return db_.Get("Value", {L(c)}).AsString(); }
int32_t DatabaseDispatch::Key(int32_t c) { return I(db_.Get("Key", {L(c)})); }
int32_t DatabaseDispatch::GetValueCount(int32_t c, const std::string& p) {
    return I(db_.Call("GetValueCount", {L(c), p}));
}
std::string DatabaseDispatch::GetValue(int32_t c, const std::string& p, int32_t n, int32_t& valueId,
                                      int32_t& dependId) {
    std::string value;
    long id = -1, depend = -1;
    db_.Call("GetValue", {L(c), p, L(n), Out(value), Out(id), Out(depend)});
    valueId = static_cast<int32_t>(id);
    dependId = static_cast<int32_t>(depend);
    return value;
}
int32_t DatabaseDispatch::Reserved1(int32_t c) { return I(db_.Get("Reserved1", {L(c)})); }
void DatabaseDispatch::SetReserved1(int32_t c, int32_t v) { db_.Put("Reserved1", {L(c), L(v)}); }
int32_t DatabaseDispatch::Reserved2(int32_t c) { return I(db_.Get("Reserved2", {L(c)})); }
void DatabaseDispatch::SetReserved2(int32_t c, int32_t v) { db_.Put("Reserved2", {L(c), L(v)}); }
std::string DatabaseDispatch::Reserved3(int32_t c) { return db_.Get("Reserved3", {L(c)}).AsString(); }
void DatabaseDispatch::SetReserved3(int32_t c, const std::string& v) { db_.Put("Reserved3", {L(c), v}); }
int32_t DatabaseDispatch::Save(const std::string& a, const std::string& userData) {
    return I(db_.Call("Save", {a, userData}));
}
int32_t DatabaseDispatch::Open(const std::string& a, std::string& userData) {
    return I(db_.Call("Open", {a, Out(userData)}));
}
int32_t DatabaseDispatch::AddFile(const std::string& a, std::string& userData) {
    return I(db_.Call("AddFile", {a, Out(userData)}));
}

int32_t SearchEngineDispatch::Status() { return I(search_.Get("Status")); }
void SearchEngineDispatch::EmptyMasks() { search_.Call("EmptyMasks"); }
void SearchEngineDispatch::AddMask(const std::string& MaskName, const std::string& MaskValue,
                                   const std::string& DependOn, int32_t MaskType, int32_t DependType,
                                   int32_t Priority, int32_t MaxFoundCount, int32_t CanCompile, int32_t Hidden) {
    search_.Call("AddMask", {MaskName, MaskValue, DependOn, L(MaskType), L(DependType), L(Priority),
                             L(MaxFoundCount), L(CanCompile), L(Hidden)});
}
int32_t SearchEngineDispatch::Create() { return I(search_.Call("Create")); }
int32_t SearchEngineDispatch::Destroy() { return I(search_.Call("Destroy")); }
void SearchEngineDispatch::SetThreadPriority(int32_t v) { search_.Put("ThreadPriority", {L(v)}); }
int32_t SearchEngineDispatch::ThreadPriority() { return I(search_.Get("ThreadPriority")); }
void SearchEngineDispatch::SetPortionSize(int32_t v) { search_.Put("PortionSize", {L(v)}); }
void SearchEngineDispatch::SetPreloadSize(int32_t v) { search_.Put("PreloadSize", {L(v)}); }
void SearchEngineDispatch::SetFileMul(int32_t v) { search_.Put("FileMul", {L(v)}); }
void SearchEngineDispatch::SetMaxFound(int32_t v) { search_.Put("MaxFound", {L(v)}); }
void SearchEngineDispatch::SetMaxLevel(int32_t v) { search_.Put("MaxLevel", {L(v)}); }
void SearchEngineDispatch::AddProtocol(const std::string& p) { search_.Call("AddProtocol", {p}); }
void SearchEngineDispatch::EnableProtocol(const std::string& p) { search_.Call("EnableProtocol", {p}); }
void SearchEngineDispatch::DisableProtocol(const std::string& p) { search_.Call("DisableProtocol", {p}); }
int32_t SearchEngineDispatch::LoadMetaprocessorTable(const std::string& a) {
    return I(search_.Call("LoadMetaprocessorTable", {a}));
}
int32_t SearchEngineDispatch::ProcessExternalLinks() { return I(search_.Get("ProcessExternalLinks")); }
void SearchEngineDispatch::SetProcessExternalLinks(int32_t v) { search_.Put("ProcessExternalLinks", {L(v)}); }

SearchEngineCalls::ChannelResult SearchEngineDispatch::AttachNewChannel() {
    TDispatchDriver channel;
    try {
        channel = TDispatchDriver::CreateObject(prefix_ + ".InfoChannel");
    } catch (const EOleSysError&) {
        return ChannelResult::NoObject;
    }
    if (channel.Call("Create").AsLong() == 0) return ChannelResult::NotCreated;
    if (search_.Call("AttachChannel", {channel.Dispatch()}).AsLong() != 0) return ChannelResult::Attached;
    channel.Call("Destroy");
    return ChannelResult::Refused;
}
void SearchEngineDispatch::TruncateChannels(int32_t count, int32_t autoDestroy) {
    search_.Call("TruncateChannels", {L(count), L(autoDestroy)});
}
int32_t SearchEngineDispatch::ChannelCount() { return I(search_.Get("ChannelCount")); }
int32_t SearchEngineDispatch::Start(const std::string& address, DatabaseCalls& database) {
    auto* db = dynamic_cast<DatabaseDispatch*>(&database);
    if (!db) return 0;
    return I(search_.Call("Start", {address, db->Dispatch()}));
}
void SearchEngineDispatch::Stop() { search_.Call("Stop"); }
void SearchEngineDispatch::Suspend() { search_.Call("Suspend"); }
void SearchEngineDispatch::Resume() { search_.Call("Resume"); }
int32_t SearchEngineDispatch::Traffic() { return I(search_.Get("Traffic")); }
void SearchEngineDispatch::ResetTraffic() { search_.Call("ResetTraffic"); }
