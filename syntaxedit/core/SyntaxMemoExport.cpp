// The selection as plain, Unix, HTML and RTF text.
#include <algorithm>
#include <cstdio>

#include "SM_Settings.h"
#include "SyntaxMemoCore.h"

namespace {

std::string Format(const char* fmt, long a) {
    char buf[64];
    snprintf(buf, sizeof buf, fmt, a);
    return buf;
}

long Rrggbb(TColor c) { return static_cast<long>(((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF)); }

void HtmlEscape(std::string& out, uint8_t c) {
    if (c < 32 && c != 9) return;
    if (c == 9 || c == 160) out += "&nbsp;";
    else if (c == '"') out += "&quot;";
    else if (c == '<') out += "&lt;";
    else if (c == '>') out += "&gt;";
    else if (c == '&') out += "&amp;";  // an unescaped ampersand starts an entity in the reader
    else if (c >= 128) out += "&#" + std::to_string(c) + ";";
    else out += static_cast<char>(c);
}

void RtfEscape(std::string& out, uint8_t c) {
    static const char hex[] = "0123456789abcdef";
    if (c == 0) return;
    if (c == 9) out += "\\tab ";
    else if (c == 12) out += "\\page ";
    else if (c == 13) out += "\\line ";
    else if (c == '\'') out += "\\'27";
    else if (c == '\\') out += "\\\\";
    else if (c == '{') out += "\\{";
    else if (c == '}') out += "\\}";
    else if (c < 32 || c >= 128) {
        out += "\\'";
        out += hex[c >> 4];
        out += hex[c & 15];
    } else out += static_cast<char>(c);
}

}  // namespace

TColor TSyntaxMemoCore::ResolvedColor(TColor c) const {
    if (ResolveColor) return ResolveColor(c);
    if (c < 0) return SettingsPlatform().SystemColor(c & 0xFF) & 0xFFFFFF;
    return c & 0xFFFFFF;
}

std::string TSyntaxMemoCore::ExportSelection(int32_t flags) {
    // The styled writers need every line's styles current, also the lines a
    // lazy pass left for later.
    if ((flags & (2 | 4)) && CompleteHighlighting) CompleteHighlighting();
    auto p = OrderPair({anchor_, caret_});
    if (flags & 2) return ExportRtf(p.first, p.second);
    if (flags & 4) return ExportHtml(p.first, p.second);
    return PlainText(p.first, p.second, (flags & 8) != 0);
}

std::string TSyntaxMemoCore::ExportHtml(int32_t start, int32_t end) {
    const TStyleEntry* st = settings_->Styles;
    std::string out = "<HTML><HEAD>\r\n<META NAME=\"Generator\" CONTENT=\"TSyntaxMemo - QuillonFTP\">\r\n";
    out += "<TITLE>";
    for (char c : Title) HtmlEscape(out, static_cast<uint8_t>(c));
    out += "</TITLE>\r\n<META NAME=\"Date\" CONTENT=\"" + (DateText ? DateText() : std::string()) + "\">\r\n</HEAD>\r\n";
    out += Format("<BODY TEXT=\"#%.6lx\"", Rrggbb(ResolvedColor(st[0].TextColor)));
    out += Format(" BGCOLOR=\"#%.6lx\">\r\n<PRE>", Rrggbb(ResolvedColor(st[0].BackColor)));
    out += "<FONT FACE=\"" + FontName + "\">\r\n";
    TColor current = st[0].TextColor;
    uint8_t prevStyle = 0;
    int32_t lineStart = 0;
    TLineNode* n = store_.LineCount() ? store_.NodeAtOffset(start, &lineStart) : nullptr;
    for (; n && lineStart < end; lineStart += n->Len, n = n->Next) {
        int32_t a = std::max(start - lineStart, 0), b = std::min(end - lineStart, static_cast<int32_t>(n->Len));
        for (int32_t k = a; k < b; k++) {
            if (n->Styles) {
                uint8_t sb = n->Styles[k];
                const TStyleEntry& e = st[sb];
                if (k == a || sb != n->Styles[k - 1]) {
                    if (e.TextColor != current) {
                        current = e.TextColor;
                        out += Format("</FONT><FONT COLOR=\"#%.6lx\">", Rrggbb(ResolvedColor(current)));
                    }
                    const char* tags[3][2] = {{"<B>", "</B>"}, {"<I>", "</I>"}, {"<U>", "</U>"}};
                    for (int t = 0; t < 3; t++) {
                        bool now = (e.FontStyle >> t) & 1, before = (st[prevStyle].FontStyle >> t) & 1;
                        if (now != before) out += tags[t][now ? 0 : 1];
                    }
                    prevStyle = sb;
                }
            }
            HtmlEscape(out, static_cast<uint8_t>(n->Text[k]));
        }
        out += "\r\n";
    }
    out += "</PRE></FONT></BODY></HTML>\r\n";
    return out;
}

std::string TSyntaxMemoCore::ExportRtf(int32_t start, int32_t end) {
    const TStyleEntry* st = settings_->Styles;
    std::string out = "{\\rtf1 \\deff1{\\fonttbl {\\f1 \\fnil " + FontName + ";}}\r\n";
    std::vector<TColor> table{st[0].TextColor, st[0].BackColor};
    for (int i = 0; i < 256 && table.size() < 256; i++) {
        if (!st[i].Defined) continue;
        for (TColor c : {st[i].TextColor, st[i].BackColor})
            if (table.size() < 256 && std::find(table.begin(), table.end(), c) == table.end()) table.push_back(c);
    }
    out += "{\\colortbl";
    for (TColor c : table) {
        TColor r = ResolvedColor(c);
        char buf[64];
        snprintf(buf, sizeof buf, "\\red%d\\green%d\\blue%d;", r & 0xFF, (r >> 8) & 0xFF, (r >> 16) & 0xFF);
        out += buf;
    }
    out += "}\r\n" + Format("{\\f1\\fs%ld\\cf0\\cb1 ", static_cast<long>(FontSize) * 2);
    auto indexOf = [&table](TColor c, int fallback) {
        auto it = std::find(table.begin(), table.end(), c);
        return it == table.end() ? fallback : static_cast<int>(it - table.begin());
    };
    uint8_t prev = 0;
    int32_t lineStart = 0;
    TLineNode* n = store_.LineCount() ? store_.NodeAtOffset(start, &lineStart) : nullptr;
    for (; n && lineStart < end; lineStart += n->Len, n = n->Next) {
        int32_t a = std::max(start - lineStart, 0), b = std::min(end - lineStart, static_cast<int32_t>(n->Len));
        for (int32_t k = a; k < b; k++) {
            if (n->Styles && n->Styles[k] != prev) {
                const TStyleEntry &e = st[n->Styles[k]], &p = st[prev];
                const char* on[3] = {"\\b1 ", "\\i1 ", "\\ul1 "};
                const char* off[3] = {"\\b0 ", "\\i0 ", "\\ul0 "};
                for (int t = 0; t < 3; t++) {
                    bool now = (e.FontStyle >> t) & 1, before = (p.FontStyle >> t) & 1;
                    if (now != before) out += now ? on[t] : off[t];
                }
                if (e.TextColor != p.TextColor) out += Format("\\cf%ld ", indexOf(e.TextColor, 0));
                if (e.BackColor != p.BackColor) out += Format("\\cb%ld ", indexOf(e.BackColor, 1));
                prev = n->Styles[k];
            }
            RtfEscape(out, static_cast<uint8_t>(n->Text[k]));
        }
        out += "\r\n";
    }
    out += "}}";
    return out;
}
