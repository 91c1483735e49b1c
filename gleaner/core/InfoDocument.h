// The text of a document as it arrives portion by portion, searched by the
// mask matcher within one budget for the whole document. No platform headers.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

#include "InfoAddress.h"
#include "InfoObject.h"
#include "MaskMatcher.h"
#include "MaskPattern.h"

class InfoDownloader;

class InfoDocument : public InfoObject {
public:
    InfoDocument() = default;

    long Begin(const InfoAddress& address);  // 0 when already begun
    void End();                              // frees the text and destroys
    void FreeText();
    // Searches from the match position; start positions stop before
    // startLimit (the whole text when it is larger), and the text ends at
    // textEnd for the match. Returns 1 with the capture when found. A miss
    // leaves the match position at the first start position not tried, so a
    // later scan resumes there; with hold, at a start that may match once
    // more text has come (Held() tells).
    long FindNext(const MaskPattern& pattern, std::string& capture, size_t startLimit = SIZE_MAX,
                  size_t textEnd = SIZE_MAX, bool hold = false);
    bool Held() const { return matcher_.Held(); }
    size_t MatchStart() const { return matcher_.MatchStart(); }  // where the last match found began
    long FindNext(const std::string& pattern, std::string& capture);
    void SetText(const std::string& text);  // position 0
    long Open(InfoDownloader& downloader);
    long Read();                            // bytes added by the next portion
    void Close();
    std::string WholeText() const { return text_; }
    size_t Length() const { return text_.size(); }

    const InfoAddress& Address() const { return address_; }
    size_t Position() const { return pos_; }
    void SetPosition(size_t p) { pos_ = p > text_.size() ? text_.size() : p; }
    // True when no more text can come (no downloader, or it read the end).
    bool Complete() const;

    std::atomic<long> StopFlag{0};
  // the channel's StopForceSemafor
    // Steps one FindNext may take before it gives up (0: a limit grown with the text).
    uint64_t StepBudget = 0;
    // The last reason a pattern could not be followed ("" when none).
    const std::string& LastError() const { return matcher_.LastError(); }

    // All searches of one document together take at most DocumentBudget
    // steps, so a page cannot make matching cost more than its size allows;
    // what was found before the budget ran out stays found.
    uint64_t DocumentBudget() const;
    uint64_t StepsSpent() const { return spent_; }
    // Searches of this document (one made from a match of owner's text) count against owner's budget.
    void ShareBudget(InfoDocument& owner);

    static constexpr uint64_t kDocumentBase = uint64_t(1) << 22;
    static constexpr uint64_t kDocumentPerByte = 512;
    static const char kBudgetSpent[];

private:
    InfoAddress address_;
    InfoDownloader* downloader_ = nullptr;
    std::string text_;
    size_t pos_ = 0;
    MaskMatcher matcher_;
    uint64_t spent_ = 0;
    InfoDocument* budgetOwner_ = nullptr;  // not owned; nullptr: this one
};
