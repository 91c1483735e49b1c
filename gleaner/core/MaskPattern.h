// A mask pattern checked once and annotated for the matcher: where each
// element ends and where the sub-pattern of a choice, default or list edit
// lies. A malformed pattern gets an error text and never matches.
// No platform headers.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class MaskPattern {
public:
    struct Element {
        uint32_t next = 0;      // index after the whole element
        uint32_t subBegin = 0;  // sub-pattern P of "\c...:P\e", "\d:P\e", "\aLC:P\e"
        uint32_t subEnd = 0;    // index of the "\e" that closes P
        uint32_t colon = 0;     // "\c": index of the ':' after the choice characters
    };

    MaskPattern() = default;
    explicit MaskPattern(const std::string& text) { Compile(text); }

    bool Compile(const std::string& text);
    const std::string& Text() const { return text_; }
    size_t Size() const { return text_.size(); }
    bool Valid() const { return error_.empty(); }
    const std::string& Error() const { return error_; }  // "" when valid
    size_t ErrorPosition() const { return errorPos_; }
    // Valid, non-empty and not exactly "\!" (such masks are never searched).
    bool Searchable() const { return Valid() && !text_.empty() && text_ != "\\!"; }
    // The element that starts with the backslash at index k.
    const Element& At(size_t k) const { return el_[k]; }

    static constexpr int kMaxDepth = 32;  // sub-patterns inside sub-patterns

private:
    bool Scan(size_t i, int depth, bool inSub, size_t& end);
    bool Fail(size_t at, const char* what);

    std::string text_;
    std::vector<Element> el_;
    std::string error_;
    size_t errorPos_ = 0;
};
