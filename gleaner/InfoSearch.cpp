#include "InfoSearch.h"

#include "ComStrings.h"
#include "DispIds.h"
#include "DispatchPeers.h"
#include "WinInetSession.h"

namespace {
// How long Destroy and the last release wait for the crawl thread: it ends
// once the channels, told to stop, are idle.
const DWORD kJoinMs = 30000;
}  // namespace

InfoSearch::InfoSearch() : crawl_(std::make_shared<SearchCrawl>()) {}

InfoSearch::~InfoSearch() {
    StopRun();
    EndThread();
    while (lockDepth_ > 0) {
        --lockDepth_;
        clientLock_.Leave();
    }
}

void InfoSearch::EachChannel(const std::function<void(TDispatchDriver&)>& f) {
    // A copy: a channel call may let other calls in (a channel's Destroy
    // waits for its thread while serving the apartment).
    std::vector<TDispatchDriver> channels = channels_;
    for (TDispatchDriver& c : channels) {
        try {
            f(c);
        } catch (...) {
        }
    }
}

void InfoSearch::SendLists(TDispatchDriver& c) {
    for (const std::string& p : crawl_->Protocols.Entries()) c.Call(ChannelId::AddProtocol, {p});
    for (const std::string& p : crawl_->Protocols.Disabled())
        if (crawl_->Protocols.IndexOf(p) >= 0) c.Call(ChannelId::DisableProtocol, {p});
    for (const InfoMask& m : crawl_->Masks())
        c.Call(ChannelId::AddMask, {m.MaskName, m.MaskValue, m.DependsOn, m.Type, m.DependType, m.Priority,
                                    m.MaxFound, m.CanCompile, m.Hidden});
}

void InfoSearch::StopRun() {
    EachChannel([](TDispatchDriver& c) {
        c.Call(ChannelId::Resume);
        c.Put(ChannelId::StopForceSemafor, {1L});
    });
    crawl_->Stop();
}

void InfoSearch::EndThread() {
    std::unique_ptr<EngineThread> t = std::move(thread_);
    if (t) {
        crawl_->RequestExit();
        t->Join(kJoinMs);
    }
    // The thread's end lets go of the channels; its run's own references
    // went with the run.
    channels_.clear();
}

void InfoSearch::DropChannels(size_t keep, bool autoDestroy) {
    if (keep >= channels_.size()) return;
    std::vector<TDispatchDriver> gone(channels_.begin() + static_cast<std::ptrdiff_t>(keep), channels_.end());
    channels_.resize(keep);
    for (TDispatchDriver& c : gone) {
        try {
            c.Put(ChannelId::StopForceSemafor, {1L});
        } catch (...) {
        }
    }
    for (TDispatchDriver& c : gone) {
        if (autoDestroy) {
            try {
                c.Call(ChannelId::Destroy);
            } catch (...) {
            }
        }
        c.Release();
    }
}

STDMETHODIMP InfoSearch::Create(long* Result) {
    return OutValue(Result, [&]() -> long {
        if (created_) return 0;
        created_ = true;
        portionSize_ = 512;
        preloadSize_ = 512;
        fileMul_ = 10;
        silent_ = 0;
        priority_ = 0;
        table_.clear();
        crawl_->Reset();
        std::shared_ptr<SearchCrawl> crawl = crawl_;
        thread_ = StartEngineThread([crawl] { crawl->RunSearch(); }, true, silent_ != 0);
        if (thread_) return 1;
        crawl_->RequestExit();
        crawl_->RunSearch();  // no thread: the crawl ends at once
        return 0;
    });
}

STDMETHODIMP InfoSearch::Destroy(long* Result) {
    return OutValue(Result, [&]() -> long {
        if (!created_) return 0;
        StopRun();
        crawl_->Resume();
        EndThread();
        return 1;
    });
}

STDMETHODIMP InfoSearch::Suspend() {
    return Effect([&] { Park(*crawl_); });
}

STDMETHODIMP InfoSearch::Resume() {
    return Effect([&] { crawl_->Resume(); });
}

STDMETHODIMP InfoSearch::AttachChannel(IDispatch* Channel, long* Result) {
    return OutValue(Result, [&]() -> long {
        if (!Idle() || !Channel) return 0;
        TDispatchDriver c(Channel);
        c.Call(ChannelId::EmptyProtocols);
        c.Call(ChannelId::EmptyMasks);
        c.Put(ChannelId::PortionSize, {portionSize_});
        c.Put(ChannelId::PreloadSize, {preloadSize_});
        SendLists(c);
        c.Call(ChannelId::LoadMetaprocessorTable, {table_});
        channels_.push_back(c);
        return 1;
    });
}

STDMETHODIMP InfoSearch::DetachAllChannels(long AutoDestroy, long* Result) {
    return OutValue(Result, [&]() -> long {
        if (!Idle()) return 0;
        DropChannels(0, AutoDestroy != 0);
        return 1;
    });
}

STDMETHODIMP InfoSearch::get_ChannelCount(long* pVal) {
    return OutValue(pVal, [&] { return static_cast<long>(channels_.size()); });
}

STDMETHODIMP InfoSearch::Start(BSTR Address, IDispatch* Database, long* Result) {
    return OutValue(Result, [&]() -> long {
        // Only a search that is idle and still has its thread starts a run.
        if (!crawl_->CanBegin() || channels_.empty() || !Database) return 0;
        // WinINet's default allows few connections per server; the channels
        // should not wait for each other on one host.
        RaiseConnectionLimit(static_cast<long>(channels_.size()));
        EachChannel([&](TDispatchDriver& c) {
            c.Call(ChannelId::Reset);
            c.Put(ChannelId::StopForceSemafor, {0L});
            c.Call(ChannelId::EmptyProtocols);
            c.Call(ChannelId::EmptyMasks);
            c.Put(ChannelId::PortionSize, {portionSize_});
            c.Put(ChannelId::PreloadSize, {preloadSize_});
            c.Put(ChannelId::FileMul, {fileMul_});
            SendLists(c);
        });
        // The crawl thread gets its own references, marshalled to it; it
        // lets go of them when the run ends.
        auto parcel = std::make_shared<DispatchPeers::Parcel>();
        for (TDispatchDriver& c : channels_)
            parcel->Channels.emplace_back(new MarshalledDispatch(c.Dispatch()));
        parcel->Database.reset(new MarshalledDispatch(Database));
        bool begun = crawl_->Begin(Ansi(Address), [parcel] { return DispatchPeers::Unpack(*parcel); });
        return begun ? 1 : 0;
    });
}

STDMETHODIMP InfoSearch::Stop() {
    return Effect([&] { StopRun(); });
}

STDMETHODIMP InfoSearch::AddMask(BSTR MaskName, BSTR MaskValue, BSTR DependsOn, long Type, long DependType,
                                 long Priority, long MaxFound, long CanCompile, long Hidden) {
    return Effect([&] {
        if (!Idle()) return;
        const std::string name = Ansi(MaskName), value = Ansi(MaskValue), depends = Ansi(DependsOn);
        EachChannel([&](TDispatchDriver& c) {
            c.Call(ChannelId::AddMask,
                   {name, value, depends, Type, DependType, Priority, MaxFound, CanCompile, Hidden});
        });
        crawl_->AddMask(name, value, depends, Type, DependType, Priority, MaxFound, CanCompile, Hidden);
    });
}

STDMETHODIMP InfoSearch::EmptyMasks() {
    return Effect([&] {
        if (!Idle()) return;
        EachChannel([](TDispatchDriver& c) { c.Call(ChannelId::EmptyMasks); });
        crawl_->EmptyMasks();
    });
}

STDMETHODIMP InfoSearch::EmptyProtocols() {
    return Effect([&] {
        if (!Idle()) return;
        crawl_->Protocols.EmptyProtocols();
        EachChannel([](TDispatchDriver& c) { c.Call(ChannelId::EmptyProtocols); });
    });
}

STDMETHODIMP InfoSearch::RemoveProtocol(BSTR Protocol) {
    return Effect([&] {
        if (!Idle()) return;
        const std::string p = Ansi(Protocol);
        crawl_->Protocols.RemoveProtocol(p);
        EachChannel([&](TDispatchDriver& c) { c.Call(ChannelId::RemoveProtocol, {p}); });
    });
}

STDMETHODIMP InfoSearch::AddProtocol(BSTR Protocol) {
    return Effect([&] {
        if (!Idle()) return;
        const std::string p = Ansi(Protocol);
        crawl_->Protocols.AddProtocol(p);
        EachChannel([&](TDispatchDriver& c) { c.Call(ChannelId::AddProtocol, {p}); });
    });
}

STDMETHODIMP InfoSearch::put_PortionSize(long newVal) {
    return Effect([&] {
        portionSize_ = newVal;
        EachChannel([&](TDispatchDriver& c) { c.Put(ChannelId::PortionSize, {newVal}); });
    });
}

STDMETHODIMP InfoSearch::put_PreloadSize(long newVal) {
    return Effect([&] {
        preloadSize_ = newVal;
        EachChannel([&](TDispatchDriver& c) { c.Put(ChannelId::PreloadSize, {newVal}); });
    });
}

STDMETHODIMP InfoSearch::put_FileMul(long newVal) {
    return Effect([&] {
        fileMul_ = newVal;
        EachChannel([&](TDispatchDriver& c) { c.Put(ChannelId::FileMul, {newVal}); });
    });
}

STDMETHODIMP InfoSearch::get_Traffic(long* pVal) {
    return OutValue(pVal, [&] {
        long sum = 0;
        EachChannel([&](TDispatchDriver& c) { sum += c.Get(ChannelId::Traffic).AsLong(); });
        return sum;
    });
}

STDMETHODIMP InfoSearch::ResetTraffic() {
    return Effect([&] { EachChannel([](TDispatchDriver& c) { c.Call(ChannelId::ResetTraffic); }); });
}

STDMETHODIMP InfoSearch::put_AutoFresh(long newVal) {
    return Effect([&] { EachChannel([&](TDispatchDriver& c) { c.Put(ChannelId::AutoFresh, {newVal}); }); });
}

STDMETHODIMP InfoSearch::get_ThreadPriority(long* pVal) {
    return OutValue(pVal, [&] { return priority_; });
}

STDMETHODIMP InfoSearch::put_ThreadPriority(long newVal) {
    return Effect([&] {
        if (thread_) {
            priority_ = newVal;
            thread_->SetPriority(newVal);
        }
        EachChannel([&](TDispatchDriver& c) { c.Put(ChannelId::ThreadPriority, {newVal}); });
    });
}

STDMETHODIMP InfoSearch::DisableProtocol(BSTR Protocol) {
    return Effect([&] {
        if (!Idle()) return;
        const std::string p = Ansi(Protocol);
        if (crawl_->Protocols.IndexOf(p) >= 0) {
            if (crawl_->Protocols.IsDisabled(p)) return;
            crawl_->Protocols.DisableProtocol(p);
        }
        EachChannel([&](TDispatchDriver& c) { c.Call(ChannelId::DisableProtocol, {p}); });
    });
}

STDMETHODIMP InfoSearch::EnableProtocol(BSTR Protocol) {
    return Effect([&] {
        if (!Idle()) return;
        const std::string p = Ansi(Protocol);
        crawl_->Protocols.EnableProtocol(p);
        EachChannel([&](TDispatchDriver& c) { c.Call(ChannelId::EnableProtocol, {p}); });
    });
}

STDMETHODIMP InfoSearch::EnableAllProtocols() {
    return Effect([&] {
        if (!Idle()) return;
        crawl_->Protocols.EnableAllProtocols();
        EachChannel([](TDispatchDriver& c) { c.Call(ChannelId::EnableAllProtocols); });
    });
}

STDMETHODIMP InfoSearch::get_MaxLevel(long* pVal) {
    return OutValue(pVal, [&] { return crawl_->MaxLevel.load(); });
}

STDMETHODIMP InfoSearch::put_MaxLevel(long newVal) {
    return Effect([&] { crawl_->MaxLevel = newVal; });
}

STDMETHODIMP InfoSearch::get_MaxFound(long* pVal) {
    return OutValue(pVal, [&] { return crawl_->MaxFound.load(); });
}

STDMETHODIMP InfoSearch::put_MaxFound(long newVal) {
    return Effect([&] { crawl_->MaxFound = newVal; });
}

STDMETHODIMP InfoSearch::LoadMetaprocessorTable(BSTR TableAddress, long* Result) {
    return OutValue(Result, [&]() -> long {
        if (!Idle()) return 0;
        table_ = Ansi(TableAddress);
        long result = 1;
        for (TDispatchDriver c : std::vector<TDispatchDriver>(channels_)) {
            try {
                if (c.Call(ChannelId::LoadMetaprocessorTable, {table_}).AsLong() == 0) result = 0;
            } catch (...) {
                result = 0;
            }
        }
        return result;
    });
}

STDMETHODIMP InfoSearch::put_DefaultOperator(BSTR newVal) {
    return Effect([&] {
        const std::string v = Ansi(newVal);
        EachChannel([&](TDispatchDriver& c) { c.Put(ChannelId::DefaultOperator, {v}); });
    });
}

STDMETHODIMP InfoSearch::put_DefaultEncoding(BSTR newVal) {
    return Effect([&] {
        const std::string v = Ansi(newVal);
        EachChannel([&](TDispatchDriver& c) { c.Put(ChannelId::DefaultEncoding, {v}); });
    });
}

STDMETHODIMP InfoSearch::get_Status(long* pVal) {
    return OutValue(pVal, [&] { return crawl_->Status(); });
}

STDMETHODIMP InfoSearch::get_MaskCount(long* pVal) {
    return OutValue(pVal, [&] { return static_cast<long>(crawl_->Masks().size()); });
}

STDMETHODIMP InfoSearch::GetMask(long MaskNumber, BSTR* MaskName, BSTR* MaskValue, BSTR* DependsOn, long* Type,
                                 long* DependType, long* Priority, long* MaxFound, long* CanCompile) {
    if (!MaskName || !MaskValue || !DependsOn || !Type || !DependType || !Priority || !MaxFound || !CanCompile)
        return E_POINTER;
    *MaskName = *MaskValue = *DependsOn = nullptr;
    *Type = *DependType = *Priority = *MaxFound = *CanCompile = 0;
    return ComGuard([&] {
        std::vector<InfoMask> masks = crawl_->Masks();
        if (MaskNumber < 0 || MaskNumber >= static_cast<long>(masks.size())) return S_OK;
        const InfoMask& m = masks[static_cast<size_t>(MaskNumber)];
        WideString name = WideString::FromAnsi(m.MaskName), value = WideString::FromAnsi(m.MaskValue),
                   depends = WideString::FromAnsi(m.DependsOn);
        *MaskName = name.Detach();
        *MaskValue = value.Detach();
        *DependsOn = depends.Detach();
        *Type = m.Type;
        *DependType = m.DependType;
        *Priority = m.Priority;
        *MaxFound = m.MaxFound;
        *CanCompile = m.CanCompile;
        return S_OK;
    });
}

STDMETHODIMP InfoSearch::get_Silent(long* pVal) {
    return OutValue(pVal, [&] { return silent_; });
}

STDMETHODIMP InfoSearch::put_Silent(long newVal) {
    return Effect([&] {
        silent_ = newVal;
        EachChannel([&](TDispatchDriver& c) { c.Put(ChannelId::Silent, {newVal}); });
    });
}

STDMETHODIMP InfoSearch::TruncateChannels(long ChannelCount, long AutoDestroy) {
    return Effect([&] {
        if (!Idle()) return;
        DropChannels(ChannelCount < 0 ? 0 : static_cast<size_t>(ChannelCount), AutoDestroy != 0);
    });
}

STDMETHODIMP InfoSearch::Lock() {
    clientLock_.Enter();
    ++lockDepth_;
    return S_OK;
}

STDMETHODIMP InfoSearch::Unlock() {
    // Only what Lock entered is left.
    if (lockDepth_ > 0) {
        --lockDepth_;
        clientLock_.Leave();
    }
    return S_OK;
}

STDMETHODIMP InfoSearch::get_ProcessExternalLinks(long* pVal) {
    return OutValue(pVal, [&] { return crawl_->ProcessExternalLinks.load(); });
}

STDMETHODIMP InfoSearch::put_ProcessExternalLinks(long newVal) {
    return Effect([&] { crawl_->ProcessExternalLinks = newVal; });
}
