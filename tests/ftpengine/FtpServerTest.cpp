// The engine against real FTP servers on loopback: every request in both
// data-connection modes, files checked byte for byte.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "FtpClient.h"
#include "FtpTestProbe.h"
#include "TestSupport.h"
#include "core/Stream.h"

namespace {

struct Server {
    std::string name;
    int port;
    std::string root;  // as this program sees it
    std::string user, pass;
};

Server Pyftpd() {
    return {"pyftpdlib", qftest::PeerPort("QF_FTP_PORT"), qftest::HostPath(qftest::Env("QF_FTP_ROOT")),
            qftest::Env("QF_FTP_USER"), qftest::Env("QF_FTP_PASS")};
}

Server Vsftpd() {
    return {"vsftpd", qftest::PeerPort("QF_VSFTPD_PORT"), qftest::HostPath(qftest::Env("QF_VSFTPD_ROOT")),
            "anonymous", "guest@"};
}

void Prepare(TFtpClient& c, const Server& s, bool passive) {
    c.HostName = "127.0.0.1";
    c.Port = std::to_string(s.port);
    c.UserName = s.user;
    c.PassWord = s.pass;
    c.Passive = passive;
    c.Timeout = 10;
}

std::string Hash(const std::string& path) { return qftest::Sha256Hex(qftest::ReadFileBytes(path)); }

bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

int Count(const std::vector<std::string>& lines, const std::string& part) {
    int n = 0;
    for (auto& l : lines) n += Contains(l, part) ? 1 : 0;
    return n;
}

void TransferSuite(const Server& s, bool passive) {
    SCOPED_TRACE(s.name + (passive ? " passive" : " active"));
    qftest::TempDir local;
    TFtpClient c;
    Prepare(c, s, passive);
    FtpProbe p(c);
    int64_t lastCount = -1;
    int progressCalls = 0;
    c.OnProgress = [&](TObject*, int64_t count, bool&) {
        lastCount = count;
        ++progressCalls;
    };

    ASSERT_TRUE(c.Connect()) << c.ErrorMessage;
    EXPECT_EQ(p.sessionConnected, 1);
    ASSERT_TRUE(c.SetType()) << c.ErrorMessage;
    ASSERT_TRUE(c.Pwd()) << c.ErrorMessage;
    const std::string base = c.DirResult;  // "/" unless the server shows real paths

    std::string dirName = passive ? "pasv" : "port";
    std::string remoteDir = s.root + "\\" + dirName;
    c.HostFileName = dirName;
    const std::string fullDir = (base == "/" ? "" : base) + "/" + dirName;
    ASSERT_TRUE(c.Mkd()) << c.ErrorMessage;
    EXPECT_EQ(c.DirResult, fullDir);
    c.HostDirName = dirName;
    ASSERT_TRUE(c.Cwd()) << c.ErrorMessage;
    ASSERT_TRUE(c.Pwd());
    EXPECT_EQ(c.DirResult, fullDir);

    // put
    const std::string original = qftest::PatternBytes(300000, passive ? 11 : 12);
    c.LocalFileName = local.File("up.bin");
    qftest::WriteFileBytes(c.LocalFileName, original);
    c.HostFileName = "up.bin";
    p.display.clear();
    ASSERT_TRUE(c.Put()) << c.ErrorMessage;
    EXPECT_EQ(Hash(remoteDir + "\\up.bin"), qftest::Sha256Hex(original));
    EXPECT_EQ(lastCount, 300000);
    EXPECT_GE(progressCalls, 2);  // one per block (of at most 1 MiB) and one at the end
    EXPECT_EQ(Count(p.display, "300000 bytes received/sent in"), 1);

    // get
    c.LocalFileName = local.File("down.bin");
    p.display.clear();
    ASSERT_TRUE(c.Get()) << c.ErrorMessage;
    EXPECT_EQ(Hash(c.LocalFileName), qftest::Sha256Hex(original));
    EXPECT_EQ(Count(p.display, "300000 bytes received/sent in"), 1);

    // append
    const std::string more = qftest::PatternBytes(50000, 99);
    c.LocalFileName = local.File("more.bin");
    qftest::WriteFileBytes(c.LocalFileName, more);
    ASSERT_TRUE(c.RunSync(&TCustomFtpCli::AppendAsync)) << c.ErrorMessage;
    EXPECT_EQ(Hash(remoteDir + "\\up.bin"), qftest::Sha256Hex(original + more));

    // size
    ASSERT_TRUE(c.Size()) << c.ErrorMessage;
    EXPECT_EQ(c.SizeResult, 350000);

    // resumed get: the local part is kept, the rest comes from the offset
    c.LocalFileName = local.File("partial.bin");
    qftest::WriteFileBytes(c.LocalFileName, (original + more).substr(0, 123456));
    lastCount = -1;
    ASSERT_TRUE(c.RestGet()) << c.ErrorMessage;
    EXPECT_EQ(Hash(c.LocalFileName), qftest::Sha256Hex(original + more));
    EXPECT_EQ(lastCount, 350000);
    EXPECT_EQ(c.ResumeAt, 0);

    // resumed put: the server keeps what lies before the offset
    qftest::WriteFileBytes(remoteDir + "\\res.bin", original.substr(0, 120000));
    c.LocalFileName = local.File("up.bin");
    c.HostFileName = "res.bin";
    c.ResumeAt = 120000;
    ASSERT_TRUE(c.Put()) << c.ErrorMessage;
    EXPECT_EQ(Hash(remoteDir + "\\res.bin"), qftest::Sha256Hex(original));

    // zero-length upload
    c.LocalFileName = local.File("empty.bin");
    qftest::WriteFileBytes(c.LocalFileName, "");
    c.HostFileName = "empty.bin";
    ASSERT_TRUE(c.Put()) << c.ErrorMessage;
    EXPECT_TRUE(FileExists(remoteDir + "\\empty.bin"));
    EXPECT_EQ(qftest::ReadFileBytes(remoteDir + "\\empty.bin"), "");

    // list and name list
    c.LocalFileName = local.File("list.txt");
    c.HostFileName = "";
    ASSERT_TRUE(c.Dir()) << c.ErrorMessage;
    std::string list = qftest::ReadFileBytes(c.LocalFileName);
    EXPECT_TRUE(Contains(list, "up.bin") && Contains(list, "res.bin") && Contains(list, "empty.bin")) << list;
    EXPECT_TRUE(Contains(list, "350000")) << list;
    c.LocalFileName = local.File("nlst.txt");
    ASSERT_TRUE(c.RunSync(&TCustomFtpCli::NameListAsync)) << c.ErrorMessage;
    std::string names = qftest::ReadFileBytes(c.LocalFileName);
    EXPECT_TRUE(Contains(names, "up.bin\r\n") && Contains(names, "res.bin\r\n")) << names;
    EXPECT_FALSE(Contains(names, "350000")) << names;

    // rename, delete, raw command, folders
    c.HostFileName = "empty.bin";
    c.LocalFileName = "renamed.bin";
    ASSERT_TRUE(c.Rename()) << c.ErrorMessage;
    EXPECT_TRUE(FileExists(remoteDir + "\\renamed.bin"));
    c.HostFileName = "renamed.bin";
    ASSERT_TRUE(c.Dele()) << c.ErrorMessage;
    EXPECT_FALSE(FileExists(remoteDir + "\\renamed.bin"));
    c.HostFileName = "nothere.bin";
    EXPECT_FALSE(c.Dele());
    EXPECT_EQ(c.StatusCode, 550);
    c.LocalFileName = "NOOP";
    ASSERT_TRUE(c.Quote()) << c.ErrorMessage;
    EXPECT_EQ(c.StatusCode, 200);
    ASSERT_TRUE(c.RunSync(&TCustomFtpCli::SystAsync));
    EXPECT_EQ(c.StatusCode, 215);
    c.HostFileName = "sub";
    ASSERT_TRUE(c.Mkd()) << c.ErrorMessage;
    ASSERT_TRUE(c.Rmd()) << c.ErrorMessage;
    ASSERT_TRUE(c.CDup()) << c.ErrorMessage;
    ASSERT_TRUE(c.Pwd());
    EXPECT_EQ(c.DirResult, base);

    ASSERT_TRUE(c.Quit()) << c.ErrorMessage;
    EXPECT_EQ(c.StatusCode, 221);
    EXPECT_FALSE(c.IsConnected());
    EXPECT_EQ(p.sessionClosed, 1);
    EXPECT_TRUE(p.WaitDone(25));
    EXPECT_EQ(p.done.size(), 25u);
    for (auto& d : p.done) {
        if (d.first != ftpRqDele) {
            EXPECT_EQ(d.second, 0) << "request " << int(d.first);
        }
    }
}

}  // namespace

TEST(FtpPyftpdlib, EveryRequestPassive) { TransferSuite(Pyftpd(), true); }
TEST(FtpPyftpdlib, EveryRequestActive) { TransferSuite(Pyftpd(), false); }
TEST(FtpVsftpd, EveryRequestPassive) { TransferSuite(Vsftpd(), true); }
TEST(FtpVsftpd, EveryRequestActive) { TransferSuite(Vsftpd(), false); }

// Asynchronous operations return at once; OnRequestDone comes later, from the message loop.
TEST(FtpPyftpdlib, AsynchronousRequests) {
    Server s = Pyftpd();
    qftest::TempDir local;
    TFtpClient c;
    Prepare(c, s, true);
    FtpProbe p(c);
    auto run = [&](void (TCustomFtpCli::*op)(), TFtpRequest rq) {
        size_t before = p.done.size();
        p.states.clear();
        p.insideCall = true;
        (c.*op)();
        p.insideCall = false;
        EXPECT_EQ(p.done.size(), before);
        EXPECT_TRUE(p.WaitDone(before + 1));
        ASSERT_EQ(p.done.size(), before + 1);
        EXPECT_EQ(p.done.back().first, rq);
        EXPECT_EQ(p.done.back().second, 0) << c.ErrorMessage;
        EXPECT_EQ(c.State(), ftpStReady);
    };
    run(&TCustomFtpCli::ConnectAsync, ftpRqLogin);
    run(&TCustomFtpCli::BinaryTypeAsync, ftpRqType);
    const std::string data = qftest::PatternBytes(70000, 3);
    c.LocalFileName = local.File("a.bin");
    qftest::WriteFileBytes(c.LocalFileName, data);
    c.HostFileName = "async.bin";
    run(&TCustomFtpCli::PutAsync, ftpRqPut);
    EXPECT_EQ(p.states, (std::vector<int>{ftpStWaitingResponse, ftpStStepDone, ftpStWaitingResponse, ftpStStepDone,
                                           ftpStReady}));
    c.LocalFileName = local.File("b.bin");
    run(&TCustomFtpCli::GetAsync, ftpRqGet);
    EXPECT_EQ(p.states, (std::vector<int>{ftpStWaitingResponse, ftpStStepDone, ftpStWaitingResponse, ftpStStepDone,
                                           ftpStReady}));
    EXPECT_EQ(Hash(c.LocalFileName), qftest::Sha256Hex(data));
    run(&TCustomFtpCli::AsciiTypeAsync, ftpRqType);
    EXPECT_FALSE(c.Binary());
    c.LocalFileName = local.File("l.txt");
    c.HostFileName = "";
    run(&TCustomFtpCli::DirAsync, ftpRqDir);
    EXPECT_TRUE(Contains(qftest::ReadFileBytes(c.LocalFileName), "async.bin"));
    run(&TCustomFtpCli::QuitAsync, ftpRqQuit);
    EXPECT_FALSE(c.IsConnected());
    EXPECT_FALSE(p.doneInsideCall);
}

// Full requests log in, work and quit in one go, reporting the reply before the QUIT.
TEST(FtpVsftpd, FullRequests) {
    Server s = Vsftpd();
    qftest::TempDir local;
    const std::string data = qftest::PatternBytes(40000, 5);
    CreateDirectoryA((s.root + "\\full").c_str(), nullptr);
    qftest::WriteFileBytes(s.root + "\\full\\f.bin", data);
    TFtpClient c;
    Prepare(c, s, true);
    c.HostDirName = "full";
    c.HostFileName = "f.bin";
    c.LocalFileName = local.File("f.bin");
    ASSERT_TRUE(c.RunSync(&TCustomFtpCli::FullGetAsync)) << c.ErrorMessage;
    EXPECT_EQ(Hash(c.LocalFileName), qftest::Sha256Hex(data));
    EXPECT_EQ(c.StatusCode, 226);
    EXPECT_FALSE(c.IsConnected());
    ASSERT_TRUE(c.RunSync(&TCustomFtpCli::FullSizeAsync)) << c.ErrorMessage;
    EXPECT_EQ(c.SizeResult, 40000);
    EXPECT_EQ(c.StatusCode, 213);
}

// OnProgress may stop a transfer; a stopped transfer never counts as a success.
TEST(FtpPyftpdlib, AbortFromOnProgress) {
    Server s = Pyftpd();
    qftest::TempDir local;
    const std::string big = qftest::PatternBytes(8 << 20, 21);
    qftest::WriteFileBytes(s.root + "\\big.bin", big);
    for (bool passive : {true, false}) {
        SCOPED_TRACE(passive ? "passive" : "active");
        TFtpClient c;
        Prepare(c, s, passive);
        FtpProbe p(c);
        c.OnProgress = [](TObject*, int64_t count, bool& abort) { abort = count > (1 << 20); };
        ASSERT_TRUE(c.Connect());
        ASSERT_TRUE(c.SetType());
        c.HostFileName = "big.bin";
        c.LocalFileName = local.File("big.bin");
        EXPECT_FALSE(c.Get());
        EXPECT_EQ(c.ErrorMessage, "426 Abort requested");
        EXPECT_LT(qftest::ReadFileBytes(c.LocalFileName).size(), big.size());
        EXPECT_TRUE(p.Displayed("! Abort requested"));
        EXPECT_EQ(c.DataConnection()->State(), wsClosed);
        // The session goes on.
        c.OnProgress = nullptr;
        EXPECT_TRUE(c.Pwd()) << c.ErrorMessage;
        c.OnProgress = [](TObject*, int64_t count, bool& abort) { abort = count > (1 << 20); };
        c.HostFileName = passive ? "up_p.bin" : "up_a.bin";
        EXPECT_FALSE(c.Put());
        EXPECT_NE(c.ErrorMessage.find("426"), std::string::npos) << c.ErrorMessage;
        c.OnProgress = nullptr;
        EXPECT_TRUE(c.Pwd()) << c.ErrorMessage;
        ASSERT_TRUE(p.WaitDone(6));
        ASSERT_EQ(p.done.size(), 6u);
        EXPECT_EQ(p.done[2].second, 426);
        EXPECT_EQ(p.done[4].second, 426);
    }
}

namespace {

// A file of Size bytes whose last Tail bytes are given; the rest is a hole.
void MakeSparse(const std::string& path, int64_t size, const std::string& tail) {
    TFileStream f(path, fmCreate);
    f.SetSize(size - static_cast<int64_t>(tail.size()));
    f.Seek(0, soEnd);
    f.WriteBuffer(tail.data(), static_cast<int32_t>(tail.size()));
}

std::string ReadTail(const std::string& path, int64_t from, int32_t count) {
    TFileStream f(path, fmOpenRead | fmShareDenyNone);
    std::string s(static_cast<size_t>(count), '\0');
    f.Seek(from, soBeginning);
    s.resize(static_cast<size_t>(f.Read(&s[0], count)));
    return s;
}

}  // namespace

// Offsets and sizes beyond 2 GiB: resume a download and an upload there.
TEST(FtpPyftpdlib, ResumeBeyondTwoGiB) {
    Server s = Pyftpd();
    qftest::TempDir local;
    const int64_t offset = (int64_t(1) << 31) + 4096;
    const std::string tail = qftest::PatternBytes(65536, 8);
    MakeSparse(s.root + "\\huge.bin", offset + 65536, tail);
    for (bool passive : {true, false}) {
        SCOPED_TRACE(passive ? "passive" : "active");
        TFtpClient c;
        Prepare(c, s, passive);
        ASSERT_TRUE(c.Connect());
        ASSERT_TRUE(c.SetType());
        c.HostFileName = "huge.bin";
        ASSERT_TRUE(c.Size());
        EXPECT_EQ(c.SizeResult, offset + 65536);

        c.LocalFileName = local.File(passive ? "huge_p.bin" : "huge_a.bin");
        MakeSparse(c.LocalFileName, offset, "");
        int64_t first = -1;
        c.OnProgress = [&](TObject*, int64_t count, bool&) {
            if (first < 0) first = count;
        };
        ASSERT_TRUE(c.RestGet()) << c.ErrorMessage;
        EXPECT_EQ(first, offset);
        {
            TFileStream check(c.LocalFileName, fmOpenRead | fmShareDenyNone);
            EXPECT_EQ(check.Size(), offset + 65536);
        }
        EXPECT_EQ(qftest::Sha256Hex(ReadTail(c.LocalFileName, offset, 65536)), qftest::Sha256Hex(tail));

        // Upload: the server has the first part, the local file all of it.
        std::string remote = passive ? "up_p.bin" : "up_a.bin";
        MakeSparse(s.root + "\\" + remote, offset, "");
        c.HostFileName = remote;
        c.ResumeAt = offset;
        c.OnProgress = nullptr;
        ASSERT_TRUE(c.Put()) << c.ErrorMessage;
        EXPECT_EQ(qftest::Sha256Hex(ReadTail(s.root + "\\" + remote, offset, 65536)), qftest::Sha256Hex(tail));
        {
            TFileStream up(s.root + "\\" + remote, fmOpenRead | fmShareDenyNone);
            EXPECT_EQ(up.Size(), offset + 65536);
        }
        DeleteFileA(c.LocalFileName.c_str());
    }
}
