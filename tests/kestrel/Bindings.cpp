#include "Bindings.h"

#include <gtest/gtest.h>

#include "OleSysError.h"

namespace {
WideString W(const std::string& ansi) { return WideString::FromAnsi(ansi); }

template <class Itf>
Itf* Create(const CLSID& clsid, const IID& iid) {
    Itf* p = nullptr;
    OleCheck(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, iid, reinterpret_cast<void**>(&p)),
             "CoCreateInstance");
    return p;
}

// Calls a vtable member that hands back one [out] value, expecting S_OK.
template <class F>
long LongOf(F call) {
    long r = -1;
    EXPECT_EQ(S_OK, call(&r));
    return r;
}
template <class F>
WideString StringOf(F call) {
    WideString s;
    EXPECT_EQ(S_OK, call(s.Receive()));
    return s;
}

class VtableFile : public FileApi {
public:
    VtableFile() : f_(Create<IKesFile>(CLSID_KesFile, IID_IKesFile)) {}
    ~VtableFile() override { f_->Release(); }
    long Open(const std::string& name, long flags) override {
        return LongOf([&](long* r) { return f_->Open(W(name).c_bstr(), flags, r); });
    }
    void Close() override { EXPECT_EQ(S_OK, f_->Close()); }
    long WriteString(const WideString& s) override {
        return LongOf([&](long* r) { return f_->WriteString(s.c_bstr(), r); });
    }
    WideString ReadString() override { return StringOf([&](BSTR* r) { return f_->ReadString(r); }); }
    long PutBR() override { return LongOf([&](long* r) { return f_->PutBR(r); }); }
    long CheckExists(const std::string& name) override {
        return LongOf([&](long* r) { return f_->CheckExists(W(name).c_bstr(), r); });
    }
    long Position() override { return LongOf([&](long* r) { return f_->get_Position(r); }); }
    void SetPosition(long p) override { EXPECT_EQ(S_OK, f_->put_Position(p)); }
    WideString FindFirst(const std::string& path) override {
        return StringOf([&](BSTR* r) { return f_->FindFirst(W(path).c_bstr(), r); });
    }
    WideString FindNext() override { return StringOf([&](BSTR* r) { return f_->FindNext(r); }); }
    long PutString(const WideString& s) override {
        return LongOf([&](long* r) { return f_->PutString(s.c_bstr(), r); });
    }
    WideString GetString() override { return StringOf([&](BSTR* r) { return f_->GetString(r); }); }
    bool ShowsNull() const override { return true; }

private:
    IKesFile* f_;
};

// By name, or by the dispatch ids of the interface table when byId.
class LateFile : public FileApi {
public:
    explicit LateFile(bool byId) : d_(TDispatchDriver::CreateObject("Kestrel.KesFile")), byId_(byId) {}
    long Open(const std::string& name, long flags) override { return Call("Open", 1, {name, flags}).AsLong(); }
    void Close() override { Call("Close", 2, {}); }
    long WriteString(const WideString& s) override { return Call("WriteString", 3, {s}).AsLong(); }
    WideString ReadString() override { return Call("ReadString", 4, {}).AsWideString(); }
    long PutBR() override { return Call("PutBR", 5, {}).AsLong(); }
    long CheckExists(const std::string& name) override { return Call("CheckExists", 6, {name}).AsLong(); }
    long Position() override { return byId_ ? d_.Get(7).AsLong() : d_.Get("Position").AsLong(); }
    void SetPosition(long p) override {
        if (byId_) d_.Put(7, {p});
        else d_.Put("Position", {p});
    }
    WideString FindFirst(const std::string& path) override { return Call("FindFirst", 8, {path}).AsWideString(); }
    WideString FindNext() override { return Call("FindNext", 9, {}).AsWideString(); }
    long PutString(const WideString& s) override { return Call("PutString", 10, {s}).AsLong(); }
    WideString GetString() override { return Call("GetString", 11, {}).AsWideString(); }
    bool ShowsNull() const override { return false; }

private:
    OleVariant Call(const std::string& name, DISPID id, std::initializer_list<DispArg> args) {
        return byId_ ? d_.Call(id, args) : d_.Call(name, args);
    }
    TDispatchDriver d_;
    bool byId_;
};

class VtableClipboard : public ClipboardApi {
public:
    VtableClipboard() : c_(Create<IKesClipboard>(CLSID_KesClipboard, IID_IKesClipboard)) {}
    ~VtableClipboard() override { c_->Release(); }
    WideString Get(const std::string& format) override {
        return StringOf([&](BSTR* r) { return c_->get_Data(W(format).c_bstr(), r); });
    }
    void Put(const std::string& format, const WideString& value) override {
        EXPECT_EQ(S_OK, c_->put_Data(W(format).c_bstr(), value.c_bstr()));
    }

private:
    IKesClipboard* c_;
};

class LateClipboard : public ClipboardApi {
public:
    explicit LateClipboard(bool byId) : d_(TDispatchDriver::CreateObject("Kestrel.KesClipboard")), byId_(byId) {}
    WideString Get(const std::string& format) override {
        return (byId_ ? d_.Get(1, {format}) : d_.Get("Data", {format})).AsWideString();
    }
    void Put(const std::string& format, const WideString& value) override {
        if (byId_) d_.Put(1, {format, value});
        else d_.Put("Data", {format, value});
    }

private:
    TDispatchDriver d_;
    bool byId_;
};
}  // namespace

const char* BindingName(Binding b) {
    switch (b) {
    case Binding::Vtable: return "vtable";
    case Binding::ByName: return "by name";
    case Binding::ById: return "by dispatch id";
    }
    return "?";
}

std::vector<Binding> AllBindings() { return {Binding::Vtable, Binding::ByName, Binding::ById}; }

std::unique_ptr<FileApi> FileApi::Make(Binding b) {
    if (b == Binding::Vtable) return std::unique_ptr<FileApi>(new VtableFile);
    return std::unique_ptr<FileApi>(new LateFile(b == Binding::ById));
}

std::unique_ptr<ClipboardApi> ClipboardApi::Make(Binding b) {
    if (b == Binding::Vtable) return std::unique_ptr<ClipboardApi>(new VtableClipboard);
    return std::unique_ptr<ClipboardApi>(new LateClipboard(b == Binding::ById));
}

bool NullOrEmpty(const FileApi& f, const WideString& s) { return f.ShowsNull() ? s.IsNull() : s.Length() == 0; }
