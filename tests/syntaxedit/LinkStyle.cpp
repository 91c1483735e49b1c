// Makes a style of the editor's settings a hyperlink style, or a bold one.
#include "SM_Settings.h"
#include "SyntaxMemoCore.h"

void MakeLinkStyle(TSyntaxMemoCore& core, uint8_t style) {
    TStyleEntry link;
    link.Defined = 1;
    link.Hotspot = 1;
    core.Settings().Styles[style] = link;
}

void MakeBoldStyle(TSyntaxMemoCore& core, uint8_t style, TColor color) {
    TStyleEntry bold;
    bold.Defined = 1;
    bold.FontStyle = 1;
    bold.TextColor = color;
    core.Settings().Styles[style] = bold;
}
