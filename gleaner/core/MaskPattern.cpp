#include "MaskPattern.h"

#include <cstdio>

bool MaskPattern::Fail(size_t at, const char* what) {
    if (error_.empty()) {
        char b[96];
        snprintf(b, sizeof b, "%s at %u", what, static_cast<unsigned>(at));
        error_ = b;
        errorPos_ = at;
    }
    return false;
}

bool MaskPattern::Compile(const std::string& text) {
    text_ = text;
    error_.clear();
    errorPos_ = 0;
    el_.assign(text_.size(), Element());
    if (text_.size() >= 0x7fffffffu) return Fail(0, "pattern too long");
    size_t end = 0;
    return Scan(0, 0, false, end);
}

// Walks elements from i. Inside a sub-pattern it stops at the first "\e"
// that belongs to no nested element and reports its index in end.
bool MaskPattern::Scan(size_t i, int depth, bool inSub, size_t& end) {
    if (depth > kMaxDepth) return Fail(i, "sub-patterns nested too deeply");
    const size_t n = text_.size();
    while (i < n) {
        if (text_[i] != '\\') {
            ++i;
            continue;
        }
        const size_t k = i;
        if (k + 1 >= n) {
            if (inSub) return Fail(k, "missing \\e");
            break;  // a trailing lone backslash is ignored
        }
        Element& e = el_[k];
        size_t sub = 0;
        switch (text_[k + 1]) {
        case 'e':
            if (inSub) {
                end = k;
                return true;
            }
            e.next = static_cast<uint32_t>(k + 2);
            break;
        case '#':
        case '<':
        case 'g':
        case 'r':
        case 'u':
        case 'w':
            if (k + 2 >= n) return Fail(k, "truncated element");
            e.next = static_cast<uint32_t>(k + 3);
            break;
        case 'a':
            if (k + 4 >= n) return Fail(k, "truncated list edit");
            if (text_[k + 4] == ':') sub = k + 5;
            else e.next = static_cast<uint32_t>(k + 5);
            break;
        case 'c': {
            size_t colon = text_.find(':', k + 2);
            if (colon == std::string::npos) return Fail(k, "choice without ':'");
            e.colon = static_cast<uint32_t>(colon);
            sub = colon + 1;
            break;
        }
        case 'd':
            if (k + 2 >= n || text_[k + 2] != ':') return Fail(k, "default without ':'");
            sub = k + 3;
            break;
        default:
            e.next = static_cast<uint32_t>(k + 2);
            break;
        }
        if (sub) {
            size_t subEnd = 0;
            if (!Scan(sub, depth + 1, true, subEnd)) return Fail(k, "missing \\e");
            e.subBegin = static_cast<uint32_t>(sub);
            e.subEnd = static_cast<uint32_t>(subEnd);
            e.next = static_cast<uint32_t>(subEnd + 2);
        }
        i = e.next;
    }
    if (inSub) return Fail(n, "missing \\e");
    end = n;
    return true;
}
