// The automation object InfoSearch: one crawl with its crawl thread, behind
// the dual interface IInfoSearch. It keeps the attached channels (their
// dispatch pointers, called on the main thread), sends them settings, masks
// and protocols, and hands a run to the engine core's SearchCrawl, which its
// thread runs against the channels and the database marshalled to it.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "AutoObject.h"
#include "CriticalSection.h"
#include "DispatchDriver.h"
#include "EngineThread.h"
#include "Gleaner_h.h"
#include "SearchCrawl.h"

class InfoSearch : public TAutoObject<IInfoSearch, &IID_IInfoSearch> {
public:
    InfoSearch();
    ~InfoSearch() override;

    STDMETHODIMP Create(long* Result) override;
    STDMETHODIMP Destroy(long* Result) override;
    STDMETHODIMP Suspend() override;
    STDMETHODIMP Resume() override;
    STDMETHODIMP AttachChannel(IDispatch* Channel, long* Result) override;
    STDMETHODIMP DetachAllChannels(long AutoDestroy, long* Result) override;
    STDMETHODIMP get_ChannelCount(long* pVal) override;
    STDMETHODIMP Start(BSTR Address, IDispatch* Database, long* Result) override;
    STDMETHODIMP Stop() override;
    STDMETHODIMP AddMask(BSTR MaskName, BSTR MaskValue, BSTR DependsOn, long Type, long DependType, long Priority,
                         long MaxFound, long CanCompile, long Hidden) override;
    STDMETHODIMP EmptyMasks() override;
    STDMETHODIMP EmptyProtocols() override;
    STDMETHODIMP RemoveProtocol(BSTR Protocol) override;
    STDMETHODIMP AddProtocol(BSTR Protocol) override;
    STDMETHODIMP put_PortionSize(long newVal) override;
    STDMETHODIMP put_PreloadSize(long newVal) override;
    STDMETHODIMP put_FileMul(long newVal) override;
    STDMETHODIMP get_Traffic(long* pVal) override;
    STDMETHODIMP ResetTraffic() override;
    STDMETHODIMP put_AutoFresh(long newVal) override;
    STDMETHODIMP get_ThreadPriority(long* pVal) override;
    STDMETHODIMP put_ThreadPriority(long newVal) override;
    STDMETHODIMP DisableProtocol(BSTR Protocol) override;
    STDMETHODIMP EnableProtocol(BSTR Protocol) override;
    STDMETHODIMP EnableAllProtocols() override;
    STDMETHODIMP get_MaxLevel(long* pVal) override;
    STDMETHODIMP put_MaxLevel(long newVal) override;
    STDMETHODIMP get_MaxFound(long* pVal) override;
    STDMETHODIMP put_MaxFound(long newVal) override;
    STDMETHODIMP LoadMetaprocessorTable(BSTR TableAddress, long* Result) override;
    STDMETHODIMP put_DefaultOperator(BSTR newVal) override;
    STDMETHODIMP put_DefaultEncoding(BSTR newVal) override;
    STDMETHODIMP get_Status(long* pVal) override;
    STDMETHODIMP get_MaskCount(long* pVal) override;
    STDMETHODIMP GetMask(long MaskNumber, BSTR* MaskName, BSTR* MaskValue, BSTR* DependsOn, long* Type,
                         long* DependType, long* Priority, long* MaxFound, long* CanCompile) override;
    STDMETHODIMP get_Silent(long* pVal) override;
    STDMETHODIMP put_Silent(long newVal) override;
    STDMETHODIMP TruncateChannels(long ChannelCount, long AutoDestroy) override;
    STDMETHODIMP Lock() override;
    STDMETHODIMP Unlock() override;
    STDMETHODIMP get_ProcessExternalLinks(long* pVal) override;
    STDMETHODIMP put_ProcessExternalLinks(long newVal) override;

private:
    bool Idle() const { return crawl_->Status() == 0; }
    // Calls f for every attached channel; a channel that fails a call is skipped.
    void EachChannel(const std::function<void(TDispatchDriver&)>& f);
    // Sends a channel the protocols, the disabled ones and the masks.
    void SendLists(TDispatchDriver& channel);
    void StopRun();
    void EndThread();
    // Channels from index keep on get StopForceSemafor 1, then Destroy (when
    // autoDestroy) and are released.
    void DropChannels(size_t keep, bool autoDestroy);

    bool created_ = false;
    // Shared with the crawl thread, which keeps it alive as long as it runs.
    std::shared_ptr<SearchCrawl> crawl_;
    std::unique_ptr<EngineThread> thread_;
    std::vector<TDispatchDriver> channels_;  // in attach order
    TCriticalSection clientLock_;            // Lock and Unlock only
    long lockDepth_ = 0;

    long portionSize_ = 512;
    long preloadSize_ = 512;
    long fileMul_ = 10;
    long silent_ = 0;
    long priority_ = 0;
    std::string table_;
};
