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

void MaskProcessor::ApplyMask(InfoDocument& doc, size_t mi, long DependID) {
    if (mi >= masks_.size() || active_[mi] || depth_ >= kMaxDependDepth) return;
    if (depth_ == 0) protocols_ = Protocols ? Protocols->Entries() : ProtocolStrings();
    active_[mi] = 1;
    ++depth_;
    const bool root = DependID < 0;
    const InfoAddress& base = doc.Address();
    for (;;) {
        if (doc.StopFlag) break;
        InfoMask& m = masks_[mi];
        size_t limit = SIZE_MAX;
        if (root && !doc.Complete()) {
            // Leave PreloadSize bytes after a start position, so a match is
            // not cut at the end of what has arrived so far.
            size_t preload = PreloadSize > 0 ? static_cast<size_t>(PreloadSize) : 0;
            if (doc.Length() - doc.Position() < preload) break;
            limit = doc.Length() - preload + 1;
        }
        if (m.MaxFound >= 0 && m.FoundCount >= m.MaxFound) break;
        std::string match;
        if (!doc.FindNext(patterns_[mi], match, limit)) break;
        if (Metaprocessor) {
            if (m.MaskName == "Format") Metaprocessor->SelectFormat(match);
            else if (m.MaskName == "Encoding") Metaprocessor->SelectEncoding(match);
            if (m.CanCompile) match = Metaprocessor->Convert(match);
        }
        if (m.Type == 1 || m.Type == 2 || m.Type == 4) {
            InfoAddress link(match, protocols_, &base);
            InfoAddress full = link.Resolved();
            match = full.FullAddress(protocols_);
            // A page from the network never leads to the local disk: judged on
            // the text a channel will open, whatever its spelling here.
            if ((IsLocalAddress(full, protocols_) || OpensLocally(match, protocols_)) &&
                !IsLocalAddress(base, protocols_))
                continue;
        }
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
        const std::string name = m.MaskName;
        for (size_t j = 0; j < masks_.size(); ++j) {
            if (j == mi || masks_[j].DependsOn.empty() || masks_[j].DependsOn != name) continue;
            if (masks_[j].DependType == 1) {
                size_t at = doc.Position();
                masks_[j].ResumePosition = at;
                masks_[j].FoundCount = 0;
                ApplyMask(doc, j, valueNumber);
                doc.SetPosition(at);
            } else if (masks_[j].DependType == 2) {
                InfoDocument part;
                part.Begin(base);
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
    --depth_;
    active_[mi] = 0;
}
