// Highlighters for the control's slot tests, made in a unit of their own: the
// highlighter's headers and the window layer's cannot meet in one unit.
#pragma once

#include <functional>
#include <string>

#include "SyntaxMemoTypes.h"

class TComponent;
class TSyntaxMemoParser;
class TSM_Settings;

// A highlighter owned by owner with the scheme fixture name compiled in.
TSyntaxMemoParser* NewSchemeParser(TComponent* owner, const std::string& fixture);
TSM_Settings* SettingsOf(TSyntaxMemoParser* parser);
// Everything the settings store, as bytes.
std::string SettingsBytes(TSM_Settings* settings);
// The text colour of a style of these settings.
TColor StyleTextColor(TSM_Settings* settings, int style);
// The font the settings name.
std::string FontNameOf(TSM_Settings* settings);
int FontSizeOf(TSM_Settings* settings);
int FontCharsetOf(TSM_Settings* settings);
void SetFontOf(TSM_Settings* settings, const std::string& name, int size);
int EditorCount(TSyntaxMemoParser* parser);
// The highlighter's options dialog (true when closed with OK).
bool ShowParserOptions(TSyntaxMemoParser* parser, unsigned visiblePages);
// Frees a highlighter as its owner would.
void FreeParser(TSyntaxMemoParser* parser);
// How many style fonts the settings made while run ran.
int StyleFontsMadeDuring(const std::function<void()>& run);
