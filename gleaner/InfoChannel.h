// The automation object InfoChannel: one download-and-extract worker with
// its task thread, behind the dual interface IInfoChannel. The work itself
// is the engine core's ChannelTask; this object owns the thread that runs it.
#pragma once

#include <atomic>
#include <memory>
#include <mutex>

#include "AgileObject.h"
#include "ChannelTask.h"
#include "EngineThread.h"
#include "Gleaner_h.h"

class InfoChannel : public TAgileObject<IInfoChannel, &IID_IInfoChannel> {
public:
    InfoChannel();
    ~InfoChannel() override;

    STDMETHODIMP Create(long* Result) override;
    STDMETHODIMP Destroy(long* Result) override;
    STDMETHODIMP Suspend() override;
    STDMETHODIMP Resume() override;
    STDMETHODIMP StartTask(BSTR TaskName, BSTR Address, long Type, long* Result) override;
    STDMETHODIMP get_TaskStatus(long* pVal) override;
    STDMETHODIMP get_Error(long* pVal) override;
    STDMETHODIMP get_AutoFresh(long* pVal) override;
    STDMETHODIMP put_AutoFresh(long newVal) override;
    STDMETHODIMP GetResult(BSTR* TaskName, BSTR* PropertyName, BSTR* DependName, BSTR* Value, long* ResultID,
                           long* DependID) override;
    STDMETHODIMP AddMask(BSTR MaskName, BSTR MaskValue, BSTR DependsOn, long Type, long DependType, long Priority,
                         long MaxFound, long CanCompile, long Hidden) override;
    STDMETHODIMP EmptyMasks() override;
    STDMETHODIMP AddProtocol(BSTR Protocol) override;
    STDMETHODIMP EmptyProtocols() override;
    STDMETHODIMP RemoveProtocol(BSTR Protocol) override;
    STDMETHODIMP get_PortionSize(long* pVal) override;
    STDMETHODIMP put_PortionSize(long newVal) override;
    STDMETHODIMP get_PreloadSize(long* pVal) override;
    STDMETHODIMP put_PreloadSize(long newVal) override;
    STDMETHODIMP get_FileMul(long* pVal) override;
    STDMETHODIMP put_FileMul(long newVal) override;
    STDMETHODIMP get_Traffic(long* pVal) override;
    STDMETHODIMP ResetTraffic() override;
    STDMETHODIMP get_HaveInternet(long* pVal) override;
    STDMETHODIMP DisableProtocol(BSTR Protocol) override;
    STDMETHODIMP EnableProtocol(BSTR Protocol) override;
    STDMETHODIMP EnableAllProtocols() override;
    STDMETHODIMP TestProtocol(BSTR Protocol, long* Result) override;
    STDMETHODIMP OrderSuspend() override;
    STDMETHODIMP get_TaskAddress(BSTR* pVal) override;
    STDMETHODIMP get_ThreadPriority(long* pVal) override;
    STDMETHODIMP put_ThreadPriority(long newVal) override;
    STDMETHODIMP Reset() override;
    STDMETHODIMP LoadMetaprocessorTable(BSTR TableAddress, long* Result) override;
    STDMETHODIMP get_DefaultOperator(BSTR* pVal) override;
    STDMETHODIMP put_DefaultOperator(BSTR newVal) override;
    STDMETHODIMP get_DefaultEncoding(BSTR* pVal) override;
    STDMETHODIMP put_DefaultEncoding(BSTR newVal) override;
    STDMETHODIMP get_StopForceSemafor(long* pVal) override;
    STDMETHODIMP put_StopForceSemafor(long newVal) override;
    STDMETHODIMP get_Silent(long* pVal) override;
    STDMETHODIMP put_Silent(long newVal) override;

private:
    void EndThread();

    // Shared with the task thread, which keeps it alive as long as it runs.
    std::shared_ptr<ChannelTask> task_;
    std::mutex threadM_;
    std::unique_ptr<EngineThread> thread_;
    std::atomic<long> priority_{0};
};
