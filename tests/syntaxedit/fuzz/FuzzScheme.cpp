// Scheme scripts: compiling any text ends in tables or an error, never a crash
// or a hang; tables that compiled scan text and survive their stream form.
#include <string>

#include "SchemeHighlighter.h"
#include "TextStore.h"

namespace {

std::string ScanAll(TSchemeHighlighter& h, const std::string& text) {
    TTextStore store;
    store.InsertText(0, NormalizeInsertText(text));
    TEdStream st(&store);
    st.MoveTo(0);
    h.ResetState(0);
    std::string out;
    while (!st.AtEnd()) {
        int32_t before = st.GetPosition(), len = 0;
        out += static_cast<char>(h.NextToken(st, len));
        if (st.GetPosition() <= before) __builtin_trap();
    }
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string script(reinterpret_cast<const char*>(data), size);
    TSchemeHighlighter a;
    try {
        a.CompileScript(script, "", [](const std::string&, std::string&) { return false; });
    } catch (const std::exception&) {
        return 0;
    }
    const std::string sample = "if (x) { y = 'a' + \"b\" // c\n/* d */ 1.5e3 } me@host.org [s]\nk=v ; z\n";
    std::string tokens = ScanAll(a, sample);
    ScanAll(a, script.substr(0, 2048));
    TMemoryStream m;
    a.WriteTables(m);
    m.SetPosition(0);
    TSchemeHighlighter b;
    std::string message;
    if (!b.ReadTables(m, message)) __builtin_trap();
    if (ScanAll(b, sample) != tokens) __builtin_trap();
    return 0;
}
