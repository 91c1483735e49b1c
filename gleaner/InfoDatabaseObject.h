// The automation object InfoDatabase: the record database of a search,
// behind the dual interface IInfoDatabase. The records themselves are the
// engine core's InfoDatabase, which takes its own locks, so clients and the
// crawl thread of a search call in side by side.
#pragma once

#include "AgileObject.h"
#include "Gleaner_h.h"
#include "InfoDatabase.h"

class InfoDatabaseObject : public TAgileObject<IInfoDatabase, &IID_IInfoDatabase> {
public:
    STDMETHODIMP Create(long* Result) override;
    STDMETHODIMP Destroy(long* Result) override;
    STDMETHODIMP CreateCursor(long* CursorID) override;
    STDMETHODIMP DestroyCursor(long CursorID) override;
    STDMETHODIMP NextRecord(long CursorID) override;
    STDMETHODIMP TestCursor(long CursorID, long* Result) override;
    STDMETHODIMP RemoveRecord(long CursorID) override;
    STDMETHODIMP FindRecord(BSTR Value, long* CursorID) override;
    STDMETHODIMP get_Value(long CursorID, BSTR* pVal) override;
    STDMETHODIMP get_Key(long CursorID, long* pVal) override;
    STDMETHODIMP get_Source(long CursorID, long* pVal) override;
    STDMETHODIMP put_Source(long CursorID, long newVal) override;
    STDMETHODIMP get_Level(long CursorID, long* pVal) override;
    STDMETHODIMP put_Level(long CursorID, long newVal) override;
    STDMETHODIMP Add(BSTR Value, BSTR Parent, long Level, long Source, long DocType, long* Key) override;
    STDMETHODIMP AddProperty(long CursorID, BSTR PropertyName, BSTR DependName, long PropertyType,
                             long Hidden) override;
    STDMETHODIMP RemoveProperty(long CursorID, BSTR PropertyName) override;
    STDMETHODIMP EmptyProps(long CursorID) override;
    STDMETHODIMP AddValue(long CursorID, BSTR PropertyName, BSTR DependName, long PropertyType, long Hidden,
                          BSTR Value, long ValueID, long DependID) override;
    STDMETHODIMP EmptyProperty(long CursorID, BSTR PropertyName) override;
    STDMETHODIMP GetValueCount(long CursorID, BSTR PropertyName, long* Count) override;
    STDMETHODIMP GetValue(long CursorID, BSTR PropertyName, long ValueNumber, BSTR* Value, long* ValueID,
                          long* DependID) override;
    STDMETHODIMP get_Status(long CursorID, long* pVal) override;
    STDMETHODIMP put_Status(long CursorID, long newVal) override;
    STDMETHODIMP Empty() override;
    STDMETHODIMP get_Parent(long CursorID, BSTR* pVal) override;
    STDMETHODIMP put_Parent(long CursorID, BSTR newVal) override;
    STDMETHODIMP get_Reserved1(long CursorID, long* pVal) override;
    STDMETHODIMP put_Reserved1(long CursorID, long newVal) override;
    STDMETHODIMP get_Reserved2(long CursorID, long* pVal) override;
    STDMETHODIMP put_Reserved2(long CursorID, long newVal) override;
    STDMETHODIMP get_Reserved3(long CursorID, BSTR* pVal) override;
    STDMETHODIMP put_Reserved3(long CursorID, BSTR newVal) override;
    STDMETHODIMP FindRecordByKey(long Key, long* CursorID) override;
    STDMETHODIMP Size(long* Result) override;
    STDMETHODIMP Save(BSTR Address, BSTR UserData, long* Result) override;
    STDMETHODIMP Open(BSTR Address, BSTR* UserData, long* Result) override;
    STDMETHODIMP AddFile(BSTR Address, BSTR* UserData, long* Result) override;
    STDMETHODIMP get_PropertyType(long CursorID, BSTR PropertyName, long* pVal) override;
    STDMETHODIMP put_PropertyType(long CursorID, BSTR PropertyName, long newVal) override;
    STDMETHODIMP get_PropertyFlags(long CursorID, BSTR PropertyName, long* pVal) override;
    STDMETHODIMP put_PropertyFlags(long CursorID, BSTR PropertyName, long newVal) override;
    STDMETHODIMP GetProperty(long CursorID, BSTR PropertyName, BSTR* ParentName, long* Type, long* Flags) override;
    STDMETHODIMP get_Type(long CursorID, long* pVal) override;

private:
    HRESULT ReadFile(BSTR Address, BSTR* UserData, long* Result, bool replace);

    InfoDatabase db_;
};
