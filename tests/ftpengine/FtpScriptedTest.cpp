// The engine against a server that plays exact bytes: reply cutting, odd
// servers, failures and their codes, and the order of events.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <functional>
#include <string>
#include <thread>

#include "FtpClient.h"
#include "FtpScriptedCase.h"
#include "FtpTestProbe.h"
#include "ScriptedFtpServer.h"
#include "TestSupport.h"


TEST(FtpScripted, ReplyCuttingAndOddServers) {
    const std::string longName(6000, 'n');
    Case cases[] = {
        {"multi-line greeting and reply are judged once, on their last line",
         [](FtpScript& s) {
             s.Send("220-Welcome\r\n220-to the\r\n220 server\r\n");
             s.Expect("USER user", "331-Password\r\n331 please");
             s.Expect("PASS secret", "230 ok");
             s.Expect("PWD", "257-\"/first\"\r\n257 \"/home/x\" is current");
         },
         [](TFtpClient& c) { return c.Pwd(); }, false, true, 257, 0, "",
         [](TFtpClient& c, ScriptedFtpServer&, FtpProbe& p) {
             EXPECT_EQ(c.DirResult, "/home/x");
             EXPECT_TRUE(p.Displayed("< 257-\"/first\""));
             EXPECT_TRUE(p.Displayed("< 257 \"/home/x\" is current"));
         }},
        {"230 to USER skips PASS",
         [](FtpScript& s) {
             s.Send(kGreeting);
             s.Expect("USER ", "230 Welcome, no password needed.");
             s.Expect("SYST", "215 UNIX Type: L8");
         },
         [](TFtpClient& c) { return c.Connect() && c.RunSync(&TCustomFtpCli::SystAsync); }, true, true, 215, 0,
         "",
         [](TFtpClient&, ScriptedFtpServer& srv, FtpProbe&) { EXPECT_FALSE(Sent(srv, "PASS")); }, 2},
        {"a USER reply missing its first digit is repaired",
         [](FtpScript& s) {
             s.Send(kGreeting);
             s.Expect("USER ", "31 Username set to user");
             s.Expect("PASS ", "230 ok");
         },
         [](TFtpClient& c) { return c.Connect(); }, true, true, 230, 0, "",
         [](TFtpClient&, ScriptedFtpServer& srv, FtpProbe&) { EXPECT_TRUE(Sent(srv, "PASS secret")); }},
        {"lone LF line ends, also after CR LF in the same read",
         [](FtpScript& s) {
             s.Send("220 lf only\n");
             s.Expect("USER ", "");
             s.Send("331 crlf\r\n");
             s.Expect("PASS ", "");
             s.Send("230-mixed\r\n230 lone lf\n");
             s.Expect("CWD /a", "");
             s.Send("250 \"/a\" ok\n");
         },
         [](TFtpClient& c) {
             c.HostDirName = "/a";
             return c.Connect() && c.Cwd();
         },
         true, true, 250, 0, "", [](TFtpClient& c, ScriptedFtpServer&, FtpProbe&) { EXPECT_EQ(c.DirResult, "/a"); },
         2},
        {"a NUL byte does not cut the reply",
         [](FtpScript& s) {
             Greet(s);
             s.Expect("PWD", "");
             s.Send(std::string("257-odd \0 byte\r\n257 \"/n\" ok\r\n", 29));
             s.Expect("SYST", "215 UNIX");
         },
         [](TFtpClient& c) { return c.Pwd() && c.RunSync(&TCustomFtpCli::SystAsync); }, false, true, 215, 0, "",
         nullptr, 2},
        {"an over-long reply line is cut and the session goes on",
         [&](FtpScript& s) {
             Greet(s);
             s.Expect("STAT", "211-" + longName + "\r\n211 End");
             s.Expect("PWD", "257 \"/" + longName + "\" is current");
             s.Expect("SYST", "215 UNIX");
         },
         [](TFtpClient& c) {
             c.LocalFileName = "STAT";
             return c.Quote() && c.Pwd() && c.RunSync(&TCustomFtpCli::SystAsync);
         },
         false, true, 215, 0, "",
         [](TFtpClient& c, ScriptedFtpServer&, FtpProbe&) { EXPECT_EQ(c.LastResponse, "215 UNIX"); }, 3},
        {"a reply followed at once by the close still ends the call with success",
         [](FtpScript& s) {
             Greet(s);
             s.Expect("NOOP", "200 NOOP ok.");
             s.CloseControl();
         },
         [](TFtpClient& c) {
             c.LocalFileName = "NOOP";
             return c.Quote();
         },
         false, true, 200, 0, "",
         [](TFtpClient& c, ScriptedFtpServer&, FtpProbe&) {
             qftest::PumpUntil([&] { return !c.IsConnected(); }, 2000);
             EXPECT_FALSE(c.IsConnected());
             EXPECT_EQ(c.State(), ftpStStepDone);
         }},
        {"a 421 greeting ends the connect with 421",
         [](FtpScript& s) {
             s.Send("421 Too many users, try later.\r\n");
             s.WaitClientClose(3000);
         },
         [](TFtpClient& c) { return c.Connect(); }, true, false, 421, 421, "421 Too many users",
         [](TFtpClient& c, ScriptedFtpServer&, FtpProbe& p) {
             EXPECT_FALSE(c.IsConnected());
             EXPECT_EQ(p.sessionConnected, 0);
         }},
        {"a close while a single step waits ends it as a failure",
         [](FtpScript& s) {
             Greet(s);
             s.Expect("PWD", "");
             s.CloseControl();
         },
         [](TFtpClient& c) { return c.Pwd(); }, false, false, 421, 421, "421 Connection closed",
         [](TFtpClient& c, ScriptedFtpServer&, FtpProbe& p) {
             EXPECT_FALSE(c.IsConnected());
             EXPECT_EQ(p.sessionClosed, 1);
         }},
        {"a close in the middle of a multi-step request ends it once",
         [](FtpScript& s) {
             s.Send(kGreeting);
             s.Expect("USER ", "");
             s.CloseControl();
         },
         [](TFtpClient& c) { return c.Connect(); }, true, false, 421, 421, "421 Connection closed",
         [](TFtpClient& c, ScriptedFtpServer&, FtpProbe&) { EXPECT_FALSE(c.IsConnected()); }},
        {"refused reply: code, line and ErrorMessage",
         [](FtpScript& s) {
             Greet(s);
             s.Expect("MKD x", "550 Permission denied.");
         },
         [](TFtpClient& c) {
             c.HostFileName = "x";
             return c.Mkd();
         },
         false, false, 550, 550, "550 Permission denied.",
         [](TFtpClient& c, ScriptedFtpServer&, FtpProbe&) { EXPECT_EQ(c.LastResponse, "550 Permission denied."); }},
        {"SIZE beyond 4 GiB",
         [](FtpScript& s) {
             Greet(s);
             s.Expect("SIZE big", "213 5368709120");
         },
         [](TFtpClient& c) {
             c.HostFileName = "big";
             return c.Size();
         },
         false, true, 213, 0, "", [](TFtpClient& c, ScriptedFtpServer&, FtpProbe&) { EXPECT_EQ(c.SizeResult, 5368709120LL); }},
        {"a failing CWD in a full request sends no QUIT",
         [](FtpScript& s) {
             Greet(s);
             s.Expect("CWD /nope", "550 No such folder.");
             s.Pause(300);
         },
         [](TFtpClient& c) {
             c.HostDirName = "/nope";
             c.HostFileName = "f";
             return c.RunSync(&TCustomFtpCli::FullGetAsync);
         },
         true, false, 550, 550, "550 No such folder.",
         [](TFtpClient& c, ScriptedFtpServer& srv, FtpProbe& p) {
             EXPECT_FALSE(Sent(srv, "QUIT"));
             EXPECT_TRUE(c.IsConnected());
             EXPECT_EQ(p.done[0].first, ftpRqFullGet);
         }},
    };
    for (auto& k : cases) RunCase(k);
}

TEST(FtpScripted, DataConnections) {
    const std::string payload = qftest::PatternBytes(100000, 7);
    const std::string bigPayload = qftest::PatternBytes(3 * 1048576, 8);
    Case cases[] = {
        {"PASV answered 200 fails clearly and sends no RETR",
         [](FtpScript& s) {
             Greet(s);
             s.Expect("PASV", "200 Whatever.");
             s.Pause(200);
         },
         GetF(true),
         false, false, 200, 200, "200 Whatever.",
         NotSent("RETR")},
        {"a malformed 227 fails clearly",
         [](FtpScript& s) {
             Greet(s);
             s.Expect("PASV", "227 Entering Passive Mode (127,0,0,1,300,1).");
             s.Pause(200);
         },
         GetF(true),
         false, false, 550, 550, "Malformed PASV reply",
         NotSent("RETR")},
        {"a passive data connection that cannot be made: 550",
         [](FtpScript& s) {
             Greet(s);
             int port = ScriptedFtpServer::UnusedPort();
             s.Expect("PASV", "227 Entering Passive Mode (127,0,0,1," + std::to_string(port >> 8) + "," +
                                  std::to_string(port & 0xFF) + ").");
             s.Expect("RETR f", "");
         },
         GetF(true),
         false, false, 550, 550, "Unable to establish data connection, error #10061",
         [](TFtpClient& c, ScriptedFtpServer&, FtpProbe&) {
             EXPECT_EQ(c.LastResponse, "Unable to establish data connection, error #10061");
             EXPECT_EQ(c.DataConnection()->State(), wsClosed);
         }},
        {"continuation lines in RETR replies, active",
         [&](FtpScript& s) {
             Greet(s);
             s.DataSetup();
             s.Expect("RETR f", "150-Opening\r\n150 BINARY data connection");
             s.DataReady();
             s.DataSend(payload);
             s.CloseData();
             s.Reply("226-Transfer\r\n226 complete");
         },
         GetF(false),
         false, true, 226, 0, "",
         [&](TFtpClient& c, ScriptedFtpServer&, FtpProbe&) {
             EXPECT_EQ(qftest::Sha256Hex(qftest::ReadFileBytes(c.LocalFileName)), qftest::Sha256Hex(payload));
         }},
        {"150 before the server connects, active download",
         [&](FtpScript& s) {
             Greet(s);
             std::string port = s.Expect("PORT ", "200 ok");
             s.Expect("RETR f", "150 Opening");
             s.Pause(300);
             s.ConnectActive(port);
             s.DataSend(payload);
             s.CloseData();
             s.Reply("226 done");
         },
         GetF(false),
         false, true, 226, 0, "",
         [&](TFtpClient& c, ScriptedFtpServer&, FtpProbe&) {
             EXPECT_EQ(qftest::ReadFileBytes(c.LocalFileName).size(), payload.size());
         }},
        {"the data connection dropped mid-transfer with a 426",
         [&](FtpScript& s) {
             Greet(s);
             s.DataSetup();
             s.Expect("RETR f", "150 Opening");
             s.DataReady();
             s.DataSend(payload.substr(0, 30000));
             s.CloseData();
             s.Reply("426 Connection closed; transfer aborted.");
         },
         GetF(true),
         false, false, 426, 426, "426 Connection closed"},
        {"the control connection dropped mid-transfer",
         [&](FtpScript& s) {
             Greet(s);
             s.DataSetup();
             s.Expect("RETR f", "150 Opening");
             s.DataReady();
             s.DataSend(payload.substr(0, 30000));
             s.CloseControl();
             s.Pause(300);
             s.CloseData();
         },
         GetF(true),
         false, false, 421, 421, "421 Connection closed",
         [](TFtpClient& c, ScriptedFtpServer&, FtpProbe&) {
             EXPECT_EQ(c.DataConnection()->State(), wsClosed);
         }},
        {"a local file that cannot be made: 550 and no RETR",
         [](FtpScript& s) {
             Greet(s);
             s.Expect("PASV", "");
             s.Reply(s.OpenPassive());
             s.Pause(300);
         },
         [](TFtpClient& c) {
             c.Passive = true;
             c.HostFileName = "f";
             c.LocalFileName = "Z:\\no\\such\\folder\\f.bin";
             return c.Get();
         },
         false, false, 550, 550, "Unable to open local file",
         NotSent("RETR")},
        {"a local file that cannot be read: 426 and no STOR",
         [](FtpScript& s) {
             Greet(s);
             s.Expect("PORT", "200 ok");
             s.Pause(300);
         },
         [](TFtpClient& c) {
             c.HostFileName = "f";
             c.LocalFileName = "Z:\\no\\such\\folder\\f.bin";
             return c.Put();
         },
         false, false, 426, 426, "426 Unable to open local file",
         NotSent("STOR")},
        {"a transmit cancelled by the application sends no STOR",
         [](FtpScript& s) {
             Greet(s);
             s.Expect("PORT", "200 ok");
         },
         [](TFtpClient& c) {
             qftest::WriteFileBytes(c.LocalFileName, "abc");
             c.HostFileName = "up";
             c.OnReadyToTransmit = [](TObject*, bool& cancel) { cancel = true; };
             return c.Put();
         },
         false, false, 426, 426, "426 Transmit cancelled by application",
         [](TFtpClient& c, ScriptedFtpServer& srv, FtpProbe&) {
             EXPECT_FALSE(Sent(srv, "STOR"));
             EXPECT_EQ(c.DataConnection()->State(), wsClosed);
         }},
        {"a local write failure fails the download even after a 226",
         [&](FtpScript& s) {
             Greet(s);
             s.DataSetup();
             s.Expect("RETR f", "150 Opening");
             s.DataReady();
             s.DataSend(payload);
             s.CloseData();
             s.Reply("226 done");
         },
         [&](TFtpClient& c) {
             c.Passive = true;
             c.HostFileName = "f";
             c.SetShareMode(ftpShareCompat);
             ShortPipe pipe(30000);
             c.LocalFileName = pipe.Name();
             return c.Get();
         },
         false, false, 226, 426, "426 Error writing local file",
         [](TFtpClient&, ScriptedFtpServer&, FtpProbe& p) {
             EXPECT_EQ(p.DisplayedLines("! Error writing local file"), 1);
         }},
        {"a local file that shrinks while it is sent fails the upload even after a 226",
         [&](FtpScript& s) {
             Greet(s);
             s.DataSetup();
             s.Expect("STOR up", "150 Ok");
             s.DataReady();
             std::string got = s.DataReceiveAll();
             if (got.size() >= bigPayload.size()) s.Fail("the whole file went out");
             s.Reply("226 stored");
         },
         [&](TFtpClient& c) {
             // Larger than one send block, so the shrink comes between blocks.
             qftest::WriteFileBytes(c.LocalFileName, bigPayload);
             c.HostFileName = "up";
             c.SetShareMode(ftpShareDenyNone);
             c.OnProgress = [&](TObject*, int64_t count, bool&) {
                 if (count < 1000000) return;
                 HANDLE h = CreateFileA(c.LocalFileName.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                        nullptr, OPEN_EXISTING, 0, nullptr);
                 SetFilePointer(h, 1600000, nullptr, FILE_BEGIN);
                 SetEndOfFile(h);
                 CloseHandle(h);
                 c.OnProgress = nullptr;
             };
             return c.Put();
         },
         false, false, 226, 426, "426 Error reading file",
         [](TFtpClient&, ScriptedFtpServer&, FtpProbe& p) { EXPECT_EQ(p.DisplayedLines("! Error reading file"), 1); }},
        {"150 before the accept, active upload: the data goes on the accepted socket",
         [&](FtpScript& s) {
             Greet(s);
             std::string port = s.Expect("PORT ", "200 ok");
             s.Expect("STOR up", "150 Ok to send data.");
             s.Pause(300);
             s.ConnectActive(port);
             std::string got = s.DataReceiveAll();
             if (got != payload) s.Fail("upload differs: " + std::to_string(got.size()) + " bytes");
             s.Reply("226 stored");
         },
         [&](TFtpClient& c) {
             qftest::WriteFileBytes(c.LocalFileName, payload);
             c.HostFileName = "up";
             return c.Put();
         },
         false, true, 226, 0, "",
         [](TFtpClient&, ScriptedFtpServer& srv, FtpProbe&) { EXPECT_EQ(srv.Commands().back(), "STOR up"); }},
        {"STOR with ResumeAt sends REST first and only the tail",
         [&](FtpScript& s) {
             Greet(s);
             s.DataSetup();
             s.Expect("REST 40000", "350 Restarting at 40000.");
             s.Expect("STOR up", "150 Ok");
             s.DataReady();
             std::string got = s.DataReceiveAll();
             if (got != payload.substr(40000)) s.Fail("tail differs: " + std::to_string(got.size()) + " bytes");
             s.Reply("226 stored");
         },
         [&](TFtpClient& c) {
             qftest::WriteFileBytes(c.LocalFileName, payload);
             c.Passive = true;
             c.HostFileName = "up";
             c.ResumeAt = 40000;
             return c.Put();
         },
         false, true, 226, 0, "", [](TFtpClient& c, ScriptedFtpServer&, FtpProbe&) { EXPECT_EQ(c.ResumeAt, 0); }},
        {"STOR with ResumeAt refused by REST: no STOR at all",
         [&](FtpScript& s) {
             Greet(s);
             s.DataSetup();
             s.Expect("REST 40000", "502 REST not implemented.");
             s.Pause(300);
         },
         [&](TFtpClient& c) {
             qftest::WriteFileBytes(c.LocalFileName, payload);
             c.HostFileName = "up";
             c.ResumeAt = 40000;
             return c.Put();
         },
         false, false, 502, 502, "502 REST not implemented.",
         NotSent("STOR")},
        {"REST + RETR resumes from the local size",
         [&](FtpScript& s) {
             Greet(s);
             s.DataSetup();
             s.Expect("REST 1000", "350 Restarting.");
             s.Expect("RETR f", "150 Opening");
             s.DataReady();
             s.DataSend(payload.substr(1000));
             s.CloseData();
             s.Reply("226 done");
         },
         [&](TFtpClient& c) {
             qftest::WriteFileBytes(c.LocalFileName, payload.substr(0, 1000));
             c.HostFileName = "f";
             return c.RestGet();
         },
         false, true, 226, 0, "",
         [&](TFtpClient& c, ScriptedFtpServer&, FtpProbe&) {
             EXPECT_EQ(qftest::Sha256Hex(qftest::ReadFileBytes(c.LocalFileName)), qftest::Sha256Hex(payload));
         }},
        {"REST answered with another code below 500: the download starts at 0",
         [&](FtpScript& s) {
             Greet(s);
             s.DataSetup();
             s.Expect("REST 1000", "200 Noted, but no.");
             s.Expect("RETR f", "150 Opening");
             s.DataReady();
             s.DataSend(payload);
             s.CloseData();
             s.Reply("226 done");
         },
         [&](TFtpClient& c) {
             qftest::WriteFileBytes(c.LocalFileName, std::string(1000, 'z'));
             c.HostFileName = "f";
             return c.RestGet();
         },
         false, true, 226, 0, "",
         [&](TFtpClient& c, ScriptedFtpServer&, FtpProbe&) {
             EXPECT_EQ(qftest::Sha256Hex(qftest::ReadFileBytes(c.LocalFileName)), qftest::Sha256Hex(payload));
         }},
        {"REST refused: the request fails and sends no RETR",
         [&](FtpScript& s) {
             Greet(s);
             s.DataSetup();
             s.Expect("REST 1000", "502 No.");
         },
         [&](TFtpClient& c) {
             qftest::WriteFileBytes(c.LocalFileName, std::string(1000, 'z'));
             c.HostFileName = "f";
             return c.RestGet();
         },
         false, false, 502, 502, "502 No.",
         [&](TFtpClient& c, ScriptedFtpServer& srv, FtpProbe&) {
             EXPECT_FALSE(Sent(srv, "RETR"));
             EXPECT_EQ(qftest::ReadFileBytes(c.LocalFileName), std::string(1000, 'z'));
         }},
        {"LIST lines to OnDisplayFile without a local file",
         [](FtpScript& s) {
             Greet(s);
             s.DataSetup();
             s.Expect("LIST", "150 Here comes the listing.");
             s.DataReady();
             s.DataSend("-rw-r--r-- 1 a a 5 Jan 1 2020 one\r\n-rw-r--r-- 1 a a 5 Jan 1 2020 two\r\n");
             s.CloseData();
             s.Reply("226 Directory send OK.");
         },
         [](TFtpClient& c) {
             c.DisplayFileFlag = true;
             c.LocalFileName = "";
             c.Passive = true;
             return c.Dir();
         },
         false, true, 226, 0, "",
         [](TFtpClient&, ScriptedFtpServer&, FtpProbe& p) {
             ASSERT_EQ(p.fileLines.size(), 2u);
             EXPECT_EQ(p.fileLines[1], "-rw-r--r-- 1 a a 5 Jan 1 2020 two");
         }},
    };
    for (auto& k : cases) RunCase(k);
}

TEST(FtpScripted, SilentServerTimesOut) {
    for (bool atGreeting : {true, false}) {
        SCOPED_TRACE(atGreeting ? "at the greeting" : "after PWD");
        ScriptedFtpServer srv([&](FtpScript& s) {
            if (!atGreeting) {
                Greet(s);
                s.Expect("PWD", "");
            }
            s.WaitClientClose(4000);
        });
        TFtpClient c;
        Prepare(c, srv, 1);
        FtpProbe p(c);
        if (!atGreeting) {
            ASSERT_TRUE(c.Connect());
            ASSERT_TRUE(p.WaitDone());
            p.done.clear();
        }
        DWORD t0 = GetTickCount();
        bool r = atGreeting ? c.Connect() : c.Pwd();
        DWORD spent = GetTickCount() - t0;
        EXPECT_FALSE(r);
        EXPECT_GE(spent, 900u);
        EXPECT_LT(spent, 5000u);
        EXPECT_EQ(c.ErrorMessage, "426 Timeout");
        EXPECT_EQ(c.StatusCode, 426);
        EXPECT_EQ(c.State(), ftpStReady);
        EXPECT_EQ(c.ControlConnection()->State(), wsClosed);
        EXPECT_EQ(c.DataConnection()->State(), wsClosed);
        ASSERT_TRUE(p.WaitDone());
        EXPECT_EQ(p.done.size(), 1u);
        EXPECT_EQ(p.done[0].second, 426);
        EXPECT_TRUE(srv.WaitDone());
    }
}

TEST(FtpScripted, AbortOfASingleStepReports426) {
    ScriptedFtpServer srv([](FtpScript& s) {
        Greet(s);
        s.Expect("PWD", "");
        s.WaitClientClose(4000);
    });
    TFtpClient c;
    Prepare(c, srv);
    FtpProbe p(c);
    ASSERT_TRUE(c.Connect());
    ASSERT_TRUE(p.WaitDone());
    p.done.clear();
    c.PwdAsync();
    ASSERT_TRUE(qftest::PumpUntil([&] { return Sent(srv, "PWD"); }, 3000));
    EXPECT_TRUE(c.Abort());
    EXPECT_EQ(c.State(), ftpStReady);
    ASSERT_TRUE(p.WaitDone());
    ASSERT_EQ(p.done.size(), 1u);
    EXPECT_EQ(p.done[0].first, ftpRqPwd);
    EXPECT_EQ(p.done[0].second, 426);
    EXPECT_EQ(c.ErrorMessage, "426 Operation aborted.");
    EXPECT_FALSE(c.IsConnected());
    EXPECT_TRUE(srv.WaitDone());
}

TEST(FtpScripted, LoginStatesAndEventsInOrder) {
    ScriptedFtpServer srv([](FtpScript& s) {
        Greet(s);
        s.Expect("PWD", "");
        s.WaitClientClose(3000);
    });
    TFtpClient c;
    Prepare(c, srv);
    FtpProbe p(c);
    std::vector<std::string> order;
    c.OnSessionConnected = [&](TObject*, uint16_t e) { order.push_back("connected " + std::to_string(e)); };
    c.OnCommand = [&](TObject*, std::string& cmd) { order.push_back("command " + cmd); };
    c.OnRequestDone = [&](TObject*, TFtpRequest rq, uint16_t e) {
        if (p.insideCall) p.doneInsideCall = true;
        p.done.emplace_back(rq, e);
        order.push_back("done " + std::to_string(rq) + " " + std::to_string(e));
    };
    p.insideCall = true;
    c.ConnectAsync();
    p.insideCall = false;
    ASSERT_TRUE(p.WaitDone());
    EXPECT_FALSE(p.doneInsideCall);
    EXPECT_EQ(p.states, (std::vector<int>{ftpStLookingUp, ftpStConnecting, ftpStConnected, ftpStStepDone,
                                           ftpStWaitingResponse, ftpStStepDone, ftpStWaitingResponse, ftpStStepDone,
                                           ftpStReady}));
    EXPECT_EQ(order, (std::vector<std::string>{"connected 0", "command USER user", "command PASS secret",
                                               "done 5 0"}));
    EXPECT_TRUE(p.Displayed("> PASS secret"));
    EXPECT_TRUE(p.Displayed("< 230 Logged in."));

    // A request may not start while another waits for its reply.
    c.PwdAsync();
    EXPECT_THROW(c.SystAsync(), FtpException);
    c.Abort();
    p.done.clear();
    EXPECT_TRUE(srv.WaitDone());
}

TEST(FtpScripted, RefusalsBecomeFalseWithTheirText) {
    TFtpClient c;
    FtpProbe p(c);
    c.HostFileName = "f";
    c.LocalFileName = "x";
    // Not connected: False at once, and the listening socket is released.
    EXPECT_FALSE(c.Get());
    EXPECT_EQ(c.ErrorMessage, "FTP component not connected");
    EXPECT_EQ(c.DataConnection()->State(), wsClosed);
    EXPECT_EQ(c.State(), ftpStReady);
    c.Passive = true;
    EXPECT_FALSE(c.Get());
    EXPECT_EQ(c.DataConnection()->State(), wsClosed);
    EXPECT_FALSE(c.Cwd());
    EXPECT_EQ(c.ErrorMessage, "HostDirName emtpy");
    qftest::PumpFor(50);
    EXPECT_TRUE(p.done.empty());
}

TEST(FtpScripted, FailedConnectReturnsFalseWithAMessage) {
    // A port nobody listens on.
    int port = ScriptedFtpServer::UnusedPort();
    TFtpClient c;
    c.HostName = "127.0.0.1";
    c.Port = std::to_string(port);
    c.UserName = "u";
    c.PassWord = "p";
    c.Timeout = 5;
    FtpProbe p(c);
    EXPECT_FALSE(c.Connect());
    EXPECT_EQ(c.StatusCode, 500);
    EXPECT_NE(c.ErrorMessage.find("(Winsock error #10061)"), std::string::npos) << c.ErrorMessage;
    ASSERT_TRUE(p.WaitDone());
    EXPECT_EQ(p.done[0].second, 10061);
    EXPECT_EQ(c.State(), ftpStReady);
    EXPECT_FALSE(c.IsConnected());
}

TEST(FtpScripted, FailedLookupReturnsFalseWithAMessage) {
    TFtpClient c;
    c.HostName = "no-such-host.invalid";
    c.UserName = "u";
    c.PassWord = "p";
    c.Timeout = 10;
    FtpProbe p(c);
    EXPECT_FALSE(c.Connect());
    EXPECT_EQ(c.StatusCode, 500);
    EXPECT_NE(c.ErrorMessage.find("(Winsock error #"), std::string::npos) << c.ErrorMessage;
    ASSERT_TRUE(p.WaitDone());
    EXPECT_NE(p.done[0].second, 0);
    EXPECT_EQ(c.State(), ftpStReady);
    // An empty host name is refused before anything starts.
    c.HostName = "";
    EXPECT_FALSE(c.Connect());
    EXPECT_NE(c.ErrorMessage, "");
    EXPECT_EQ(c.State(), ftpStReady);
}

// The time-out counts silence, not the whole call: progress keeps a slow
// transfer alive, and 0 waits as long as it takes.
TEST(FtpScripted, TimeoutCountsSilenceOnly) {
    const std::string payload = qftest::PatternBytes(30000, 4);
    ScriptedFtpServer srv([&](FtpScript& s) {
        Greet(s);
        s.DataSetup();
        s.Expect("RETR slow", "150 Opening");
        s.DataReady();
        for (size_t off = 0; off < payload.size(); off += 1000) {
            s.DataSend(payload.substr(off, 1000));
            s.Pause(80);
        }
        s.CloseData();
        s.Reply("226 done");
        s.Expect("PWD", "");
        s.Pause(1300);
        s.Reply("257 \"/late\"");
    });
    qftest::TempDir dir;
    TFtpClient c;
    Prepare(c, srv, 1);
    c.Passive = true;
    ASSERT_TRUE(c.Connect());
    c.HostFileName = "slow";
    c.LocalFileName = dir.File("slow.bin");
    DWORD t0 = GetTickCount();
    EXPECT_TRUE(c.Get()) << c.ErrorMessage;
    EXPECT_GT(GetTickCount() - t0, 2000u);
    EXPECT_EQ(qftest::ReadFileBytes(c.LocalFileName), payload);
    c.Timeout = 0;
    EXPECT_TRUE(c.Pwd()) << c.ErrorMessage;
    EXPECT_EQ(c.DirResult, "/late");
    c.Abort();
    EXPECT_TRUE(srv.WaitDone());
    EXPECT_EQ(srv.ErrorText(), "");
}
