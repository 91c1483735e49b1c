#include "InfoDatabaseObject.h"

#include "ComStrings.h"

STDMETHODIMP InfoDatabaseObject::Create(long* Result) {
    return OutValue(Result, [&] {
        long r = 0;
        db_.Create(r);
        return r;
    });
}

STDMETHODIMP InfoDatabaseObject::Destroy(long* Result) {
    return OutValue(Result, [&] {
        long r = 0;
        db_.Destroy(r);
        return r;
    });
}

STDMETHODIMP InfoDatabaseObject::CreateCursor(long* CursorID) {
    return OutValue(CursorID, [&] {
        long id = InfoDatabase::kNone;
        db_.CreateCursor(id);
        return id;
    });
}

STDMETHODIMP InfoDatabaseObject::DestroyCursor(long CursorID) {
    return Effect([&] { db_.DestroyCursor(CursorID); });
}

STDMETHODIMP InfoDatabaseObject::NextRecord(long CursorID) {
    return Effect([&] { db_.NextRecord(CursorID); });
}

STDMETHODIMP InfoDatabaseObject::TestCursor(long CursorID, long* Result) {
    return OutValue(Result, [&] {
        long r = 0;
        db_.TestCursor(CursorID, r);
        return r;
    });
}

STDMETHODIMP InfoDatabaseObject::RemoveRecord(long CursorID) {
    return Effect([&] { db_.RemoveRecord(CursorID); });
}

STDMETHODIMP InfoDatabaseObject::FindRecord(BSTR Value, long* CursorID) {
    return OutValue(CursorID, [&] {
        long id = InfoDatabase::kNone;
        db_.FindRecord(Units(Value), id);
        return id;
    });
}

STDMETHODIMP InfoDatabaseObject::get_Value(long CursorID, BSTR* pVal) {
    return OutValue(pVal, [&] { return UnitsBstr(db_.get_Value(CursorID)); });
}

STDMETHODIMP InfoDatabaseObject::get_Key(long CursorID, long* pVal) {
    return OutValue(pVal, [&] { return db_.get_Key(CursorID); });
}

STDMETHODIMP InfoDatabaseObject::get_Source(long CursorID, long* pVal) {
    return OutValue(pVal, [&] { return db_.get_Source(CursorID); });
}

STDMETHODIMP InfoDatabaseObject::put_Source(long CursorID, long newVal) {
    return Effect([&] { db_.put_Source(CursorID, newVal); });
}

STDMETHODIMP InfoDatabaseObject::get_Level(long CursorID, long* pVal) {
    return OutValue(pVal, [&] { return db_.get_Level(CursorID); });
}

STDMETHODIMP InfoDatabaseObject::put_Level(long CursorID, long newVal) {
    return Effect([&] { db_.put_Level(CursorID, newVal); });
}

STDMETHODIMP InfoDatabaseObject::Add(BSTR Value, BSTR Parent, long Level, long Source, long DocType, long* Key) {
    return OutValue(Key, [&] {
        long key = 0;
        db_.Add(Units(Value), Units(Parent), Level, Source, DocType, key);
        return key;
    });
}

STDMETHODIMP InfoDatabaseObject::AddProperty(long CursorID, BSTR PropertyName, BSTR DependName, long PropertyType,
                                             long Hidden) {
    return Effect([&] { db_.AddProperty(CursorID, Units(PropertyName), Units(DependName), PropertyType, Hidden); });
}

STDMETHODIMP InfoDatabaseObject::RemoveProperty(long CursorID, BSTR PropertyName) {
    return Effect([&] { db_.RemoveProperty(CursorID, Units(PropertyName)); });
}

STDMETHODIMP InfoDatabaseObject::EmptyProps(long CursorID) {
    return Effect([&] { db_.EmptyProps(CursorID); });
}

STDMETHODIMP InfoDatabaseObject::AddValue(long CursorID, BSTR PropertyName, BSTR DependName, long PropertyType,
                                          long Hidden, BSTR Value, long ValueID, long DependID) {
    return Effect([&] {
        db_.AddValue(CursorID, Units(PropertyName), Units(DependName), PropertyType, Hidden, Units(Value), ValueID,
                     DependID);
    });
}

STDMETHODIMP InfoDatabaseObject::EmptyProperty(long CursorID, BSTR PropertyName) {
    return Effect([&] { db_.EmptyProperty(CursorID, Units(PropertyName)); });
}

STDMETHODIMP InfoDatabaseObject::GetValueCount(long CursorID, BSTR PropertyName, long* Count) {
    return OutValue(Count, [&] {
        long n = 0;
        db_.GetValueCount(CursorID, Units(PropertyName), n);
        return n;
    });
}

STDMETHODIMP InfoDatabaseObject::GetValue(long CursorID, BSTR PropertyName, long ValueNumber, BSTR* Value,
                                          long* ValueID, long* DependID) {
    if (!Value || !ValueID || !DependID) return E_POINTER;
    *Value = nullptr;
    *ValueID = -1;
    *DependID = -1;
    return ComGuard([&] {
        BStr v;
        long id = -1, dep = -1;
        db_.GetValue(CursorID, Units(PropertyName), ValueNumber, v, id, dep);
        *Value = UnitsBstr(v);
        *ValueID = id;
        *DependID = dep;
        return S_OK;
    });
}

STDMETHODIMP InfoDatabaseObject::get_Status(long CursorID, long* pVal) {
    return OutValue(pVal, [&] { return db_.get_Status(CursorID); });
}

STDMETHODIMP InfoDatabaseObject::put_Status(long CursorID, long newVal) {
    return Effect([&] { db_.put_Status(CursorID, newVal); });
}

STDMETHODIMP InfoDatabaseObject::Empty() {
    return Effect([&] { db_.Empty(); });
}

STDMETHODIMP InfoDatabaseObject::get_Parent(long CursorID, BSTR* pVal) {
    return OutValue(pVal, [&] { return UnitsBstr(db_.get_Parent(CursorID)); });
}

STDMETHODIMP InfoDatabaseObject::put_Parent(long CursorID, BSTR newVal) {
    return Effect([&] { db_.put_Parent(CursorID, Units(newVal)); });
}

STDMETHODIMP InfoDatabaseObject::get_Reserved1(long CursorID, long* pVal) {
    return OutValue(pVal, [&] { return db_.get_Reserved1(CursorID); });
}

STDMETHODIMP InfoDatabaseObject::put_Reserved1(long CursorID, long newVal) {
    return Effect([&] { db_.put_Reserved1(CursorID, newVal); });
}

STDMETHODIMP InfoDatabaseObject::get_Reserved2(long CursorID, long* pVal) {
    return OutValue(pVal, [&] { return db_.get_Reserved2(CursorID); });
}

STDMETHODIMP InfoDatabaseObject::put_Reserved2(long CursorID, long newVal) {
    return Effect([&] { db_.put_Reserved2(CursorID, newVal); });
}

STDMETHODIMP InfoDatabaseObject::get_Reserved3(long CursorID, BSTR* pVal) {
    return OutValue(pVal, [&] { return UnitsBstr(db_.get_Reserved3(CursorID)); });
}

STDMETHODIMP InfoDatabaseObject::put_Reserved3(long CursorID, BSTR newVal) {
    return Effect([&] { db_.put_Reserved3(CursorID, Units(newVal)); });
}

STDMETHODIMP InfoDatabaseObject::FindRecordByKey(long Key, long* CursorID) {
    return OutValue(CursorID, [&] {
        long id = InfoDatabase::kNone;
        db_.FindRecordByKey(Key, id);
        return id;
    });
}

STDMETHODIMP InfoDatabaseObject::Size(long* Result) {
    return OutValue(Result, [&] { return db_.Size(); });
}

STDMETHODIMP InfoDatabaseObject::Save(BSTR Address, BSTR UserData, long* Result) {
    return OutValue(Result, [&] {
        long r = 0;
        db_.Save(Units(Address), Units(UserData), r);
        return r;
    });
}

HRESULT InfoDatabaseObject::ReadFile(BSTR Address, BSTR* UserData, long* Result, bool replace) {
    if (!UserData || !Result) return E_POINTER;
    *UserData = nullptr;
    *Result = 0;
    return ComGuard([&] {
        BStr user;
        long r = 0;
        if (replace) db_.Open(Units(Address), user, r);
        else db_.AddFile(Units(Address), user, r);
        *UserData = UnitsBstr(user);
        *Result = r;
        return S_OK;
    });
}

STDMETHODIMP InfoDatabaseObject::Open(BSTR Address, BSTR* UserData, long* Result) {
    return ReadFile(Address, UserData, Result, true);
}

STDMETHODIMP InfoDatabaseObject::AddFile(BSTR Address, BSTR* UserData, long* Result) {
    return ReadFile(Address, UserData, Result, false);
}

STDMETHODIMP InfoDatabaseObject::get_PropertyType(long CursorID, BSTR PropertyName, long* pVal) {
    return OutValue(pVal, [&] { return db_.get_PropertyType(CursorID, Units(PropertyName)); });
}

STDMETHODIMP InfoDatabaseObject::put_PropertyType(long CursorID, BSTR PropertyName, long newVal) {
    return Effect([&] { db_.put_PropertyType(CursorID, Units(PropertyName), newVal); });
}

STDMETHODIMP InfoDatabaseObject::get_PropertyFlags(long CursorID, BSTR PropertyName, long* pVal) {
    return OutValue(pVal, [&] { return db_.get_PropertyFlags(CursorID, Units(PropertyName)); });
}

STDMETHODIMP InfoDatabaseObject::put_PropertyFlags(long CursorID, BSTR PropertyName, long newVal) {
    return Effect([&] { db_.put_PropertyFlags(CursorID, Units(PropertyName), newVal); });
}

STDMETHODIMP InfoDatabaseObject::GetProperty(long CursorID, BSTR PropertyName, BSTR* ParentName, long* Type,
                                             long* Flags) {
    if (!ParentName || !Type || !Flags) return E_POINTER;
    *ParentName = nullptr;
    *Type = -1;
    *Flags = 0;
    return ComGuard([&] {
        BStr parent;
        long type = -1, flags = 0;
        db_.GetProperty(CursorID, Units(PropertyName), parent, type, flags);
        *ParentName = UnitsBstr(parent);
        *Type = type;
        *Flags = flags;
        return S_OK;
    });
}

STDMETHODIMP InfoDatabaseObject::get_Type(long CursorID, long* pVal) {
    return OutValue(pVal, [&] { return db_.get_Type(CursorID); });
}
