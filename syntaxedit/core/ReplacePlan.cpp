#include "ReplacePlan.h"

#include <cctype>
#include <utility>

#include "SysUtils.h"

namespace {

bool IsOctal(char c) { return c >= '0' && c <= '7'; }

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

std::string TextBetween(TEdStream& stream, int32_t a, int32_t b) {
    if (a < 0 || b <= a) return std::string();
    std::string text(static_cast<size_t>(b - a), '\0');
    stream.MoveTo(a);
    text.resize(static_cast<size_t>(stream.Read(&text[0], b - a)));
    return text;
}

// The code of the escape at t[i] (after the backslash); i moves past it.
// -1: the escape ends the replacement.
int TemplateEscape(const std::string& t, size_t& i) {
    char c = t[i];
    if (IsOctal(c)) {
        int v = 0;
        for (int k = 0; k < 3 && i < t.size() && IsOctal(t[i]); k++, i++) v = v * 8 + (t[i] - '0');
        return v == 0 || v > 255 ? -1 : v;
    }
    i++;
    switch (std::tolower(static_cast<unsigned char>(c))) {
    case 'b': return 8;
    case 'f': return 12;
    case 'n': return 13;
    case 'r': return 10;
    case 's': return 32;
    case 't': return 9;
    case 'x': {
        int v = 0, digits = 0;
        for (; digits < 2 && i < t.size() && HexValue(t[i]) >= 0; digits++, i++) v = v * 16 + HexValue(t[i]);
        return digits == 0 || v == 0 ? -1 : v;
    }
    default:
        return static_cast<unsigned char>(c);
    }
}

}  // namespace

std::string TReplacePlan::ExpandTemplate(const std::string& t, const TREParser& parser, TEdStream& stream) {
    std::string out;
    size_t i = 0;
    while (i < t.size()) {
        char c = t[i++];
        if (c == '%') {
            if (i >= t.size()) {
                out += '%';
                break;
            }
            size_t digits = 0;
            int n = 0;
            while (digits < 3 && i + digits < t.size() && isdigit(static_cast<unsigned char>(t[i + digits])))
                n = n * 10 + (t[i + digits++] - '0');
            if (digits > 0 && n >= 1 && n <= 255) {
                out += TextBetween(stream, parser.MatchPosition(n - 1), parser.MatchPosition(n));
                i += digits;
            } else {
                out += t[i++];  // "%%" and "%" before anything else
            }
        } else if (c == '\\') {
            if (i >= t.size()) {
                out += '\\';
                break;
            }
            int code = TemplateEscape(t, i);
            if (code < 0) break;
            out += static_cast<char>(code);
        } else {
            out += c;
        }
    }
    return out;
}

void TReplacePlan::Add(int32_t start, int32_t length, std::string text, bool forward) {
    TReplaceItem item;
    item.Start = start;
    item.Length = length;
    item.Text = std::move(text);
    // Forwards every item before this one lies before it in the text and has
    // moved it; backwards they all lie after it.
    item.At = start;
    if (forward && !Items.empty()) {
        const TReplaceItem& last = Items.back();
        item.At = start + (last.At - last.Start) + static_cast<int32_t>(last.Text.size()) - last.Length;
    }
    Items.push_back(std::move(item));
}

TReplacePlan::TResult TReplacePlan::PlanRegExpr(TREParser& parser, const std::string& pattern, TEdStream& stream,
                                                bool forward, const std::string& replaceTemplate) {
    Items.clear();
    if (!parser.SetPattern(pattern)) return rpBadPattern;
    // Backwards nothing may reach past where the search began.
    const int32_t from = stream.GetPosition();
    try {
        while (parser.Search(&stream, forward)) {
            int32_t start = parser.MatchStart(), end = parser.MatchEnd();
            if (end == start) break;
            if (forward || end <= (Items.empty() ? from : Items.back().Start))
                Add(start, end - start, ExpandTemplate(replaceTemplate, parser, stream), forward);
            if (forward) {
                stream.MoveTo(end);
            } else {
                if (start == 0) break;
                stream.MoveTo(start - 1);
            }
        }
    } catch (const Exception&) {
        Items.clear();
        return rpSearchError;
    }
    return Items.empty() ? rpNotFound : rpPlanned;
}

TReplacePlan::TResult TReplacePlan::PlanPlain(TEdStream& stream, TSearchTables& tables, const TWordTests* words,
                                              const std::string& text, bool wholeWord, bool matchCase,
                                              int32_t from, const std::string& replacement) {
    Items.clear();
    int32_t lastPos = static_cast<int32_t>(stream.Size()) - 1;
    int32_t n = static_cast<int32_t>(text.size());
    if (n == 0) return rpNotFound;
    for (int32_t p = from; p <= lastPos;) {
        int32_t r = FindText(words, stream, lastPos, tables, wholeWord, matchCase, false, p, text);
        if (r > lastPos || r < p) break;
        Add(r, n, replacement, true);
        p = r + n;
    }
    return Items.empty() ? rpNotFound : rpPlanned;
}
