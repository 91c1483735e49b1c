// Helpers of the highlighter tests: compile a scheme, scan a text.
#pragma once

#include <fstream>
#include <sstream>
#include <string>

#include "SchemeHighlighter.h"
#include "SysUtils.h"
#include "TextStore.h"

inline std::string ReadFixture(const std::string& name) {
    std::ifstream f(std::string(SCHEME_FIXTURES) + "/" + name, std::ios::binary);
    std::stringstream ss;
    ss << f.rdbuf();
    return ss.str();
}

// "" when the script compiles, else the error text.
inline std::string CompileError(TSchemeHighlighter& h, const std::string& script) {
    try {
        h.CompileScript(script);
        return "";
    } catch (const std::exception& e) {
        return e.what();
    }
}

inline std::string StatesText(const TStateSet& s) {
    std::string out = "{";
    for (int i = 0; i < 256; i++)
        if (s.Has(static_cast<uint8_t>(i))) out += (out.size() > 1 ? "," : "") + std::to_string(i);
    return out + "}";
}

// Scans the whole text (LF line breaks become the store's CRs) from the
// restart state of resetToken: "token:length" per token, separated by blanks;
// with states, each token is followed by the scanner's states after it.
inline std::string ScanText(TSchemeHighlighter& h, const std::string& text, bool states = false,
                            int resetToken = 0) {
    TTextStore store;
    store.InsertText(0, NormalizeInsertText(text));
    TEdStream st(&store);
    st.MoveTo(0);
    h.ResetState(resetToken);
    std::string out;
    while (!st.AtEnd()) {
        int32_t len = 0;
        int t = h.NextToken(st, len);
        if (!out.empty()) out += ' ';
        out += std::to_string(t) + ":" + std::to_string(len);
        if (states) out += StatesText(h.Scanner.CurrentStates);
    }
    return out;
}
