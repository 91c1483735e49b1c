#include "DispatchPeers.h"

#include "DispIds.h"
#include "OleSysError.h"

MarshalledDispatch::MarshalledDispatch(IDispatch* d) {
    OleCheck(CoMarshalInterThreadInterfaceInStream(IID_IDispatch, d, &stream_), "Marshalling");
}

MarshalledDispatch::~MarshalledDispatch() {
    if (!stream_) return;
    LARGE_INTEGER zero = {};
    stream_->Seek(zero, STREAM_SEEK_SET, nullptr);
    CoReleaseMarshalData(stream_);
    stream_->Release();
}

TDispatchDriver MarshalledDispatch::Take() {
    if (!stream_) throw EOleSysError("Marshalling: taken already", E_UNEXPECTED);
    IDispatch* d = nullptr;
    HRESULT hr = CoGetInterfaceAndReleaseStream(stream_, IID_IDispatch, reinterpret_cast<void**>(&d));
    stream_ = nullptr;
    OleCheck(hr, "Unmarshalling");
    TDispatchDriver driver(d);
    d->Release();
    return driver;
}

// ---- channel ----

long DispatchChannel::StartTask(const std::string& TaskName, const std::string& Address, long Type) {
    return d_.Call(ChannelId::StartTask, {TaskName, Address, Type}).AsLong();
}

long DispatchChannel::TaskStatus() { return d_.Get(ChannelId::TaskStatus).AsLong(); }

bool DispatchChannel::GetResult(InfoResult& r) {
    long id = -1, dependId = -1;
    d_.Call(ChannelId::GetResult,
            {Out(r.TaskName), Out(r.PropertyName), Out(r.DependName), Out(r.Value), Out(id), Out(dependId)});
    r.ResultID = id;
    r.DependID = dependId;
    return id >= 0;
}

// ---- database ----

long DispatchDatabase::CreateCursor() { return d_.Call(DatabaseId::CreateCursor).AsLong(); }

void DispatchDatabase::DestroyCursor(long CursorID) { d_.Call(DatabaseId::DestroyCursor, {CursorID}); }

void DispatchDatabase::NextRecord(long CursorID) { d_.Call(DatabaseId::NextRecord, {CursorID}); }

long DispatchDatabase::TestCursor(long CursorID) { return d_.Call(DatabaseId::TestCursor, {CursorID}).AsLong(); }

long DispatchDatabase::FindRecord(const std::string& Value) {
    return d_.Call(DatabaseId::FindRecord, {Value}).AsLong();
}

std::string DispatchDatabase::Value(long CursorID) { return d_.Get(DatabaseId::Value, {CursorID}).AsString(); }

long DispatchDatabase::Source(long CursorID) { return d_.Get(DatabaseId::Source, {CursorID}).AsLong(); }

long DispatchDatabase::Level(long CursorID) { return d_.Get(DatabaseId::Level, {CursorID}).AsLong(); }

long DispatchDatabase::Status(long CursorID) { return d_.Get(DatabaseId::Status, {CursorID}).AsLong(); }

void DispatchDatabase::PutStatus(long CursorID, long Status) { d_.Put(DatabaseId::Status, {CursorID, Status}); }

long DispatchDatabase::Type(long CursorID) { return d_.Get(DatabaseId::Type, {CursorID}).AsLong(); }

long DispatchDatabase::Add(const std::string& Value, const std::string& Parent, long Level, long Source,
                           long DocType) {
    return d_.Call(DatabaseId::Add, {Value, Parent, Level, Source, DocType}).AsLong();
}

void DispatchDatabase::AddValue(long CursorID, const std::string& PropertyName, const std::string& DependName,
                                long PropertyType, long Hidden, const std::string& Value, long ValueID,
                                long DependID) {
    d_.Call(DatabaseId::AddValue, {CursorID, PropertyName, DependName, PropertyType, Hidden, Value, ValueID, DependID});
}

long DispatchDatabase::GetValueCount(long CursorID, const std::string& PropertyName) {
    return d_.Call(DatabaseId::GetValueCount, {CursorID, PropertyName}).AsLong();
}

void DispatchDatabase::GetValue(long CursorID, const std::string& PropertyName, long ValueNumber, std::string& Value,
                                long& ValueID, long& DependID) {
    d_.Call(DatabaseId::GetValue, {CursorID, PropertyName, ValueNumber, Out(Value), Out(ValueID), Out(DependID)});
}

// ---- peers ----

std::unique_ptr<CrawlPeers> DispatchPeers::Unpack(Parcel& parcel) {
    std::unique_ptr<DispatchPeers> p(new DispatchPeers);
    try {
        for (auto& m : parcel.Channels) {
            p->channels_.emplace_back(new DispatchChannel(m->Take()));
            p->Channels.push_back(p->channels_.back().get());
        }
        p->database_.reset(new DispatchDatabase(parcel.Database->Take()));
        p->Database = p->database_.get();
    } catch (...) {
        return nullptr;
    }
    return std::unique_ptr<CrawlPeers>(std::move(p));
}
