// One search's crawl without its thread or its automation: the run state,
// the limits, the stored masks and protocols, and the crawl procedure that
// hands addresses to idle channels, drains their findings into the database
// and turns links into new records one level deeper. Whoever owns it runs
// Run on a thread of its own; the other members may be called from any
// thread. No platform headers.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "CrawlPeers.h"
#include "EngineLoop.h"
#include "InfoMask.h"
#include "ProtocolList.h"

class SearchCrawl : public EngineLoop {
public:
    // Makes the peers of a run on the crawl thread; nullptr when they cannot be reached.
    using PeerSource = std::function<std::unique_ptr<CrawlPeers>()>;

    SearchCrawl() = default;
    ~SearchCrawl();
    SearchCrawl(const SearchCrawl&) = delete;
    SearchCrawl& operator=(const SearchCrawl&) = delete;

    // Settings and the thread state as after Create: idle, running, no run.
    void Reset();

    // Masks as stored (Type and Priority kept at 0 when negative).
    void AddMask(const std::string& MaskName, const std::string& MaskValue, const std::string& DependsOn, long Type,
                 long DependType, long Priority, long MaxFound, long CanCompile, long Hidden);
    void EmptyMasks();
    std::vector<InfoMask> Masks() const;
    ProtocolList Protocols;

    std::atomic<long> MaxLevel{-1};  // -1: no limit
    std::atomic<long> MaxFound{-1};  // -1: no limit
    std::atomic<long> ProcessExternalLinks{1};

    long Status() const { return status_.load(); }  // 0 idle, 1 starting, 3 crawling, 4 finishing
    // A run can begin only while none runs and the crawl thread is there to run it.
    bool CanBegin() const;
    // Starts a run at Address; peers are made on the crawl thread by source. False when refused.
    bool Begin(const std::string& Address, PeerSource source);
    void Stop();  // the run ends once every channel is idle; RequestExit then ends the thread

    // The crawl procedure: passes until the exit flag is set.
    void RunSearch();
    // One pass (without the suspend wait); tests drive the crawl with it.
    void Pass();

    long CurrentLevel() const { return level_.load(); }
    long FoundCount() const { return found_.load(); }

    long IdleInterval = 30;  // ms an idle pass waits
    long BusyInterval = 20;  // ms at most a pass that found nothing to do waits for news of the channels

    static constexpr long kLevelAdvanceLimit = 10;  // a run ends when its level advances exceed this
    static const char kAddress[];  // "Address"
    static const char kDisplay[];  // "Display"
    static const char kParent[];   // "Parent"

private:
    void StartPass();
    void CrawlPass();
    void EndRun();
    void HandleResult(const InfoResult& r);
    void HandleLink(const InfoResult& r, long type);
    const InfoMask* FindMask(const std::string& name) const;
    bool NextCandidate();
    void DropScan();
    static void Sleep(long ms);
    void WaitForChannels(uint64_t seen);

    mutable std::mutex masksM_;
    std::vector<InfoMask> masks_;

    // Run state. The client side writes it only while Status is 0; the
    // crawl thread reads it once Status has left 0.
    std::string startAddress_;
    std::string startHost_;
    PeerSource source_;
    std::unique_ptr<CrawlPeers> peers_;
    std::vector<InfoMask> runMasks_;  // the masks as the run began
    bool startCounted_ = false;
    long levelAdvances_ = 0;  // level advances of this run
    long scan_ = CrawlDatabase::kNone;  // cursor over the current level's candidates

    std::atomic<long> status_{0};
    std::atomic<long> level_{0};
    std::atomic<long> found_{0};
    std::atomic<long> stop_{0};
};
