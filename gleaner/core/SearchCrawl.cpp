#include "SearchCrawl.h"

#include <chrono>
#include <thread>

#include "ChannelSignal.h"
#include "InfoAddress.h"

const char SearchCrawl::kAddress[] = "Address";
const char SearchCrawl::kDisplay[] = "Display";
const char SearchCrawl::kParent[] = "Parent";

namespace {

const long kNone = CrawlDatabase::kNone;

bool SameHost(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (UpperChar(a[i]) != UpperChar(b[i])) return false;
    return true;
}

// Cursors of the crawl are destroyed on every way out.
class CursorHold {
public:
    CursorHold(CrawlDatabase& db, long id) : db_(db), id_(id) {}
    ~CursorHold() {
        if (id_ != kNone) {
            try {
                db_.DestroyCursor(id_);
            } catch (...) {
            }
        }
    }
    CursorHold(const CursorHold&) = delete;
    CursorHold& operator=(const CursorHold&) = delete;
    long Id() const { return id_; }
    bool Found() const { return id_ != kNone; }

private:
    CrawlDatabase& db_;
    long id_;
};

}  // namespace

SearchCrawl::~SearchCrawl() = default;

void SearchCrawl::Reset() {
    MaxLevel = -1;
    MaxFound = -1;
    ProcessExternalLinks = 1;
    Protocols.EmptyProtocols();
    Protocols.EnableAllProtocols();
    Protocols.AddProtocol("");
    status_ = 0;
    stop_ = 0;
    levelAdvances_ = 0;
    Arm();
}

void SearchCrawl::AddMask(const std::string& MaskName, const std::string& MaskValue, const std::string& DependsOn,
                          long Type, long DependType, long Priority, long MaxFound, long CanCompile, long Hidden) {
    InfoMask m = MakeMask(MaskName, MaskValue, DependsOn, Type, DependType, Priority, MaxFound, CanCompile, Hidden);
    std::lock_guard<std::mutex> l(masksM_);
    masks_.push_back(m);
}

void SearchCrawl::EmptyMasks() {
    std::lock_guard<std::mutex> l(masksM_);
    masks_.clear();
}

std::vector<InfoMask> SearchCrawl::Masks() const {
    std::lock_guard<std::mutex> l(masksM_);
    return masks_;
}

bool SearchCrawl::CanBegin() const {
    return status_.load() == 0 && ThreadState() != 0 && !ExitRequested();
}

bool SearchCrawl::Begin(const std::string& Address, PeerSource source) {
    if (!CanBegin()) return false;
    startAddress_ = Address;
    startHost_ = AddressHost(Address);
    source_ = std::move(source);
    runMasks_ = Masks();
    startCounted_ = false;
    levelAdvances_ = 0;
    scan_ = kNone;
    level_ = 0;
    found_ = 0;
    stop_ = 0;
    Wake([this] { status_ = 1; });
    return true;
}

void SearchCrawl::Stop() {
    Resume();
    stop_ = 1;
}

// Channels of this process say when they end a task (findings of tasks still
// running are drained then too); the wait is bounded for channels that
// cannot say so.
void SearchCrawl::WaitForChannels(uint64_t seen) {
    if (BusyInterval > 0) ChannelSignal::WaitAfter(seen, BusyInterval);
}

void SearchCrawl::Sleep(long ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

// ---- the crawl thread ----

void SearchCrawl::RunSearch() {
    Run([this] { Pass(); },
        [this] {
            peers_.reset();
            source_ = nullptr;
            Protocols.EmptyProtocols();
        });
}

void SearchCrawl::Pass() {
    switch (status_.load()) {
    case 0:
        Idle(IdleInterval, [this] { return status_.load() != 0; });
        return;
    case 1:
    case 3:
        // A channel or the database that fails a call ends the run.
        try {
            if (status_ == 1) StartPass();
            else CrawlPass();
        } catch (...) {
            status_ = 4;
        }
        return;
    default:
        EndRun();
        return;
    }
}

void SearchCrawl::StartPass() {
    if (!peers_) {
        PeerSource source = std::move(source_);
        source_ = nullptr;
        if (source) peers_ = source();
        if (!peers_ || !peers_->Database) {
            status_ = 4;
            return;
        }
    }
    if (stop_) {
        status_ = 4;
        return;
    }
    CrawlDatabase& db = *peers_->Database;
    ProtocolStrings list = Protocols.Entries();
    startAddress_ = InfoAddress(startAddress_, list).FullAddress(list);

    long id = db.FindRecord(startAddress_);
    if (id == kNone) {
        db.Add(startAddress_, "", 0, -1, 1);
        // Keys read from a search file may repeat, addresses just looked up
        // cannot: the new record is found by its address.
        id = db.FindRecord(startAddress_);
        if (id != kNone) {
            db.AddValue(id, kAddress, "", 2, 0, startAddress_, 0, -1);
            db.AddValue(id, kDisplay, "", 0, 1, AddressDisplay(startAddress_), 0, -1);
        }
    }
    CursorHold record(db, id);
    // Counted once, however many passes it takes a channel to take it.
    if (!startCounted_) {
        ++found_;
        startCounted_ = true;
    }
    for (CrawlChannel* c : peers_->Channels) {
        if (c->StartTask(startAddress_, startAddress_, 1)) {
            status_ = 3;
            level_ = 0;
            if (id != kNone) db.PutStatus(id, 1);
            return;
        }
    }
    Sleep(IdleInterval);
}

void SearchCrawl::CrawlPass() {
    std::vector<CrawlChannel*>& channels = peers_->Channels;
    CrawlDatabase& db = *peers_->Database;

    // Findings that arrive after a drain belong to the pass after it: a
    // channel busy before the drain keeps the level from rising in this
    // pass, so links of its document get the level they belong to.
    const uint64_t news = ChannelSignal::Generation();
    bool busyBefore = false;
    for (CrawlChannel* c : channels)
        if (c->TaskStatus() != 0) busyBefore = true;

    bool drained = false;
    for (CrawlChannel* c : channels) {
        InfoResult r;
        while (c->GetResult(r)) {
            drained = true;
            HandleResult(r);
        }
    }

    if (stop_) {
        bool busy = false;
        for (CrawlChannel* c : channels)
            if (c->TaskStatus() != 0) busy = true;
        if (channels.empty() || !busy) status_ = 4;
        else WaitForChannels(news);
        return;
    }

    bool busy = busyBefore, handed = false;
    for (CrawlChannel* c : channels) {
        if (c->TaskStatus() != 0) {
            busy = true;
            continue;
        }
        if (!NextCandidate()) continue;
        std::string address = db.Value(scan_);
        if (c->StartTask(address, address, db.Type(scan_))) db.PutStatus(scan_, 1);
        handed = true;
    }
    if (busy || handed) {
        if (!drained && !handed) WaitForChannels(news);
        return;
    }

    // Every channel idle and nothing left at this level: the next level.
    DropScan();
    ++level_;
    // Every advance counts, whether its level yielded records or not: a site
    // of endless unique links cannot keep a run going for ever.
    if (++levelAdvances_ > kLevelAdvanceLimit) status_ = 4;
    const long maxFound = MaxFound.load(), maxLevel = MaxLevel.load();
    if (maxFound >= 0 && found_ > maxFound) status_ = 4;
    if (maxLevel >= 0 && level_ > maxLevel) status_ = 4;
}

// The first record of the current level that no channel has had. Records of
// a level are all there before the level starts (links add records one level
// deeper), so one cursor walks each level once instead of from the oldest
// record for every hand-out.
bool SearchCrawl::NextCandidate() {
    CrawlDatabase& db = *peers_->Database;
    if (scan_ == kNone) scan_ = db.CreateCursor();
    while (db.TestCursor(scan_)) {
        if (db.Level(scan_) == level_ && db.Status(scan_) == 0 && db.Source(scan_) < 0) return true;
        db.NextRecord(scan_);
    }
    return false;
}

void SearchCrawl::DropScan() {
    if (scan_ == kNone) return;
    long id = scan_;
    scan_ = kNone;
    if (peers_ && peers_->Database) peers_->Database->DestroyCursor(id);
}

void SearchCrawl::EndRun() {
    try {
        DropScan();
    } catch (...) {
    }
    scan_ = kNone;
    peers_.reset();
    source_ = nullptr;
    levelAdvances_ = 0;
    status_ = 0;
}

const InfoMask* SearchCrawl::FindMask(const std::string& name) const {
    for (const InfoMask& m : runMasks_)
        if (m.MaskName == name) return &m;
    return nullptr;
}

void SearchCrawl::HandleResult(const InfoResult& r) {
    if (r.Value.empty()) return;
    const InfoMask* mask = FindMask(r.PropertyName);
    const long type = mask ? mask->Type : -1;
    const long hidden = mask ? mask->Hidden : 0;
    CrawlDatabase& db = *peers_->Database;
    {
        CursorHold record(db, db.FindRecord(r.TaskName));
        if (record.Found()) {
            db.AddValue(record.Id(), r.PropertyName, r.DependName, type, hidden, r.Value, r.ResultID, r.DependID);
            // A finding that depends on a link also goes to the record of that link.
            bool linkParent = false;
            for (const InfoMask& m : runMasks_)
                if (m.MaskName == r.DependName && m.Type == 1) linkParent = true;
            if (r.DependID >= 0 && linkParent) {
                long n = db.GetValueCount(record.Id(), r.DependName);
                for (long j = 0; j < n; ++j) {
                    std::string value;
                    long valueId = -1, dependId = -1;
                    db.GetValue(record.Id(), r.DependName, j, value, valueId, dependId);
                    if (valueId != r.DependID) continue;
                    CursorHold link(db, db.FindRecord(value));
                    if (link.Found())
                        db.AddValue(link.Id(), r.DependName + "-" + r.PropertyName, "", 0, 1, r.Value, r.ResultID, -1);
                }
            }
        }
    }
    if (type == 1 || type == 4) HandleLink(r, type);
}

void SearchCrawl::HandleLink(const InfoResult& r, long type) {
    const long maxFound = MaxFound.load(), maxLevel = MaxLevel.load();
    if (maxLevel >= 0 && maxLevel < level_) return;
    if (maxFound >= 0 && maxFound < found_) return;
    CrawlDatabase& db = *peers_->Database;
    {
        CursorHold known(db, db.FindRecord(r.Value));
        if (known.Found()) {
            db.AddValue(known.Id(), kParent, "", 2, 0, r.TaskName, 0, -1);
            return;
        }
    }
    if (!ProcessExternalLinks.load() && !SameHost(AddressHost(r.Value), startHost_)) return;
    db.Add(r.Value, r.TaskName, level_ + 1, -1, type);
    ++found_;
    CursorHold added(db, db.FindRecord(r.Value));
    if (!added.Found()) return;
    std::string display = AddressDisplay(r.Value);
    db.AddValue(added.Id(), kAddress, "", 2, 0, r.Value, 0, -1);
    db.AddValue(added.Id(), kDisplay, "", 0, 1, display.empty() ? r.Value : display, 0, -1);
    db.AddValue(added.Id(), kParent, "", 2, 0, r.TaskName, 0, -1);
}
