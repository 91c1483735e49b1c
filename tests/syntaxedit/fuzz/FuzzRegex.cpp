// Input: a flags byte (bit 0: forwards; the rest picks the start), a pattern
// length byte, the pattern, then the text. Compiling and searching must not
// crash, must stay within the step bound, and a match must be well formed;
// the pattern is also expanded as a replace template against the match.
#include <cstdlib>
#include <string>

#include "ReplacePlan.h"
#include "SysUtils.h"
#include "TextStore.h"

namespace {

void Check(bool ok) {
    if (!ok) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2) return 0;
    bool forward = data[0] & 1;
    size_t patternLength = std::min<size_t>(data[1], size - 2);
    std::string pattern(reinterpret_cast<const char*>(data + 2), patternLength);
    std::string raw(reinterpret_cast<const char*>(data + 2 + patternLength), size - 2 - patternLength);
    if (raw.size() > 4096) raw.resize(4096);

    TREParser re;
    if (!re.SetPattern(pattern)) {
        Check(re.ErrorCode() >= reNotFound && re.ErrorCode() <= reInternal && !re.ErrorMessage().empty());
        Check(re.ErrorPosition() >= 1 && re.ErrorPosition() <= static_cast<int>(pattern.size()) + 1);
        Check(re.Pattern().empty());
        return 0;
    }
    Check(re.Program().size() <= 1 + static_cast<size_t>(TREParser::kMaxProgram));

    TTextStore store;
    store.InsertText(0, NormalizeInsertText(raw));
    TEdStream stream(&store);
    int32_t length = store.TextLength();
    int32_t from = length ? static_cast<int32_t>((data[0] >> 1) * static_cast<int64_t>(length) / 127) : 0;
    stream.MoveTo(from);
    bool found = false;
    try {
        found = re.Search(&stream, forward);
    } catch (const Exception&) {
        Check(re.ErrorCode() == reTooComplex || re.ErrorCode() == reIndexRange);
    }
    Check(re.Steps() <= re.StepLimit() + length + 1);  // the last step may take several
    Check(re.StepLimit() <= TREParser::kBaseSteps + TREParser::kStepsPerTry * (length + 1));
    if (!found) return 0;

    int32_t start = re.MatchStart(), end = re.MatchEnd();
    Check(0 <= start && start <= end && end <= length);
    Check(forward ? start >= from : start <= std::max(from, 1));
    int32_t previous = start;
    for (int i = 0; i < TREParser::kLogSize; i++) {
        int32_t p = re.MatchPosition(i);
        Check(previous <= p && p <= end);
        previous = p;
    }
    Check(re.MatchPosition(re.LogCount()) == end);
    std::string replacement = TReplacePlan::ExpandTemplate(pattern, re, stream);
    Check(replacement.size() <= pattern.size() * static_cast<size_t>(length + 2));
    return 0;
}
