// SearchSession: running a search, saving questions and the state string.
#include "masks/core/DefaultMasks.h"
#include "searchwindow/core/SearchSession.h"
#include "searchwindow/core/StartAddress.h"

namespace {
// The state string keeps the protocols as file, http, ftp, mail, gopher.
constexpr int kStateOrder[5] = {0, 1, 2, 4, 3};
}  // namespace

bool SearchSession::StartSearch(const std::string& typedAddress, bool merge) {
    if (search_.Status() != 0) {
        if (!merge) StopSearch();
        return false;
    }
    if (typedAddress.empty()) return false;
    std::string address = typedAddress;
    NormalizeAddress(address);
    if (!merge) {
        // Emptying the database is only done for a start that can happen,
        // and after the user had the chance to keep the results.
        if (search_.ChannelCount() < 1) {
            view_.Message("Can not start search - " + address + " - no channel is attached", "Error",
                          MessageIcon::None);
            return false;
        }
        if (!AskSaveChanges()) return false;
        db_.Empty();
        view_.ClearFoundList();
    }
    if (search_.Start(address, db_) == 0) {
        view_.Message("Can not start search - " + address, "Error", MessageIcon::None);
        return false;
    }
    RunState = SearchRunState::Running;
    Traffic.Reset();
    TrafficTick();
    view_.ShowRunState(RunState);
    return true;
}

void SearchSession::StopSearch() {
    if (RunState == SearchRunState::Suspended) SuspendClicked();
    RunState = SearchRunState::Stopping;
    view_.ShowRunState(RunState);
    search_.Stop();
}

void SearchSession::SuspendClicked() {
    if (RunState == SearchRunState::Suspended) {
        search_.Resume();
        RunState = SearchRunState::Running;
    } else if (RunState == SearchRunState::Running) {
        search_.Suspend();
        RunState = SearchRunState::Suspended;
    } else {
        return;
    }
    view_.ShowRunState(RunState);
}

bool SearchSession::PollEnd() {
    if (RunState == SearchRunState::Idle || search_.Status() != 0) return false;
    RunState = SearchRunState::Idle;
    view_.ShowRunState(RunState);
    return true;
}

void SearchSession::TrafficTick() {
    Traffic.Tick(search_.Traffic());
    search_.ResetTraffic();
}

bool SearchSession::AskSaveChanges() {
    if (!SearchModified) return true;
    const std::string q =
        SearchFile.empty() ? "Save changes in current project?" : "Save changes in - " + SearchFile + " ?";
    switch (view_.AskSave(q)) {
    case SaveAnswer::Cancel: return false;
    case SaveAnswer::No: return true;
    case SaveAnswer::Yes: break;
    }
    // Going on after a cancelled or failed save would lose the changes.
    return view_.SaveSearch();
}

bool SearchSession::NewSearch() {
    if (busy_) return false;
    SessionBusyScope busy(busy_);
    if (search_.Status() != 0) {
        StopSearch();
        // Emptying the database under a running crawl loses records mid-write;
        // a run that does not end leaves the search whole.
        if (!WaitIdle(15000)) {
            view_.Message(kRunDoesNotEndText, "Error", MessageIcon::None);
            return false;
        }
        PollEnd();
    }
    Filters.clear();
    db_.Empty();
    view_.ClearFoundList();
    AddDefaultMasks(Masks, search_);
    view_.ShowMasks();
    SearchFile.clear();
    return true;
}

WindowState SearchSession::CollectState(const std::string& startAddress, const std::string& captionMaskName) const {
    WindowState s;
    s.SearchFolder = SearchFolder;
    s.MasksFolder = MasksFolder;
    s.StartPageFolder = StartPageFolder;
    s.ReportFolder = ReportFolder;
    s.StartAddress = startAddress;
    s.CaptionMaskName = captionMaskName;
    s.FormatTableAddress = FormatTableAddress;
    s.SortAt = Masks.SortAt();
    s.ChannelCount = static_cast<int16_t>(ChannelCountCurrent);
    s.MaxLevel = static_cast<int16_t>(MaxLevelSetting);
    s.MaxFound = static_cast<int16_t>(MaxFoundSetting);
    s.ReadBlock = static_cast<int16_t>(ReadBlockSetting);
    s.ThreadPriority = static_cast<int16_t>(search_.ThreadPriority());
    s.ProcessExternalLinks = search_.ProcessExternalLinks() != 0 ? 1 : 0;
    for (int i = 0; i < 5; ++i) s.ProtocolOn[i] = ProtocolOn[kStateOrder[i]];
    s.Filters = Filters;
    return s;
}

SearchUserData SearchSession::ApplyUserData(const std::string& userData) {
    SearchUserData d = ParseUserData(userData);  // throws before anything changes
    Masks.Clear();
    ApplyState(d.State);
    std::string masks = d.Masks.PutMasks([&] {
        std::vector<int32_t> all;
        for (int32_t i = 1; i <= d.Masks.Count(); ++i) all.push_back(i);
        return all;
    }());
    Masks.RestoreMasks(masks);
    Masks.Apply(search_);
    return d;
}

void SearchSession::ApplyState(const WindowState& s) {
    SearchFolder = s.SearchFolder;
    MasksFolder = s.MasksFolder;
    StartPageFolder = s.StartPageFolder;
    ReportFolder = s.ReportFolder;
    FormatTableAddress = s.FormatTableAddress;
    Masks.SetSortAt(s.SortAt);
    ChannelCountWanted = s.ChannelCount - 1;
    SetChannelCount(ChannelCountWanted);
    MaxLevelSetting = s.MaxLevel + 1;
    MaxFoundSetting = s.MaxFound + 1;
    ReadBlockSetting = s.ReadBlock - 1;
    search_.SetThreadPriority(s.ThreadPriority);
    search_.SetProcessExternalLinks(s.ProcessExternalLinks);
    view_.ShowExternalLinksBox(search_.ProcessExternalLinks() == 0);
    // Flag, box and engine agree: the box is set without its click.
    for (int i = 0; i < 5; ++i) {
        const int which = kStateOrder[i];
        view_.ShowProtocolBox(which, s.ProtocolOn[i]);
        SetProtocol(which, s.ProtocolOn[i]);
    }
    for (const FilterBlock& b : s.Filters) Filters.push_back(b);
    SpinClick(Spinner::ChannelCount, true);
    SpinClick(Spinner::MaxLevel, false);
    SpinClick(Spinner::MaxFound, false);
    SpinClick(Spinner::ReadBlock, true);
    view_.ShowPriority(search_.ThreadPriority());
    LoadFormatTable();
}
