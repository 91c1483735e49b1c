// The records a search found, with their properties and values, walked by
// cursors; saved to and read from the search file. Every member runs under
// one lock (readers share it), so the crawl thread and the client can call
// in at the same time. Members mirror the automation interface: same names,
// argument order and results. No platform headers.
#pragma once

#include <cstdint>
#include <memory>
#include "ReadWriteLock.h"
#include <unordered_map>
#include <vector>

#include "InfoObject.h"
#include "InfoRecord.h"
#include "SearchFile.h"

class InfoDatabase {
public:
    static constexpr long kNone = -10000;   // no record, no cursor; also what a bad cursor reads
    static constexpr long kInUse = -11111;  // state of a cursor slot in use
    static constexpr long kNoProperty = -200;

    InfoDatabase();
    ~InfoDatabase();
    InfoDatabase(const InfoDatabase&) = delete;
    InfoDatabase& operator=(const InfoDatabase&) = delete;

    void Create(long& Result);
    void Destroy(long& Result);
    void CreateCursor(long& CursorID);
    void DestroyCursor(long CursorID);
    void NextRecord(long CursorID);
    void TestCursor(long CursorID, long& Result);
    void RemoveRecord(long CursorID);
    void FindRecord(const BStr& Value, long& CursorID);
    BStr get_Value(long CursorID);
    long get_Key(long CursorID);
    long get_Source(long CursorID);
    void put_Source(long CursorID, long Source);
    long get_Level(long CursorID);
    void put_Level(long CursorID, long Level);
    void Add(const BStr& Value, const BStr& Parent, long Level, long Source, long DocType, long& Key);
    void AddProperty(long CursorID, const BStr& PropertyName, const BStr& DependName, long PropertyType, long Hidden);
    void RemoveProperty(long CursorID, const BStr& PropertyName);
    void EmptyProps(long CursorID);
    void AddValue(long CursorID, const BStr& PropertyName, const BStr& DependName, long PropertyType, long Hidden,
                  const BStr& Value, long ValueID, long DependID);
    void EmptyProperty(long CursorID, const BStr& PropertyName);
    void GetValueCount(long CursorID, const BStr& PropertyName, long& Count);
    void GetValue(long CursorID, const BStr& PropertyName, long ValueNumber, BStr& Value, long& ValueID,
                  long& DependID);
    long get_Status(long CursorID);
    void put_Status(long CursorID, long Status);
    void Empty();
    BStr get_Parent(long CursorID);
    void put_Parent(long CursorID, const BStr& Parent);
    long get_Reserved1(long CursorID);
    void put_Reserved1(long CursorID, long Reserved1);
    long get_Reserved2(long CursorID);
    void put_Reserved2(long CursorID, long Reserved2);
    BStr get_Reserved3(long CursorID);
    void put_Reserved3(long CursorID, const BStr& Reserved3);
    void FindRecordByKey(long Key, long& CursorID);
    long Size();
    void Save(const BStr& Address, const BStr& UserData, long& Result);
    void Open(const BStr& Address, BStr& UserData, long& Result);
    void AddFile(const BStr& Address, BStr& UserData, long& Result);
    long get_PropertyType(long CursorID, const BStr& PropertyName);
    void put_PropertyType(long CursorID, const BStr& PropertyName, long PropertyType);
    long get_PropertyFlags(long CursorID, const BStr& PropertyName);
    void put_PropertyFlags(long CursorID, const BStr& PropertyName, long Flags);
    void GetProperty(long CursorID, const BStr& PropertyName, BStr& ParentName, long& Type, long& Flags);
    long get_Type(long CursorID);

    static const char16_t kProperties[];  // "Properties"
    static const char16_t kDepends[];     // "Depends"

private:
    struct Cursor {
        long Position;
        long State;
    };

    InfoRecord* At(long CursorID) const;  // nullptr for a bad cursor or position
    // Record fields through a cursor; a bad cursor reads kNone or null and writes nothing.
    long GetLong(long CursorID, int32_t InfoRecord::*field);
    void PutLong(long CursorID, int32_t InfoRecord::*field, long value);
    BStr GetString(long CursorID, BStr InfoRecord::*field);
    void PutString(long CursorID, BStr InfoRecord::*field, const BStr& value);
    long NewCursor(long position);
    void ClearRecords();
    void Append(std::unique_ptr<InfoRecord> r);
    static InfoProperty* FindProperty(InfoRecord& r, const BStr& name);
    void AddValueLocked(InfoRecord& r, const BStr& name, const BStr& depend, long type, long hidden,
                        const BStr& value, long valueId, long dependId);
    void ListProperty(InfoRecord& r, const BStr& name, const BStr& depend);
    void AddFileImpl(const BStr& Address, BStr& UserData, long& Result, bool replace);
    long PositionOf(uint64_t seq) const;
    void Unindex(const InfoRecord& r);

    InfoObject object_;
    mutable ReadWriteLock m_;
    RecordList records_;  // insertion order
    std::vector<Cursor> cursors_;
    uint32_t keyCounter_ = 0;  // the Key the next Add gives; never reset
    uint64_t nextSeq_ = 1;
    // Look-ups by address and by key: the sequence numbers of the records, oldest first.
    std::unordered_map<std::u16string, std::vector<uint64_t>> byValue_;
    std::unordered_map<int32_t, std::vector<uint64_t>> byKey_;
};
