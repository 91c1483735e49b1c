// Recording fakes of the engine's search and database objects: every call is
// one line of Log, in the order the window makes them. The database holds
// records in memory with their properties and the three client marks.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "searchwindow/core/DatabaseCalls.h"
#include "searchwindow/core/SearchEngineCalls.h"
#include "searchwindow/core/SearchSession.h"

class RecordingEngine : public SearchEngineCalls {
public:
    std::vector<std::string>& Log;
    explicit RecordingEngine(std::vector<std::string>& log) : Log(log) {}

    int32_t StatusValue = 0;
    int32_t StartResult = -1;
    int32_t Channels = 0;
    int32_t MaxChannelsAccepted = 1000;
    int32_t Priority = 0;
    int32_t ExternalLinks = 0;
    int32_t TrafficValue = 0;
    int StatusReadsUntilIdle = -1;  // >= 0: Status turns 0 after that many reads

    static std::string N(int32_t v) { return std::to_string(v); }
    int32_t Status() override {
        if (StatusReadsUntilIdle == 0) StatusValue = 0;
        if (StatusReadsUntilIdle > 0) --StatusReadsUntilIdle;
        return StatusValue;
    }
    void EmptyMasks() override { Log.push_back("EmptyMasks"); }
    void AddMask(const std::string& name, const std::string&, const std::string&, int32_t, int32_t, int32_t,
                 int32_t, int32_t, int32_t) override {
        Log.push_back("AddMask " + name);
    }
    int32_t Create() override { Log.push_back("Search.Create"); return -1; }
    int32_t Destroy() override { Log.push_back("Search.Destroy"); return -1; }
    void SetThreadPriority(int32_t v) override { Priority = v; Log.push_back("ThreadPriority := " + N(v)); }
    int32_t ThreadPriority() override { Log.push_back("ThreadPriority"); return Priority; }
    void SetPortionSize(int32_t v) override { Log.push_back("PortionSize := " + N(v)); }
    void SetPreloadSize(int32_t v) override { Log.push_back("PreloadSize := " + N(v)); }
    void SetFileMul(int32_t v) override { Log.push_back("FileMul := " + N(v)); }
    void SetMaxFound(int32_t v) override { Log.push_back("MaxFound := " + N(v)); }
    void SetMaxLevel(int32_t v) override { Log.push_back("MaxLevel := " + N(v)); }
    void AddProtocol(const std::string& p) override { Log.push_back("AddProtocol " + p); }
    void EnableProtocol(const std::string& p) override { Log.push_back("EnableProtocol " + p); }
    void DisableProtocol(const std::string& p) override { Log.push_back("DisableProtocol " + p); }
    int32_t LoadMetaprocessorTable(const std::string& a) override {
        Log.push_back("LoadMetaprocessorTable " + a);
        return 1;
    }
    int32_t ProcessExternalLinks() override { return ExternalLinks; }
    void SetProcessExternalLinks(int32_t v) override { ExternalLinks = v; Log.push_back("ProcessExternalLinks := " + N(v)); }
    ChannelResult AttachNewChannel() override {
        Log.push_back("AttachChannel");
        if (StatusValue != 0 || Channels >= MaxChannelsAccepted) return ChannelResult::Refused;
        ++Channels;
        return ChannelResult::Attached;
    }
    void TruncateChannels(int32_t count, int32_t autoDestroy) override {
        Log.push_back("TruncateChannels " + N(count) + " " + N(autoDestroy));
        if (StatusValue == 0 && count < Channels) Channels = count;
    }
    int32_t ChannelCount() override { Log.push_back("ChannelCount"); return Channels; }
    int32_t Start(const std::string& a, DatabaseCalls&) override {
        Log.push_back("Start " + a);
        if (StartResult != 0) StatusValue = 3;
        return StartResult;
    }
    void Stop() override { Log.push_back("Stop"); }
    void Suspend() override { Log.push_back("Suspend"); }
    void Resume() override { Log.push_back("Resume"); }
    int32_t Traffic() override { return TrafficValue; }
    void ResetTraffic() override { Log.push_back("ResetTraffic"); }
};

class MemoryDatabase : public DatabaseCalls {
public:
    struct Record {
        int32_t Key;
        std::string Address;
        std::map<std::string, std::vector<std::string>> Props;
        std::map<std::string, std::vector<std::pair<int32_t, int32_t>>> Ids;  // (ValueID, DependID) per value
        int32_t R1 = -1, R2 = -1;
        std::string R3;
    };
    std::vector<std::string>& Log;
    std::vector<Record> Records;
    std::map<int32_t, size_t> Cursors;  // cursor -> record position
    int32_t NextCursor = 1;
    explicit MemoryDatabase(std::vector<std::string>& log) : Log(log) {}

    Record& Add(const std::string& address, std::map<std::string, std::vector<std::string>> props = {}) {
        props["Address"] = {address};
        Record r;
        r.Key = static_cast<int32_t>(Records.size()) + 1;
        r.Address = address;
        r.Props = props;
        Records.push_back(r);
        return Records.back();
    }
    Record& At(int32_t c) { return Records.at(Cursors.at(c)); }

    int32_t Create() override { Log.push_back("Database.Create"); return -1; }
    int32_t Destroy() override { Log.push_back("Database.Destroy"); return -1; }
    void Empty() override { Log.push_back("Empty"); Records.clear(); }
    int32_t Size() override { return static_cast<int32_t>(Records.size()); }
    int32_t CreateCursor() override { Cursors[NextCursor] = 0; return NextCursor++; }
    void DestroyCursor(int32_t c) override { Cursors.erase(c); }
    void NextRecord(int32_t c) override { ++Cursors.at(c); }
    bool TestCursor(int32_t c) override { return Cursors.count(c) && Cursors[c] < Records.size(); }
    int32_t FindRecordByKey(int32_t key) override {
        for (size_t i = 0; i < Records.size(); ++i)
            if (Records[i].Key == key) {
                Cursors[NextCursor] = i;
                return NextCursor++;
            }
        return kNoCursor;
    }
    std::string Value(int32_t c) override { return At(c).Address; }
    int32_t Key(int32_t c) override { return At(c).Key; }
    int32_t GetValueCount(int32_t c, const std::string& p) override {
        auto it = At(c).Props.find(p);
        return it == At(c).Props.end() ? 0 : static_cast<int32_t>(it->second.size());
    }
    using DatabaseCalls::GetValue;
    std::string GetValue(int32_t c, const std::string& p, int32_t n, int32_t& id, int32_t& depend) override {
        auto it = At(c).Props.find(p);
        depend = -1;
        if (it == At(c).Props.end() || n < 0 || n >= static_cast<int32_t>(it->second.size())) {
            id = -1;
            return "";
        }
        id = n;
        auto ids = At(c).Ids.find(p);
        if (ids != At(c).Ids.end() && n < static_cast<int32_t>(ids->second.size())) {
            id = ids->second[n].first;
            depend = ids->second[n].second;
        }
        return it->second[n];
    }
    int32_t Reserved1(int32_t c) override { return At(c).R1; }
    void SetReserved1(int32_t c, int32_t v) override { At(c).R1 = v; }
    int32_t Reserved2(int32_t c) override { return At(c).R2; }
    void SetReserved2(int32_t c, int32_t v) override { At(c).R2 = v; }
    std::string Reserved3(int32_t c) override { return At(c).R3; }
    void SetReserved3(int32_t c, const std::string& v) override { At(c).R3 = v; }
    int32_t Save(const std::string& a, const std::string&) override { Log.push_back("Save " + a); return 1; }
    int32_t Open(const std::string& a, std::string&) override { Log.push_back("Open " + a); return 1; }
    int32_t AddFile(const std::string& a, std::string&) override { Log.push_back("AddFile " + a); return 1; }
};

class RecordingView : public SessionView {
public:
    std::vector<std::string>& Log;
    explicit RecordingView(std::vector<std::string>& log) : Log(log) {}
    SaveAnswer Answer = SaveAnswer::No;
    bool SaveSucceeds = true;
    RecordingEngine* EngineToIdle = nullptr;  // Pump lets it end its run
    int Pumped = 0;

    void ShowSetting(Spinner which, const std::string& text) override {
        Log.push_back("view: setting " + std::to_string(static_cast<int>(which)) + " \"" + text + "\"");
    }
    void ShowProtocolBox(int which, bool checked) override {
        Log.push_back("view: protocol box " + std::to_string(which) + (checked ? " checked" : " unchecked"));
    }
    void ShowPriority(int32_t p) override { Log.push_back("view: priority " + std::to_string(p)); }
    void ShowExternalLinksBox(bool checked) override {
        Log.push_back(std::string("view: external links box ") + (checked ? "checked" : "unchecked"));
    }
    void ShowRunState(SearchRunState s) override { Log.push_back("view: state " + std::to_string(static_cast<int>(s))); }
    void ClearFoundList() override { Log.push_back("view: clear found list"); }
    void Message(const std::string& text, const std::string& title, MessageIcon icon) override {
        Log.push_back("view: message \"" + text + "\" \"" + title + "\"" +
                      (icon == MessageIcon::Critical ? " critical" : ""));
    }
    void ShowMasks() override { Log.push_back("view: masks"); }
    SaveAnswer AskSave(const std::string& q) override {
        Log.push_back("view: ask \"" + q + "\"");
        return Answer;
    }
    bool SaveSearch() override {
        Log.push_back("view: save");
        return SaveSucceeds;
    }
    // Runs inside a wait, as a message that arrives then would.
    std::function<void()> OnPump;
    void ShowStatus(const std::string& text) override { Log.push_back("view: status \"" + text + "\""); }
    void Pump(int) override {
        if (++Pumped == 3 && EngineToIdle) EngineToIdle->StatusValue = 0;
        if (OnPump) OnPump();
    }
};
