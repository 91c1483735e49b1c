// Random edits, each followed by the re-highlighting pass, against a pass
// from scratch over the same text. The scheme has no pushed states, so the
// two must agree line for line; in lazy mode once the lines left for later
// are caught up.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "RescanPass.h"

namespace {

const char* kScheme =
    "%%language\n"
    "name = 'Fuzz'\n"
    "anchor = [0]\n"
    "%%words\n"
    "'if' '[^a-z]' 2\n"
    "'//' '' 5\n"
    "'/*' '' 6\n"
    "%%handlers\n"
    "5 '[^\\n]' * '\\n' 0\n"
    "6 '[^]' * '*/' 1\n"
    "%%tokens\n"
    "1 __STD_IDENTIFIER\n"
    "3 __STD_NUMBER_OR_FP\n"
    "4 __STD_C_STRING\n";

TSchemeHighlighter& Highlighter() {
    static TSchemeHighlighter h;
    static bool done = false;
    if (!done) {
        h.CompileScript(kScheme);
        done = true;
    }
    return h;
}

std::string Styles(TTextStore& s) {
    std::string out;
    for (TLineNode* n = s.Head(); n; n = n->Next) {
        // Readable in a report: style n as the letter 'A' + n.
        if (!n->Styles) out += '-';
        for (int32_t i = 0; n->Styles && i < n->Len; i++) out += static_cast<char>('A' + n->Styles[i] % 26);
        out += '|';
    }
    return out;
}

const char* kPieces[] = {"/*", "*/", "//", "\r", "\"", "x", " ", "if ", "12", "\r\r", "ab*/cd"};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    TTextStore store;
    store.InsertText(0, "if a /* b\rc */ d\r// e\rf \"g\" 1\r");
    TRescanPass pass;
    pass.Attach(&store, &Highlighter());
    pass.Rescan(0);
    if (size && (data[0] & 0x40)) {
        pass.Lazy = true;
        pass.VisibleLines = 1 + data[0] % 3;
    }
    for (size_t i = 0; i + 2 < size && i < 300; i += 3) {
        int32_t len = store.TextLength();
        int32_t at = len ? data[i + 1] % (len + 1) : 0;
        if (data[i] & 1) {
            store.InsertText(at, kPieces[(data[i] >> 1) % (sizeof kPieces / sizeof *kPieces)]);
        } else {
            store.DeleteText(at, at + data[i + 2] % 8);
        }
        if (data[i] & 0x80) pass.Run();  // sometimes two edits before a pass
    }
    pass.Run();
    pass.CatchUp(store.LineCount());
    TTextStore fresh;
    fresh.InsertText(0, store.GetText());
    TRescanPass other;
    other.Attach(&fresh, &Highlighter());
    other.Rescan(0);
    if (Styles(store) != Styles(fresh)) {
        fprintf(stderr, "styles differ for text [%s]\n%s\n%s\n", store.GetText().c_str(), Styles(store).c_str(),
                Styles(fresh).c_str());
        abort();
    }
    return 0;
}
