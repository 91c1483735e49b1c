// The remote list's order: the platform's locale comparison, case-sensitive,
// on real listings of pyftpdlib and vsftpd with mixed-case, digit and
// punctuation names (uploaded through the engine, so names apart only in
// letter case exist side by side).
#include <gtest/gtest.h>

#include <algorithm>

#include "FtpClient.h"
#include "LocaleCollation.h"
#include "MainWindowSupport.h"

using namespace qfclient;

namespace {

const std::vector<std::string> kOrderFiles = {
    "README", "apple", "Apple.doc", "apple.doc", "Zeta.txt", "zeta.txt", "_under", "-dash", "10.txt", "9.txt",
    "a-b.txt", "ab.txt", "a b.txt", "B.txt", "b.txt", "~tilde", "#hash", "(paren)", "x.TXT", "X.txt", "co-op",
    "coop", "Co-op"};
const std::vector<std::string> kOrderFolders = {"Docs", "bin", "2020", "_tmp", "zz-last", "Bin2"};

// The platform's own comparison of two names, as a user's other programs sort them.
bool PlatformLess(const std::string& a, const std::string& b) { return lstrcmpA(a.c_str(), b.c_str()) < 0; }

std::vector<std::string> PlatformOrder(std::vector<std::string> names) {
    std::stable_sort(names.begin(), names.end(), PlatformLess);
    return names;
}

// Makes the folder "order" on the server through the engine and fills it.
void UploadOrderFolder(const Server& s, const std::string& scratch) {
    TFtpClient c;
    c.HostName = "127.0.0.1";
    c.Port = s.port;
    c.UserName = s.user;
    c.PassWord = s.pass;
    c.Timeout = 10;
    ASSERT_TRUE(c.Connect()) << c.ErrorMessage;
    c.HostFileName = "order";
    ASSERT_TRUE(c.Mkd()) << c.ErrorMessage;
    c.HostDirName = "order";
    ASSERT_TRUE(c.Cwd()) << c.ErrorMessage;
    for (const std::string& f : kOrderFolders) {
        c.HostFileName = f;
        EXPECT_TRUE(c.Mkd()) << f << ": " << c.ErrorMessage;
    }
    qftest::WriteFileBytes(scratch, "x");
    c.Passive = true;
    c.LocalFileName = scratch;
    for (const std::string& f : kOrderFiles) {
        c.HostFileName = f;
        EXPECT_TRUE(c.Put()) << f << ": " << c.ErrorMessage;
    }
    c.Quit();
}

}  // namespace

// The sort keys the list is sorted on order names as the comparison does,
// and that comparison is the platform's: case-insensitive first ("apple"
// before "README"), lower case before upper case among equals.
TEST(RemoteOrder, LocaleKeysAgreeWithThePlatformsComparison) {
    std::vector<std::string> names = kOrderFiles;
    names.insert(names.end(), kOrderFolders.begin(), kOrderFolders.end());
    names.insert(names.end(), {"", "a", "A", "aa", "a.", "a..", "\x80", "\xe9t\xe9", "ETE", "~", "!", "0", "00"});
    const TLocaleCollation& c = TLocaleCollation::Instance();
    for (const std::string& a : names)
        for (const std::string& b : names) {
            const int byCompare = c.Compare(a, b), byKey = c.SortKey(a).compare(c.SortKey(b));
            const int platform = lstrcmpA(a.c_str(), b.c_str());
            EXPECT_EQ(byCompare < 0, platform < 0) << "'" << a << "' '" << b << "'";
            EXPECT_EQ(byCompare > 0, platform > 0) << "'" << a << "' '" << b << "'";
            EXPECT_EQ(byKey < 0, byCompare < 0) << "'" << a << "' '" << b << "'";
            EXPECT_EQ(byKey > 0, byCompare > 0) << "'" << a << "' '" << b << "'";
        }
    EXPECT_LT(c.Compare("apple", "README"), 0);
    EXPECT_LT(c.Compare("README", "zeta.txt"), 0);
    EXPECT_LT(c.Compare("a", "A"), 0);
    EXPECT_LT(c.Compare("A", "b"), 0);
}

// Real listings of both servers, in the order the platform gives the names
// (folders first), which is not the order of their bytes.
TEST(RemoteOrder, RealListingsInThePlatformsOrder) {
    for (const Server& s : {Pyftpd(), Vsftpd()}) {
        SCOPED_TRACE(s.name);
        Program prog;
        UploadOrderFolder(s, prog.folder.File("one-byte.bin"));
        WriteSiteFile(prog, s, true);
        TfrmMain m(prog.Settings());
        m.Show();
        ConnectFromMenu(m);
        ASSERT_TRUE(m.FTP->IsConnected());
        m.ChangeServerDir("order");
        m.QueuePwd();
        m.QueueList();
        std::vector<std::string> shown;
        for (const TListingEntry& e : m.RemoteRows) shown.push_back(e.Name);
        std::vector<std::string> expected = {".", ".."};
        for (auto& f : PlatformOrder(kOrderFolders)) expected.push_back(f);
        for (auto& f : PlatformOrder(kOrderFiles)) expected.push_back(f);
        EXPECT_EQ(shown, expected);
        // The window's rows as the list shows them, in that order too.
        ASSERT_EQ(m.lvServerFiles->Count(), static_cast<int>(expected.size()));
        for (int i = 0; i < m.lvServerFiles->Count(); ++i) EXPECT_EQ(m.lvServerFiles->Row(i).Caption, expected[i]);
        // The bytes would give another order: the test tells them apart.
        std::vector<std::string> bytewise = kOrderFiles;
        std::sort(bytewise.begin(), bytewise.end());
        EXPECT_NE(bytewise, PlatformOrder(kOrderFiles));
        EXPECT_LT(m.RemoteIndexOf("apple"), m.RemoteIndexOf("README"));
        if (::testing::Test::HasFailure())
            for (auto& n : shown) printf("shown: %s\n", n.c_str());
        m.tb97DisconnectClick();
    }
}
