// Makes a style of the editor's settings a hyperlink style.
#include "SM_Settings.h"
#include "SyntaxMemoCore.h"

void MakeLinkStyle(TSyntaxMemoCore& core, uint8_t style) {
    TStyleEntry link;
    link.Defined = 1;
    link.Hotspot = 1;
    core.Settings().Styles[style] = link;
}
