// Highlighters for the control's slot tests.
#pragma once

#include <string>

#include "SchemeTestUtil.h"
#include "SyntaxMemoParser.h"

// A highlighter owned by owner with the scheme fixture name compiled in.
inline TSyntaxMemoParser* NewSchemeParser(TComponent* owner, const std::string& fixture) {
    auto* p = new TSyntaxMemoParser(owner);
    p->Highlighter().CompileScript(ReadFixture(fixture));
    return p;
}
