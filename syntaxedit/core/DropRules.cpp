#include "DropRules.h"

#include <utility>

uint32_t TDropRules::Effect(uint32_t keyState, uint32_t allowed) {
    uint32_t wanted = (keyState & mkControl) ? deCopy : deMove;
    if (allowed & wanted) return wanted;
    if (allowed & deCopy) return deCopy;
    if (allowed & deMove) return deMove;
    return deNone;
}

uint16_t TDropRules::Preferred(uint16_t offered) {
    for (uint16_t f : {dstHtml, dstText, dstUnicodeText, dstFiles})
        if (offered & f) return f;
    return 0;
}

std::string TDropRules::TrimHtml(const std::string& html, uint16_t types) {
    if (types & dstInsertAsIs) return html;
    if (!(types & (dstHtmlFromTag | dstHtmlFragment))) return html;
    size_t lt = html.find('<');
    std::string s = lt == std::string::npos ? std::string() : html.substr(lt);
    if (types & dstHtmlFromTag) return s;
    static const std::string kStart = "<!--StartFragment-->", kEnd = "<!--EndFragment-->";
    size_t a = s.find(kStart);
    if (a == std::string::npos) return s;
    a += kStart.size();
    size_t b = s.find(kEnd, a);
    if (b == std::string::npos || b == a) return s;
    return s.substr(a, b - a);
}

std::u16string TDropRules::Utf8ToUtf16(const std::string& in) {
    std::u16string out;
    size_t i = 0, n = in.size();
    while (i < n) {
        uint8_t c = static_cast<uint8_t>(in[i]);
        int extra = c < 0x80 ? 0 : (c & 0xE0) == 0xC0 ? 1 : (c & 0xF0) == 0xE0 ? 2 : (c & 0xF8) == 0xF0 ? 3 : -1;
        uint32_t cp = extra == 0 ? c : extra == 1 ? (c & 0x1F) : extra == 2 ? (c & 0x0F) : (c & 0x07);
        bool ok = extra >= 0 && i + extra < n + (extra == 0 ? 1 : 0);
        for (int k = 1; ok && k <= extra; k++) {
            uint8_t d = static_cast<uint8_t>(in[i + k]);
            if ((d & 0xC0) != 0x80) ok = false;
            cp = (cp << 6) | (d & 0x3F);
        }
        static const uint32_t kMin[] = {0, 0x80, 0x800, 0x10000};
        if (ok && (cp < kMin[extra] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))) ok = false;
        if (!ok) {
            out += u'\xFFFD';
            i++;
            continue;
        }
        if (cp >= 0x10000) {
            cp -= 0x10000;
            out += static_cast<char16_t>(0xD800 + (cp >> 10));
            out += static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
        } else {
            out += static_cast<char16_t>(cp);
        }
        i += extra + 1;
    }
    return out;
}

std::string TDropRules::Utf16ToLatin1(const std::u16string& text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); i++) {
        char16_t c = text[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size()) i++;  // one '?' per pair
        out += c <= 0xFF ? static_cast<char>(c) : '?';
    }
    return out;
}

std::string TDropRules::FileLines(const std::vector<std::string>& files) {
    std::string s;
    for (size_t i = 0; i < files.size(); i++) {
        if (i) s += "\r\n";
        s += files[i];
    }
    return s;
}

bool TDropRules::Deliver(TDropEditor& editor, std::string text, uint32_t effect, uint16_t types, int32_t dropPos,
                         bool own, const std::vector<std::string>& files) {
    if (types & dstHtml) text = TrimHtml(text, types);
    if ((types & dstFiles) && (types & dstProcessFiles)) {
        std::vector<std::string> list = files;
        if (editor.FilesDropped(list)) {
            text = FileLines(list);
            if (!(types & dstInsertAsIs)) return false;
        }
    }
    int32_t s, e;
    editor.GetSelection(s, e);
    if (s > e) std::swap(s, e);
    // Own data dropped into its own selection: nothing moves.
    if (own && dropPos >= s && dropPos <= e && s != e) return false;
    if (editor.ReadOnly() || text.empty() || dropPos < 0) return false;
    int32_t len = static_cast<int32_t>(text.size());
    editor.BeginUndoGroup(ugDrop);
    if (effect == deMove && own) {
        // The selection goes first, so the text lands once, at the new place.
        if (dropPos > s) dropPos = dropPos >= e ? dropPos - (e - s) : s;
        editor.ReplaceRange(s, e, "");
    }
    editor.ReplaceRange(dropPos, dropPos, text);
    editor.SetSelection(dropPos, dropPos + len);
    editor.EndUndoGroup();
    return true;
}
