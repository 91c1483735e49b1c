// What OnProgress reports while data trickles in: every event brings new
// bytes, however the data and its notifications are cut up.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "FtpClient.h"
#include "FtpScriptedCase.h"
#include "FtpTestProbe.h"
#include "ScriptedFtpServer.h"
#include "TestSupport.h"

namespace {

constexpr int kTrickleChunks = 20;
constexpr size_t kTrickleChunk = 100;

std::string DescribeCounts(const std::vector<int64_t>& counts) {
    std::string s;
    for (int64_t c : counts) s += " " + std::to_string(c);
    return s;
}

}  // namespace

// A slow server sends 100 bytes every 50 ms: each event has a count above
// the one before, from the resume offset up to the whole file.
TEST(FtpProgress, TrickledDownloadNeverRepeatsACount) {
    const std::string payload = qftest::PatternBytes(kTrickleChunks * kTrickleChunk, 31);
    for (bool passive : {true, false}) {
        for (bool resumed : {false, true}) {
            SCOPED_TRACE(std::string(passive ? "passive" : "active") + (resumed ? ", resumed" : ""));
            const size_t from = resumed ? 500 : 0;
            ScriptedFtpServer srv([&](FtpScript& s) {
                Greet(s);
                s.DataSetup();
                if (resumed) s.Expect("REST 500", "350 Restarting at 500.");
                s.Expect("RETR f", "150 Opening BINARY mode data connection.");
                s.DataReady();
                for (size_t at = from; at < payload.size(); at += kTrickleChunk) {
                    s.DataSend(payload.substr(at, kTrickleChunk));
                    s.Pause(50);
                }
                s.CloseData();
                s.Reply("226 Transfer complete.");
            });
            qftest::TempDir dir;
            TFtpClient c;
            Prepare(c, srv);
            c.Passive = passive;
            c.HostFileName = "f";
            c.LocalFileName = dir.File("f.bin");
            if (resumed) qftest::WriteFileBytes(c.LocalFileName, payload.substr(0, from));
            std::vector<int64_t> counts;
            c.OnProgress = [&](TObject*, int64_t count, bool&) { counts.push_back(count); };
            ASSERT_TRUE(c.Connect()) << c.ErrorMessage;
            EXPECT_TRUE(resumed ? c.RestGet() : c.Get()) << c.ErrorMessage;
            EXPECT_EQ(qftest::ReadFileBytes(c.LocalFileName), payload);
            ASSERT_FALSE(counts.empty());
            EXPECT_EQ(counts.front(), static_cast<int64_t>(from));
            EXPECT_EQ(counts.back(), static_cast<int64_t>(payload.size()));
            for (size_t i = 1; i < counts.size(); ++i)
                EXPECT_GT(counts[i], counts[i - 1]) << "event " << i << " of" << DescribeCounts(counts);
            c.Abort();
            EXPECT_TRUE(srv.WaitDone());
            EXPECT_EQ(srv.ErrorText(), "");
        }
    }
}
