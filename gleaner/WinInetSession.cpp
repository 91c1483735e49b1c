#include "WinInetSession.h"

#include <windows.h>
#include <wininet.h>

namespace {

const DWORD_PTR kContext = 1;

class WinInetConnection : public InternetConnection {
public:
    explicit WinInetConnection(HINTERNET h) : h_(h) {}
    ~WinInetConnection() override { InternetCloseHandle(h_); }

    long Read(char* buffer, long size) override {
        DWORD got = 0;
        if (!InternetReadFile(h_, buffer, static_cast<DWORD>(size), &got)) return -1;
        return static_cast<long>(got);
    }

private:
    HINTERNET h_;
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
        return std::unique_ptr<InternetConnection>(new WinInetConnection(h));
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
