#include "MaskProcessor.h"

#include <algorithm>

#include "InfoMetaprocessor.h"
#include "ProtocolList.h"

void MaskProcessor::AddMask(const std::string& MaskName, const std::string& MaskValue, const std::string& DependsOn,
                            long Type, long DependType, long Priority, long MaxFound, long CanCompile, long Hidden) {
    masks_.push_back(MakeMask(MaskName, MaskValue, DependsOn, Type, DependType, Priority, MaxFound, CanCompile, Hidden));
    patterns_.emplace_back(MaskValue);
    active_.push_back(0);
    // The values of one mask name share one numbering (a mask with several
    // values arrives as several entries of that name), so each dependent
    // finding names exactly one parent.
    size_t first = masks_.size() - 1;
    for (size_t i = 0; i + 1 < masks_.size(); ++i) {
        if (masks_[i].MaskName == MaskName) {
            first = i;
            break;
        }
    }
    numbering_.push_back(first);
}

void MaskProcessor::EmptyMasks() {
    masks_.clear();
    patterns_.clear();
    active_.clear();
    numbering_.clear();
}

void MaskProcessor::ResetMasks() {
    for (InfoMask& m : masks_) {
        m.ResumePosition = 0;
        m.FoundCount = 0;
        m.ValueNumber = 0;
        m.RetryAt = 0;
    }
    if (Metaprocessor) {
        Metaprocessor->SelectFormat(Metaprocessor->DefaultFormatName());
        Metaprocessor->SelectEncoding(Metaprocessor->DefaultEncodingName());
    }
}

bool MaskProcessor::IsRoot(const InfoMask& m) const {
    return m.Type != 3 && !m.MaskValue.empty() && m.DependsOn.empty();
}

void MaskProcessor::ProcessMasks(InfoDocument& doc) {
    // Only the priorities in use are visited, in rising order.
    std::vector<long> levels;
    for (const InfoMask& m : masks_) levels.push_back(m.Priority);
    std::sort(levels.begin(), levels.end());
    levels.erase(std::unique(levels.begin(), levels.end()), levels.end());
    for (long a : levels) {
        if (doc.StopFlag) break;
        for (size_t i = 0; i < masks_.size(); ++i) {
            if (masks_[i].Priority != a) continue;
            InfoMask& m = masks_[i];
            doc.SetPosition(m.ResumePosition);
            if (IsRoot(m) && (m.MaxFound < 0 || m.FoundCount < m.MaxFound)) ApplyMask(doc, i, -1);
            masks_[i].ResumePosition = doc.Position();
        }
    }
}

bool MaskProcessor::Find(InfoDocument& doc, size_t mi, size_t startLimit, size_t textEnd, bool hold, Hit& hit) {
    if (!doc.FindNext(patterns_[mi], hit.text, startLimit, textEnd, hold)) return false;
    hit.start = doc.MatchStart();
    hit.after = doc.Position();
    return true;
}

bool MaskProcessor::HasFollowers(size_t mi) const {
    for (size_t j = 0; j < masks_.size(); ++j)
        if (j != mi && masks_[j].DependType == 1 && !masks_[j].DependsOn.empty() &&
            masks_[j].DependsOn == masks_[mi].MaskName)
            return true;
    return false;
}

// A mask whose dependents search on after its matches looks for its next
// match before they run, and they read no further than where that one
// begins: a page of tags left open (3,000 links and one "</a>" at the end)
// then costs each dependent the stretch to the next link, not the rest of
// the page. The match found ahead is the loop's next one.
void MaskProcessor::ApplyMask(InfoDocument& doc, size_t mi, long DependID, size_t textEnd) {
    if (mi >= masks_.size() || active_[mi] || depth_ >= kMaxDependDepth) return;
    if (depth_ == 0) protocols_ = Protocols ? Protocols->Entries() : ProtocolStrings();
    active_[mi] = 1;
    ++depth_;
    const bool root = DependID < 0;
    const bool followers = HasFollowers(mi);
    Hit ahead;
    bool looked = false;  // ahead holds the next match
    for (;;) {
        if (doc.StopFlag) break;
        InfoMask& m = masks_[mi];
        size_t limit = SIZE_MAX;
        const bool hold = root && !doc.Complete();
        if (hold) {
            // Leave PreloadSize bytes after a start position, so a match is
            // not cut at the end of what has arrived so far. A longer one
            // that runs into the end waits at its start, and is tried again
            // once the text has grown by as much again as it has read.
            size_t preload = PreloadSize > 0 ? static_cast<size_t>(PreloadSize) : 0;
            if (doc.Length() - doc.Position() < preload || m.RetryAt > doc.Length()) break;
            limit = doc.Length() - preload + 1;
        }
        if (m.MaxFound >= 0 && m.FoundCount >= m.MaxFound) break;
        Hit hit;
        m.RetryAt = 0;
        if (looked && ahead.start < limit) {
            hit = std::move(ahead);
            doc.SetPosition(hit.after);
        } else if (!Find(doc, mi, limit, textEnd, hold, hit)) {
            if (hold && doc.Held()) m.RetryAt = 2 * doc.Length() - doc.Position();
            break;
        }
        looked = false;
        std::string match = std::move(hit.text);
        if (!Convert(doc, m, match)) continue;
        const long valueNumber = Report(mi, match, DependID);
        size_t reach = textEnd;
        if (followers && (m.MaxFound < 0 || m.FoundCount < m.MaxFound) && !doc.StopFlag) {
            // The same search as the loop's next one (a start waiting for
            // more text included), only not held back by PreloadSize.
            const size_t at = doc.Position();
            looked = Find(doc, mi, textEnd, textEnd, hold, ahead);
            if (looked) reach = ahead.start;
            else if (doc.Held()) reach = doc.Position();
            doc.SetPosition(at);
        }
        StartDependents(doc, mi, valueNumber, match, reach);
    }
    --depth_;
    active_[mi] = 0;
}

// Hands a finding on and counts it; its value number.
long MaskProcessor::Report(size_t mi, const std::string& match, long DependID) {
    InfoMask& m = masks_[mi];
    long& counter = masks_[numbering_[mi]].ValueNumber;
    const long valueNumber = counter;
    if (OnResult) {
        InfoResult r;
        r.TaskName = TaskName;
        r.PropertyName = m.MaskName;
        r.DependName = m.DependsOn;
        r.Value = match;
        r.ResultID = valueNumber;
        r.DependID = DependID;
        OnResult(r);
    }
    ++m.FoundCount;
    ++counter;
    return valueNumber;
}

// Steers the metaprocessor, converts the match and makes a link's match a
// full address; false when the link may not be followed from this page.
bool MaskProcessor::Convert(InfoDocument& doc, const InfoMask& m, std::string& match) {
    if (Metaprocessor) {
        if (m.MaskName == "Format") Metaprocessor->SelectFormat(match);
        else if (m.MaskName == "Encoding") Metaprocessor->SelectEncoding(match);
        if (m.CanCompile) match = Metaprocessor->Convert(match);
    }
    if (m.Type == 1 || m.Type == 2 || m.Type == 4) {
        const InfoAddress& base = doc.Address();
        InfoAddress link(match, protocols_, &base);
        InfoAddress full = link.Resolved();
        match = full.FullAddress(protocols_);
        // A page from the network never leads to the local disk: judged on
        // the text a channel will open, whatever its spelling here.
        if ((IsLocalAddress(full, protocols_) || OpensLocally(match, protocols_)) &&
            !IsLocalAddress(base, protocols_))
            return false;
    }
    return true;
}

// DependType 1 searches on after the parent's match, up to reach; DependType
// 2 only inside the match.
void MaskProcessor::StartDependents(InfoDocument& doc, size_t mi, long valueNumber, const std::string& match,
                                    size_t reach) {
    const std::string name = masks_[mi].MaskName;
    for (size_t j = 0; j < masks_.size(); ++j) {
        if (j == mi || masks_[j].DependsOn.empty() || masks_[j].DependsOn != name) continue;
        if (masks_[j].DependType == 1) {
            size_t at = doc.Position();
            masks_[j].ResumePosition = at;
            masks_[j].FoundCount = 0;
            ApplyMask(doc, j, valueNumber, reach);
            doc.SetPosition(at);
        } else if (masks_[j].DependType == 2) {
            InfoDocument part;
            part.Begin(doc.Address());
            part.SetText(match);
            part.StopFlag = doc.StopFlag.load();
            part.StepBudget = doc.StepBudget;
            part.ShareBudget(doc);
            masks_[j].ResumePosition = 0;
            masks_[j].FoundCount = 0;
            ApplyMask(part, j, valueNumber);
        }
    }
}
