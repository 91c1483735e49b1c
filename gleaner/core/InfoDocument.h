// The text of a document as it arrives portion by portion, and the
// interpreter of the mask language that searches it. No platform headers.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

#include "InfoAddress.h"
#include "InfoObject.h"
#include "MaskPattern.h"

class InfoDownloader;

class InfoDocument : public InfoObject {
public:
    InfoDocument() = default;

    long Begin(const InfoAddress& address);  // 0 when already begun
    void End();                              // frees the text and destroys
    void FreeText();
    // Searches from the match position; start positions stop before
    // startLimit (the whole text when it is larger). Returns 1 with the
    // capture when found. A miss leaves the match position at the first
    // start position not tried, so a later scan resumes there.
    long FindNext(const MaskPattern& pattern, std::string& capture, size_t startLimit = SIZE_MAX);
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

    std::atomic<long> StopFlag{0};  // the channel's StopForceSemafor
    // Steps one FindNext may take before it gives up (0: a limit grown with the text).
    uint64_t StepBudget = 0;
    // The last reason a pattern could not be followed ("" when none).
    const std::string& LastError() const { return lastError_; }

    static constexpr int kMaxNesting = 48;  // hooks, wildcards and sub-patterns inside each other
    static constexpr int kStackSize = 16;

private:
    struct Hook {
        char key;
        uint32_t begin, end;  // the entry's pattern inside the current pattern
    };
    struct Choice {
        char c;
        bool taken;
    };
    struct State {
        bool w = true, u = false, g = false, r = false;
        std::vector<Hook> before, after;
        Choice stack[kStackSize];
        int top = -1;
    };

    bool Match(size_t i, size_t end, std::string& capture);
    enum Outcome { kFail, kNext, kDone };
    Outcome Element(size_t k, size_t end, std::string& capture, size_t& next);
    bool Consume(std::string& capture, bool withCapture = true);
    static void CopyState(const State& from, State& to);
    bool RunHooks(bool before, char c, std::string& capture);
    void Capture(std::string& capture, char c) const;
    bool Same(char a, char b) const { return st_.g ? a == b : UpperChar(a) == UpperChar(b); }
    bool Abort(const char* why);

    InfoAddress address_;
    InfoDownloader* downloader_ = nullptr;
    std::string text_;
    size_t pos_ = 0;

    // matcher state of the running attempt
    const MaskPattern* pat_ = nullptr;
    State st_;
    bool error_ = false;
    size_t errorPos_ = 0;
    int depth_ = 0;
    uint64_t steps_ = 0;
    uint64_t budget_ = 0;
    bool aborted_ = false;
    std::string lastError_;
};
