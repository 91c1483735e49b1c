// The work of one channel without its thread: the task and its state, the
// downloader, the document with the masks that search it, the metaprocessor,
// the protocol lists and the queue of findings. Whoever owns it runs RunTask
// on a thread of its own; every other member may be called from any thread.
// No platform headers.
#pragma once

#include <atomic>
#include <deque>
#include <functional>
#include <mutex>
#include <string>

#include "EngineLoop.h"
#include "InfoDocument.h"
#include "InfoDownloader.h"
#include "InfoMask.h"
#include "InfoMetaprocessor.h"
#include "InfoObject.h"
#include "MaskProcessor.h"
#include "ProtocolList.h"

class ChannelTask : public EngineLoop {
public:
    explicit ChannelTask(InternetSessionFactory sessions = {});
    ~ChannelTask();
    ChannelTask(const ChannelTask&) = delete;
    ChannelTask& operator=(const ChannelTask&) = delete;

    // 0 when already created. Sets the defaults and makes the thread state
    // running: the caller starts the thread that runs RunTask.
    long Create();
    // 0 when not created. Asks the task thread to end and ends the document
    // being read, so the thread ends soon.
    long Destroy();
    long IsCreated() const { return object_.IsCreated(); }

    // The task procedure: one pass after another until the exit flag is set,
    // then the task's parts are freed and the object is no longer created.
    void RunTask();
    // One pass (without the suspend wait); tests drive the task with it.
    void Pass();

    long StartTask(const std::string& TaskName, const std::string& Address, long Type);  // 0 while busy
    long TaskStatus() const { return taskStatus_.load(); }  // 0 idle, 1 begin, 2 open, 3 reading, 4 finishing
    std::string TaskAddress() const;
    bool GetResult(InfoResult& r);  // the oldest finding; false when there is none
    void Reset();                   // mask counters 0, queue emptied

    void AddMask(const std::string& MaskName, const std::string& MaskValue, const std::string& DependsOn, long Type,
                 long DependType, long Priority, long MaxFound, long CanCompile, long Hidden);
    void EmptyMasks();
    ProtocolList& Protocols() { return protocols_; }

    long PortionSize() const { return downloader_.PortionSize.load(); }
    void SetPortionSize(long v) { downloader_.PortionSize = v; }
    long PreloadSize() const { return preload_.load(); }
    void SetPreloadSize(long v) { preload_ = v; }
    long FileMul() const { return downloader_.FileMul.load(); }
    void SetFileMul(long v) { downloader_.FileMul = v; }
    long Traffic() const { return downloader_.Traffic(); }
    // The most a document may grow to before its address fails.
    void SetMaxDocumentSize(long long v) { downloader_.MaxDocumentSize = v; }
    void ResetTraffic() { downloader_.ResetTraffic(); }
    long HaveInternet() const { return downloader_.HaveInternet(); }
    long LoadMetaprocessorTable(const std::string& TableAddress);
    std::string DefaultOperator() const;
    void SetDefaultOperator(const std::string& v);
    std::string DefaultEncoding() const;
    void SetDefaultEncoding(const std::string& v);
    long StopForceSemafor() const { return stop_.load(); }
    // 1 also ends a read in progress at once.
    void SetStopForceSemafor(long v);
    long Silent() const { return downloader_.Silent.load(); }
    void SetSilent(long v) { downloader_.Silent = v; }
    long AutoFresh() const { return autoFresh_.load(); }
    void SetAutoFresh(long v) { autoFresh_ = v; }

    // Message boxes of the task (never asked while Silent): text, caption.
    // A box must not hold the task: once stopped() holds (Stop, Destroy) it
    // is given up and the call returns.
    std::function<void(const std::string& text, const std::string& caption, const std::function<bool()>& stopped)>
        OnMessage;

    long IdleInterval = 30;  // ms an idle pass waits for a task

    static const char kConnectStatus[];  // "Connect status"
    static const char kTrue[];           // "true"
    static const char kFalse[];          // "false"
    static const char kDocumentSize[];   // "Document Size"
    static const char kContent[];        // "Content"
    static const char kDefaultFormat[];  // "HTML"
    static const char kDefaultEncoding[];  // "default"

private:
    void AddResult(const std::string& PropertyName, const std::string& DependName, const std::string& Value,
                   long ResultID, long DependID);
    void Queue(const InfoResult& r);
    void BeginTask();
    void OpenTask();
    void ReadTask();
    void FinishTask();
    void FailTask(long status);
    void EndTask();  // TaskStatus 0, and the crawl hears of it
    void Finish();
    void SelectDefaults();
    bool Stopping() const { return stop_.load() || ExitRequested(); }

    InfoObject object_;
    InfoDownloader downloader_;
    InfoDocument document_;
    InfoMetaprocessor meta_;
    MaskProcessor masks_;
    ProtocolList protocols_;

    // The task thread holds work_ for each step of a task; members that
    // change what a step uses (masks, sizes, the table) take it too.
    mutable std::mutex work_;
    long taskType_ = 0;

    std::mutex queueM_;
    std::deque<InfoResult> queue_;

    mutable std::mutex textM_;
    std::string taskName_;
    std::string taskAddress_;
    std::string defaultOperator_;
    std::string defaultEncoding_;

    std::atomic<long> taskStatus_{0};
    std::atomic<long> stop_{0};
    std::atomic<long> preload_{0};
    std::atomic<long> autoFresh_{1};
};
