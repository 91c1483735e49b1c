// The first byte picks a keyword-table stream, a character-set store stream or
// a character-set specifier; a loaded table is also matched against the input.
#include <string>

#include "FuzzRoundTrip.h"
#include "SyntaxKeywords.h"
#include "TextStore.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    const uint8_t* rest = data + 1;
    size_t n = size - 1;
    switch (data[0] % 3) {
    case 0: {
        LoadSaveLoad<TSyntaxKeywords>(rest, n);
        TMemoryStream in;
        if (n) in.WriteBuffer(rest, static_cast<int32_t>(n));
        in.SetPosition(0);
        TSyntaxKeywords k;
        try {
            k.LoadFromStream(in);
        } catch (const Exception&) {
            return 0;
        }
        TTextStore store;
        store.InsertText(0, NormalizeInsertText(std::string(reinterpret_cast<const char*>(rest), n)));
        TEdStream e(&store);
        k.ActiveStates = TStateSet::All();
        for (int32_t pos = 0; pos < store.TextLength(); pos += 7) {
            int32_t len, start, off;
            e.MoveTo(pos);
            k.MatchKeyword(e, k.CaseSensitive, len, start, off, pos & 1);
        }
        break;
    }
    case 1:
        LoadSaveLoad<TSM_CharGroupManager>(rest, n);
        break;
    default: {
        std::string text(reinterpret_cast<const char*>(rest), n);
        TSM_CharGroup g;
        for (int pos = 1; pos <= static_cast<int>(text.size());) {
            try {
                int next = ParseCharSpec(text, pos, g);
                pos = next > pos ? next : pos + 1;
            } catch (const Exception&) {
                pos++;
            }
        }
        break;
    }
    }
    return 0;
}
