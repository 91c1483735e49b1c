#include "ChannelTask.h"

#include "ChannelSignal.h"

const char ChannelTask::kConnectStatus[] = "Connect status";
const char ChannelTask::kTrue[] = "true";
const char ChannelTask::kFalse[] = "false";
const char ChannelTask::kDocumentSize[] = "Document Size";
const char ChannelTask::kContent[] = "Content";
const char ChannelTask::kDefaultFormat[] = "HTML";
const char ChannelTask::kDefaultEncoding[] = "default";

namespace {
const char kCanNotCreate[] = "Can not create object";
const char kError[] = "Error";
}  // namespace

ChannelTask::ChannelTask(InternetSessionFactory sessions) : downloader_(std::move(sessions)) {
    masks_.Metaprocessor = &meta_;
    masks_.Protocols = &protocols_;
    masks_.OnResult = [this](const InfoResult& r) { Queue(r); };
}

ChannelTask::~ChannelTask() = default;

long ChannelTask::Create() {
    if (!object_.Create()) return 0;
    {
        std::lock_guard<std::mutex> w(work_);
        meta_.Create();
        protocols_.EmptyProtocols();
        protocols_.EnableAllProtocols();
        protocols_.AddProtocol("");
        if (!downloader_.Create(&protocols_)) {
            object_.Destroy();
            return 0;
        }
        downloader_.OnMessage = [this](const std::string& text, const std::string& caption, bool retryCancel) {
            // Retry/Cancel questions are answered Cancel: the owner shows plain boxes only.
            if (OnMessage && !Silent()) OnMessage(text, caption, [this] { return Stopping(); });
            return retryCancel ? false : true;
        };
        taskType_ = 0;
    }
    {
        std::lock_guard<std::mutex> n(textM_);
        taskAddress_.clear();
        taskName_.clear();
        defaultOperator_ = kDefaultFormat;
        defaultEncoding_ = kDefaultEncoding;
    }
    SelectDefaults();
    taskStatus_ = 0;
    stop_ = 0;
    preload_ = 0;
    autoFresh_ = 1;
    Arm();
    return 1;
}

long ChannelTask::Destroy() {
    if (!object_.IsCreated()) return 0;
    RequestExit();
    downloader_.Abort();
    return 1;
}

void ChannelTask::SelectDefaults() {
    meta_.SetDefaultFormatName(DefaultOperator());
    meta_.SetDefaultEncodingName(DefaultEncoding());
    meta_.SelectFormat(meta_.DefaultFormatName());
    meta_.SelectEncoding(meta_.DefaultEncodingName());
}

// ---- the task thread ----

void ChannelTask::RunTask() {
    Run([this] { Pass(); }, [this] { Finish(); });
}

void ChannelTask::Pass() {
    const long status = taskStatus_.load();
    // What a step throws (memory running out on a huge page) fails that
    // address; the channel stays idle and serving.
    try {
        switch (status) {
        case 0:
            Idle(IdleInterval, [this] { return taskStatus_.load() != 0; });
            break;
        case 1:
            BeginTask();
            break;
        case 2:
            OpenTask();
            break;
        case 3:
            ReadTask();
            break;
        default:
            FinishTask();
            break;
        }
    } catch (...) {
        FailTask(status);
    }
}

// Ends the task without a "Document Size": what was found until then stays
// queued; an address that never opened says so.
void ChannelTask::FailTask(long status) {
    try {
        std::lock_guard<std::mutex> w(work_);
        document_.Close();
        if (document_.IsCreated()) document_.End();
    } catch (...) {
    }
    try {
        if (status <= 2) AddResult(kConnectStatus, "", kFalse, 0, -1);
    } catch (...) {
    }
    EndTask();
}

void ChannelTask::BeginTask() {
    bool ok;
    {
        std::lock_guard<std::mutex> w(work_);
        InfoAddress parts(TaskAddress(), protocols_.Entries());
        ok = document_.Begin(parts) != 0;
        document_.StopFlag = stop_.load();
    }
    if (ok) {
        taskStatus_ = 2;
        return;
    }
    if (OnMessage && !Silent()) OnMessage(kCanNotCreate, kError, [this] { return Stopping(); });
    EndTask();
}

void ChannelTask::OpenTask() {
    std::unique_lock<std::mutex> w(work_);
    if (document_.Open(downloader_)) {
        w.unlock();
        AddResult(kConnectStatus, "", kTrue, 0, -1);
        taskStatus_ = 3;
        return;
    }
    document_.End();
    w.unlock();
    AddResult(kConnectStatus, "", kFalse, 0, -1);
    EndTask();
}

void ChannelTask::ReadTask() {
    std::unique_lock<std::mutex> w(work_);
    const bool extract = taskType_ == 1;
    long got = Stopping() ? 0 : document_.Read();
    masks_.PreloadSize = preload_.load();
    if (got >= 1) {
        if (extract) masks_.ProcessMasks(document_);
        return;
    }
    if (downloader_.Failed() && !Stopping()) {
        w.unlock();
        FailTask(3);
        return;
    }
    // The text is complete: masks that waited for more text near its end
    // get one more run over it.
    if (extract && !Stopping()) masks_.ProcessMasks(document_);
    taskStatus_ = 4;
}

void ChannelTask::FinishTask() {
    std::string content;
    size_t length;
    {
        std::lock_guard<std::mutex> w(work_);
        length = document_.Length();
        document_.Close();
        if (autoFresh_.load() == 0) content = document_.WholeText();
        document_.End();
    }
    AddResult(kDocumentSize, "", std::to_string(length), 0, -1);
    if (autoFresh_.load() == 0) AddResult(kContent, "", content, 0, -1);
    EndTask();
}

void ChannelTask::Finish() {
    {
        std::lock_guard<std::mutex> w(work_);
        meta_.EmptyTables();
        meta_.Destroy();
        downloader_.Destroy();
        if (document_.IsCreated()) document_.End();
    }
    object_.Destroy();
}

// ---- findings ----

void ChannelTask::AddResult(const std::string& PropertyName, const std::string& DependName, const std::string& Value,
                            long ResultID, long DependID) {
    InfoResult r;
    {
        std::lock_guard<std::mutex> n(textM_);
        r.TaskName = taskName_;
    }
    r.PropertyName = PropertyName;
    r.DependName = DependName;
    r.Value = Value;
    r.ResultID = ResultID;
    r.DependID = DependID;
    Queue(r);
}

void ChannelTask::Queue(const InfoResult& r) {
    if (stop_.load()) return;
    {
        std::lock_guard<std::mutex> q(queueM_);
        queue_.push_back(r);
    }
    // The crawl thread hears only of ended tasks: it drains every channel's
    // findings then, and a wake-up for each finding would cost it a pass.
}

void ChannelTask::EndTask() {
    taskStatus_ = 0;
    ChannelSignal::Notify();
}

bool ChannelTask::GetResult(InfoResult& r) {
    std::lock_guard<std::mutex> q(queueM_);
    if (queue_.empty()) return false;
    r = std::move(queue_.front());
    queue_.pop_front();
    return true;
}

// ---- members for the owner's callers ----

long ChannelTask::StartTask(const std::string& TaskName, const std::string& Address, long Type) {
    if (taskStatus_.load() != 0) return 0;
    {
        std::lock_guard<std::mutex> w(work_);
        if (taskStatus_.load() != 0) return 0;
        masks_.ResetMasks();
        taskType_ = Type;
        {
            std::lock_guard<std::mutex> n(textM_);
            taskAddress_ = Address;
            taskName_ = TaskName;
        }
        masks_.TaskName = TaskName;
        Wake([this] { taskStatus_ = 1; });
    }
    return 1;
}

std::string ChannelTask::TaskAddress() const {
    std::lock_guard<std::mutex> n(textM_);
    return taskAddress_;
}

void ChannelTask::Reset() {
    {
        std::lock_guard<std::mutex> w(work_);
        masks_.ResetMasks();
    }
    std::lock_guard<std::mutex> q(queueM_);
    queue_.clear();
}

void ChannelTask::AddMask(const std::string& MaskName, const std::string& MaskValue, const std::string& DependsOn,
                          long Type, long DependType, long Priority, long MaxFound, long CanCompile, long Hidden) {
    std::lock_guard<std::mutex> w(work_);
    masks_.AddMask(MaskName, MaskValue, DependsOn, Type, DependType, Priority, MaxFound, CanCompile, Hidden);
}

void ChannelTask::EmptyMasks() {
    std::lock_guard<std::mutex> w(work_);
    masks_.EmptyMasks();
}

long ChannelTask::LoadMetaprocessorTable(const std::string& TableAddress) {
    std::lock_guard<std::mutex> w(work_);
    if (downloader_.IsOpen()) return 0;
    long result = 1;
    meta_.EmptyTables();
    if (!TableAddress.empty()) {
        ProtocolStrings list = protocols_.Entries();
        std::string full = InfoAddress(TableAddress, list).FullAddress(list);
        result = meta_.ParseMetaprocessorTable(full, downloader_);
    }
    SelectDefaults();
    return result;
}

std::string ChannelTask::DefaultOperator() const {
    std::lock_guard<std::mutex> n(textM_);
    return defaultOperator_;
}

void ChannelTask::SetDefaultOperator(const std::string& v) {
    {
        std::lock_guard<std::mutex> n(textM_);
        defaultOperator_ = v;
    }
    meta_.SetDefaultFormatName(v);
}

std::string ChannelTask::DefaultEncoding() const {
    std::lock_guard<std::mutex> n(textM_);
    return defaultEncoding_;
}

void ChannelTask::SetDefaultEncoding(const std::string& v) {
    {
        std::lock_guard<std::mutex> n(textM_);
        defaultEncoding_ = v;
    }
    meta_.SetDefaultEncodingName(v);
}

void ChannelTask::SetStopForceSemafor(long v) {
    stop_ = v;
    document_.StopFlag = v;
    if (v) downloader_.Abort();
}
