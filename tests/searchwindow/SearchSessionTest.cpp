#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <memory>

#include "EngineFakes.h"
#include "masks/core/DefaultMasks.h"
#include "masks/core/MaskParseError.h"
#include "searchwindow/core/SearchSession.h"

namespace {
struct Fixture {
    std::vector<std::string> log;
    RecordingEngine engine{log};
    MemoryDatabase db{log};
    RecordingView view{log};
    SearchSession session{engine, db, view};
    Fixture() { session.FormatTableAddress = "file://C:\\p\\Resource/HTML.ftbl"; }
    void Loaded() {
        session.Load();
        log.clear();
    }
};

std::vector<std::string> StartUpLog() {
    std::vector<std::string> l = {"Database.Create",   "Search.Create",     "ThreadPriority := 0",
                                  "PortionSize := 512", "PreloadSize := 512", "FileMul := 10",
                                  "AddProtocol file://", "AddProtocol http://", "AddProtocol ftp://",
                                  "AddProtocol gopher://", "AddProtocol mailto:"};
    const char* p[5] = {"file://", "http://", "ftp://", "gopher://", "mailto:"};
    for (int i = 0; i < 5; ++i) {
        l.push_back("view: protocol box " + std::to_string(i) + " checked");
        l.push_back(std::string("EnableProtocol ") + p[i]);
    }
    l.insert(l.end(), {"MaxFound := -1", "MaxLevel := -1", "LoadMetaprocessorTable file://C:\\p\\Resource/HTML.ftbl"});
    for (int i = 0; i < 6; ++i) l.push_back("AttachChannel");
    l.push_back("ChannelCount");
    l.push_back("EmptyMasks");
    for (const DefaultMask& d : kDefaultMasks) l.push_back(std::string("AddMask ") + d.MaskName);
    l.insert(l.end(), {"view: setting 0 \"7\"", "AttachChannel", "ChannelCount", "ChannelCount",
                       "view: setting 0 \"7\"", "view: setting 2 \"Not test\"", "MaxLevel := -1",
                       "view: setting 1 \"Not test\"", "MaxFound := -1", "view: setting 3 \"512\"",
                       "PortionSize := 512", "ThreadPriority", "view: priority 0"});
    return l;
}
}  // namespace

TEST(SearchSession, StartUpCallLog) {
    Fixture f;
    f.session.Load();
    EXPECT_EQ(f.log, StartUpLog());
    EXPECT_EQ(f.engine.Channels, 7);
    EXPECT_EQ(f.session.ChannelCountWanted, 7);
    EXPECT_EQ(f.session.ReadBlockSetting, 512);
    EXPECT_EQ(f.session.Masks.Count(), kDefaultMaskCount);
    for (bool on : f.session.ProtocolOn) EXPECT_TRUE(on);
}

TEST(SearchSession, ClosingDuringARunWaitsForIdleBeforeTruncating) {
    Fixture f;
    f.Loaded();
    f.engine.StatusValue = 3;
    f.session.RunState = SearchRunState::Running;
    f.view.EngineToIdle = &f.engine;  // the crawl ends after a few pumps
    ASSERT_TRUE(f.session.Unload());
    EXPECT_EQ(f.engine.Channels, 0) << "TruncateChannels reached an idle engine";
    const std::vector<std::string> tail(f.log.end() - 3, f.log.end());
    EXPECT_EQ(tail, (std::vector<std::string>{"TruncateChannels 0 -1", "Search.Destroy", "Database.Destroy"}));
    EXPECT_GE(f.view.Pumped, 3);
}

// Once the save question lets the close go on, the status says the session ends.
TEST(SearchSession, ClosingSaysEndingSessionBeforeTheChannelsGo) {
    Fixture f;
    f.Loaded();
    ASSERT_TRUE(f.session.Unload());
    const auto at = [&](const std::string& line) { return std::find(f.log.begin(), f.log.end(), line) - f.log.begin(); };
    EXPECT_LT(at("view: status \"Ending session...\""), at("TruncateChannels 0 -1"));
    EXPECT_LT(at("view: status \"Ending session...\""), static_cast<long>(f.log.size()));
}

TEST(SearchSession, ClosingWithCancelKeepsEverything) {
    Fixture f;
    f.Loaded();
    f.session.SearchModified = true;
    f.view.Answer = SaveAnswer::Cancel;
    EXPECT_FALSE(f.session.Unload());
    EXPECT_EQ(f.engine.Channels, 7);
    EXPECT_EQ(f.log, (std::vector<std::string>{"view: ask \"Save changes in current project?\""}));
}

TEST(SearchSession, RefusedStartKeepsTheResultsAndSaysSo) {
    Fixture f;
    f.Loaded();
    f.db.Add("http://kept/");
    f.engine.Channels = 0;  // no channel: the engine would refuse
    EXPECT_FALSE(f.session.StartSearch("127.0.0.1", false));
    EXPECT_EQ(f.db.Records.size(), 1u);
    EXPECT_EQ(f.log.back(),
              "view: message \"Can not start search - http://127.0.0.1 - no channel is attached\" \"Error\"");
    // With channels but a refusing engine, the user is told.
    f.engine.Channels = 7;
    f.engine.StartResult = 0;
    EXPECT_FALSE(f.session.StartSearch("127.0.0.1", false));
    EXPECT_EQ(f.log.back(), "view: message \"Can not start search - http://127.0.0.1\" \"Error\"");
    EXPECT_EQ(f.session.RunState, SearchRunState::Idle);
}

TEST(SearchSession, StartAsksToSaveBeforeEmptying) {
    Fixture f;
    f.Loaded();
    f.db.Add("http://kept/");
    f.session.SearchModified = true;
    f.view.Answer = SaveAnswer::Cancel;
    EXPECT_FALSE(f.session.StartSearch("http://h/", false));
    EXPECT_EQ(f.db.Records.size(), 1u);
    f.view.Answer = SaveAnswer::No;
    EXPECT_TRUE(f.session.StartSearch("http://h/", false));
    EXPECT_TRUE(f.db.Records.empty());
    EXPECT_EQ(f.session.RunState, SearchRunState::Running);
}

TEST(SearchSession, AskSaveChangesTrueOnlyWhenSaved) {
    struct Row {
        const char* name;
        bool modified;
        SaveAnswer answer;
        bool saved;
        bool proceed;
    } rows[] = {
        {"nothing modified", false, SaveAnswer::Cancel, false, true},
        {"cancel", true, SaveAnswer::Cancel, true, false},
        {"no", true, SaveAnswer::No, false, true},
        {"yes and saved", true, SaveAnswer::Yes, true, true},
        {"yes but the save was cancelled or failed", true, SaveAnswer::Yes, false, false},
    };
    for (const Row& r : rows) {
        Fixture f;
        f.session.SearchModified = r.modified;
        f.view.Answer = r.answer;
        f.view.SaveSucceeds = r.saved;
        EXPECT_EQ(f.session.AskSaveChanges(), r.proceed) << r.name;
        bool proceed = !r.proceed;
        f.session.AskSaveChanges(proceed);
        EXPECT_EQ(proceed, r.proceed) << r.name << " (out-argument form)";
    }
    Fixture g;
    g.session.SearchModified = true;
    g.session.SearchFile = "C:\\x\\a.search";
    g.session.AskSaveChanges();
    EXPECT_EQ(g.log.front(), "view: ask \"Save changes in - C:\\x\\a.search ?\"");
}

TEST(SearchSession, NewSearchWaitsForTheRunToEnd) {
    Fixture f;
    f.Loaded();
    f.db.Add("http://a/");
    f.engine.StatusValue = 3;
    f.session.RunState = SearchRunState::Running;
    f.view.EngineToIdle = &f.engine;
    ASSERT_TRUE(f.session.NewSearch());
    const auto stop = std::find(f.log.begin(), f.log.end(), "Stop");
    const auto empty = std::find(f.log.begin(), f.log.end(), "Empty");
    ASSERT_NE(stop, f.log.end());
    ASSERT_NE(empty, f.log.end());
    EXPECT_LT(stop, empty);
    EXPECT_GE(f.view.Pumped, 3) << "emptied only after Status read 0";
    EXPECT_EQ(f.session.RunState, SearchRunState::Idle);
    // A crawl that never ends: the database is left alone.
    Fixture g;
    g.Loaded();
    g.db.Add("http://a/");
    g.engine.StatusValue = 3;
    g.session.RunState = SearchRunState::Running;
    EXPECT_FALSE(g.session.NewSearch());
    EXPECT_EQ(g.db.Records.size(), 1u);
}

// The Options panel's number edits: what is stored, what the box shows
// again, and what reaches the engine.
TEST(SearchSession, TypedSettingsFollowTheEditsTable) {
    struct Row {
        Spinner which;
        const char* typed;
        int32_t stored;
        std::vector<std::string> log;
    } rows[] = {
        {Spinner::ChannelCount, "0", 1, {"TruncateChannels 1 -1", "ChannelCount", "ChannelCount", "view: setting 0 \"1\""}},
        {Spinner::ChannelCount, "-3", 1, {"TruncateChannels 1 -1", "ChannelCount", "ChannelCount", "view: setting 0 \"1\""}},
        {Spinner::ChannelCount, " 3 ", 3, {"TruncateChannels 3 -1", "ChannelCount", "ChannelCount", "view: setting 0 \"3\""}},
        {Spinner::ChannelCount, "x", 7, {"view: setting 0 \"7\""}},
        {Spinner::ChannelCount, "", 7, {"view: setting 0 \"7\""}},
        {Spinner::MaxFound, "-5", -1, {"view: setting 1 \"Not test\""}},
        {Spinner::MaxFound, "007", 7, {"view: setting 1 \"7\""}},
        {Spinner::MaxFound, " 25 ", 25, {"view: setting 1 \"25\""}},
        {Spinner::MaxFound, "2.5", 2, {"view: setting 1 \"2\""}},
        {Spinner::MaxFound, "3.5", 4, {"view: setting 1 \"4\""}},
        {Spinner::MaxFound, "1x", -1, {"view: setting 1 \"Not test\""}},
        {Spinner::MaxLevel, "-5", -1, {"view: setting 2 \"Not test\""}},
        {Spinner::MaxLevel, "-2", -1, {"view: setting 2 \"Not test\""}},
        {Spinner::MaxLevel, "-1", -1, {}},
        {Spinner::MaxLevel, "007", 7, {}},
        {Spinner::MaxLevel, "x", -1, {"view: setting 2 \"Not test\""}},
        {Spinner::ReadBlock, "0", 1, {"view: setting 3 \"1\"", "PortionSize := 1"}},
        {Spinner::ReadBlock, "4096", 4096, {"PortionSize := 4096"}},
        {Spinner::ReadBlock, "4096 ", 4096, {"PortionSize := 4096"}},
        {Spinner::ReadBlock, "x", 512, {"view: setting 3 \"512\""}},
    };
    for (const Row& r : rows) {
        Fixture f;
        f.Loaded();
        f.session.SettingEdited(r.which, r.typed);
        const int32_t stored = r.which == Spinner::ChannelCount ? f.session.ChannelCountWanted
                               : r.which == Spinner::MaxFound   ? f.session.MaxFoundSetting
                               : r.which == Spinner::MaxLevel   ? f.session.MaxLevelSetting
                                                                : f.session.ReadBlockSetting;
        EXPECT_EQ(stored, r.stored) << static_cast<int>(r.which) << " \"" << r.typed << "\"";
        EXPECT_EQ(f.log, r.log) << static_cast<int>(r.which) << " \"" << r.typed << "\"";
    }
}

TEST(SearchSession, ChannelCountIsCapped) {
    Fixture f;
    f.Loaded();
    f.session.SettingEdited(Spinner::ChannelCount, "1000");
    EXPECT_EQ(f.engine.Channels, kMaxChannelCount);
    f.session.SetChannelCount(1000);
    EXPECT_EQ(f.engine.Channels, kMaxChannelCount);
    f.session.SetChannelCount(3);
    EXPECT_EQ(f.engine.Channels, 3);
    EXPECT_EQ(f.session.ChannelCountCurrent, 3);
}

TEST(SearchSession, SuspendStopAndTheEndOfARun) {
    Fixture f;
    f.Loaded();
    ASSERT_TRUE(f.session.StartSearch("http://h/", false));
    f.session.SuspendClicked();
    EXPECT_EQ(f.session.RunState, SearchRunState::Suspended);
    f.session.StopSearch();
    EXPECT_EQ(f.session.RunState, SearchRunState::Stopping);
    const std::vector<std::string> tail(f.log.end() - 6, f.log.end());
    EXPECT_EQ(tail, (std::vector<std::string>{"Suspend", "view: state 2", "Resume", "view: state 1", "view: state 3",
                                              "Stop"}));
    EXPECT_FALSE(f.session.PollEnd());
    f.engine.StatusValue = 0;
    EXPECT_TRUE(f.session.PollEnd());
    EXPECT_EQ(f.session.RunState, SearchRunState::Idle);
}

TEST(SearchSession, RestoredProtocolsLeaveFlagBoxAndEngineAgreeing) {
    Fixture f;
    f.Loaded();
    WindowState s = f.session.CollectState("http://a/", "Page title");
    s.ProtocolOn[1] = false;  // http off
    s.ProtocolOn[3] = false;  // mail off
    f.session.ApplyState(s);
    const char* names[5] = {"file://", "http://", "ftp://", "gopher://", "mailto:"};
    const bool want[5] = {true, false, true, true, false};  // file, http, ftp, gopher, mailto
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(f.session.ProtocolOn[i], want[i]) << names[i];
        const std::string box = "view: protocol box " + std::to_string(i) + (want[i] ? " checked" : " unchecked");
        const std::string call = std::string(want[i] ? "EnableProtocol " : "DisableProtocol ") + names[i];
        const auto b = std::find(f.log.begin(), f.log.end(), box);
        const auto c = std::find(f.log.begin(), f.log.end(), call);
        EXPECT_NE(b, f.log.end()) << box;
        EXPECT_NE(c, f.log.end()) << call;
    }
}

TEST(SearchSession, StateRoundTripsIntoASecondWindow) {
    Fixture a;
    a.session.Load();
    a.session.SpinClick(Spinner::MaxFound, true);
    a.session.SettingEdited(Spinner::MaxFound, "40");
    a.session.SearchFolder = "C:\\searches\\";
    a.session.MasksFolder = "C:\\p\\Masks\\";
    a.session.StartPageFolder = "C:\\pages\\";
    a.session.ReportFolder = "C:\\reports\\";
    a.session.Masks.SetSortAt(2);
    FilterBlock b;
    b.Add(3, "Link Image", true);
    a.session.Filters.push_back(b);
    const std::string data = PutUserData(a.session.CollectState("http://x/", "Page title"), a.session.Masks);

    Fixture c;
    c.session.Load();
    c.session.ApplyUserData(data);
    EXPECT_EQ(PutState(c.session.CollectState("http://x/", "Page title")),
              PutState(a.session.CollectState("http://x/", "Page title")));
    EXPECT_EQ(c.session.MaxFoundSetting, 40);
    EXPECT_EQ(c.session.SearchFolder, "C:\\searches\\");
    EXPECT_EQ(c.session.MasksFolder, "C:\\p\\Masks\\");
    EXPECT_EQ(c.session.StartPageFolder, "C:\\pages\\");
    EXPECT_EQ(c.session.ReportFolder, "C:\\reports\\");
    EXPECT_EQ(c.session.ChannelCountCurrent, 7);
    EXPECT_EQ(c.engine.Channels, 7);
    EXPECT_TRUE(c.session.Masks.Item(2).SortAt);
}

TEST(SearchSession, MalformedUserDataChangesNothing) {
    Fixture f;
    f.Loaded();
    const int32_t masks = f.session.Masks.Count();
    EXPECT_THROW(f.session.ApplyUserData("12/abc"), MaskParseError);
    EXPECT_EQ(f.session.Masks.Count(), masks);
    EXPECT_TRUE(f.log.empty()) << f.log.front();
}

// A second close or new search arriving while the first waits for the crawl
// (its wait pumps messages) is refused; the owner, which frees the session
// when a close succeeds, would otherwise free it under the waiting call.
TEST(SearchSession, ASecondCloseOrNewSearchWhileOneWaitsIsRefused) {
    enum What { Close, New };
    const std::pair<What, What> rows[] = {{Close, Close}, {Close, New}, {New, Close}, {New, New}};
    for (const auto& row : rows) {
        const What outer = row.first, inner = row.second;
        std::vector<std::string> log;
        RecordingEngine engine{log};
        MemoryDatabase db{log};
        RecordingView view{log};
        auto session = std::make_unique<SearchSession>(engine, db, view);
        session->Load();
        db.Add("http://a/");
        engine.StatusValue = 3;
        session->RunState = SearchRunState::Running;
        view.EngineToIdle = &engine;
        auto run = [&](What what) {
            if (what == New) return session->NewSearch();
            if (!session->Unload()) return false;
            session.reset();  // as the window does after a close
            return true;
        };
        int inside = 0;
        bool innerDone = true, busyInside = false;
        view.OnPump = [&] {
            if (inside++ > 0 || !session) return;
            busyInside = session->Busy();
            innerDone = run(inner);
        };
        EXPECT_TRUE(run(outer)) << outer << inner;
        EXPECT_FALSE(innerDone) << outer << inner;
        EXPECT_TRUE(busyInside) << outer << inner;
        EXPECT_EQ(std::count(log.begin(), log.end(), "Search.Destroy"), outer == Close ? 1 : 0) << outer << inner;
        if (session) EXPECT_FALSE(session->Busy());
    }
}

TEST(SearchSession, NewSearchRefillsTheMaskLists) {
    Fixture f;
    f.Loaded();
    f.session.Masks.Remove(1);
    ASSERT_TRUE(f.session.NewSearch());
    const auto masks = std::find(f.log.begin(), f.log.end(), "view: masks");
    const auto lastAdd = std::find(f.log.rbegin(), f.log.rend(), std::string("AddMask ") + kDefaultMasks[kDefaultMaskCount - 1].MaskName);
    ASSERT_NE(masks, f.log.end());
    ASSERT_NE(lastAdd, f.log.rend());
    EXPECT_GT(masks, lastAdd.base() - 1) << "the lists are made from the new masks";
    EXPECT_EQ(f.session.Masks.Count(), kDefaultMaskCount);
}

TEST(SearchSession, ANewSearchWhoseRunDoesNotEndChangesNothingAndSaysSo) {
    Fixture f;
    f.Loaded();
    f.db.Add("http://a/");
    FilterBlock b;
    b.Add(3, "Link Image", true);
    f.session.Filters.push_back(b);
    f.session.SearchFile = "C:\\x\\a.search";
    f.engine.StatusValue = 3;  // never ends
    f.session.RunState = SearchRunState::Running;
    EXPECT_FALSE(f.session.NewSearch());
    EXPECT_EQ(f.session.Filters.size(), 1u);
    EXPECT_EQ(f.db.Records.size(), 1u);
    EXPECT_EQ(f.session.SearchFile, "C:\\x\\a.search");
    EXPECT_EQ(f.log.back(), std::string("view: message \"") + kRunDoesNotEndText + "\" \"Error\"");
    EXPECT_EQ(std::count(f.log.begin(), f.log.end(), "view: clear found list"), 0);
}

// The boxes' pictures: a channel that cannot be made is critical; a format
// table the engine refuses has none.
TEST(SearchSession, MessageBoxPictures) {
    struct BadTable : RecordingEngine {
        using RecordingEngine::RecordingEngine;
        int32_t LoadMetaprocessorTable(const std::string&) override { return 0; }
        ChannelResult AttachNewChannel() override { return ChannelResult::NoObject; }
    };
    std::vector<std::string> log;
    BadTable engine{log};
    MemoryDatabase db{log};
    RecordingView view{log};
    SearchSession s{engine, db, view};
    s.FormatTableAddress = "http://nowhere/x.ftbl";
    s.LoadFormatTable();
    s.SetChannelCount(3);
    std::vector<std::string> messages;
    std::copy_if(log.begin(), log.end(), std::back_inserter(messages),
                 [](const std::string& l) { return l.rfind("view: message", 0) == 0; });
    EXPECT_EQ(messages,
              (std::vector<std::string>{"view: message \"Can not open format table - http://nowhere/x.ftbl\" \"Error\"",
                                        "view: message \"Can not create chanal\" \"Error\" critical"}));
}
