// Shared pieces of the scripted-server tests: a logged-in session, a table
// row of a case and the runner that checks it.
#pragma once

#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <string>
#include <thread>

#include "FtpClient.h"
#include "FtpTestProbe.h"
#include "ScriptedFtpServer.h"
#include "TestSupport.h"

inline const std::string kGreeting = "220 Scripted server ready.\r\n";

inline void Prepare(TFtpClient& c, ScriptedFtpServer& srv, int timeout = 5) {
    c.HostName = "127.0.0.1";
    c.Port = std::to_string(srv.Port());
    c.UserName = "user";
    c.PassWord = "secret";
    c.Timeout = timeout;
}

inline bool Sent(ScriptedFtpServer& srv, const std::string& prefix) {
    for (auto& c : srv.Commands())
        if (c.compare(0, prefix.size(), prefix) == 0) return true;
    return false;
}

// A local "file" that stops taking bytes: a named pipe whose reader hangs up
// after Limit bytes, so later writes to it fail.
class ShortPipe {
public:
    explicit ShortPipe(size_t limit) {
        static int seq = 0;
        name_ = "\\\\.\\pipe\\qft-short-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(seq++);
        pipe_ = CreateNamedPipeA(name_.c_str(), PIPE_ACCESS_DUPLEX, PIPE_TYPE_BYTE | PIPE_WAIT, 1, 4096, 4096, 0,
                                 nullptr);
        EXPECT_NE(pipe_, INVALID_HANDLE_VALUE);
        reader_ = std::thread([this, limit] {
            ConnectNamedPipe(pipe_, nullptr);
            char buf[4096];
            size_t got = 0;
            DWORD n = 0;
            while (got < limit && ReadFile(pipe_, buf, sizeof buf, &n, nullptr) && n > 0) got += n;
            DisconnectNamedPipe(pipe_);
        });
    }
    ~ShortPipe() {
        // Unblock a reader still waiting for a client.
        HANDLE h = CreateFileA(name_.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
        reader_.join();
        CloseHandle(pipe_);
    }
    const std::string& Name() const { return name_; }

private:
    std::string name_;
    HANDLE pipe_;
    std::thread reader_;
};

// A logged-in session for scripts that test what comes after.
inline void Greet(FtpScript& s) {
    s.Send(kGreeting);
    s.Login();
}

// Runs of a case that fetch the remote file "f".
inline std::function<bool(TFtpClient&)> GetF(bool passive) {
    return [passive](TFtpClient& c) {
        c.Passive = passive;
        c.HostFileName = "f";
        return c.Get();
    };
}

// A check that the command never went out.
inline std::function<void(TFtpClient&, ScriptedFtpServer&, FtpProbe&)> NotSent(const std::string& command) {
    return [command](TFtpClient&, ScriptedFtpServer& srv, FtpProbe&) { EXPECT_FALSE(Sent(srv, command)); };
}

struct Case {
    const char* name;
    std::function<void(FtpScript&)> script;
    std::function<bool(TFtpClient&)> run;  // after a successful Connect unless connectInRun
    bool connectInRun;
    bool result;
    int status;           // StatusCode after the call (-1: not checked)
    uint16_t error;       // Error of the single OnRequestDone
    std::string message;  // part of ErrorMessage ("" : empty expected when result is true)
    std::function<void(TFtpClient&, ScriptedFtpServer&, FtpProbe&)> check = nullptr;
    size_t requests = 1;  // blocking calls made by run; the error is that of the last
};

inline int FailedParts() {
    auto* r = ::testing::UnitTest::GetInstance()->current_test_info()->result();
    int n = 0;
    for (int i = 0; i < r->total_part_count(); ++i) n += r->GetTestPartResult(i).failed() ? 1 : 0;
    return n;
}

inline void RunCase(const Case& k) {
    SCOPED_TRACE(k.name);
    int failedBefore = FailedParts();
    ScriptedFtpServer srv(k.script);
    qftest::TempDir dir;
    TFtpClient c;
    Prepare(c, srv, 2);
    c.LocalFileName = dir.File("local.bin");
    FtpProbe p(c);
    if (!k.connectInRun) {
        ASSERT_TRUE(c.Connect()) << c.ErrorMessage;
        ASSERT_TRUE(p.WaitDone(1));
        p.done.clear();
    }
    bool r = k.run(c);
    EXPECT_EQ(r, k.result) << c.ErrorMessage;
    if (k.status >= 0) {
        EXPECT_EQ(c.StatusCode, k.status);
    }
    EXPECT_TRUE(p.WaitDone(k.requests));
    ASSERT_EQ(p.done.size(), k.requests) << "OnRequestDone must come once per request";
    EXPECT_EQ(p.done.back().second, k.error);
    if (k.message.empty()) {
        if (k.result) {
            EXPECT_EQ(c.ErrorMessage, "");
        }
    } else {
        EXPECT_NE(c.ErrorMessage.find(k.message), std::string::npos) << c.ErrorMessage;
    }
    if (c.IsConnected()) {
        EXPECT_EQ(c.State(), ftpStReady);
    }
    if (k.check) k.check(c, srv, p);
    if (FailedParts() > failedBefore) {
        std::string dialogue;
        for (auto& d : p.display) dialogue += "  " + d.substr(0, 200) + "\n";
        dialogue += "  states:";
        for (int st : p.states) dialogue += " " + std::to_string(st);
        ADD_FAILURE() << "dialogue:\n" << dialogue;
    }
    c.Abort();
    EXPECT_TRUE(srv.WaitDone());
    EXPECT_EQ(srv.ErrorText(), "");
}

