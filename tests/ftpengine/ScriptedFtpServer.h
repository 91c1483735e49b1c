// An FTP server for tests that plays exactly the bytes a test script gives:
// a blocking Winsock thread inside the test process, on 127.0.0.1. The script
// runs once the client has connected and then waits for the client to hang
// up (unless the script closed first); every command line it reads is kept,
// and every mismatch is kept as an error for the test to check.
#pragma once

#include <winsock2.h>

#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

class ScriptedFtpServer;

// What a script can do; every call blocks (at most a few seconds).
class FtpScript {
public:
    // Next command line without its CR LF; "" when the client closed or went silent.
    std::string ReadLine(unsigned TimeoutMs = 5000);
    // Sends bytes as they are.
    void Send(const std::string& Bytes);
    // Sends Line + CR LF.
    void Reply(const std::string& Line);
    // Reads a line, records an error unless it starts with Prefix, then replies (when Reply is not empty).
    std::string Expect(const std::string& Prefix, const std::string& Reply);
    // Logs in: USER/PASS answered 331/230.
    void Login();

    // Passive: listens for the data connection and gives the 227 reply for it.
    std::string OpenPassive();
    // Active: parses "PORT h1,...,p2" and connects there.
    void ConnectActive(const std::string& PortLine);
    // Passive: waits for the client's data connection.
    void AcceptData();
    // PASV or PORT (whichever the client sends) answered and made ready; false when neither came.
    bool DataSetup();
    // Completes the data connection DataSetup prepared: accept (PASV) or connect (PORT).
    void DataReady();
    void DataSend(const std::string& Bytes);
    // Everything until the client closes the data connection.
    std::string DataReceiveAll();
    // At least Count bytes (fewer only when the client closes or goes silent).
    std::string DataReceive(size_t Count);
    void CloseData();
    // Closes the data connection with a reset instead of an orderly end.
    void ResetData();
    // Ends the server's sending half of the data connection: the client sees a clean close.
    void ShutdownData();
    // Active: connects to the PORT address from another local address, as a
    // stranger would; false when the connect failed.
    bool ConnectStranger(const std::string& PortLine, const std::string& FromAddr);
    // True once the client has closed the stranger's connection (within TimeoutMs).
    bool StrangerTurnedAway(unsigned TimeoutMs);
    void CloseControl();
    // True once the client has closed the control connection (within TimeoutMs).
    bool WaitClientClose(unsigned TimeoutMs);
    void Pause(unsigned Ms);
    void Fail(const std::string& Error);

private:
    friend class ScriptedFtpServer;
    explicit FtpScript(ScriptedFtpServer& s) : srv_(s) {}
    ScriptedFtpServer& srv_;
    std::string pending_;  // control bytes read but not yet cut into lines
    bool passive_ = false;
    std::string portLine_;  // the PORT line DataSetup answered
};

class ScriptedFtpServer {
public:
    using Script = std::function<void(FtpScript&)>;
    explicit ScriptedFtpServer(Script script);
    ~ScriptedFtpServer();

    int Port() const { return port_; }
    // A loopback port that nothing listens on.
    static int UnusedPort();
    // Waits for the script to end; false on time-out.
    bool WaitDone(unsigned Ms = 10000);
    std::vector<std::string> Commands();
    std::vector<std::string> Errors();
    // Errors joined into one text, "" when none.
    std::string ErrorText();

private:
    friend class FtpScript;
    void Run();
    void AddCommand(const std::string& c);
    void AddError(const std::string& e);
    static void CloseSock(SOCKET& s);

    Script script_;
    int port_ = 0;
    SOCKET listen_ = INVALID_SOCKET;
    SOCKET control_ = INVALID_SOCKET;
    SOCKET dataListen_ = INVALID_SOCKET;
    SOCKET data_ = INVALID_SOCKET;
    SOCKET stranger_ = INVALID_SOCKET;
    std::mutex mu_;
    std::vector<std::string> commands_;
    std::vector<std::string> errors_;
    std::atomic<bool> done_{false};
    std::atomic<bool> stopping_{false};
    std::thread thread_;
};
