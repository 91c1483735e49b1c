#include "InfoChannel.h"

#include "ComStrings.h"
#include "EngineMessages.h"
#include "WinInetSession.h"

namespace {
// How long Destroy and the last release wait for the task thread: it ends
// at its next pass once the read in progress is cut off.
const DWORD kJoinMs = 30000;
}  // namespace

InfoChannel::InfoChannel() : task_(std::make_shared<ChannelTask>(MakeWinInetSession)) {
    task_->OnMessage = [](const std::string& text, const std::string& caption, const std::function<bool()>& stopped) {
        ShowEngineMessageUntil(text, caption, stopped);
    };
}

InfoChannel::~InfoChannel() { EndThread(); }

void InfoChannel::EndThread() {
    std::unique_ptr<EngineThread> t;
    {
        std::lock_guard<std::mutex> l(threadM_);
        task_->Destroy();
        t = std::move(thread_);
    }
    if (t) t->Join(kJoinMs);
}

STDMETHODIMP InfoChannel::Create(long* Result) {
    return OutValue(Result, [&]() -> long {
        std::lock_guard<std::mutex> l(threadM_);
        if (thread_ && !thread_->Ended()) return 0;  // still ending after a Destroy
        if (!task_->Create()) return 0;
        std::shared_ptr<ChannelTask> task = task_;
        std::unique_ptr<EngineThread> t = StartEngineThread([task] { task->RunTask(); }, false, task_->Silent() != 0);
        if (!t) {
            task_->Destroy();
            task_->RunTask();  // no thread: end at once, the object not created
            return 0;
        }
        t->SetPriority(priority_);
        thread_ = std::move(t);
        return 1;
    });
}

STDMETHODIMP InfoChannel::Destroy(long* Result) {
    return OutValue(Result, [&]() -> long {
        if (!task_->IsCreated()) return 0;
        EndThread();
        return 1;
    });
}

STDMETHODIMP InfoChannel::Suspend() {
    return Effect([&] { Park(*task_); });
}

STDMETHODIMP InfoChannel::Resume() {
    return Effect([&] { task_->Resume(); });
}

STDMETHODIMP InfoChannel::StartTask(BSTR TaskName, BSTR Address, long Type, long* Result) {
    return OutValue(Result, [&] { return task_->StartTask(Ansi(TaskName), Ansi(Address), Type); });
}

STDMETHODIMP InfoChannel::get_TaskStatus(long* pVal) {
    return OutValue(pVal, [&] { return task_->TaskStatus(); });
}

STDMETHODIMP InfoChannel::get_Error(long* pVal) {
    return OutValue(pVal, [] { return 0L; });
}

STDMETHODIMP InfoChannel::get_AutoFresh(long* pVal) {
    return OutValue(pVal, [&] { return task_->AutoFresh(); });
}

STDMETHODIMP InfoChannel::put_AutoFresh(long newVal) {
    return Effect([&] { task_->SetAutoFresh(newVal); });
}

STDMETHODIMP InfoChannel::GetResult(BSTR* TaskName, BSTR* PropertyName, BSTR* DependName, BSTR* Value,
                                    long* ResultID, long* DependID) {
    if (!TaskName || !PropertyName || !DependName || !Value || !ResultID || !DependID) return E_POINTER;
    *TaskName = *PropertyName = *DependName = *Value = nullptr;
    *ResultID = *DependID = -1;
    return ComGuard([&] {
        InfoResult r;
        if (!task_->GetResult(r)) return S_OK;
        WideString task = WideString::FromAnsi(r.TaskName), name = WideString::FromAnsi(r.PropertyName),
                   depend = WideString::FromAnsi(r.DependName), value = WideString::FromAnsi(r.Value);
        *TaskName = task.Detach();
        *PropertyName = name.Detach();
        *DependName = depend.Detach();
        *Value = value.Detach();
        *ResultID = r.ResultID;
        *DependID = r.DependID;
        return S_OK;
    });
}

STDMETHODIMP InfoChannel::AddMask(BSTR MaskName, BSTR MaskValue, BSTR DependsOn, long Type, long DependType,
                                  long Priority, long MaxFound, long CanCompile, long Hidden) {
    return Effect([&] {
        task_->AddMask(Ansi(MaskName), Ansi(MaskValue), Ansi(DependsOn), Type, DependType, Priority, MaxFound,
                       CanCompile, Hidden);
    });
}

STDMETHODIMP InfoChannel::EmptyMasks() {
    return Effect([&] { task_->EmptyMasks(); });
}

STDMETHODIMP InfoChannel::AddProtocol(BSTR Protocol) {
    return Effect([&] { task_->Protocols().AddProtocol(Ansi(Protocol)); });
}

STDMETHODIMP InfoChannel::EmptyProtocols() {
    return Effect([&] { task_->Protocols().EmptyProtocols(); });
}

STDMETHODIMP InfoChannel::RemoveProtocol(BSTR Protocol) {
    return Effect([&] { task_->Protocols().RemoveProtocol(Ansi(Protocol)); });
}

STDMETHODIMP InfoChannel::get_PortionSize(long* pVal) {
    return OutValue(pVal, [&] { return task_->PortionSize(); });
}

STDMETHODIMP InfoChannel::put_PortionSize(long newVal) {
    return Effect([&] { task_->SetPortionSize(newVal); });
}

STDMETHODIMP InfoChannel::get_PreloadSize(long* pVal) {
    return OutValue(pVal, [&] { return task_->PreloadSize(); });
}

STDMETHODIMP InfoChannel::put_PreloadSize(long newVal) {
    return Effect([&] { task_->SetPreloadSize(newVal); });
}

STDMETHODIMP InfoChannel::get_FileMul(long* pVal) {
    return OutValue(pVal, [&] { return task_->FileMul(); });
}

STDMETHODIMP InfoChannel::put_FileMul(long newVal) {
    return Effect([&] { task_->SetFileMul(newVal); });
}

STDMETHODIMP InfoChannel::get_Traffic(long* pVal) {
    return OutValue(pVal, [&] { return task_->Traffic(); });
}

STDMETHODIMP InfoChannel::ResetTraffic() {
    return Effect([&] { task_->ResetTraffic(); });
}

STDMETHODIMP InfoChannel::get_HaveInternet(long* pVal) {
    return OutValue(pVal, [&] { return task_->HaveInternet(); });
}

STDMETHODIMP InfoChannel::DisableProtocol(BSTR Protocol) {
    return Effect([&] { task_->Protocols().DisableProtocol(Ansi(Protocol)); });
}

STDMETHODIMP InfoChannel::EnableProtocol(BSTR Protocol) {
    return Effect([&] { task_->Protocols().EnableProtocol(Ansi(Protocol)); });
}

STDMETHODIMP InfoChannel::EnableAllProtocols() {
    return Effect([&] { task_->Protocols().EnableAllProtocols(); });
}

STDMETHODIMP InfoChannel::TestProtocol(BSTR Protocol, long* Result) {
    return OutValue(Result, [&] { return task_->Protocols().TestProtocol(Ansi(Protocol)); });
}

STDMETHODIMP InfoChannel::OrderSuspend() {
    return Effect([&] { task_->OrderSuspend(); });
}

STDMETHODIMP InfoChannel::get_TaskAddress(BSTR* pVal) {
    return OutValue(pVal, [&] { return AnsiBstr(task_->TaskAddress()); });
}

STDMETHODIMP InfoChannel::get_ThreadPriority(long* pVal) {
    return OutValue(pVal, [&] { return priority_.load(); });
}

STDMETHODIMP InfoChannel::put_ThreadPriority(long newVal) {
    return Effect([&] {
        std::lock_guard<std::mutex> l(threadM_);
        if (!thread_) return;
        priority_ = newVal;
        thread_->SetPriority(newVal);
    });
}

STDMETHODIMP InfoChannel::Reset() {
    return Effect([&] { task_->Reset(); });
}

STDMETHODIMP InfoChannel::LoadMetaprocessorTable(BSTR TableAddress, long* Result) {
    return OutValue(Result, [&] { return task_->LoadMetaprocessorTable(Ansi(TableAddress)); });
}

STDMETHODIMP InfoChannel::get_DefaultOperator(BSTR* pVal) {
    return OutValue(pVal, [&] { return AnsiBstr(task_->DefaultOperator()); });
}

STDMETHODIMP InfoChannel::put_DefaultOperator(BSTR newVal) {
    return Effect([&] { task_->SetDefaultOperator(Ansi(newVal)); });
}

STDMETHODIMP InfoChannel::get_DefaultEncoding(BSTR* pVal) {
    return OutValue(pVal, [&] { return AnsiBstr(task_->DefaultEncoding()); });
}

STDMETHODIMP InfoChannel::put_DefaultEncoding(BSTR newVal) {
    return Effect([&] { task_->SetDefaultEncoding(Ansi(newVal)); });
}

STDMETHODIMP InfoChannel::get_StopForceSemafor(long* pVal) {
    return OutValue(pVal, [&] { return task_->StopForceSemafor(); });
}

STDMETHODIMP InfoChannel::put_StopForceSemafor(long newVal) {
    return Effect([&] { task_->SetStopForceSemafor(newVal); });
}

STDMETHODIMP InfoChannel::get_Silent(long* pVal) {
    return OutValue(pVal, [&] { return task_->Silent(); });
}

STDMETHODIMP InfoChannel::put_Silent(long newVal) {
    return Effect([&] { task_->SetSilent(newVal); });
}
