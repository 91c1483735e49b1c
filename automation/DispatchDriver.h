// Late binding: calls members of an automation object through IDispatch, by
// member name (GetIDsOfNames, then Invoke) or by dispatch id. Arguments go in
// by value; Out(x) passes x by reference and receives an [out] value. A failed
// call throws EOleSysError naming the member; Invoke is the non-throwing core.
//
//   TDispatchDriver f = TDispatchDriver::CreateObject("Kestrel.KesFile");
//   long ok = f.Call("Open", {path, 0L}).AsLong();
//   std::string name; long id = 0, dep = 0;
//   db.Call("GetValue", {cursor, "Address", 0L, Out(name), Out(id), Out(dep)});
//   long level = db.Get("Level", {cursor}).AsLong();
//   db.Put("Level", {cursor, 2L});            // the last argument is the value
#pragma once

#include <windows.h>
#include <oaidl.h>

#include <initializer_list>
#include <map>
#include <string>
#include <type_traits>
#include <utility>

#include "OleVariant.h"
#include "WideString.h"

// One argument of a late-bound call.
class DispArg {
public:
    template <class T, class = std::enable_if_t<!std::is_same<std::decay_t<T>, DispArg>::value>>
    DispArg(T&& v) : value_(std::forward<T>(v)) {}   // by value, as an OleVariant

    enum Kind { In, OutLong, OutWide, OutAnsi };
    Kind ArgKind() const { return kind_; }
    const OleVariant& InValue() const { return value_; }

private:
    friend DispArg Out(long& target);
    friend DispArg Out(WideString& target);
    friend DispArg Out(std::string& target);
    DispArg(Kind k, void* target) : kind_(k), target_(target) {}
    friend class TDispatchDriver;

    Kind kind_ = In;
    OleVariant value_;
    void* target_ = nullptr;
};

// By-reference arguments: the callee's [out] value lands in target.
DispArg Out(long& target);          // VT_I4 | VT_BYREF
DispArg Out(WideString& target);    // VT_BSTR | VT_BYREF, a null string stays null
DispArg Out(std::string& target);   // VT_BSTR | VT_BYREF, converted to ANSI

class TDispatchDriver {
public:
    TDispatchDriver() = default;
    // Holds a reference of its own to d.
    explicit TDispatchDriver(IDispatch* d);
    TDispatchDriver(const TDispatchDriver& o);
    TDispatchDriver(TDispatchDriver&& o) noexcept;
    TDispatchDriver& operator=(TDispatchDriver o) noexcept;
    ~TDispatchDriver();

    // Creates an object by ProgID (in-process or local server) and asks for IDispatch.
    static TDispatchDriver CreateObject(const std::string& ProgID);

    IDispatch* Dispatch() const { return disp_; }   // borrowed, e.g. to pass as an argument
    void Release();

    // The dispatch id of a member name; EOleSysError when unknown. Remembered.
    DISPID DispIdOf(const std::string& Name);

    // Method call; the result is the [out,retval] value (VT_EMPTY when none).
    OleVariant Call(const std::string& Name, std::initializer_list<DispArg> Args = {});
    OleVariant Call(DISPID Id, std::initializer_list<DispArg> Args = {});
    // Property get, with index arguments when the property takes some.
    OleVariant Get(const std::string& Name, std::initializer_list<DispArg> Args = {});
    OleVariant Get(DISPID Id, std::initializer_list<DispArg> Args = {});
    // Property put: index arguments first, the new value last.
    void Put(const std::string& Name, std::initializer_list<DispArg> ArgsAndValue);
    void Put(DISPID Id, std::initializer_list<DispArg> ArgsAndValue);

    // The call itself, without throwing: Flags is DISPATCH_METHOD,
    // DISPATCH_PROPERTYGET or DISPATCH_PROPERTYPUT. On failure Error (when
    // given) gets the callee's description or the HRESULT's text.
    HRESULT Invoke(DISPID Id, WORD Flags, const DispArg* Args, size_t Count, OleVariant* Result,
                   std::string* Error = nullptr);

private:
    OleVariant InvokeChecked(const std::string& What, DISPID Id, WORD Flags, std::initializer_list<DispArg> Args);

    IDispatch* disp_ = nullptr;
    std::map<std::string, DISPID> ids_;
};
