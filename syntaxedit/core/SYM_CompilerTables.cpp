// The scheme's keywords and predefined macros.
#include "SYM_Compiler.h"

#include "SysUtils.h"

void AddSchemeKeywords(TWordStore& store) {
    static const struct {
        const char* word;
        int code;
    } words[] = {
        {"%%language", tkLanguage}, {"name", tkName}, {"case", tkCase}, {"options", tkOptions},
        {"%%words", tkWords}, {"=", tkEquals}, {"%%handler", tkHandlers}, {"%%handlers", tkHandlers},
        {"%%tokens", tkTokens}, {"%%map", tkMap}, {"%%effects", tkEffects}, {"exampletext", tkExampleText},
        {"editablestyles", tkEditableStyles}, {"(", tkOpen}, {")", tkClose}, {",", tkComma}, {"+", tkPlus},
        {"-", tkMinus}, {"[", tkLBracket}, {"]", tkRBracket}, {"?", tkQuery}, {"wordwrapcolumn", tkWordWrapColumn},
        {"gutter", tkGutter}, {"anchor", tkAnchor}, {"%%states", tkStates}, {"indentstep", tkIndentStep},
        {"wrapoverride", tkWrapOverride}, {"%%containers", tkContainers}, {"%%keys", tkKeys}, {"shift", tkShift},
        {"ctrl", tkCtrl}, {"alt", tkAlt}, {"startstate", tkStartState}, {"seltextcolor", tkSelTextColor},
        {"seltextback", tkSelTextBack}, {"rightmargin", tkRightMargin}, {"fontname", tkFontName},
        {"fontsize", tkFontSize}, {"tabcolumns", tkTabColumns}, {"tabdefault", tkTabDefault},
        {"contextstates", tkContextStates}, {"InState", tkInState}, {"boundstates", tkBoundStates},
        {"guttercolor", tkGutterColor}, {"match", tkMatch}, {"|", tkBar}, {"%%autoreplace", tkAutoReplace},
        {"%%templates", tkTemplates}, {"margincolor", tkMarginColor}, {"marginwidth", tkMarginWidth},
        {"*", tkStar}, {"actionkeys", tkActionKeys}, {"hotkey", tkHotKey}, {"%%kwTables", tkKwTables},
        {"forstate", tkForState}, {"endswith", tkEndsWith}, {"is", tkIs}, {"push", tkPush}, {"pop", tkPop},
    };
    for (const auto& w : words) store.AddValue(w.word, w.code);
}

void AddPredefinedMacros(TWordStore& store) {
    static const struct {
        const char* name;
        const char* text;
    } texts[] = {{"ver200", "ver200"}};
    for (const auto& t : texts) store.AddText(t.name, t.text);

    static const struct {
        const char* name;
        int64_t value;
    } values[] = {
        {"pt_DEFAULT", 0}, {"_use_", 1}, {"_discard_", 0}, {"__insensitive", 0}, {"__sensitive", 1},
        {"_edge", 0}, {"_default_gutter", 34}, {"_DEFAULT_START_ANCHOR", 0}, {"__DEFAULT_OPTIONS", 67099632},
        {"__OPT_PRINT_WRAP", 32}, {"__OPT_PRINT_LINENOS", 64}, {"__OPT_PRINT_FILENAME", 128},
        {"__OPT_PRINT_DATE", 256}, {"__OPT_PRINT_PAGENOS", 512}, {"__OPT_WORDWRAP", 1024},
        {"__OPT_AUTOINDENT", 2048}, {"__OPT_TABCOLUMN", 4096}, {"__OPT_WRAP_OVERRIDE", 8192},
        {"__WORD_SELECT", 16384}, {"__OPT_SHOW_RIGHT_MARGIN", 32768}, {"__OPT_SHOW_RMARGIN", 32768},
        {"__OPT_SHOW_GUTTER", 65536}, {"__OPT_SHOW_WRAPCOLUMN", 131072}, {"__OPT_TITLE_AS_FILENAME", 262144},
        {"__OPT_PROCESS_DROP_FILES", 524288}, {"__OPT_BLOCK_CURSOR", 1048576}, {"__OPT_WRAP_GLYPH", 2097152},
        {"__OPT_COLUMN_TRACK", 4194304}, {"__OPT_USE_TAB", 8388608}, {"__OPT_SMART_FILL", 16777216},
        {"_PASCAL_CHAR", 0}, {"_WEB_CHAR", 1}, {"_ORIGINAL_CHAR", 2},
        {"__STD_IDENTIFIER", 10}, {"__STD_NUMBER_OR_FP", 11}, {"__STD_PASCALSTRING", 12}, {"__STD_C_STRING", 13},
        {"__STD_C_CHAR", 14}, {"__STD_C_NUMBER_OR_FP_SIGNED", 15}, {"__STD_NUMBER", 16}, {"__STD_MAIL_URL", 17},
        {"__STD_HTML_STRING", 18}, {"__STD_JS_LINE_COMMENT", 19}, {"__STD_C_STRING_SQ", 20},
        {"fsBold", 0}, {"fsItalic", 1}, {"fsUnderline", 2},
        {"clBlack", 0}, {"clMaroon", 128}, {"clGreen", 32768}, {"clOlive", 32896}, {"clNavy", 8388608},
        {"clPurple", 8388736}, {"clTeal", 8421376}, {"clGray", 8421504}, {"clDkGray", 8421504},
        {"clSilver", 12632256}, {"clLtGray", 12632256}, {"clRed", 255}, {"clLime", 65280}, {"clYellow", 65535},
        {"clBlue", 16711680}, {"clFuchsia", 16711935}, {"clAqua", 16776960}, {"clWhite", 16777215},
        {"caLEFT", 0}, {"caRIGHT", 1}, {"caLINEHOME", 2}, {"caLINEEND", 3}, {"caUP", 4}, {"caDOWN", 5},
        {"caPAGEUP", 6}, {"caPAGEDOWN", 7}, {"caWORDLEFT", 8}, {"caWORDRIGHT", 9}, {"caDOCSTART", 10},
        {"caDOCEND", 11}, {"caCUT", 12}, {"caCOPY", 13}, {"caPASTE", 14}, {"caDELETE", 15}, {"caBACKSPACE", 16},
        {"caBLOCKIND", 17}, {"caBLOCKUND", 18}, {"caINSTOGGLE", 19}, {"caDELETELINE", 40}, {"caUNDO", 41},
        {"caREDO", 42}, {"caDELPREVWORD", 43}, {"caPRINTSEL", 44},
        {"LEFT", 37}, {"RIGHT", 39}, {"UP", 38}, {"DOWN", 40}, {"PGUP", 33}, {"PGDN", 34}, {"HOME", 36},
        {"END", 35}, {"DELETE", 46}, {"BACKSPACE", 8}, {"INSERT", 45}, {"None", 0},
    };
    for (const auto& v : values) store.AddText(v.name, IntToStr(v.value));
    for (int i = 0; i <= 9; i++) {
        store.AddText(Format("caSETBOOKMARK%d", i), IntToStr(20 + i));
        store.AddText(Format("caGOTOBOOKMARK%d", i), IntToStr(30 + i));
    }
    for (int i = 1; i <= 12; i++) store.AddText(Format("F%d", i), IntToStr(111 + i));
}
