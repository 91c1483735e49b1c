#include "WinInetSession.h"

#include <windows.h>
#include <wininet.h>

#include <atomic>
#include <cstring>
#include <vector>

namespace {

const DWORD_PTR kContext = 1;

// A read blocked in WinINet is not interrupted by closing its handle from
// another thread (under Wine it stays blocked until the server sends or the
// time-out comes). So each connection reads on a thread of its own, and
// Abort lets the reader go at once; the thread closes the handle when its
// read returns.
struct ReadState {
    explicit ReadState(HINTERNET handle) : h(handle) {}
    ~ReadState() {
        InternetCloseHandle(h);
        for (HANDLE e : {wake, done, abort})
            if (e) CloseHandle(e);
    }
    bool Ready() const { return wake && done && abort; }

    HINTERNET h;
    HANDLE wake = CreateEventA(nullptr, FALSE, FALSE, nullptr);  // a read asked for, or the end
    HANDLE done = CreateEventA(nullptr, FALSE, FALSE, nullptr);  // the read asked for returned
    HANDLE abort = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    std::vector<char> buffer;
    DWORD got = 0;
    BOOL ok = FALSE;
    std::atomic<bool> closing{false};
};

DWORD WINAPI ReaderThread(LPVOID arg) {
    std::unique_ptr<std::shared_ptr<ReadState>> hold(static_cast<std::shared_ptr<ReadState>*>(arg));
    ReadState& s = **hold;
    for (;;) {
        WaitForSingleObject(s.wake, INFINITE);
        if (s.closing) break;
        s.got = 0;
        s.ok = InternetReadFile(s.h, s.buffer.data(), static_cast<DWORD>(s.buffer.size()), &s.got);
        SetEvent(s.done);
    }
    return 0;
}

class WinInetConnection : public InternetConnection {
public:
    // Takes h over; nullptr when the reader cannot be started (h closed).
    static std::unique_ptr<InternetConnection> Make(HINTERNET h) {
        auto state = std::make_shared<ReadState>(h);
        if (!state->Ready()) return nullptr;
        auto* arg = new std::shared_ptr<ReadState>(state);
        HANDLE thread = CreateThread(nullptr, 0, ReaderThread, arg, 0, nullptr);
        if (!thread) {
            delete arg;
            return nullptr;
        }
        CloseHandle(thread);
        return std::unique_ptr<InternetConnection>(new WinInetConnection(std::move(state)));
    }

    ~WinInetConnection() override {
        s_->closing = true;
        SetEvent(s_->wake);
    }

    long Read(char* buffer, long size) override {
        if (aborted_ || size <= 0) return -1;
        s_->buffer.resize(static_cast<size_t>(size));
        SetEvent(s_->wake);
        HANDLE events[2] = {s_->done, s_->abort};
        if (WaitForMultipleObjects(2, events, FALSE, INFINITE) != WAIT_OBJECT_0) {
            aborted_ = true;  // the reader may still be inside its read: no more requests
            return -1;
        }
        if (!s_->ok) return -1;
        memcpy(buffer, s_->buffer.data(), s_->got);
        return static_cast<long>(s_->got);
    }

    void Abort() override { SetEvent(s_->abort); }

private:
    explicit WinInetConnection(std::shared_ptr<ReadState> s) : s_(std::move(s)) {}

    std::shared_ptr<ReadState> s_;
    bool aborted_ = false;
};

class WinInetSession : public InternetSession {
public:
    explicit WinInetSession(HINTERNET h) : h_(h) {}
    ~WinInetSession() override { InternetCloseHandle(h_); }

    std::unique_ptr<InternetConnection> OpenUrl(const std::string& address, unsigned long flags) override {
        DWORD f = static_cast<DWORD>(flags);
        // Passive FTP gets through where the server cannot connect back.
        if (address.size() >= 6 && CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, address.c_str(), 6, "ftp://", 6) == CSTR_EQUAL)
            f |= INTERNET_FLAG_PASSIVE;
        HINTERNET h = InternetOpenUrlA(h_, address.c_str(), nullptr, 0, f, kContext);
        if (!h) return nullptr;
        // An HTTP error page is not the document that was asked for.
        DWORD status = 0, len = sizeof status;
        if (HttpQueryInfoA(h, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &len, nullptr) &&
            status >= 400) {
            InternetCloseHandle(h);
            return nullptr;
        }
        return WinInetConnection::Make(h);
    }

private:
    HINTERNET h_;
};

}  // namespace

std::unique_ptr<InternetSession> MakeWinInetSession(const std::string& agent) {
    HINTERNET h = InternetOpenA(agent.c_str(), INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0);
    if (!h) return nullptr;
    return std::unique_ptr<InternetSession>(new WinInetSession(h));
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
