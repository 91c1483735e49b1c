// The "Parser" property stream: any bytes load or fail cleanly; a stream that
// loads writes one that loads again to the same bytes, and its tables scan.
#include <string>

#include "SchemeHighlighter.h"
#include "TextStore.h"

namespace {

std::string Bytes(const TSchemeHighlighter& h) {
    TMemoryStream m;
    h.WriteTables(m);
    std::string s(static_cast<size_t>(m.Size()), '\0');
    m.SetPosition(0);
    if (!s.empty()) m.ReadBuffer(&s[0], static_cast<int32_t>(s.size()));
    return s;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    TMemoryStream in;
    if (size) in.WriteBuffer(data, static_cast<int32_t>(size));
    in.SetPosition(0);
    TSchemeHighlighter a;
    std::string message;
    try {
        if (!a.ReadTables(in, message)) return 0;
    } catch (const Exception&) {
        return 0;
    }
    std::string first = Bytes(a);
    TMemoryStream again;
    again.WriteBuffer(first.data(), static_cast<int32_t>(first.size()));
    again.SetPosition(0);
    TSchemeHighlighter b;
    if (!b.ReadTables(again, message)) __builtin_trap();
    if (Bytes(b) != first) __builtin_trap();
    TTextStore store;
    store.InsertText(0, std::string("if (x) { 'a' \"b\" // c\r1.5 } [s]\rk=v"));
    TEdStream st(&store);
    st.MoveTo(0);
    b.ResetState(0);
    while (!st.AtEnd()) {
        int32_t before = st.GetPosition(), len = 0;
        b.NextToken(st, len);
        if (st.GetPosition() <= before) __builtin_trap();
    }
    return 0;
}
