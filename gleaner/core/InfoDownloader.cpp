#include "InfoDownloader.h"

#include <chrono>
#include <cstdio>
#include <new>
#include <thread>

const char* const InfoDownloader::kAgent = "My Session";

namespace {

const char kOutOfMemory[] = "Out of memory";
const char kThreadError[] = "Thread error";
const long kMinPortion = 32;
const long long kMaxPortion = 64LL * 1024 * 1024;

// A local file read in text mode: CR LF arrives as LF, on every platform.
class LocalFile : public InternetConnection {
public:
    explicit LocalFile(FILE* f) : f_(f) {}
    ~LocalFile() override { fclose(f_); }

    long Read(char* buffer, long size) override {
        size_t n = fread(buffer, 1, static_cast<size_t>(size), f_);
        if (n == 0) return ferror(f_) ? -1 : 0;
        size_t out = 0;
        for (size_t i = 0; i < n; ++i) {
            if (buffer[i] == '\r') {
                if (i + 1 < n) {
                    if (buffer[i + 1] == '\n') continue;
                } else {
                    int next = fgetc(f_);
                    if (next == '\n') {
                        buffer[out++] = '\n';
                        break;
                    }
                    if (next != EOF) ungetc(next, f_);
                }
            }
            buffer[out++] = buffer[i];
        }
        return static_cast<long>(out);
    }

private:
    FILE* f_;
};

}  // namespace

InfoDownloader::InfoDownloader(InternetSessionFactory sessionFactory) : factory_(std::move(sessionFactory)) {}

InfoDownloader::~InfoDownloader() { Destroy(); }

long InfoDownloader::Create(ProtocolList* protocols) {
    if (!InfoObject::Create()) return 0;
    protocols_ = protocols;
    PortionSize = 1024;
    FileMul = 1;
    Enabled = 1;
    complete_ = 0;
    traffic_ = 0;
    {
        std::lock_guard<std::mutex> c(connM_);
        session_ = factory_ ? factory_(kAgent) : nullptr;
    }
    internet_ = session_ ? 1 : 0;
    return 1;
}

long InfoDownloader::Destroy() {
    if (!IsCreated()) return 0;
    {
        std::lock_guard<std::mutex> l(m_);
        CloseLocked();
        std::lock_guard<std::mutex> c(connM_);
        session_.reset();
        internet_ = 0;
    }
    return InfoObject::Destroy();
}

long InfoDownloader::TestProtocol(long index) const { return (!protocols_ || protocols_->IsEnabled(index)) ? 1 : 0; }

long InfoDownloader::OpenAddress(const InfoAddress& address) {
    std::lock_guard<std::mutex> l(m_);
    if (conn_ || !Enabled) return 0;
    aborted_ = false;
    failed_ = 0;
    ProtocolStrings list = Protocols();
    InfoAddress a = address.Resolved();
    openIndex_ = a.ProtocolIndex() < 0 ? 0 : a.ProtocolIndex();
    complete_ = 0;
    if (!TestProtocol(openIndex_)) {
        openIndex_ = 0;
        return 0;
    }
    std::string full = a.FullAddress(list);
    if (full.empty()) {
        openIndex_ = 0;
        return 0;
    }
    // Keyed on the protocol itself, not on where it stands in the list.
    local_ = IsLocalAddress(a, list);
    if (local_ && !LocalAllowed(a, list)) {
        openIndex_ = 0;
        return 0;
    }
    if (local_) {
        FILE* f = fopen(a.Path().c_str(), "rb");
        if (!f) {
            openIndex_ = 0;
            return 0;
        }
        std::lock_guard<std::mutex> c(connM_);
        conn_.reset(new LocalFile(f));
    } else if (session_) {
        std::unique_ptr<InternetConnection> opened;
        try {
            opened = session_->OpenUrl(full, OpenFlags);
        } catch (...) {
            opened.reset();
        }
        // A reply without a status line, or an error page, is not the document.
        const long status = opened ? opened->StatusCode() : 0;
        if (!opened || aborted_ || status == 0 || status >= 400) {
            openIndex_ = 0;
            return 0;
        }
        std::lock_guard<std::mutex> c(connM_);
        conn_ = std::move(opened);
    } else {
        openIndex_ = 0;
        return 0;
    }
    open_ = true;
    return 1;
}

// A local address opens only as a listed "file:" protocol or as a plain path,
// and a plain path only while no listed "file:" protocol is disabled. Other
// spellings of the file scheme are never handed to anyone.
bool InfoDownloader::LocalAllowed(const InfoAddress& a, const ProtocolStrings& list) const {
    if (a.ProtocolIndex() > 0) return true;
    if (SchemeLength(a.Path()) > 0) return false;
    for (size_t i = 1; i < list.size(); ++i)
        if (IsFileScheme(list[i]) && !TestProtocol(static_cast<long>(i))) return false;
    return true;
}

bool InfoDownloader::Ask(const char* text, const char* caption, bool retryCancel) {
    if (Silent || !OnMessage) return false;
    return OnMessage(text, caption, retryCancel);
}

bool InfoDownloader::Grow(std::string& buffer, size_t by) {
    size_t want = buffer.size() + by;
    // Past the most a document may reach it cannot grow, as when memory runs out.
    if (want > static_cast<size_t>(MaxDocumentSize.load())) {
        Ask(kOutOfMemory, kThreadError, false);
        return false;
    }
    if (buffer.empty()) {
        // A first buffer gets one more try after a pause, then as many as the user asks for.
        try {
            buffer.resize(want);
            return true;
        } catch (const std::bad_alloc&) {
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(500));
        for (;;) {
            try {
                buffer.resize(want);
                return true;
            } catch (const std::bad_alloc&) {
            }
            if (!Ask(kOutOfMemory, kThreadError, true)) return false;
        }
    }
    try {
        buffer.resize(want);
        return true;
    } catch (const std::bad_alloc&) {
        Ask(kOutOfMemory, kThreadError, false);
        return false;
    }
}

long InfoDownloader::ReadPortion(std::string& buffer) {
    std::lock_guard<std::mutex> l(m_);
    if (!Enabled || !conn_ || aborted_) return 0;
    if (!local_ && !internet_) return 0;
    long long size = PortionSize.load();
    if (local_) size *= FileMul.load();
    if (size <= 0) size = kMinPortion;
    if (size > kMaxPortion) size = kMaxPortion;

    // A document that cannot grow fails: it is not a whole document.
    size_t old = buffer.size();
    if (!Grow(buffer, static_cast<size_t>(size))) {
        buffer.resize(old);
        failed_ = 1;
        CloseLocked();
        return 0;
    }
    try {
        return ReadInto(buffer, old, size);
    } catch (...) {
        buffer.resize(old);
        failed_ = 1;
        CloseLocked();
        throw;
    }
}

long InfoDownloader::ReadInto(std::string& buffer, size_t old, long long size) {
    // A short read is not the end: only a read of 0 bytes (or an error) is.
    // One byte is read ahead, so the end is known with the last portion and
    // the matcher sees that portion as the complete text.
    long long got = 0;
    if (havePending_) {
        buffer[old] = pending_;
        havePending_ = false;
        got = 1;
    }
    while (got < size && !complete_) {
        long n = ReadSome(&buffer[old + static_cast<size_t>(got)], static_cast<long>(size - got));
        if (n <= 0) complete_ = 1;
        else got += n;
    }
    if (got == size && !complete_) {
        if (ReadSome(&pending_, 1) == 1) havePending_ = true;
        else complete_ = 1;
    }
    buffer.resize(old + static_cast<size_t>(got));
    traffic_ += static_cast<long>(got);
    return static_cast<long>(got);
}

// A read error ends the document; running out of memory is the task's to handle.
long InfoDownloader::ReadSome(char* to, long size) {
    try {
        return conn_->Read(to, size);
    } catch (const std::bad_alloc&) {
        throw;
    } catch (...) {
        return -1;
    }
}

long InfoDownloader::CloseLocked() {
    open_ = false;
    havePending_ = false;
    if (!conn_) {
        openIndex_ = 0;
        return 0;
    }
    try {
        std::lock_guard<std::mutex> c(connM_);
        conn_.reset();
    } catch (...) {
    }
    openIndex_ = 0;
    return 1;
}

void InfoDownloader::Abort() {
    aborted_ = true;
    std::lock_guard<std::mutex> c(connM_);
    if (conn_) conn_->Abort();
    if (session_) session_->Abort();
}

long InfoDownloader::Close() {
    std::lock_guard<std::mutex> l(m_);
    return CloseLocked();
}

std::string InfoDownloader::Resolve(const std::string& link, const std::string& base, const ProtocolStrings& protocols) {
    InfoAddress b(base, protocols);
    InfoAddress a(link, protocols, &b);
    return a.Resolved().FullAddress(protocols);
}
