// The window's side of the engine, without a window: start-up and close,
// the channel count, the setting spinners and edits, the protocol flags,
// starting and stopping a run, and the state string applied back. What the
// window shows goes through SessionView.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "masks/core/FilterBlock.h"
#include "masks/core/MaskCollection.h"
#include "searchwindow/core/DatabaseCalls.h"
#include "searchwindow/core/RunStateControls.h"
#include "searchwindow/core/SearchEngineCalls.h"
#include "searchwindow/core/Spinners.h"
#include "searchwindow/core/WindowState.h"

// A new search asked for while a crawl runs that does not end in time.
constexpr const char* kRunDoesNotEndText = "Can not start new search - the running search does not stop";

enum class SaveAnswer { Yes, No, Cancel };
// The picture of a message box: none, or the critical (stop) sign.
enum class MessageIcon { None, Critical };

class SessionView {
public:
    virtual ~SessionView() = default;
    virtual void ShowSetting(Spinner which, const std::string& text) = 0;
    // Sets a protocol box (0 file … 4 mailto) without raising its click.
    virtual void ShowProtocolBox(int which, bool checked) = 0;
    virtual void ShowPriority(int32_t priority) = 0;  // -1, 0, 1; other: none
    virtual void ShowExternalLinksBox(bool checked) = 0;
    virtual void ShowRunState(SearchRunState state) = 0;
    virtual void ClearFoundList() = 0;
    virtual void Message(const std::string& text, const std::string& title, MessageIcon icon) = 0;
    virtual SaveAnswer AskSave(const std::string& question) = 0;
    // Runs the window's SaveSearch; true only when the search was saved.
    virtual bool SaveSearch() = 0;
    // Pumps messages for up to ms milliseconds while waiting on the engine.
    virtual void Pump(int ms) = 0;
    // The "http://" box was checked: the promotion pane loads its page.
    virtual void ShowPromotion() {}
    // The masks were replaced: the mask list and the property list are made again.
    virtual void ShowMasks() = 0;
    // The first status panel's text.
    virtual void ShowStatus(const std::string& text) { (void)text; }
};

// Marks a flag for a scope: a second close or new search that arrives while
// the first one pumps messages sees it and is refused.
class SessionBusyScope {
public:
    explicit SessionBusyScope(bool& busy) : busy_(busy) { busy_ = true; }
    ~SessionBusyScope() { busy_ = false; }
    SessionBusyScope(const SessionBusyScope&) = delete;
    SessionBusyScope& operator=(const SessionBusyScope&) = delete;

private:
    bool& busy_;
};

class SearchSession {
public:
    SearchSession(SearchEngineCalls& search, DatabaseCalls& db, SessionView& view)
        : search_(search), db_(db), view_(view) {}

    // Settings (first values as a fresh window has them before the load).
    int32_t ChannelCountWanted = 6, ChannelCountCurrent = 0;
    int32_t MaxLevelSetting = -1, MaxFoundSetting = -1, ReadBlockSetting = 511;
    bool ProtocolOn[5] = {false, false, false, false, false};  // file, http, ftp, gopher, mailto
    std::string NoLimitText = "Not test";
    std::string FormatTableAddress;
    // Folders of the file dialogs, saved with a search.
    std::string SearchFolder, MasksFolder, StartPageFolder, ReportFolder;
    MaskCollection Masks;
    std::vector<FilterBlock> Filters;
    bool SearchModified = false;
    std::string SearchFile;
    SearchRunState RunState = SearchRunState::Idle;
    TrafficCounter Traffic;

    // The engine part of the load (after both objects were created).
    void Load();
    // The engine part of closing. False when the save question was cancelled,
    // or while a close or a new search is already under way.
    bool Unload();
    // A close or a new search is under way (it may be waiting for the crawl,
    // pumping messages): commands are refused until it returns.
    bool Busy() const { return busy_; }
    void SetChannelCount(int32_t wanted);
    bool LoadFormatTable();
    void SpinClick(Spinner which, bool up);
    // A typed setting, as the Options panel's edits take it: the channel
    // count and the read block reach the engine, the two limits are only
    // stored; a text that does not convert puts the stored value back.
    void SettingEdited(Spinner which, const std::string& text);
    void ProtocolClicked(int which);  // the box's click: toggles and tells the engine
    void SetProtocol(int which, bool on);

    // Start (new search) or merge: false when refused or not started.
    bool StartSearch(const std::string& typedAddress, bool merge);
    void StopSearch();
    void SuspendClicked();
    // The fill timer's end-of-run test: true when the run has just ended.
    bool PollEnd();
    void TrafficTick();

    // True to go on: nothing to save, No, or Yes and saved.
    bool AskSaveChanges();
    void AskSaveChanges(bool& Proceed) { Proceed = AskSaveChanges(); }
    // Empties the search, waiting (bounded) for a run to end first; all or
    // nothing: a run that does not end changes nothing and says so.
    bool NewSearch();
    bool WaitIdle(int maxMs);

    WindowState CollectState(const std::string& startAddress, const std::string& captionMaskName) const;
    // Parses all of the user data, then applies it; malformed: MaskParseError
    // with nothing changed.
    SearchUserData ApplyUserData(const std::string& userData);
    void ApplyState(const WindowState& state);

private:
    SearchEngineCalls& search_;
    DatabaseCalls& db_;
    SessionView& view_;
    bool busy_ = false;
};
