// Transfers that go wrong part-way: what the engine reports, what it keeps
// for the next request, and how fast an abort takes effect.
#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <string>

#include "FtpClient.h"
#include "FtpScriptedCase.h"
#include "FtpTestProbe.h"
#include "ScriptedFtpServer.h"
#include "TestSupport.h"

namespace {

// Larger than what loopback sockets hold in their buffers, so a stalled or
// cut-off upload cannot have reached the end of its file.
constexpr size_t kBigFile = 32u * 1024 * 1024;

std::function<void(TFtpClient&, ScriptedFtpServer&, FtpProbe&)> ResumeAtCleared() {
    return [](TFtpClient& c, ScriptedFtpServer&, FtpProbe&) { EXPECT_EQ(c.ResumeAt, 0); };
}

std::string Announce(size_t n) { return "150 Opening BINARY mode data connection for f (" + std::to_string(n) + " bytes)."; }

// Pumps until the counter has not moved for QuietMs (at most LimitMs).
void PumpUntilStalled(const int64_t& counter, unsigned QuietMs, unsigned LimitMs) {
    DWORD start = GetTickCount();
    int64_t last = -1;
    DWORD since = start;
    while (GetTickCount() - start < LimitMs) {
        qftest::PumpFor(50);
        if (counter != last) {
            last = counter;
            since = GetTickCount();
        } else if (GetTickCount() - since >= QuietMs) {
            return;
        }
    }
}

}  // namespace

TEST(FtpFaults, ResumeAtClearedAfterEveryTransfer) {
    const std::string payload = qftest::PatternBytes(100000, 3);
    Case cases[] = {
        {"transmit cancelled by OnReadyToTransmit",
         [](FtpScript& s) {
             Greet(s);
             s.Expect("PORT", "200 ok");
         },
         [&](TFtpClient& c) {
             qftest::WriteFileBytes(c.LocalFileName, payload);
             c.HostFileName = "up";
             c.ResumeAt = 40000;
             c.OnReadyToTransmit = [](TObject*, bool& cancel) { cancel = true; };
             return c.Put();
         },
         false, false, 426, 426, "426 Transmit cancelled by application", ResumeAtCleared()},
        {"passive data connection that cannot be made",
         [](FtpScript& s) {
             Greet(s);
             int port = ScriptedFtpServer::UnusedPort();
             s.Expect("PASV", "227 Entering Passive Mode (127,0,0,1," + std::to_string(port >> 8) + "," +
                                  std::to_string(port & 0xFF) + ").");
             s.Pause(300);
         },
         [&](TFtpClient& c) {
             qftest::WriteFileBytes(c.LocalFileName, payload);
             c.Passive = true;
             c.HostFileName = "up";
             c.ResumeAt = 40000;
             return c.Put();
         },
         false, false, 550, 550, "Unable to establish data connection", ResumeAtCleared()},
        {"control connection lost during a resumed upload",
         [&](FtpScript& s) {
             Greet(s);
             s.DataSetup();
             s.Expect("REST 40000", "350 Restarting.");
             s.Expect("STOR up", "150 Ok");
             s.DataReady();
             s.DataReceive(10000);
             s.CloseControl();
             s.Pause(300);
         },
         [&](TFtpClient& c) {
             qftest::WriteFileBytes(c.LocalFileName, payload);
             c.Passive = true;
             c.HostFileName = "up";
             c.ResumeAt = 40000;
             return c.Put();
         },
         false, false, -1, 421, "", ResumeAtCleared()},
        {"REST refused in a resumed download",
         [](FtpScript& s) {
             Greet(s);
             s.DataSetup();
             s.Expect("REST 1000", "502 No.");
         },
         [](TFtpClient& c) {
             qftest::WriteFileBytes(c.LocalFileName, std::string(1000, 'z'));
             c.HostFileName = "f";
             return c.RestGet();
         },
         false, false, 502, 502, "502 No.", ResumeAtCleared()},
    };
    for (auto& k : cases) RunCase(k);
}

// After a failed resumed upload the next plain Put stores the whole file.
TEST(FtpFaults, PutAfterACancelledResumeSendsTheWholeFile) {
    const std::string payload = qftest::PatternBytes(100000, 5);
    ScriptedFtpServer srv([&](FtpScript& s) {
        Greet(s);
        s.Expect("PORT", "200 ok");
        s.DataSetup();
        s.Expect("STOR up", "150 Ok");
        s.DataReady();
        if (s.DataReceiveAll() != payload) s.Fail("the second upload is not the whole file");
        s.Reply("226 stored");
    });
    qftest::TempDir dir;
    TFtpClient c;
    Prepare(c, srv);
    c.LocalFileName = dir.File("up.bin");
    c.HostFileName = "up";
    qftest::WriteFileBytes(c.LocalFileName, payload);
    ASSERT_TRUE(c.Connect());
    c.ResumeAt = 40000;
    c.OnReadyToTransmit = [](TObject*, bool& cancel) { cancel = true; };
    EXPECT_FALSE(c.Put());
    c.OnReadyToTransmit = nullptr;
    EXPECT_TRUE(c.Put()) << c.ErrorMessage;
    c.Abort();
    EXPECT_TRUE(srv.WaitDone());
    EXPECT_EQ(srv.ErrorText(), "");
    EXPECT_FALSE(Sent(srv, "REST"));
}

// A server that stops reading holds the last block: an abort or a time-out
// must not wait for it (a graceful close would, for up to a minute). The
// aborted upload resumed at an offset, which must not outlive it.
TEST(FtpFaults, StalledUploadEndsAtOnceOnAbortAndTimeout) {
    qftest::TempDir dir;
    const std::string file = dir.File("big.bin");
    qftest::WriteFileBytes(file, qftest::PatternBytes(kBigFile, 9));
    for (bool byTimeout : {false, true}) {
        SCOPED_TRACE(byTimeout ? "time-out" : "abort");
        ScriptedFtpServer srv([](FtpScript& s) {
            Greet(s);
            s.DataSetup();
            s.Expect("REST 1000", "350 Restarting at 1000.");
            s.Expect("STOR up", "150 Ok");
            s.DataReady();
            s.DataReceive(100000);
            // Reads nothing more, and keeps the data connection for a while after
            // the client hung up, as a stuck server would.
            s.WaitClientClose(15000);
            s.Pause(5000);
        });
        TFtpClient c;
        Prepare(c, srv, byTimeout ? 1 : 30);
        FtpProbe p(c);
        c.Passive = true;
        c.LocalFileName = file;
        c.HostFileName = "up";
        ASSERT_TRUE(c.Connect());
        c.ResumeAt = 1000;
        int64_t progress = 0;
        c.OnProgress = [&](TObject*, int64_t count, bool&) { progress = count; };
        DWORD spent = 0;
        if (byTimeout) {
            DWORD t0 = GetTickCount();
            EXPECT_FALSE(c.Put());
            spent = GetTickCount() - t0;
            EXPECT_EQ(c.ErrorMessage, "426 Timeout");
        } else {
            c.PutAsync();
            PumpUntilStalled(progress, 500, 10000);
            EXPECT_LT(progress, static_cast<int64_t>(kBigFile));
            DWORD t0 = GetTickCount();
            EXPECT_TRUE(c.Abort());
            spent = GetTickCount() - t0;
        }
        // The silence itself takes a second for the time-out; the close must add next to nothing.
        EXPECT_LT(spent, byTimeout ? 3500u : 1000u);
        EXPECT_EQ(c.State(), ftpStReady);
        EXPECT_EQ(c.DataConnection()->State(), wsClosed);
        EXPECT_EQ(c.ResumeAt, 0);
        ASSERT_TRUE(p.WaitDone(2));
        EXPECT_EQ(p.done.back().second, 426);
        EXPECT_TRUE(srv.WaitDone(15000));
    }
}

// The server closes the data connection part-way and still says 226: the
// upload failed. A half close looks exactly like the end of the data to the
// socket (as a reset sometimes does under Wine), so only the sender can tell.
TEST(FtpFaults, UploadCutShortFailsEvenOn226) {
    qftest::TempDir dir;
    const std::string file = dir.File("big.bin");
    qftest::WriteFileBytes(file, qftest::PatternBytes(kBigFile, 11));
    enum Cut { HalfClose, Reset };
    for (int round = 0; round < 4; ++round) {
        for (bool passive : {true, false}) {
            for (Cut cut : {HalfClose, Reset}) {
                std::string name = std::string(passive ? "passive" : "active") +
                                   (cut == HalfClose ? ", half close" : ", reset") + ", round " +
                                   std::to_string(round);
                SCOPED_TRACE(name);
                ScriptedFtpServer srv([cut](FtpScript& s) {
                    Greet(s);
                    s.DataSetup();
                    s.Expect("STOR up", "150 Ok");
                    s.DataReady();
                    s.DataReceive(30000);
                    if (cut == HalfClose) s.ShutdownData();
                    else s.ResetData();
                    s.Reply("226 Transfer complete.");
                    s.Pause(200);
                    s.CloseData();
                });
                TFtpClient c;
                Prepare(c, srv);
                FtpProbe p(c);
                c.Passive = passive;
                c.LocalFileName = file;
                c.HostFileName = "up";
                ASSERT_TRUE(c.Connect());
                ASSERT_TRUE(p.WaitDone());
                p.done.clear();
                EXPECT_FALSE(c.Put());
                ASSERT_TRUE(p.WaitDone());
                ASSERT_EQ(p.done.size(), 1u);
                EXPECT_NE(p.done[0].second, 0);
                EXPECT_NE(c.ErrorMessage, "");
                if (cut == HalfClose) {
                    EXPECT_EQ(c.ErrorMessage, "426 Data connection closed before the end of the file");
                }
                c.Abort();
                EXPECT_TRUE(srv.WaitDone());
            }
        }
    }
}

TEST(FtpFaults, DownloadSizeAnnouncedIn150) {
    const std::string payload = qftest::PatternBytes(100000, 13);
    auto serve = [&](const std::string& first, size_t from, size_t count) {
        return [&payload, first, from, count](FtpScript& s) {
            Greet(s);
            s.DataSetup();
            std::string line = s.ReadLine();
            if (line == "REST 1000") {
                s.Reply("350 Restarting.");
                line = s.ReadLine();
            }
            if (line != "RETR f") s.Fail("expected RETR f, got '" + line + "'");
            s.Reply(first);
            s.DataReady();
            s.DataSend(payload.substr(from, count));
            s.CloseData();
            s.Reply("226 Transfer complete.");
        };
    };
    auto get = [](bool binary) {
        return [binary](TFtpClient& c) {
            c.Passive = true;
            c.HostFileName = "f";
            c.SetBinary(binary);
            return c.Get();
        };
    };
    Case cases[] = {
        {"binary, cut to half of the announced size", serve(Announce(100000), 0, 50000), get(true), false, false,
         226, 426, "426 Received 50000 bytes of the 100000 announced",
         [](TFtpClient&, ScriptedFtpServer&, FtpProbe& p) {
             EXPECT_EQ(p.DisplayedLines("! Received 50000 bytes of the 100000 announced"), 1);
         }},
        {"binary, more than announced", serve(Announce(100), 0, 50000), get(true), false, false, 226, 426,
         "426 Received 50000 bytes of the 100 announced"},
        {"binary, the whole announced size", serve(Announce(100000), 0, 100000), get(true), false, true, 226, 0,
         ""},
        {"ASCII type may differ from the announced size", serve(Announce(100000), 0, 50000), get(false), false,
         true, 226, 0, ""},
        {"binary, no size announced", serve("150 Opening data connection.", 0, 50000), get(true), false, true, 226,
         0, ""},
        {"resumed binary download announces the whole file",
         serve(Announce(100000), 1000, 99000),
         [&](TFtpClient& c) {
             qftest::WriteFileBytes(c.LocalFileName, payload.substr(0, 1000));
             c.Passive = true;
             c.HostFileName = "f";
             return c.RestGet();
         },
         false, true, 226, 0, "",
         [&](TFtpClient& c, ScriptedFtpServer&, FtpProbe&) {
             EXPECT_EQ(qftest::ReadFileBytes(c.LocalFileName), payload);
         }},
    };
    for (auto& k : cases) RunCase(k);
}

// In active mode only the server's host may bring the data connection.
TEST(FtpFaults, ActiveListenerTurnsAwayOtherHosts) {
    const std::string payload = qftest::PatternBytes(100000, 17);
    Case k{"a connection from 127.0.0.2 is closed and the server's own is taken",
           [&](FtpScript& s) {
               Greet(s);
               std::string port = s.Expect("PORT ", "200 ok");
               if (!s.ConnectStranger(port, "127.0.0.2")) s.Fail("the stranger could not connect");
               if (!s.StrangerTurnedAway(3000)) s.Fail("the stranger's connection was not closed");
               s.Expect("RETR f", "150 Opening");
               s.ConnectActive(port);
               s.DataSend(payload);
               s.CloseData();
               s.Reply("226 done");
           },
           GetF(false),
           false,
           true,
           226,
           0,
           "",
           [&](TFtpClient& c, ScriptedFtpServer&, FtpProbe&) {
               EXPECT_EQ(qftest::ReadFileBytes(c.LocalFileName), payload);
           }};
    RunCase(k);
}

TEST(FtpFaults, DataConnectionEdges) {
    const std::string payload = qftest::PatternBytes(100000, 19);
    Case cases[] = {
        {"a 227 naming another host: the data connection goes to the control connection's host",
         [&](FtpScript& s) {
             Greet(s);
             s.Expect("PASV", "");
             std::string reply = s.OpenPassive();
             reply.replace(reply.find("127,0,0,1"), 9, "10,1,2,3");
             s.Reply(reply);
             s.Expect("RETR f", "150 Opening");
             s.AcceptData();
             s.DataSend(payload);
             s.CloseData();
             s.Reply("226 done");
         },
         GetF(true), false, true, 226, 0, "",
         [&](TFtpClient& c, ScriptedFtpServer&, FtpProbe&) {
             EXPECT_EQ(qftest::ReadFileBytes(c.LocalFileName), payload);
         }},
        {"the final reply before the data close ends the step once",
         [&](FtpScript& s) {
             Greet(s);
             s.DataSetup();
             s.Expect("RETR f", "150 Opening");
             s.DataReady();
             s.DataSend(payload.substr(0, 60000));
             s.Reply("226 done");
             s.Pause(300);
             s.DataSend(payload.substr(60000));
             s.CloseData();
         },
         GetF(true), false, true, 226, 0, "",
         [&](TFtpClient& c, ScriptedFtpServer&, FtpProbe& p) {
             EXPECT_EQ(qftest::ReadFileBytes(c.LocalFileName), payload);
             int statistics = 0;
             for (auto& d : p.display) statistics += d.find(" bytes received/sent in ") != std::string::npos;
             EXPECT_EQ(statistics, 1);
         }},
    };
    for (auto& k : cases) RunCase(k);
}

// A call refused while a step waits for its reply leaves that step alone:
// its kind, its request, ResumeAt and ErrorMessage.
TEST(FtpFaults, RefusedCallsChangeNothing) {
    struct Refused {
        const char* name;
        TFtpClient::Operation op;
    } refused[] = {
        {"QuitAsync", &TCustomFtpCli::QuitAsync}, {"RestAsync", &TCustomFtpCli::RestAsync},
        {"StorStep", &TCustomFtpCli::StorStep},   {"AppeStep", &TCustomFtpCli::AppeStep},
        {"GetAsync", &TCustomFtpCli::GetAsync},   {"SystAsync", &TCustomFtpCli::SystAsync},
    };
    enum Ending { Folder, Refusal, Close };
    for (auto& r : refused) {
        for (Ending ending : {Folder, Refusal, Close}) {
            SCOPED_TRACE(std::string(r.name) + (ending == Folder ? ", then 257" : ending == Refusal ? ", then 550" : ", then close"));
            std::atomic<bool> called{false};
            ScriptedFtpServer srv([&](FtpScript& s) {
                Greet(s);
                s.Expect("PWD", "");
                for (int i = 0; i < 100 && !called; ++i) s.Pause(20);
                if (ending == Folder) s.Reply("257 \"/d\" is current");
                else if (ending == Refusal) s.Reply("550 Not today.");
                else s.CloseControl();
                s.WaitClientClose(3000);
            });
            qftest::TempDir dir;
            TFtpClient c;
            Prepare(c, srv);
            FtpProbe p(c);
            c.LocalFileName = dir.File("missing.bin");  // REST would send nothing and end at once
            c.HostFileName = "f";
            ASSERT_TRUE(c.Connect());
            ASSERT_TRUE(p.WaitDone());
            p.done.clear();
            c.ResumeAt = 123;
            c.PwdAsync();
            ASSERT_TRUE(qftest::PumpUntil([&] { return Sent(srv, "PWD"); }, 3000));
            EXPECT_THROW((c.*r.op)(), FtpException);
            EXPECT_FALSE(c.RunSync(r.op));
            called = true;
            ASSERT_TRUE(p.WaitDone());
            ASSERT_EQ(p.done.size(), 1u);
            EXPECT_EQ(p.done[0].first, ftpRqPwd);
            EXPECT_EQ(c.ResumeAt, 123);
            if (ending == Folder) {
                EXPECT_EQ(p.done[0].second, 0);
                EXPECT_EQ(c.DirResult, "/d");
                EXPECT_EQ(c.ErrorMessage, "");
            } else if (ending == Refusal) {
                EXPECT_EQ(p.done[0].second, 550);
                EXPECT_EQ(c.ErrorMessage, "550 Not today.");
            } else {
                EXPECT_EQ(p.done[0].second, 421);
                EXPECT_EQ(c.ErrorMessage, "421 Connection closed by server");
            }
            EXPECT_EQ(srv.Commands().back(), "PWD");
            c.Abort();
            EXPECT_TRUE(srv.WaitDone());
        }
    }
}

// The local file of a download is made, or cut, only once the server has
// accepted the transfer: a refused RETR leaves an existing file as it was,
// creates none, and a refused resume keeps its bytes.
TEST(FtpFaults, RefusedDownloadLeavesTheLocalFileAsItWas) {
    const std::string kept = "bytes that were here before";
    auto keptAsItWas = [kept](TFtpClient& c, ScriptedFtpServer&, FtpProbe&) {
        EXPECT_EQ(qftest::ReadFileBytes(c.LocalFileName), kept);
    };
    auto noFile = [](TFtpClient& c, ScriptedFtpServer&, FtpProbe&) {
        EXPECT_EQ(GetFileAttributesA(c.LocalFileName.c_str()), INVALID_FILE_ATTRIBUTES);
    };
    auto existingFile = [kept](bool passive, int64_t resume) {
        return [kept, passive, resume](TFtpClient& c) {
            qftest::WriteFileBytes(c.LocalFileName, kept);
            c.Passive = passive;
            c.HostFileName = "f";
            c.ResumeAt = resume;
            return resume > 0 ? c.RestGet() : c.Get();
        };
    };
    Case cases[] = {
        {"550 to RETR keeps an existing file, passive",
         [](FtpScript& s) {
             Greet(s);
             s.DataSetup();
             s.Expect("RETR f", "550 Permission denied.");
         },
         existingFile(true, 0), false, false, 550, 550, "550 Permission denied", keptAsItWas},
        {"425 to RETR keeps an existing file, active",
         [](FtpScript& s) {
             Greet(s);
             s.DataSetup();
             s.Expect("RETR f", "425 Can't open data connection.");
         },
         existingFile(false, 0), false, false, 425, 425, "425 Can't open data connection", keptAsItWas},
        {"550 to RETR makes no file",
         [](FtpScript& s) {
             Greet(s);
             s.DataSetup();
             s.Expect("RETR f", "550 No such file.");
         },
         GetF(true), false, false, 550, 550, "550 No such file", noFile},
        {"a refused resume keeps its bytes",
         [kept](FtpScript& s) {
             Greet(s);
             s.DataSetup();
             // RestGet resumes at the local file's size.
             s.Expect("REST " + std::to_string(kept.size()), "350 Restarting.");
             s.Expect("RETR f", "550 No such file.");
         },
         existingFile(true, 10), false, false, 550, 550, "550 No such file", keptAsItWas},
        {"an accepted empty file cuts the old one",
         [](FtpScript& s) {
             Greet(s);
             s.DataSetup();
             s.Expect("RETR f", "150 Opening BINARY mode data connection.");
             s.DataReady();
             s.CloseData();
             s.Reply("226 Transfer complete.");
         },
         existingFile(false, 0), false, true, 226, 0, "",
         [](TFtpClient& c, ScriptedFtpServer&, FtpProbe&) {
             EXPECT_NE(GetFileAttributesA(c.LocalFileName.c_str()), INVALID_FILE_ATTRIBUTES);
             EXPECT_EQ(qftest::ReadFileBytes(c.LocalFileName), "");
         }},
        {"an accepted empty file is made",
         [](FtpScript& s) {
             Greet(s);
             s.DataSetup();
             s.Expect("RETR f", "150 Opening BINARY mode data connection.");
             s.DataReady();
             s.CloseData();
             s.Reply("226 Transfer complete.");
         },
         GetF(true), false, true, 226, 0, "",
         [](TFtpClient& c, ScriptedFtpServer&, FtpProbe&) {
             EXPECT_NE(GetFileAttributesA(c.LocalFileName.c_str()), INVALID_FILE_ATTRIBUTES);
             EXPECT_EQ(qftest::ReadFileBytes(c.LocalFileName), "");
         }},
    };
    for (auto& k : cases) RunCase(k);
}
