// What the downloader needs of the platform's internet access: open an
// address, read it in pieces, close it. The Windows build supplies one over
// WinINet; tests may supply their own. No platform headers.
#pragma once

#include <functional>
#include <memory>
#include <string>

class InternetConnection {
public:
    virtual ~InternetConnection() = default;
    // Bytes copied into buffer: 0 at the end of the document, -1 on an error.
    virtual long Read(char* buffer, long size) = 0;
    // Called from another thread: a Read blocked there returns (an error),
    // and later reads fail. The connection is still closed by its owner.
    virtual void Abort() {}
    // The reply's status: an HTTP status code, 0 when a reply came without a
    // status line (nothing, or not HTTP), -1 where there is none (FTP, files).
    virtual long StatusCode() const { return -1; }
};

class InternetSession {
public:
    virtual ~InternetSession() = default;
    // nullptr when the address cannot be opened (a failed open fails that address only).
    virtual std::unique_ptr<InternetConnection> OpenUrl(const std::string& address, unsigned long flags) = 0;
    // Called from another thread: an OpenUrl waiting there returns nullptr.
    virtual void Abort() {}
};

// Makes a session under the given agent name; nullptr when there is no internet access.
using InternetSessionFactory = std::function<std::unique_ptr<InternetSession>(const std::string& agent)>;
