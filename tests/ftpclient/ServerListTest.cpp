#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ftpclient/core/ServerList.h"
#include "ftpclient/core/TextIniFile.h"

namespace {

TFTPServer Site(const std::string& name, const std::string& host = "h") {
    TFTPServer s;
    s.Name = name;
    s.Hostname = host;
    s.Username = "anonymous";
    s.Password = "a@b";
    return s;
}

std::vector<std::string> Names(const TServerList& l) {
    std::vector<std::string> out;
    for (int i = 0; i < l.Count(); ++i) out.push_back(l.Items(i).Name);
    return out;
}

}  // namespace

TEST(ServerList, SortedByNameCaseAside) {
    TServerList l;
    std::string msg;
    for (const char* n : {"beta", "Alpha", "gamma"}) ASSERT_TRUE(l.Add(Site(n), msg)) << n;
    EXPECT_EQ(Names(l), (std::vector<std::string>{"Alpha", "beta", "gamma"}));
    EXPECT_EQ(l.IndexOf("ALPHA"), 0);
    EXPECT_EQ(l.IndexOf("delta"), -1);
}

TEST(ServerList, DuplicatesRefusedWithAMessage) {
    TServerList l;
    int changes = 0;
    l.OnChange = [&] { ++changes; };
    std::string msg;
    ASSERT_TRUE(l.Add(Site("Home"), msg));
    EXPECT_FALSE(l.Add(Site("HOME", "other"), msg));
    EXPECT_EQ(msg, TServerList::DuplicateMessage("HOME"));
    EXPECT_EQ(l.Count(), 1);
    EXPECT_EQ(l.Items(0).Hostname, "h");
    EXPECT_FALSE(l.Add(Site(""), msg));
    EXPECT_EQ(msg, "You must enter a name for this FTP Server");

    // Edit may not take another site's name either.
    ASSERT_TRUE(l.Add(Site("Work"), msg));
    int work = l.IndexOf("Work");
    msg.clear();
    EXPECT_FALSE(l.Update(work, Site("home"), msg));
    EXPECT_FALSE(msg.empty());
    EXPECT_EQ(Names(l), (std::vector<std::string>{"Home", "Work"}));
    // Its own name in another letter case is fine.
    EXPECT_TRUE(l.Update(work, Site("WORK", "new"), msg));
    EXPECT_EQ(l.Items(l.IndexOf("work")).Hostname, "new");
    EXPECT_EQ(changes, 3);
}

TEST(ServerList, RenameIsReKeyed) {
    TServerList l;
    std::string msg;
    for (const char* n : {"a", "m", "z"}) ASSERT_TRUE(l.Add(Site(n), msg));
    ASSERT_TRUE(l.Update(0, Site("zz"), msg));
    EXPECT_EQ(Names(l), (std::vector<std::string>{"m", "z", "zz"}));
    EXPECT_EQ(l.IndexOf("a"), -1);
    EXPECT_EQ(l.IndexOf("zz"), 2);
    // The re-keyed list still refuses the new name.
    EXPECT_FALSE(l.Add(Site("ZZ"), msg));
}

TEST(ServerList, MenuItemsAndTags) {
    TServerList l;
    std::string msg;
    for (const char* n : {"b", "a"}) ASSERT_TRUE(l.Add(Site(n), msg));
    auto items = l.BuildMenu();
    ASSERT_EQ(items.size(), 2u);
    EXPECT_EQ(items[0].Caption, "1. a");
    EXPECT_EQ(items[0].Tag, 101);
    EXPECT_EQ(items[1].Caption, "2. b");
    EXPECT_EQ(l.IndexOfMenuTag(102), 1);
    EXPECT_EQ(l.IndexOfMenuTag(100), -1);
    l.ClearMenuTags();
    EXPECT_EQ(l.IndexOfMenuTag(101), -1);
}

TEST(ServerList, LoadReadsGeneralAndDropsNamelessAndRepeatedSites) {
    TTextIniFile ini(
        "[General]\r\nCount=4\r\nSync=0\r\nFTPTimeOut=45\r\n"
        "[Server1]\r\nName=\"zeta\"\r\nUsername=\"anonymous\"\r\nPassword=\"x@y\"\r\n"
        "[Server2]\r\nHostname=\"nameless\"\r\n"
        "[Server3]\r\nName=\"Alpha\"\r\nUsername=\"joe\"\r\nPassword=\"0A7A\"\r\nPASV=Yes\r\n"
        "[Server4]\r\nName=\"ZETA\"\r\nHostname=\"second\"\r\n");
    TServerList l;
    TSiteFileGeneral g = l.Load(ini);
    EXPECT_FALSE(g.Sync);
    EXPECT_EQ(g.FTPTimeOut, 45);
    EXPECT_EQ(Names(l), (std::vector<std::string>{"Alpha", "zeta"}));
    EXPECT_EQ(l.Items(0).Password, "p");
    EXPECT_TRUE(l.Items(0).IsPassive());
    EXPECT_EQ(l.Items(1).Hostname, "");
    EXPECT_EQ(ini.ReadString("General", "Temp", ""), "Temp");

    TTextIniFile empty;
    TServerList none;
    TSiteFileGeneral d = none.Load(empty);
    EXPECT_TRUE(d.Sync);
    EXPECT_EQ(d.FTPTimeOut, 30);
    EXPECT_EQ(none.Count(), 0);
}

TEST(ServerList, HugeOrNegativeCountEndsQuickly) {
    for (const char* count : {"2147483647", "-5", "many"}) {
        TTextIniFile ini(std::string("[General]\nCount=") + count + "\n[Server1]\nName=\"a\"\n");
        TServerList l;
        l.Load(ini);
        EXPECT_LE(l.Count(), 1) << count;
        ASSERT_TRUE(l.Save(ini, [] { return 1; })) << count;
    }
}

TEST(ServerList, SavedFileBytesWithSurplusSectionsErased) {
    TTextIniFile ini(
        "[General]\r\nTemp=Temp\r\nCount=3\r\n"
        "[Server1]\r\nName=\"old1\"\r\n"
        "[Server2]\r\nName=\"old2\"\r\n"
        "[Server3]\r\nName=\"old3\"\r\n");
    TServerList l;
    std::string msg;
    TFTPServer s;
    s.Name = "Local demo";
    s.Hostname = "127.0.0.1";
    s.Port = "2121";
    s.Username = "demo";
    s.Password = "p";
    s.PasvMode = 0;
    ASSERT_TRUE(l.Add(s, msg));
    ASSERT_TRUE(l.Save(ini, [] { return 10; }));
    EXPECT_EQ(ini.Text(),
              "[General]\r\nTemp=Temp\r\nCount=1\r\n"
              "\r\n"
              "[Server1]\r\nName=\"Local demo\"\r\nHostname=\"127.0.0.1\"\r\nPort=\"2121\"\r\n"
              "Username=\"demo\"\r\nPassword=\"0A7A\"\r\nPASV=No\r\nStartDir=\"\"\r\nLocalStartDir=\"\"\r\n");
    EXPECT_FALSE(ini.SectionExists("Server2"));
    EXPECT_FALSE(ini.SectionExists("Server3"));

    TServerList back;
    back.Load(ini);
    ASSERT_EQ(back.Count(), 1);
    EXPECT_EQ(back.Items(0), s);
}
