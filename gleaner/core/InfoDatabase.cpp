#include "InfoDatabase.h"

#include <algorithm>
#include <climits>
#include <mutex>
#include <shared_mutex>

const char16_t InfoDatabase::kProperties[] = u"Properties";
const char16_t InfoDatabase::kDepends[] = u"Depends";

namespace {

using Shared = std::shared_lock<ReadWriteLock>;
using Exclusive = std::unique_lock<ReadWriteLock>;

// Address look-ups treat a null address like an empty one.
const std::u16string& ValueKey(const BStr& v) {
    static const std::u16string empty;
    return v ? *v : empty;
}

template <class Map, class K>
void Drop(Map& map, const K& key, uint64_t seq) {
    auto it = map.find(key);
    if (it == map.end()) return;
    auto& v = it->second;
    auto p = std::lower_bound(v.begin(), v.end(), seq);
    if (p != v.end() && *p == seq) v.erase(p);
    if (v.empty()) map.erase(it);
}

}  // namespace

InfoDatabase::InfoDatabase() = default;
InfoDatabase::~InfoDatabase() = default;

// ---- helpers (the caller holds the lock) ----

long InfoDatabase::PositionOf(uint64_t seq) const {
    auto it = std::lower_bound(records_.begin(), records_.end(), seq,
                               [](const std::unique_ptr<InfoRecord>& r, uint64_t s) { return r->Seq < s; });
    if (it == records_.end() || (*it)->Seq != seq) return kNone;
    return static_cast<long>(it - records_.begin());
}

InfoRecord* InfoDatabase::At(long CursorID) const {
    if (CursorID < 0 || CursorID >= static_cast<long>(cursors_.size())) return nullptr;
    const Cursor& c = cursors_[CursorID];
    if (c.State != kInUse || c.Position < 0 || c.Position >= static_cast<long>(records_.size())) return nullptr;
    return records_[c.Position].get();
}

long InfoDatabase::NewCursor(long position) {
    for (size_t i = 0; i < cursors_.size(); ++i) {
        if (cursors_[i].State == kNone) {
            cursors_[i] = Cursor{position, kInUse};
            return static_cast<long>(i);
        }
    }
    cursors_.push_back(Cursor{position, kInUse});
    return static_cast<long>(cursors_.size() - 1);
}

void InfoDatabase::ClearRecords() {
    records_.clear();
    byValue_.clear();
    byKey_.clear();
}

void InfoDatabase::Append(std::unique_ptr<InfoRecord> r) {
    r->Seq = nextSeq_++;
    byValue_[ValueKey(r->Value)].push_back(r->Seq);
    byKey_[r->Key].push_back(r->Seq);
    records_.push_back(std::move(r));
}

void InfoDatabase::Unindex(const InfoRecord& r) {
    Drop(byValue_, ValueKey(r.Value), r.Seq);
    Drop(byKey_, r.Key, r.Seq);
}

InfoProperty* InfoDatabase::FindProperty(InfoRecord& r, const BStr& name) {
    for (InfoProperty& p : r.Properties)
        if (p.Name == name) return &p;
    return nullptr;
}

void InfoDatabase::AddValueLocked(InfoRecord& r, const BStr& name, const BStr& depend, long type, long hidden,
                                  const BStr& value, long valueId, long dependId) {
    InfoValue v;
    v.Value = value;
    v.ValueID = static_cast<int32_t>(valueId);
    v.DependID = static_cast<int32_t>(dependId);
    if (InfoProperty* p = FindProperty(r, name)) {
        p->PropertyType = static_cast<int32_t>(type);
        p->Flags = static_cast<int32_t>(hidden);
        p->Values.push_back(std::move(v));
        return;
    }
    InfoProperty p;
    p.Name = name;
    p.DependName = depend;
    p.PropertyType = static_cast<int32_t>(type);
    p.Flags = static_cast<int32_t>(hidden);
    p.Values.push_back(std::move(v));
    r.Properties.push_back(std::move(p));
    ListProperty(r, name, depend);
}

// A new property is listed under "Properties", a non-empty depend name under
// "Depends"; the first listing makes "Properties", which lists itself in turn.
void InfoDatabase::ListProperty(InfoRecord& r, const BStr& name, const BStr& depend) {
    const BStr props = std::u16string(kProperties);
    InfoProperty* p = FindProperty(r, props);
    long n = p ? static_cast<long>(p->Values.size()) : 0;
    AddValueLocked(r, props, BStr(), 0, 1, name, n, -1);
    if (depend && !depend->empty()) {
        const BStr deps = std::u16string(kDepends);
        InfoProperty* d = FindProperty(r, deps);
        long m = d ? static_cast<long>(d->Values.size()) : 0;
        AddValueLocked(r, deps, BStr(), 0, 1, depend, m, -1);
    }
}

// ---- members ----

void InfoDatabase::Create(long& Result) {
    Exclusive l(m_);
    if (!object_.Create()) {
        Result = 0;
        return;
    }
    ClearRecords();
    cursors_.clear();
    Result = 1;
}

void InfoDatabase::Destroy(long& Result) {
    Exclusive l(m_);
    if (!object_.IsCreated()) {
        Result = 0;
        return;
    }
    ClearRecords();
    cursors_.clear();
    object_.Destroy();
    Result = 1;
}

void InfoDatabase::CreateCursor(long& CursorID) {
    Exclusive l(m_);
    CursorID = NewCursor(0);
}

void InfoDatabase::DestroyCursor(long CursorID) {
    Exclusive l(m_);
    if (CursorID < 0 || CursorID >= static_cast<long>(cursors_.size()) || cursors_[CursorID].State != kInUse) return;
    cursors_[CursorID].State = kNone;
    size_t last = cursors_.size();
    while (last > 0 && cursors_[last - 1].State != kInUse) --last;
    if (last > 0) cursors_.resize(last);
}

void InfoDatabase::NextRecord(long CursorID) {
    Exclusive l(m_);
    if (CursorID < 0 || CursorID >= static_cast<long>(cursors_.size()) || cursors_[CursorID].State != kInUse) return;
    if (cursors_[CursorID].Position < LONG_MAX) ++cursors_[CursorID].Position;
}

void InfoDatabase::TestCursor(long CursorID, long& Result) {
    Shared l(m_);
    Result = At(CursorID) ? 1 : 0;
}

void InfoDatabase::RemoveRecord(long CursorID) {
    Exclusive l(m_);
    InfoRecord* r = At(CursorID);
    if (!r) return;
    Unindex(*r);
    records_.erase(records_.begin() + cursors_[CursorID].Position);
}

void InfoDatabase::FindRecord(const BStr& Value, long& CursorID) {
    Exclusive l(m_);
    CursorID = kNone;
    auto it = byValue_.find(ValueKey(Value));
    if (it == byValue_.end() || it->second.empty()) return;
    long pos = PositionOf(it->second.front());
    if (pos != kNone) CursorID = NewCursor(pos);
}

void InfoDatabase::FindRecordByKey(long Key, long& CursorID) {
    Exclusive l(m_);
    CursorID = kNone;
    if (Key < INT32_MIN || Key > INT32_MAX) return;
    auto it = byKey_.find(static_cast<int32_t>(Key));
    if (it == byKey_.end() || it->second.empty()) return;
    long pos = PositionOf(it->second.front());
    if (pos != kNone) CursorID = NewCursor(pos);
}

long InfoDatabase::GetLong(long CursorID, int32_t InfoRecord::*field) {
    Shared l(m_);
    InfoRecord* r = At(CursorID);
    return r ? r->*field : kNone;
}

void InfoDatabase::PutLong(long CursorID, int32_t InfoRecord::*field, long value) {
    Exclusive l(m_);
    if (InfoRecord* r = At(CursorID)) r->*field = static_cast<int32_t>(value);
}

BStr InfoDatabase::GetString(long CursorID, BStr InfoRecord::*field) {
    Shared l(m_);
    InfoRecord* r = At(CursorID);
    return r ? r->*field : BStr();
}

void InfoDatabase::PutString(long CursorID, BStr InfoRecord::*field, const BStr& value) {
    Exclusive l(m_);
    if (InfoRecord* r = At(CursorID)) r->*field = value;
}

BStr InfoDatabase::get_Value(long CursorID) { return GetString(CursorID, &InfoRecord::Value); }
long InfoDatabase::get_Key(long CursorID) { return GetLong(CursorID, &InfoRecord::Key); }
long InfoDatabase::get_Source(long CursorID) { return GetLong(CursorID, &InfoRecord::Source); }
void InfoDatabase::put_Source(long CursorID, long Source) { PutLong(CursorID, &InfoRecord::Source, Source); }
long InfoDatabase::get_Level(long CursorID) { return GetLong(CursorID, &InfoRecord::Level); }
void InfoDatabase::put_Level(long CursorID, long Level) { PutLong(CursorID, &InfoRecord::Level, Level); }
long InfoDatabase::get_Status(long CursorID) { return GetLong(CursorID, &InfoRecord::Status); }
void InfoDatabase::put_Status(long CursorID, long Status) { PutLong(CursorID, &InfoRecord::Status, Status); }
BStr InfoDatabase::get_Parent(long CursorID) { return GetString(CursorID, &InfoRecord::Parent); }
void InfoDatabase::put_Parent(long CursorID, const BStr& Parent) { PutString(CursorID, &InfoRecord::Parent, Parent); }
long InfoDatabase::get_Reserved1(long CursorID) { return GetLong(CursorID, &InfoRecord::Reserved1); }
void InfoDatabase::put_Reserved1(long CursorID, long v) { PutLong(CursorID, &InfoRecord::Reserved1, v); }
long InfoDatabase::get_Reserved2(long CursorID) { return GetLong(CursorID, &InfoRecord::Reserved2); }
void InfoDatabase::put_Reserved2(long CursorID, long v) { PutLong(CursorID, &InfoRecord::Reserved2, v); }
BStr InfoDatabase::get_Reserved3(long CursorID) { return GetString(CursorID, &InfoRecord::Reserved3); }
void InfoDatabase::put_Reserved3(long CursorID, const BStr& v) { PutString(CursorID, &InfoRecord::Reserved3, v); }
long InfoDatabase::get_Type(long CursorID) { return GetLong(CursorID, &InfoRecord::Type); }

void InfoDatabase::Add(const BStr& Value, const BStr& Parent, long Level, long Source, long DocType, long& Key) {
    Exclusive l(m_);
    std::unique_ptr<InfoRecord> r(new InfoRecord);
    r->Key = static_cast<int32_t>(keyCounter_++);
    r->Level = static_cast<int32_t>(Level);
    r->Source = static_cast<int32_t>(Source);
    r->Value = Value;
    r->Parent = Parent;
    r->Type = static_cast<int32_t>(DocType);
    Key = r->Key;
    Append(std::move(r));
}

void InfoDatabase::AddProperty(long CursorID, const BStr& PropertyName, const BStr& DependName, long PropertyType,
                               long Hidden) {
    Exclusive l(m_);
    InfoRecord* r = At(CursorID);
    if (!r || FindProperty(*r, PropertyName)) return;
    InfoProperty p;
    p.Name = PropertyName;
    p.DependName = DependName;
    p.PropertyType = static_cast<int32_t>(PropertyType);
    p.Flags = static_cast<int32_t>(Hidden);
    r->Properties.push_back(std::move(p));
    ListProperty(*r, PropertyName, DependName);
}

void InfoDatabase::RemoveProperty(long CursorID, const BStr& PropertyName) {
    Exclusive l(m_);
    InfoRecord* r = At(CursorID);
    if (!r) return;
    auto& v = r->Properties;
    v.erase(std::remove_if(v.begin(), v.end(), [&](const InfoProperty& p) { return p.Name == PropertyName; }),
            v.end());
}

void InfoDatabase::EmptyProps(long CursorID) {
    Exclusive l(m_);
    if (InfoRecord* r = At(CursorID)) r->Properties.clear();
}

void InfoDatabase::AddValue(long CursorID, const BStr& PropertyName, const BStr& DependName, long PropertyType,
                            long Hidden, const BStr& Value, long ValueID, long DependID) {
    Exclusive l(m_);
    if (InfoRecord* r = At(CursorID))
        AddValueLocked(*r, PropertyName, DependName, PropertyType, Hidden, Value, ValueID, DependID);
}

void InfoDatabase::EmptyProperty(long CursorID, const BStr& PropertyName) {
    Exclusive l(m_);
    InfoRecord* r = At(CursorID);
    if (!r) return;
    if (InfoProperty* p = FindProperty(*r, PropertyName)) p->Values.clear();
}

void InfoDatabase::GetValueCount(long CursorID, const BStr& PropertyName, long& Count) {
    Shared l(m_);
    Count = 0;
    InfoRecord* r = At(CursorID);
    if (!r) return;
    if (InfoProperty* p = FindProperty(*r, PropertyName)) Count = static_cast<long>(p->Values.size());
}

void InfoDatabase::GetValue(long CursorID, const BStr& PropertyName, long ValueNumber, BStr& Value, long& ValueID,
                            long& DependID) {
    Shared l(m_);
    Value.reset();
    ValueID = -1;
    DependID = -1;
    InfoRecord* r = At(CursorID);
    if (!r) return;
    InfoProperty* p = FindProperty(*r, PropertyName);
    if (!p || ValueNumber < 0 || ValueNumber >= static_cast<long>(p->Values.size())) return;
    const InfoValue& v = p->Values[ValueNumber];
    Value = v.Value;
    ValueID = v.ValueID;
    DependID = v.DependID;
}

void InfoDatabase::Empty() {
    Exclusive l(m_);
    ClearRecords();
}

long InfoDatabase::Size() {
    Shared l(m_);
    return static_cast<long>(records_.size());
}

long InfoDatabase::get_PropertyType(long CursorID, const BStr& PropertyName) {
    Shared l(m_);
    InfoRecord* r = At(CursorID);
    InfoProperty* p = r ? FindProperty(*r, PropertyName) : nullptr;
    return p ? p->PropertyType : 0;
}

void InfoDatabase::put_PropertyType(long CursorID, const BStr& PropertyName, long PropertyType) {
    Exclusive l(m_);
    if (InfoRecord* r = At(CursorID))
        for (InfoProperty& p : r->Properties)
            if (p.Name == PropertyName) p.PropertyType = static_cast<int32_t>(PropertyType);
}

long InfoDatabase::get_PropertyFlags(long CursorID, const BStr& PropertyName) {
    Shared l(m_);
    InfoRecord* r = At(CursorID);
    InfoProperty* p = r ? FindProperty(*r, PropertyName) : nullptr;
    return p ? p->Flags : kNoProperty;
}

void InfoDatabase::put_PropertyFlags(long CursorID, const BStr& PropertyName, long Flags) {
    Exclusive l(m_);
    if (InfoRecord* r = At(CursorID))
        for (InfoProperty& p : r->Properties)
            if (p.Name == PropertyName) p.Flags = static_cast<int32_t>(Flags);
}

void InfoDatabase::GetProperty(long CursorID, const BStr& PropertyName, BStr& ParentName, long& Type, long& Flags) {
    Shared l(m_);
    ParentName.reset();
    Type = -1;
    Flags = 0;
    InfoRecord* r = At(CursorID);
    InfoProperty* p = r ? FindProperty(*r, PropertyName) : nullptr;
    if (!p) return;
    ParentName = p->DependName;
    Type = p->PropertyType;
    Flags = p->Flags;
}

// ---- search file ----

void InfoDatabase::Save(const BStr& Address, const BStr& UserData, long& Result) {
    // Under the lock, so a crawl cannot change records half way through the file.
    Shared l(m_);
    Result = SearchFile::Save(ValueKey(Address), UserData, records_) ? 1 : 0;
}

void InfoDatabase::AddFileImpl(const BStr& Address, BStr& UserData, long& Result, bool replace) {
    // The whole file is read and checked before anything here changes.
    std::u16string user;
    RecordList loaded;
    std::string error;
    Result = 0;
    UserData.reset();
    if (!SearchFile::Load(ValueKey(Address), user, loaded, error)) return;
    Exclusive l(m_);
    if (replace) ClearRecords();
    bool any = !loaded.empty();
    int32_t top = INT32_MIN;
    for (auto& r : loaded) {
        top = std::max(top, r->Key);
        Append(std::move(r));
    }
    // Keys given out later never collide with loaded ones.
    if (any && top >= static_cast<int32_t>(keyCounter_)) keyCounter_ = static_cast<uint32_t>(top) + 1u;
    UserData = std::move(user);
    Result = 1;
}

void InfoDatabase::AddFile(const BStr& Address, BStr& UserData, long& Result) {
    AddFileImpl(Address, UserData, Result, false);
}

void InfoDatabase::Open(const BStr& Address, BStr& UserData, long& Result) {
    AddFileImpl(Address, UserData, Result, true);
}
