// Runs a channel's masks over its document as the text grows: root masks by
// priority from where they stopped, dependent masks after or inside their
// parent's match, link masks resolved to full addresses, "Format" and
// "Encoding" masks steering the metaprocessor. Findings go to OnResult.
// The masks belong to whoever runs ProcessMasks: change them only between
// tasks (or under the same lock the caller holds around ProcessMasks).
// No platform headers.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "InfoDocument.h"
#include "InfoMask.h"
#include "MaskPattern.h"

class InfoMetaprocessor;
class ProtocolList;

class MaskProcessor {
public:
    // Type and Priority are kept at 0 when negative.
    void AddMask(const std::string& MaskName, const std::string& MaskValue, const std::string& DependsOn, long Type,
                 long DependType, long Priority, long MaxFound, long CanCompile, long Hidden);
    void EmptyMasks();
    // Run counters 0; the metaprocessor back on its default format and encoding.
    void ResetMasks();

    void ProcessMasks(InfoDocument& document);
    // Matches read nothing at or past textEnd (the whole text by default).
    void ApplyMask(InfoDocument& document, size_t mask, long DependID, size_t textEnd = SIZE_MAX);

    size_t MaskCount() const { return masks_.size(); }
    const InfoMask& Mask(size_t i) const { return masks_[i]; }
    const MaskPattern& Pattern(size_t i) const { return patterns_[i]; }

    std::string TaskName;
    long PreloadSize = 0;
    InfoMetaprocessor* Metaprocessor = nullptr;  // not owned
    const ProtocolList* Protocols = nullptr;     // not owned
    // AddResult(TaskName, PropertyName, DependName, Value, ResultID, DependID)
    std::function<void(const InfoResult&)> OnResult;

    static constexpr int kMaxDependDepth = 16;


private:
    struct Hit {
        std::string text;
        size_t start = 0, after = 0;  // where the match began, and the position after it
    };

    bool IsRoot(const InfoMask& m) const;
    bool HasFollowers(size_t mask) const;  // dependents of DependType 1
    bool Find(InfoDocument& document, size_t mask, size_t startLimit, size_t textEnd, bool hold, Hit& hit);
    bool Convert(InfoDocument& document, const InfoMask& m, std::string& match);
    long Report(size_t mask, const std::string& match, long DependID);
    void StartDependents(InfoDocument& document, size_t mask, long valueNumber, const std::string& match,
                         size_t reach);

    std::vector<InfoMask> masks_;
    std::vector<MaskPattern> patterns_;
    std::vector<size_t> numbering_;  // the entry whose ValueNumber counts this mask name's values
    std::vector<char> active_;  // masks whose ApplyMask is running: no cycles
    ProtocolStrings protocols_;
    int depth_ = 0;
};
