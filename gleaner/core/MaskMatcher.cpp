#include "MaskMatcher.h"

#include <cstring>

bool MaskMatcher::Abort(const char* why) {
    if (!aborted_) lastError_ = why;
    aborted_ = true;
    return false;
}

long MaskMatcher::FindNext(const std::string& text, size_t& pos, const MaskPattern& pattern, std::string& capture,
                           const MatchScope& scope, uint64_t budget, const std::atomic<long>& stop) {
    capture.clear();
    steps_ = 0;
    aborted_ = false;
    held_ = false;
    const size_t startLimit = scope.startLimit, textEnd = scope.textEnd;
    if (!pattern.Valid()) lastError_ = pattern.Error();
    if (!pattern.Searchable() || text.empty() || stop.load(std::memory_order_relaxed)) return 0;
    text_ = &text;
    const std::string& tx = text;
    const size_t len = textEnd < tx.size() ? textEnd : tx.size();
    end_ = len;
    const size_t limit = startLimit < len ? startLimit : len;
    pat_ = &pattern;
    budget_ = budget;
    // The state starts out without hooks, so the first literal after any
    // leading flag elements ("\w-", "\u+", ...) must equal the character at the
    // start position, letter case folded; that rules most positions out cheaply.
    const std::string& pt = pattern.Text();
    size_t lead = 0;
    while (lead + 2 < pt.size() && pt[lead] == '\\' &&
           (pt[lead + 1] == 'w' || pt[lead + 1] == 'u' || pt[lead + 1] == 'g' || pt[lead + 1] == 'r'))
        lead += 3;
    const bool literalFirst = lead < pt.size() && pt[lead] != '\\';
    const char firstUp = literalFirst ? UpperChar(pt[lead]) : 0;
    const bool firstIsLetter = firstUp >= 'A' && firstUp <= 'Z';
    // Leading flag elements set the same flags at every start: set them once.
    State start;
    size_t from = 0;
    if (lead < pt.size()) {
        for (size_t k = 0; k < lead; k += 3) {
            bool* f = pt[k + 1] == 'w' ? &start.w : pt[k + 1] == 'u' ? &start.u : pt[k + 1] == 'g' ? &start.g : &start.r;
            if (pt[k + 2] == '+') *f = true;
            else if (pt[k + 2] == '-') *f = false;
        }
        from = lead;
    }
    leadStar_ = LeadWildcard(pattern);
    firstStart_ = pos;
    dead_.clear();
    deadRanOut_ = false;
    const bool mayHold = scope.hold && len == tx.size();
    size_t p = pos;
    for (; p < limit; ++p) {
        if (Dead(p)) continue;
        if (literalFirst && UpperChar(tx[p]) != firstUp) {
            if (!firstIsLetter) {
                const void* hit = memchr(tx.data() + p, firstUp, limit - p);
                if (!hit) {
                    p = limit;
                    break;
                }
                p = static_cast<size_t>(static_cast<const char*>(hit) - tx.data());
            } else {
                continue;
            }
        }
        if (stop.load(std::memory_order_relaxed)) break;
        st_.w = start.w;
        st_.u = start.u;
        st_.g = start.g;
        st_.r = start.r;
        st_.before.clear();
        st_.after.clear();
        st_.top = -1;
        error_ = false;
        errorPos_ = 0;
        depth_ = 0;
        pos_ = p;
        marks_.clear();
        ranOut_ = false;
        std::string cap;
        if (Match(from, pattern.Size(), cap)) {
            pos = pos_ == p ? p + 1 : pos_;
            matchStart_ = p;
            if (!cap.empty() && cap.back() == ' ') cap.pop_back();
            capture.swap(cap);
            pat_ = nullptr;
            text_ = nullptr;
            return 1;
        }
        if (aborted_) {
            ++p;
            break;
        }
        if (ranOut_ && mayHold) {
            held_ = true;  // tried again once more text has come
            break;
        }
        deadRanOut_ = deadRanOut_ || (ranOut_ && !marks_.empty());
        MarkDead();
    }
    // A start already past a shortened text stays where it was.
    if (p > len && len == tx.size()) p = len;
    pos = p;
    pat_ = nullptr;
    text_ = nullptr;
    return 0;
}

// The index of a wildcard that every attempt reaches without reading the
// text (only flags, list edits and inserted characters before it); SIZE_MAX
// when the pattern has none.
size_t MaskMatcher::LeadWildcard(const MaskPattern& pattern) {
    const std::string& pt = pattern.Text();
    for (size_t i = 0; i + 1 < pt.size() && pt[i] == '\\';) {
        const char e = pt[i + 1];
        if (e == '*') return i;
        if (e != 'w' && e != 'u' && e != 'g' && e != 'r' && e != 'a' && e != '<') break;
        const size_t next = pattern.At(i).next;
        if (next <= i) break;
        i = next;
    }
    return SIZE_MAX;
}

// An attempt that failed passed, in its leading wildcard, positions where
// its state was the state every attempt has there. An attempt started at
// such a position would go on exactly as that one went on from it, and fail
// the same way: those start positions are not tried, and a later attempt
// whose wildcard reaches one of them in that state fails there. A wildcard
// that runs to the end of the text no longer makes the search cost the
// square of it.
void MaskMatcher::MarkDead() {
    for (size_t q : marks_) {
        const size_t at = q - firstStart_;
        if (at >= dead_.size()) dead_.resize(at + 1, 0);
        dead_[at] = 1;
    }
}

bool MaskMatcher::SameState(const State& a, const State& b) {
    if (a.w != b.w || a.u != b.u || a.g != b.g || a.r != b.r || a.top != b.top) return false;
    if (a.before.size() != b.before.size() || a.after.size() != b.after.size()) return false;
    auto same = [](const Hook& x, const Hook& y) { return x.key == y.key && x.begin == y.begin && x.end == y.end; };
    for (size_t i = 0; i < a.before.size(); ++i)
        if (!same(a.before[i], b.before[i])) return false;
    for (size_t i = 0; i < a.after.size(); ++i)
        if (!same(a.after[i], b.after[i])) return false;
    for (int k = 0; k <= a.top; ++k)
        if (a.stack[k].c != b.stack[k].c || a.stack[k].taken != b.stack[k].taken) return false;
    return true;
}

void MaskMatcher::Capture(std::string& capture, char c) const {
    if (st_.w) capture += st_.u ? UpperChar(c) : c;
}

// Hooks run at the character's position; a hook that fails makes the
// consuming step fail.
bool MaskMatcher::RunHooks(bool before, char c, std::string& capture) {
    const std::vector<Hook>& list = before ? st_.before : st_.after;
    bool any = false;
    for (const Hook& h : list) any = any || Same(h.key, c);
    if (!any) return true;
    std::vector<Hook> hooks = list;  // a hook may edit the lists
    for (const Hook& h : hooks) {
        if (!Same(h.key, c)) continue;
        std::string hc;
        if (!Match(h.begin, h.end, hc)) return false;
        capture += hc;
    }
    return true;
}

// Hook lists are mostly empty: copying them only when they are not keeps the
// wildcard's save and restore cheap.
void MaskMatcher::CopyState(const State& from, State& to) {
    to.w = from.w;
    to.u = from.u;
    to.g = from.g;
    to.r = from.r;
    if (!from.before.empty() || !to.before.empty()) to.before = from.before;
    if (!from.after.empty() || !to.after.empty()) to.after = from.after;
    to.top = from.top;
    for (int k = 0; k <= from.top; ++k) to.stack[k] = from.stack[k];
}

// Takes the character at the match position: before hooks, capture, after hooks, advance.
bool MaskMatcher::Consume(std::string& capture, bool withCapture) {
    const char c = (*text_)[pos_];
    if (!st_.before.empty() && !RunHooks(true, c, capture)) return false;
    if (withCapture) Capture(capture, c);
    if (!st_.after.empty() && !RunHooks(false, c, capture)) return false;
    if (pos_ < end_) ++pos_;
    return true;
}

bool MaskMatcher::Match(size_t i, size_t end, std::string& capture) {
    if (i >= end) return false;
    if (aborted_) return false;
    if (depth_ >= kMaxNesting) return Abort("hooks or wildcards nested too deeply");
    struct Depth {
        int& d;
        explicit Depth(int& x) : d(x) { ++d; }
        ~Depth() { --d; }
    } guard(depth_);
    const char* t = pat_->Text().data();
    capture.clear();
    while (pos_ < end_) {
        if (++steps_ > budget_) return Abort("pattern too costly for this text");
        const char c = t[i];
        if (c != '\\') {
            if (!Same(c, (*text_)[pos_])) return false;
            if (!Consume(capture)) return false;
        } else if (i + 1 < end) {
            if (t[i + 1] == 'e') return true;
            size_t next = i + 2;
            Outcome o = Element(i, end, capture, next);
            if (o == kFail) return false;
            if (o == kDone) return true;
            if (next <= i) next = i + 2;
            i = next - 1;
        }
        // else: a trailing lone backslash is ignored
        ++i;
        if (i >= end) return true;
    }
    ranOut_ = true;
    return false;  // the text ran out before the pattern
}

MaskMatcher::Outcome MaskMatcher::Element(size_t k, size_t end, std::string& capture, size_t& next) {
    const std::string& pt = pat_->Text();
    const MaskPattern::Element& el = pat_->At(k);
    next = el.next;
    switch (pt[k + 1]) {
    case '#': {
        const char x = pt[k + 2];
        bool first = true;
        while (pos_ < end_ && Same(x, (*text_)[pos_])) {
            if (++steps_ > budget_) {
                Abort("pattern too costly for this text");
                return kFail;
            }
            if (!Consume(capture, first || st_.r)) return kFail;
            first = false;
        }
        if (pos_ >= end_) ranOut_ = true;  // more text could repeat X further
        return kNext;
    }
    case '*': {
        State saved;
        CopyState(st_, saved);
        size_t savedPos = pos_;
        const bool lead = k == leadStar_ && depth_ == 1;
        const size_t entryPos = pos_;
        State entry;
        if (lead) CopyState(st_, entry);
        while (pos_ < end_) {
            if (lead && pos_ != entryPos && SameState(st_, entry)) {
                // From here on this attempt is one that failed before.
                if (Dead(pos_)) {
                    ranOut_ = ranOut_ || deadRanOut_;
                    return kFail;
                }
                marks_.push_back(pos_);
            }
            std::string rest;
            if (Match(k + 2, end, rest)) {
                capture += rest;
                return kDone;  // the rest of the pattern is matched
            }
            if (aborted_) return kFail;
            CopyState(saved, st_);
            pos_ = savedPos;
            if (!Consume(capture)) return kFail;
            CopyState(st_, saved);
            savedPos = pos_;
        }
        next = k + 2;
        return kNext;
    }
    case '?':
        Capture(capture, (*text_)[pos_]);
        ++pos_;
        return kNext;
    case '~':
        ++pos_;
        return kNext;
    case 'a': {
        const char l = pt[k + 2], c = pt[k + 3], op = pt[k + 4];
        std::vector<Hook>* list = l == 'l' ? &st_.before : l == 'r' ? &st_.after : nullptr;
        bool ok = list != nullptr;
        if (ok && op == '!') {
            for (size_t j = list->size(); j-- > 0;)
                if ((*list)[j].key == c) list->erase(list->begin() + static_cast<long>(j));
        } else if (ok && op == ':' && el.subEnd > el.subBegin) {
            list->push_back(Hook{c, el.subBegin, el.subEnd});
        } else if (ok && op == '~') {
            list->clear();
        } else {
            ok = false;
        }
        if (!ok) {
            error_ = true;
            errorPos_ = k;
            return kFail;
        }
        return kNext;
    }
    case 's':
        if (st_.top < kStackSize - 1) st_.stack[++st_.top] = Choice{(*text_)[pos_], false};
        return kNext;
    case 'c': {
        if (st_.top < 0) return kNext;
        Choice& top = st_.stack[st_.top];
        bool hit = false;
        for (size_t j = k + 2; j < el.colon && !hit; ++j) hit = Same(pt[j], top.c);
        if (!hit) return kNext;
        top.taken = true;
        std::string sub;
        if (!Match(el.subBegin, el.subEnd, sub)) return kFail;
        if (!sub.empty() && sub.back() == ' ') sub.pop_back();
        capture += sub;
        return kNext;
    }
    case 'd': {
        if (st_.top < 0) {
            next = k + 2;  // only the letter is taken from the pattern
            return kNext;
        }
        if (!st_.stack[st_.top].taken) {
            std::string sub;
            if (!Match(el.subBegin, el.subEnd, sub)) return kFail;
            if (!sub.empty() && sub.back() == ' ') sub.pop_back();
            capture += sub;
        }
        --st_.top;
        return kNext;
    }
    case '!':
        return kFail;
    case '<':
        capture += pt[k + 2];
        return kNext;
    case 'g':
    case 'r':
    case 'u':
    case 'w': {
        bool* flag = pt[k + 1] == 'g' ? &st_.g : pt[k + 1] == 'r' ? &st_.r : pt[k + 1] == 'u' ? &st_.u : &st_.w;
        if (pt[k + 2] == '+') *flag = true;
        else if (pt[k + 2] == '-') *flag = false;
        return kNext;
    }
    default:
        return kNext;
    }
}
