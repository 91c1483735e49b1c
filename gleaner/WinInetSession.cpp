#include "WinInetSession.h"

#include <windows.h>
#include <wininet.h>

#include <cstring>
#include <mutex>
#include <string>

#include "EngineSync.h"
#include "InfoAddress.h"

namespace {

const DWORD_PTR kContext = 1;
const size_t kAhead = 256 * 1024;  // bytes read ahead of the document at most
const DWORD kChunk = 64 * 1024;
// Redirects followed for one document at most, as browsers do.
const long kMaxRedirects = 10;

bool StartsWith(const std::string& text, const char* prefix) {
    const size_t n = strlen(prefix);
    return text.size() >= n &&
           CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, text.c_str(), static_cast<int>(n), prefix,
                          static_cast<int>(n)) == CSTR_EQUAL;
}

bool IsHttpUrl(const std::string& url) { return StartsWith(url, "http://") || StartsWith(url, "https://"); }

// A call blocked in WinINet is not interrupted by closing its handle from
// another thread (under Wine it stays blocked until the server sends or a
// time-out comes). So a session opens and reads its documents on a worker
// thread of its own, ahead of the document's reads, and the caller waits
// for the worker only while nothing has arrived: Abort lets the caller go at
// once, and a worker left inside WinINet is not given the next document.
// The two sides meet under a slim lock and condition (kernel events would
// cost a dozen round trips to Wine's server per document).

using Lock = std::unique_lock<EngineMutex>;

// One document: opened by the worker, read ahead into a queue.
struct Transfer {
    bool Aborted() {
        std::lock_guard<EngineMutex> l(m);
        return aborted;
    }
    void Abort() {
        {
            std::lock_guard<EngineMutex> l(m);
            aborted = true;
        }
        changed.NotifyAll();
    }
    // The document side lets go.
    void Close() {
        {
            std::lock_guard<EngineMutex> l(m);
            closed = true;
        }
        changed.NotifyAll();
    }

    EngineMutex m;            // guards the fields below
    EngineCondition changed;  // opened, bytes, the end, a failure, room, closed or aborted
    bool aborted = false;
    bool closed = false;  // the document side let go
    int opened = 0;       // 1 opened, -1 not
    long status = -1;                 // the reply's status (see ReplyStatus)
    std::string queue;
    size_t head = 0;                  // first byte of queue not yet read
    bool ended = false;
    bool failed = false;
};

// The status of a reply: its HTTP status code, 0 when the reply had no
// status line (the server closed or reset the connection at once or after a
// few bytes: WinINet then reports status 0), -1 for addresses that are not HTTP.
long ReplyStatus(HINTERNET h, const std::string& url) {
    if (!IsHttpUrl(url)) return -1;
    DWORD status = 0, len = sizeof status;
    if (!HttpQueryInfoA(h, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &len, nullptr)) return 0;
    return static_cast<long>(status);
}

bool IsRedirect(long status) {
    return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

// A header of the reply, however long; "" when there is none.
std::string ReplyHeader(HINTERNET h, DWORD which) {
    std::string value(256, '\0');
    for (int tries = 0; tries < 2; ++tries) {
        DWORD len = static_cast<DWORD>(value.size());
        if (HttpQueryInfoA(h, which, &value[0], &len, nullptr)) {
            value.resize(len);
            return value;
        }
        if (GetLastError() != ERROR_INSUFFICIENT_BUFFER) break;
        value.assign(len + 1, '\0');  // len: the size needed
    }
    return std::string();
}

// The platform reads each header line of a reply into a buffer of its own
// and drops what does not fit (4,095 bytes under Wine); a redirect whose line
// is that long may name a cut address, which is not opened.
const size_t kHeaderLineBytes = 4095;
const char kLocation[] = "Location: ";

// The full address a redirect names, resolved against where it came from as
// a link on that page would be (the platform's own combining cuts long
// addresses); "" when there is none, or when it is not a web page.
std::string RedirectTarget(HINTERNET h, const std::string& from) {
    const std::string location = ReplyHeader(h, HTTP_QUERY_LOCATION);
    if (location.empty() || sizeof kLocation - 1 + location.size() >= kHeaderLineBytes) return std::string();
    const ProtocolStrings web = {"", "http://", "https://"};
    const InfoAddress base(from, web);
    const InfoAddress link(location, web, &base);
    const std::string full = link.Resolved().FullAddress(web);
    if (!IsHttpUrl(full)) return std::string();
    return full;
}

// A request and, for HTTP, the connection it has to itself.
struct Handles {
    HINTERNET connect = nullptr;
    HINTERNET request = nullptr;
    void Close() {
        if (request) InternetCloseHandle(request);
        if (connect) InternetCloseHandle(connect);
        request = connect = nullptr;
    }
};

void SetTimeouts(HINTERNET h, const WinInetTimeouts& t) {
    DWORD connect = t.ConnectMs, receive = t.ReceiveMs;
    InternetSetOptionA(h, INTERNET_OPTION_CONNECT_TIMEOUT, &connect, sizeof connect);
    InternetSetOptionA(h, INTERNET_OPTION_SEND_TIMEOUT, &receive, sizeof receive);
    InternetSetOptionA(h, INTERNET_OPTION_RECEIVE_TIMEOUT, &receive, sizeof receive);
}

// The session's worker: runs one transfer after another.
class Worker {
public:
    Worker(HINTERNET session, const WinInetTimeouts& timeouts) : session_(session), timeouts_(timeouts) {}

    static std::shared_ptr<Worker> Start(HINTERNET session, const WinInetTimeouts& timeouts) {
        auto w = std::make_shared<Worker>(session, timeouts);
        auto* arg = new std::shared_ptr<Worker>(w);
        HANDLE thread = CreateThread(nullptr, 0, Run, arg, 0, nullptr);
        if (!thread) {
            delete arg;
            return nullptr;
        }
        CloseHandle(thread);
        return w;
    }

    // False while the worker still has a transfer (it may be stuck in it).
    bool Post(std::shared_ptr<Transfer> t, const std::string& address, DWORD flags) {
        bool idle;
        {
            std::lock_guard<EngineMutex> l(m_);
            idle = !job_ && !quit_;
            if (idle) {
                job_ = std::move(t);
                address_ = address;
                flags_ = flags;
                posted_ = true;
            }
        }
        if (idle) changed_.NotifyAll();
        return idle;
    }

    // Waits up to ms for the worker to finish its transfer.
    void WaitIdle(DWORD ms) {
        Lock l(m_);
        changed_.WaitFor(l, static_cast<long>(ms), [this] { return !job_; });
    }

    void Quit() {
        {
            std::lock_guard<EngineMutex> l(m_);
            quit_ = true;
        }
        changed_.NotifyAll();
    }

private:
    static DWORD WINAPI Run(LPVOID arg) {
        std::unique_ptr<std::shared_ptr<Worker>> self(static_cast<std::shared_ptr<Worker>*>(arg));
        try {
            (*self)->Loop();
        } catch (...) {
            // nothing may leave a thread procedure
        }
        return 0;
    }

    void Loop() {
        for (;;) {
            std::shared_ptr<Transfer> t;
            std::string address;
            DWORD flags;
            {
                Lock l(m_);
                changed_.Wait(l, [this] { return quit_ || posted_; });
                if (quit_) return;
                posted_ = false;
                t = job_;
                address = address_;
                flags = flags_;
            }
            Guarded(*t, address, flags);
            t.reset();
            {
                std::lock_guard<EngineMutex> l(m_);
                job_.reset();
            }
            changed_.NotifyAll();
        }
    }

    // Nothing a transfer throws (memory running out) may end the thread: the
    // transfer fails instead.
    void Guarded(Transfer& t, const std::string& address, DWORD flags) {
        try {
            Carry(t, address, flags);
        } catch (...) {
            {
                std::lock_guard<EngineMutex> l(t.m);
                if (t.opened == 0) t.opened = -1;
                t.failed = true;
            }
            t.changed.NotifyAll();
        }
    }

    // Opens the address, following at most kMaxRedirects redirects (WinINet
    // alone follows them without end), and stops for good once aborted.
    Handles OpenFollowing(Transfer& t, std::string url, DWORD flags, long& status) {
        for (long hops = 0;; ++hops) {
            if (t.Aborted()) return Handles();
            Handles h = OpenOnce(url, flags);
            if (!h.request) return h;
            status = ReplyStatus(h.request, url);
            if (!IsRedirect(status)) return h;
            std::string next = hops < kMaxRedirects ? RedirectTarget(h.request, url) : std::string();
            h.Close();
            if (next.empty()) return h;
            url = next;
        }
    }

    // One request. HTTP goes through a connection of its own, where the
    // time-outs hold (WinINet hands only the connect time-out down from the
    // session to the requests that InternetOpenUrl makes); other schemes as
    // WinINet opens them.
    Handles OpenOnce(const std::string& url, DWORD flags) {
        Handles h;
        if (!IsHttpUrl(url)) {
            h.request = InternetOpenUrlA(session_, url.c_str(), nullptr, 0, flags, kContext);
            return h;
        }
        // The parts are taken as pointers into the address, so that a path or
        // query of any length reaches the request whole.
        URL_COMPONENTSA uc = {};
        uc.dwStructSize = sizeof uc;
        uc.dwHostNameLength = uc.dwUserNameLength = uc.dwPasswordLength = 1;
        uc.dwUrlPathLength = uc.dwExtraInfoLength = 1;
        if (!InternetCrackUrlA(url.c_str(), static_cast<DWORD>(url.size()), 0, &uc)) return h;
        auto part = [](const char* at, DWORD len) { return at ? std::string(at, len) : std::string(); };
        const std::string host = part(uc.lpszHostName, uc.dwHostNameLength);
        const std::string user = part(uc.lpszUserName, uc.dwUserNameLength);
        const std::string pass = part(uc.lpszPassword, uc.dwPasswordLength);
        h.connect = InternetConnectA(session_, host.c_str(), uc.nPort, user.empty() ? nullptr : user.c_str(),
                                     pass.empty() ? nullptr : pass.c_str(), INTERNET_SERVICE_HTTP, 0, kContext);
        if (!h.connect) return h;
        SetTimeouts(h.connect, timeouts_);
        std::string object = part(uc.lpszUrlPath, uc.dwUrlPathLength) + part(uc.lpszExtraInfo, uc.dwExtraInfoLength);
        if (object.empty()) object = "/";
        DWORD f = flags | INTERNET_FLAG_NO_AUTO_REDIRECT;
        if (uc.nScheme == INTERNET_SCHEME_HTTPS) f |= INTERNET_FLAG_SECURE;
        h.request = HttpOpenRequestA(h.connect, "GET", object.c_str(), nullptr, nullptr, nullptr, f, kContext);
        if (h.request) SetTimeouts(h.request, timeouts_);
        if (!h.request || !HttpSendRequestA(h.request, nullptr, 0, nullptr, 0)) h.Close();
        return h;
    }

    void Carry(Transfer& t, const std::string& address, DWORD flags) {
        long status = -1;
        Handles handles = OpenFollowing(t, address, flags, status);
        HINTERNET h = handles.request;
        {
            std::lock_guard<EngineMutex> l(t.m);
            t.opened = h ? 1 : -1;
            t.status = status;
        }
        t.changed.NotifyAll();
        if (!h) return;
        std::string chunk;
        for (;;) {
            {
                // Waits while the queue is full.
                Lock l(t.m);
                t.changed.Wait(l, [&t] { return t.closed || t.aborted || t.queue.size() - t.head < kAhead; });
                if (t.closed || t.aborted) break;
            }
            // Waits for bytes (or the end); the read then takes what is there.
            DWORD avail = 0, got = 0;
            bool ok = InternetQueryDataAvailable(h, &avail, 0, 0) != FALSE;
            if (ok && avail > 0) {
                chunk.resize(avail < kChunk ? avail : kChunk);
                ok = InternetReadFile(h, &chunk[0], static_cast<DWORD>(chunk.size()), &got) != FALSE;
            }
            const bool more = ok && got > 0;
            {
                std::lock_guard<EngineMutex> l(t.m);
                if (more) t.queue.append(chunk, 0, got);
                else if (ok) t.ended = true;
                else t.failed = true;
            }
            t.changed.NotifyAll();
            if (!more) break;
        }
        handles.Close();
    }

    HINTERNET session_;
    WinInetTimeouts timeouts_;
    EngineMutex m_;            // guards the fields below
    EngineCondition changed_;  // a job posted, a job done, or quit
    bool quit_ = false;
    bool posted_ = false;          // job_ not yet taken up
    std::shared_ptr<Transfer> job_;  // until the worker is done with it
    std::string address_;
    DWORD flags_ = 0;
};

class WinInetConnection : public InternetConnection {
public:
    explicit WinInetConnection(std::shared_ptr<Transfer> t) : t_(std::move(t)) {}
    ~WinInetConnection() override { t_->Close(); }

    long Read(char* buffer, long size) override {
        if (size <= 0) return -1;
        Transfer& t = *t_;
        bool wasFull;
        size_t n;
        {
            Lock l(t.m);
            t.changed.Wait(l, [&t] { return t.aborted || t.queue.size() > t.head || t.failed || t.ended; });
            const size_t have = t.queue.size() - t.head;
            if (have == 0) return t.failed ? -1 : t.ended ? 0 : -1;  // else aborted
            wasFull = have >= kAhead;
            n = have < static_cast<size_t>(size) ? have : static_cast<size_t>(size);
            memcpy(buffer, t.queue.data() + t.head, n);
            t.head += n;
            if (t.head == t.queue.size()) {
                t.queue.clear();
                t.head = 0;
            }
        }
        if (wasFull) t.changed.NotifyAll();
        return static_cast<long>(n);
    }

    void Abort() override { t_->Abort(); }

    long StatusCode() const override {
        std::lock_guard<EngineMutex> l(t_->m);
        return t_->status;
    }

private:
    std::shared_ptr<Transfer> t_;
};

class WinInetSession : public InternetSession {
public:
    WinInetSession(HINTERNET h, const WinInetTimeouts& timeouts) : h_(h), timeouts_(timeouts) {
        InitializeCriticalSection(&cs_);
    }
    ~WinInetSession() override {
        if (worker_) worker_->Quit();
        InternetCloseHandle(h_);
        DeleteCriticalSection(&cs_);
    }

    std::unique_ptr<InternetConnection> OpenUrl(const std::string& address, unsigned long flags) override {
        // Crawled documents are not written into WinINet's cache: that would
        // cost file work on every page and fill the cache with the crawl.
        DWORD f = static_cast<DWORD>(flags) | INTERNET_FLAG_NO_CACHE_WRITE;
        // Passive FTP gets through where the server cannot connect back.
        if (StartsWith(address, "ftp://")) f |= INTERNET_FLAG_PASSIVE;
        auto t = std::make_shared<Transfer>();
        if (!Hand(t, address, f)) return nullptr;
        last_ = t;
        EnterCriticalSection(&cs_);
        opening_ = t;
        LeaveCriticalSection(&cs_);
        bool opened;
        {
            Lock l(t->m);
            t->changed.Wait(l, [&t] { return t->aborted || t->opened != 0; });
            opened = !t->aborted && t->opened == 1;
        }
        EnterCriticalSection(&cs_);
        opening_.reset();
        LeaveCriticalSection(&cs_);
        if (!opened) {
            t->Close();
            return nullptr;
        }
        return std::unique_ptr<InternetConnection>(new WinInetConnection(t));
    }

    void Abort() override {
        EnterCriticalSection(&cs_);
        if (opening_) opening_->Abort();
        LeaveCriticalSection(&cs_);
    }

private:
    // Gives the document to the worker. One about to finish the last
    // document is waited for; one left inside an aborted document (a stalled
    // server, say) is left to it, and a new worker takes this document.
    bool Hand(const std::shared_ptr<Transfer>& t, const std::string& address, DWORD flags) {
        if (worker_ && worker_->Post(t, address, flags)) return true;
        if (worker_ && last_ && !last_->Aborted()) {
            worker_->WaitIdle(1000);
            if (worker_->Post(t, address, flags)) return true;
        }
        if (worker_) worker_->Quit();
        worker_ = Worker::Start(h_, timeouts_);
        return worker_ && worker_->Post(t, address, flags);
    }

    HINTERNET h_;
    WinInetTimeouts timeouts_;
    std::shared_ptr<Worker> worker_;  // used by the opening thread only
    std::shared_ptr<Transfer> last_;
    CRITICAL_SECTION cs_;             // guards opening_
    std::shared_ptr<Transfer> opening_;
};

}  // namespace

std::unique_ptr<InternetSession> MakeWinInetSession(const std::string& agent) {
    return OpenWinInetSession(agent, WinInetTimeouts());
}

std::unique_ptr<InternetSession> OpenWinInetSession(const std::string& agent, const WinInetTimeouts& timeouts) {
    HINTERNET h = InternetOpenA(agent.c_str(), INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0);
    if (!h) return nullptr;
    // A server that accepts and then says nothing cannot hold a channel for ever.
    SetTimeouts(h, timeouts);
    return std::unique_ptr<InternetSession>(new WinInetSession(h, timeouts));
}

void RaiseConnectionLimit(long perServer) {
    for (DWORD option : {static_cast<DWORD>(INTERNET_OPTION_MAX_CONNS_PER_SERVER),
                         static_cast<DWORD>(INTERNET_OPTION_MAX_CONNS_PER_1_0_SERVER)}) {
        DWORD now = 0, len = sizeof now;
        if (InternetQueryOptionA(nullptr, option, &now, &len) && now >= static_cast<DWORD>(perServer)) continue;
        DWORD want = static_cast<DWORD>(perServer);
        InternetSetOptionA(nullptr, option, &want, sizeof want);
    }
}
