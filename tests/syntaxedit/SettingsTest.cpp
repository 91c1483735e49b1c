#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "SM_Settings.h"
#include "StreamPrimitives.h"
#include "SyntaxMemoErrors.h"
#include "StreamCompare.h"
#include "TextStore.h"

namespace {

std::vector<uint8_t> Saved(const TSM_Base& o) {
    TMemoryStream m;
    o.SaveToStream(m);
    return m.Bytes();
}

void LoadBytes(TSM_Base& o, const std::vector<uint8_t>& bytes) {
    TMemoryStream m;
    if (!bytes.empty()) m.WriteBuffer(bytes.data(), static_cast<int32_t>(bytes.size()));
    m.SetPosition(0);
    o.LoadFromStream(m);
}

// Loads bytes into a fresh object.
template <class T>
std::unique_ptr<T> Loaded(const std::vector<uint8_t>& bytes) {
    std::unique_ptr<T> t(new T);
    LoadBytes(*t, bytes);
    return t;
}

// Counts the fonts the settings make and free.
class CountingPlatform : public TSettingsPlatform {
public:
    std::set<uintptr_t> live;
    uintptr_t next = 100;
    uintptr_t CreateStyleFont(const std::string&, int32_t, uint8_t, uint8_t, bool) override {
        live.insert(next);
        return next++;
    }
    void DeleteStyleFont(uintptr_t f) override { EXPECT_EQ(live.erase(f), 1u); }
    TColor SystemColor(int index) override { return 0x100 + index; }
};

std::pair<uint16_t, uint16_t> Keys(int first, int second) {
    return {static_cast<uint16_t>(first), static_cast<uint16_t>(second)};
}

}  // namespace

TEST(Settings, Defaults) {
    TSM_Settings s;
    EXPECT_EQ(s.ExampleText, "");
    EXPECT_EQ(s.LanguageName, "<Custom language>");
    EXPECT_EQ(s.WrapOverride, ">|:");
    EXPECT_EQ(s.FontCharset, 1);
    EXPECT_EQ(s.Options, 67099632);
    EXPECT_EQ(s.TabDefault, 4);
    EXPECT_EQ(s.Margin, 2);
    EXPECT_EQ(s.RightMargin, 80);
    EXPECT_EQ(s.WrapAtColumn, 0);
    EXPECT_EQ(s.Gutter, 34);
    EXPECT_EQ(s.IndentStep, 1);
    EXPECT_EQ(s.MarginColor, 16777215);
    EXPECT_EQ(s.GutterColor, -2147483633);
    EXPECT_EQ(static_cast<uint32_t>(s.SelTextColor), 0x8000000Eu);  // the system colours, by name
    EXPECT_EQ(static_cast<uint32_t>(s.SelTextBack), 0x8000000Du);
    for (int32_t c : s.TabColumns) EXPECT_EQ(c, -1);
    for (const TEditableStyle& e : s.EditableStyles) EXPECT_EQ(e.Name, "");
    EXPECT_EQ(s.FontName, "Courier New");
    EXPECT_EQ(s.FontSize, 10);
    EXPECT_EQ(s.AttachCount, 0);
    EXPECT_EQ(s.StylesChanged, 1);
    EXPECT_EQ(s.ForPrinter, 0);
    EXPECT_EQ(s.Styles[0].Defined, 1);
    EXPECT_EQ(s.Styles[0].TextColor, 0);
    EXPECT_EQ(s.Styles[0].BackColor, 16777215);
    EXPECT_EQ(s.Styles[1].Defined, 0);
    EXPECT_EQ(s.Styles[255].BackColor, 16777215);
    EXPECT_EQ(s.KeyTables, nullptr);
    EXPECT_TRUE(s.KeyTableStates.empty());
    EXPECT_EQ(s.KeyController->Commands.size(), 45u);
    EXPECT_EQ(s.AutoReplace->ActivationKeys, TAutoReplace::DefaultActivationKeys);
    EXPECT_EQ(s.CodeTemplates->Macros, nullptr);
    EXPECT_FALSE(s.HasHotspots());
    s.Detach();  // at 0: nothing
    EXPECT_EQ(s.AttachCount, 0);
}

TEST(Settings, FreshSettingsRoundTrip) {
    TSM_Settings s;
    std::vector<uint8_t> bytes = Saved(s);
    // Three long strings and eleven ints, then the count of defined styles.
    size_t at = 4 + 0 + 4 + 17 + 4 + 3 + 11 * 4;
    EXPECT_EQ(bytes[at], 1);
    EXPECT_EQ(bytes[at + 4], 0);  // token number 0
    TSM_Settings r;
    LoadBytes(r, bytes);
    EXPECT_EQ(r.Styles[0].Defined, 1);
    EXPECT_EQ(r.Styles[1].Defined, 0);
    EXPECT_EQ(SavedWithoutKeyMap(r), SavedWithoutKeyMap(s));
    EXPECT_TRUE(SameStream(r, s));
}

TEST(Settings, StyleRecordsThatAreNotDefinedChangeNothing) {
    // Only defined styles are written, so a record marked not defined must not
    // undefine style 0: the reload would differ from what was loaded.
    TMemoryStream m;
    WriteLongString(m, ""), WriteLongString(m, "L"), WriteLongString(m, "");
    for (int i = 0; i < 11; i++) WriteInt(m, 0);
    WriteInt(m, 2);
    for (int token : {0, 9}) {
        WriteByte(m, static_cast<uint8_t>(token)), WriteByte(m, 1), WriteInt(m, 5), WriteInt(m, 6);
        WriteByte(m, 0), WriteByte(m, 0), WriteByte(m, 0), WriteInt(m, token == 9);
    }
    TSM_Settings full;
    std::vector<uint8_t> tail = Saved(full);
    tail.erase(tail.begin(), tail.begin() + (4 + 4 + 17 + 4 + 3 + 44 + 4 + 17));  // up to the token map
    m.WriteBuffer(tail.data(), static_cast<int32_t>(tail.size()));
    TSM_Settings s;
    LoadBytes(s, m.Bytes());
    EXPECT_EQ(s.LanguageName, "L");
    EXPECT_EQ(s.Styles[0].Defined, 1);
    EXPECT_EQ(s.Styles[0].TextColor, 0);
    EXPECT_EQ(s.Styles[9].TextColor, 5);
    EXPECT_TRUE(SameStream(*Loaded<TSM_Settings>(Saved(s)), s));
}

TEST(Settings, FullRoundTrip) {
    TSM_Settings s;
    s.ExampleText = "begin\r  x := 1;\rend";
    s.LanguageName = "Pascal";
    s.Options = 0x1234560;
    s.Gutter = 40;
    s.TabColumns[0] = 4;
    s.TabColumns[1] = 8;
    TStyleEntry e;
    e.FontStyle = 3;
    e.TextColor = 0x0000FF;
    e.BackColor = 0xEEEEEE;
    e.Hotspot = 1;
    e.Defined = 1;
    s.SetStyle(7, e);
    s.SetTokenMap(9, 7);
    s.SetEditableStyle(1, {"Keywords", 7});
    s.SetEditableStyle(2, {std::string(40, 'n'), 8});  // names are cut to 25
    EXPECT_EQ(s.GetEditableStyle(2).Name.size(), 25u);
    s.FontName = "Lucida Console";
    s.GutterUseDefault = 1;
    s.DefineKeyTable(TStateSet::Of({1}), "[a-z]", false, {{"begin", 3}, {"end", 4}});
    s.AutoReplace->AddReplacement("teh", "the");
    s.AutoReplace->SetActivationKeys(" .");
    s.CodeTemplates->AddTemplate("fori", "for loop", "for i := 0 to |n do");
    s.KeyController->AddKey(scCtrl | 'W', 0, caCOPY);
    EXPECT_TRUE(s.HasHotspots());

    std::vector<uint8_t> bytes = Saved(s);
    TSM_Settings r;
    LoadBytes(r, bytes);
    EXPECT_TRUE(SameStream(r, s));
    EXPECT_EQ(SavedWithoutKeyMap(r), SavedWithoutKeyMap(s));
    EXPECT_EQ(r.LanguageName, "Pascal");
    EXPECT_EQ(r.GetStyle(7).TextColor, 0x0000FF);
    EXPECT_EQ(r.GetTokenMap(9), 7);
    EXPECT_EQ(r.GetEditableStyle(1).Name, "Keywords");
    EXPECT_TRUE(r.HasHotspots());
    ASSERT_NE(r.KeyTables, nullptr);
    std::string text;
    EXPECT_TRUE(r.CodeTemplates->FindTemplate("fori", text));
    EXPECT_EQ(text, "for i := 0 to |n do");
    EXPECT_TRUE(r.AutoReplace->FindTemplate("teh", text));
    EXPECT_EQ(r.AutoReplace->ActivationKeys, " .");
    EXPECT_EQ(r.KeyController->FirstKeysOfCommand(caCOPY), Keys(scCtrl | 'C', 0));
    EXPECT_EQ(r.KeyController->NextKeysOfCommand(caCOPY), Keys(scCtrl | 'W', 0));

    std::unique_ptr<TSM_Base> c = s.Clone();
    EXPECT_TRUE(SameStream(*static_cast<TSM_Settings*>(c.get()), s));
}

TEST(Settings, DamagedStreamsLeaveTheSettingsAlone) {
    TSM_Settings good;
    good.DefineKeyTable(TStateSet::Of({2}), "", true, {{"if", 5}});
    good.CodeTemplates->AddTemplate("x", "d", "y");
    std::vector<uint8_t> full = Saved(good);

    auto prefix = [](TMemoryStream& m) {
        WriteLongString(m, "");
        WriteLongString(m, "L");
        WriteLongString(m, "");
        for (int i = 0; i < 11; i++) WriteInt(m, 0);
    };
    struct Case {
        const char* message;
        std::vector<uint8_t> data;
    };
    std::vector<Case> cases;
    auto add = [&](const char* message, const std::function<void(TMemoryStream&)>& write) {
        TMemoryStream m;
        write(m);
        m.SetSize(m.Size() + 2000);  // room enough that only the counts are at fault
        cases.push_back({message, m.Bytes()});
    };
    add("Invalid string length in stream: -5", [](TMemoryStream& m) { WriteInt(m, -5); });
    add("Invalid string length in stream: 1000000000", [](TMemoryStream& m) { WriteInt(m, 1000000000); });
    add("Invalid style count in stream: 257", [&](TMemoryStream& m) { prefix(m), WriteInt(m, 257); });
    add("Invalid style count in stream: -1", [&](TMemoryStream& m) { prefix(m), WriteInt(m, -1); });
    add("Invalid token map count in stream: 300", [&](TMemoryStream& m) { prefix(m), WriteInt(m, 0), WriteInt(m, 300); });
    add("Invalid editable style count in stream: 26", [&](TMemoryStream& m) {
        prefix(m), WriteInt(m, 0), WriteInt(m, 0), WriteInt(m, 26);
    });
    auto upToKeyTables = [&](TMemoryStream& m) {
        prefix(m);
        WriteInt(m, 0), WriteInt(m, 0), WriteInt(m, 0);
        for (int i = 0; i < 32; i++) WriteInt(m, -1);
        WriteLongString(m, "Courier New");
        WriteInt(m, 10);
        for (int i = 0; i < 5; i++) WriteByte(m, 0);
    };
    add("Invalid key table count in stream: 22", [&](TMemoryStream& m) { upToKeyTables(m), WriteInt(m, 22); });
    add("Invalid key table word count in stream: -2", [&](TMemoryStream& m) {
        upToKeyTables(m), WriteInt(m, 1), WriteSet(m, TStateSet::Of({1})), WriteLongString(m, ""), WriteInt(m, 0),
            WriteInt(m, -2);
    });
    add("Ambigious key table state definition", [&](TMemoryStream& m) {
        upToKeyTables(m), WriteInt(m, 2);
        for (auto st : {TStateSet::Of({1, 2}), TStateSet::Of({2, 3})}) {
            WriteSet(m, st), WriteLongString(m, ""), WriteInt(m, 0), WriteInt(m, 1), WriteLongString(m, "w"),
                WriteInt(m, 1);
        }
    });

    TSM_Settings target;
    target.LanguageName = "Keep me";
    target.DefineKeyTable(TStateSet::Of({7}), "", false, {{"kept", 1}});
    std::vector<uint8_t> before = Saved(target);
    for (const Case& c : cases) {
        try {
            LoadBytes(target, c.data);
            ADD_FAILURE() << c.message;
        } catch (const Exception& e) {
            EXPECT_EQ(e.Message(), c.message);
        }
        EXPECT_EQ(Saved(target), before) << c.message;
    }
    // Every truncation of a good stream fails cleanly.
    for (size_t n = 0; n < full.size(); n++) {
        EXPECT_ANY_THROW(LoadBytes(target, std::vector<uint8_t>(full.begin(), full.begin() + static_cast<long>(n))))
            << n;
    }
    EXPECT_EQ(Saved(target), before);
    LoadBytes(target, full);
    EXPECT_EQ(target.KeyTableStates[0]->Words[0].first, "if");
}

TEST(Settings, KeyTables) {
    TSM_Settings s;
    s.DefineKeyTable(TStateSet::Of({1, 2}), "", false, {{"one", 1}});
    try {
        s.DefineKeyTable(TStateSet::Of({2, 3}), "", false, {{"two", 2}});
        FAIL();
    } catch (const EKeywords& e) {
        EXPECT_EQ(e.Message(), "Ambigious key table state definition");
    }
    s.DefineKeyTable(TStateSet::Of({1, 2}), ";", true, {{"uno", 1}, {"", 9}});  // replaces the first
    int used = 0;
    for (const auto& d : s.KeyTableStates) used += d != nullptr;
    EXPECT_EQ(used, 1);
    EXPECT_EQ(s.KeyTableStates[0]->Words[0].first, "uno");
    s.DefineKeyTable(TStateSet(), "", false, {{"zero", 0}});  // no states: state 0
    EXPECT_EQ(s.KeyTableStates[1]->States, TStateSet::Of({0}));
    for (int i = 2; i < 21; i++) s.DefineKeyTable(TStateSet::Of({10 + i}), "", false, {{"w", i}});
    try {
        s.DefineKeyTable(TStateSet::Of({200}), "", false, {{"w", 0}});
        FAIL();
    } catch (const EKeywords& e) {
        EXPECT_EQ(e.Message(), "Too many keyword tables declared");
    }
    // A duplicate word leaves the tables as they were.
    TSM_Settings t;
    t.DefineKeyTable(TStateSet::Of({1}), "", false, {{"a", 1}});
    EXPECT_THROW(t.DefineKeyTable(TStateSet::Of({2}), "", false, {{"b", 1}, {"B", 2}}), EKeywords);
    EXPECT_EQ(t.KeyTableStates[1], nullptr);

    // The compiled tables find the words in their states, followed by an end character.
    TSM_Settings k;
    k.DefineKeyTable(TStateSet::Of({3}), "[;\\s]", false, {{"stop", 42}});
    TTextStore store;
    store.InsertText(0, "STOP;");
    TEdStream e(&store);
    e.MoveTo(0);
    k.KeyTables->ActiveStates = TStateSet::Of({3});
    int32_t len, start, off;
    KeywordEntry* hit = k.KeyTables->MatchKeyword(e, false, len, start, off, true);
    ASSERT_NE(hit, nullptr);
    EXPECT_EQ(hit->Data, 42);
}

TEST(Settings, FontsFollowAttachAndDetach) {
    CountingPlatform p;
    SetSettingsPlatform(&p);
    {
        TSM_Settings s;
        EXPECT_EQ(s.SelTextBack, 0x100 + 13);
        TStyleEntry e;
        e.Defined = 1;
        s.SetStyle(5, e);
        s.Attach();
        EXPECT_EQ(p.live.size(), 2u);  // styles 0 and 5
        EXPECT_NE(s.Styles[5].Font, 0u);
        s.Attach();
        EXPECT_EQ(p.live.size(), 2u);
        s.Detach();
        EXPECT_EQ(p.live.size(), 2u);
        // A load while attached gives the new styles their fonts.
        TSM_Settings other;
        LoadBytes(s, Saved(other));
        EXPECT_EQ(p.live.size(), 1u);
        s.Detach();
        EXPECT_TRUE(p.live.empty());
        s.Attach();
    }
    EXPECT_TRUE(p.live.empty());  // the destructor freed them
    SetSettingsPlatform(nullptr);
}

TEST(KeyMap, DefaultMap) {
    const TKeyboardActionContoller& d = DefaultKeyMap();
    EXPECT_EQ(d.Commands.size(), 45u);
    EXPECT_EQ(d.CommandName(caLEFT), "Cursor left");
    EXPECT_EQ(d.CommandName(caINSTOGGLE), "Toggle insert/overwrite mode");
    EXPECT_EQ(d.CommandName(caSETBOOKMARK0 + 7), "Set Bookmark 7");
    EXPECT_EQ(d.CommandName(caGOTOBOOKMARK0), "Goto Bookmark 0");
    EXPECT_EQ(d.CommandName(caDELPREVWORD), "Delete previous word");
    EXPECT_EQ(d.CommandName(caPRINTSEL), "");
    TKeyboardActionContoller k;
    k.Assign(&d);
    EXPECT_EQ(k.FirstKeysOfCommand(caBLOCKIND), Keys(scCtrl | 'K', 'I'));
    EXPECT_EQ(k.FirstKeysOfCommand(caREDO), Keys(scCtrl | scShift | 'Z', 0));
    EXPECT_EQ(k.FirstKeysOfCommand(caGOTOBOOKMARK0 + 3), Keys(scCtrl | 'Q', '3'));
    EXPECT_EQ(k.FirstKeysOfCommand(caPRINTSEL), Keys(0, 0));
    EXPECT_EQ(k.Bindings().size(), 44u);
    EXPECT_EQ(k.Bindings()[0].FirstKey, vkLeft);
}

TEST(KeyMap, ConflictingBindings) {
    TKeyboardActionContoller k;
    k.Assign(&DefaultKeyMap());
    struct Case {
        uint16_t first, second;
        int32_t command;
        const char* message;
    } cases[] = {
        {scCtrl | 'Y', 0, caUNDO, "Duplicate key sequence definition for\r\n\"Undo\" and \"Delete current line\""},
        {scCtrl | 'K', 0, caCOPY, "Duplicate key sequence definition for\r\n\"Copy to clipboard\" and \"Indent selected block\""},
        {scCtrl | 'Y', 'A', caCOPY, "Duplicate key sequence definition for\r\n\"Copy to clipboard\" and \"Delete current line\""},
        {scCtrl | 'K', scShift | 'U', caCOPY, "Duplicate key sequence definition for\r\n\"Copy to clipboard\" and \"Un-indent selected block\""},
    };
    std::vector<uint8_t> before = Saved(k);
    for (const Case& c : cases) {
        try {
            k.AddKey(c.first, c.second, c.command);
            ADD_FAILURE() << c.message;
        } catch (const EAmbigiousKeyPair& e) {
            EXPECT_EQ(e.Message(), c.message);
        }
    }
    EXPECT_EQ(Saved(k), before);
    // A second stroke without a key is no second stroke: the binding is one
    // stroke, as its stream form will say.
    k.AddKey(vkF1, scShift, caCUT);
    EXPECT_EQ(k.FirstKeysOfCommand(caCUT), Keys(scCtrl | 'X', 0));
    EXPECT_EQ(k.NextKeysOfCommand(caCUT), Keys(vkF1, 0));
    EXPECT_THROW(k.AddKey(vkF1, 'A', caCUT), EAmbigiousKeyPair);
    // The second stroke is kept without its shift state.
    k.AddKey(scCtrl | 'K', scShift | 'B', caCOPY);
    EXPECT_EQ(k.FirstKeysOfCommand(caCOPY), Keys(scCtrl | 'C', 0));
    EXPECT_EQ(k.NextKeysOfCommand(caCOPY), Keys(scCtrl | 'K', 'B'));
    EXPECT_EQ(k.NextKeysOfCommand(caCOPY), Keys(0, 0));
}

TEST(KeyMap, StreamRoundTripsAndDamage) {
    TKeyboardActionContoller k;
    k.Assign(&DefaultKeyMap());
    std::vector<uint8_t> bytes = Saved(k);
    TKeyboardActionContoller r;
    LoadBytes(r, bytes);
    EXPECT_TRUE(SameStream(r, k));
    EXPECT_EQ(SortedBindings(r).size(), 44u);
    EXPECT_TRUE(SameStream(*Loaded<TKeyboardActionContoller>(Saved(r)), k));
    EXPECT_EQ(r.FirstKeysOfCommand(caSETBOOKMARK0 + 4), Keys(scCtrl | 'K', '4'));
    bytes = Saved(r);

    TKeyboardActionContoller empty;
    LoadBytes(empty, {0, 0, 0, 0, 0, 0, 0, 0});
    EXPECT_TRUE(empty.Commands.empty());
    EXPECT_TRUE(empty.Bindings().empty());

    // Two bindings of one key.
    TMemoryStream m;
    WriteInt(m, 0);
    WriteInt(m, 2);
    for (int i = 0; i < 2; i++) WriteWord(m, vkF1), WriteWord(m, 0), WriteInt(m, i);
    EXPECT_THROW(LoadBytes(r, m.Bytes()), EAmbigiousKeyPair);
    EXPECT_EQ(Saved(r), bytes);
    for (size_t n = 0; n < 40; n++)
        EXPECT_ANY_THROW(LoadBytes(r, std::vector<uint8_t>(bytes.begin(), bytes.begin() + static_cast<long>(n))));
    EXPECT_THROW(LoadBytes(r, {0xFF, 0xFF, 0xFF, 0x7F}), ESyntaxMemo);
    EXPECT_EQ(Saved(r), bytes);

    TSM_CharGroup g;
    try {
        r.Assign(&g);
        FAIL();
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), "Cannot assign a TSM_CharGroup to a TKeyboardActionContoller");
    }
}

TEST(CodeTemplates, AddFindDeleteAndStream) {
    TCodeTemplates t;
    t.AddTemplate("For", "for loop", "for a\r\nb");
    t.AddTemplate("fOR", "loop", "for x");
    ASSERT_EQ(t.Macros->Count(), 1);
    std::string text;
    EXPECT_TRUE(t.FindTemplate("FOR", text));
    EXPECT_EQ(text, "for x");
    EXPECT_FALSE(t.FindTemplate("fo", text));  // a prefix of a stored name
    EXPECT_FALSE(t.FindTemplate("forx", text));
    t.AddTemplate("while", std::string(300, 'd'), "while a\r\ndo");
    EXPECT_TRUE(t.FindTemplate("while", text));
    EXPECT_EQ(text, "while a\rdo");  // one CR per line break
    EXPECT_EQ(static_cast<TMacroRecord*>(t.Macros->Objects(1))->Description->size(), 255u);
    t.AddTemplate("empty", "", "");
    EXPECT_TRUE(t.FindTemplate("empty", text));
    EXPECT_EQ(text, "");

    std::vector<uint8_t> bytes = Saved(t);
    TCodeTemplates r;
    LoadBytes(r, bytes);
    EXPECT_EQ(Saved(r), bytes);
    EXPECT_TRUE(r.FindTemplate("while", text));

    t.DeleteTemplate("FOR");
    EXPECT_FALSE(t.FindTemplate("for", text));
    EXPECT_TRUE(t.FindTemplate("while", text));
    t.Clear();
    EXPECT_EQ(t.Macros, nullptr);
    EXPECT_EQ(Saved(t), std::vector<uint8_t>({0, 0, 0, 0}));

    TKeyboardActionContoller k;
    try {
        t.Assign(&k);
        FAIL();
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), "Cannot assign TKeyboardActionContoller to TCodeTemplates");
    }
}

// Names are kept to their length byte as descriptions are; the activation
// keys, which a cut would change, are refused.
TEST(CodeTemplates, LongNamesAreCutAndTheTablesStayWritable) {
    const std::string longName = "L" + std::string(299, 'n');
    TSM_Settings s;
    s.CodeTemplates->AddTemplate(longName, "", "x");
    s.AutoReplace->AddReplacement(longName, "y");
    s.KeyController->AddCommand(77, longName);
    EXPECT_EQ(s.CodeTemplates->Macros->Strings(0), LowerCase(longName.substr(0, 255)));
    std::string text;
    EXPECT_TRUE(s.CodeTemplates->FindTemplate(longName, text));
    EXPECT_EQ(text, "x");
    s.CodeTemplates->AddTemplate(longName + "more", "", "z");  // the same name as kept
    EXPECT_EQ(s.CodeTemplates->Macros->Count(), 1);
    EXPECT_EQ(s.KeyController->CommandName(77).size(), 255u);
    TMemoryStream m;
    EXPECT_NO_THROW(s.SaveToStream(m));
    m.SetPosition(0);
    TSM_Settings back;
    back.LoadFromStream(m);
    EXPECT_TRUE(back.AutoReplace->FindTemplate(longName, text));
    EXPECT_EQ(text, "y");
    s.CodeTemplates->DeleteTemplate(longName);
    EXPECT_FALSE(s.CodeTemplates->FindTemplate(longName, text));

    TAutoReplace a;
    EXPECT_THROW(a.SetActivationKeys(std::string(256, ';')), ESyntaxMemo);
    EXPECT_EQ(a.ActivationKeys, TAutoReplace::DefaultActivationKeys);
    EXPECT_NO_THROW(a.SetActivationKeys(std::string(255, ';')));
}

TEST(CodeTemplates, RepeatedNamesReplaceEarlierOnes) {
    // A stream holding one name twice, and a replacement added twice.
    TMemoryStream m;
    WriteInt(m, 2);
    for (const char* text : {"first", "second"}) {
        WriteShortString(m, "dup");
        WriteShortString(m, "");
        WriteLongString(m, text);
    }
    TCodeTemplates t;
    LoadBytes(t, m.Bytes());
    std::string text;
    EXPECT_TRUE(t.FindTemplate("dup", text));
    EXPECT_EQ(text, "second");
    TAutoReplace a;
    a.AddReplacement("teh", "the");
    a.AddReplacement("TEH", "The");
    EXPECT_TRUE(a.FindTemplate("teh", text));
    EXPECT_EQ(text, "The");
    EXPECT_EQ(a.Macros->Count(), 1);
}

// One shift state, two encodings: the shortcut bits and the activation-key
// code of the stored settings (256 Shift, 512 Ctrl, 2048 Alt). The mouse bits
// of the state reach neither.
TEST(AutoReplace, AShiftStateKeepsBothKeyEncodings) {
    struct Case {
        TShiftState shift;
        uint16_t shortCut, code;
    } cases[] = {
        {ssShift, 0x20BA, 0x1BA},
        {ssCtrl, 0x40BA, 0x2BA},
        {ssAlt, 0x80BA, 0x8BA},
        {ssShift | ssCtrl | ssAlt, 0xE0BA, 0xBBA},
    };
    TAutoReplace a;
    for (const Case& c : cases) {
        const TShiftState withMouse = static_cast<TShiftState>(c.shift | ssLeft | ssDouble);
        EXPECT_EQ(ShortCut(0xBA, c.shift), c.shortCut) << int(c.shift);
        EXPECT_EQ(ShortCut(0xBA, withMouse), c.shortCut) << int(c.shift);
        a.KeyCodes = {c.code};
        EXPECT_TRUE(a.IsHotKey(0xBA, c.shift)) << int(c.shift);
        EXPECT_TRUE(a.IsHotKey(0xBA, withMouse)) << int(c.shift);
        EXPECT_FALSE(a.IsHotKey(0xBA, 0)) << int(c.shift);
    }
}

TEST(AutoReplace, ActivationKeys) {
    TAutoReplace a;
    EXPECT_FALSE(a.ConsumeKey || a.IndentLines || a.CaretMarker || a.ShowList);
    // ; , : . = ( ) [ ] Return Tab Space
    std::vector<uint16_t> expected = {0xBA, 0xBC, 0x1BA, 0xBE, 0xBB, 0x139, 0x130, 0xDB, 0xDD, 13, 9, 32};
    EXPECT_EQ(a.KeyCodes, expected);
    EXPECT_TRUE(a.IsHotKey(0xBA, ssShift));  // colon
    EXPECT_TRUE(a.IsHotKey(0xBA, 0));        // semicolon
    EXPECT_TRUE(a.IsHotKey(vkSpace, 0));
    EXPECT_FALSE(a.IsHotKey('A', 0));

    a.SetActivationKeys(":");
    EXPECT_TRUE(a.IsHotKey(0xBA, ssShift));
    EXPECT_FALSE(a.IsHotKey(0xBA, 0));

    struct Case {
        const char* text;
        std::vector<uint16_t> codes;
    } cases[] = {
        {"\\{nosuch}", {0}},
        {"\\{F5}\\{Page-Down}", {116, 34}},
        {"\\n\\r\\s\\t", {13, 32, 9}},
        {"\\;\\:", {0xBA, 0}},  // an escaped character counts only when it needs no shift
        {"aA", {'A', 0x100 | 'A'}},
    };
    for (const Case& c : cases) {
        a.SetActivationKeys(c.text);
        EXPECT_EQ(a.KeyCodes, c.codes) << c.text;
        EXPECT_EQ(a.ActivationKeys, c.text);
    }
    a.SetActivationKeys(".");
    try {
        a.SetActivationKeys(",\\{return");
        FAIL();
    } catch (const ESyntaxMemo& e) {
        EXPECT_EQ(e.Message(), "Bad key specifier");
    }
    EXPECT_EQ(a.ActivationKeys, ".");
    EXPECT_EQ(a.KeyCodes, std::vector<uint16_t>({0xBC}));  // what was read so far

    a.SetActivationKeys("");
    EXPECT_FALSE(a.IsHotKey(0, 0));
    a.Clear();
    EXPECT_EQ(a.ActivationKeys, TAutoReplace::DefaultActivationKeys);
}

TEST(AutoReplace, StreamRoundTrip) {
    TAutoReplace a;
    std::vector<uint8_t> empty = Saved(a);
    // A count of 0, then the activation text as a short string.
    ASSERT_EQ(empty.size(), 4u + 1u + strlen(TAutoReplace::DefaultActivationKeys));
    EXPECT_EQ(empty[4], strlen(TAutoReplace::DefaultActivationKeys));
    a.AddReplacement("recieve", "receive");
    a.AddReplacement("adn", "and");
    a.SetActivationKeys("\\{Space}.");
    std::vector<uint8_t> bytes = Saved(a);
    TAutoReplace r;
    LoadBytes(r, bytes);
    EXPECT_EQ(Saved(r), bytes);
    EXPECT_EQ(r.ActivationKeys, "\\{Space}.");
    std::string text;
    EXPECT_TRUE(r.FindTemplate("adn", text));
    EXPECT_EQ(text, "and");
    // A bad activation text in the stream refuses the whole load.
    TMemoryStream m;
    WriteInt(m, 0);
    WriteShortString(m, "\\{tab");
    EXPECT_THROW(LoadBytes(r, m.Bytes()), ESyntaxMemo);
    EXPECT_EQ(Saved(r), bytes);
}

// Loading, assigning and cloning settings must refill the objects the editor
// holds, keeping their handlers, hot key and flags.
TEST(Settings, LoadAndAssignRefillTheOwnedObjects) {
    TSM_Settings source;
    source.CodeTemplates->AddTemplate("fori", "loop", "for i");
    source.AutoReplace->AddReplacement("teh", "the");
    source.AutoReplace->SetActivationKeys(";");
    source.KeyController->AddKey(vkF1, 0, caPRINTSEL);
    source.LanguageName = "Source";
    std::vector<uint8_t> bytes = Saved(source);

    struct Way {
        const char* name;
        std::function<void(TSM_Settings&)> apply;
    } ways[] = {
        {"LoadFromStream", [&](TSM_Settings& t) { LoadBytes(t, bytes); }},
        {"Assign", [&](TSM_Settings& t) { t.Assign(&source); }},
    };
    for (const Way& w : ways) {
        TSM_Settings target;
        TAutoReplace* replace = target.AutoReplace.get();
        TCodeTemplates* templates = target.CodeTemplates.get();
        TKeyboardActionContoller* keys = target.KeyController.get();
        TKeyStore* store = keys->Store.get();
        int expanded = 0, actions = 0;
        templates->OnExpand = [&](TObject*, const std::string&, std::string&) { expanded++; };
        templates->HotKey = scCtrl | 'T';
        templates->ShowList = false;
        replace->ConsumeKey = true;
        keys->OnAction = [&](TObject*, int32_t&) { actions++; };
        uint16_t key = scCtrl | 'K';
        TShiftState shift = 0;
        bool handled;
        keys->HandleKey(key, shift, handled);  // a sequence left open
        ASSERT_TRUE(store->InSequence()) << w.name;

        w.apply(target);

        EXPECT_EQ(target.LanguageName, "Source") << w.name;
        EXPECT_EQ(target.AutoReplace.get(), replace) << w.name;
        EXPECT_EQ(target.CodeTemplates.get(), templates) << w.name;
        EXPECT_EQ(target.KeyController.get(), keys) << w.name;
        EXPECT_EQ(keys->Store.get(), store) << w.name;
        EXPECT_FALSE(store->InSequence()) << w.name;
        EXPECT_EQ(templates->HotKey, scCtrl | 'T') << w.name;
        EXPECT_FALSE(templates->ShowList) << w.name;
        EXPECT_TRUE(replace->ConsumeKey) << w.name;
        ASSERT_TRUE(templates->OnExpand) << w.name;
        ASSERT_TRUE(keys->OnAction) << w.name;
        std::string text;
        EXPECT_TRUE(templates->FindTemplate("fori", text)) << w.name;
        EXPECT_TRUE(replace->FindTemplate("teh", text)) << w.name;
        EXPECT_EQ(replace->ActivationKeys, ";") << w.name;
        EXPECT_EQ(keys->FirstKeysOfCommand(caPRINTSEL), Keys(vkF1, 0)) << w.name;
        key = vkF1;
        keys->HandleKey(key, shift, handled);
        EXPECT_EQ(actions, 1) << w.name;
        EXPECT_EQ(Saved(target), bytes) << w.name;
    }

    std::unique_ptr<TSM_Base> copy = source.Clone();
    TSM_Settings* clone = dynamic_cast<TSM_Settings*>(copy.get());
    ASSERT_NE(clone, nullptr);
    EXPECT_NE(clone->CodeTemplates.get(), source.CodeTemplates.get());
    EXPECT_EQ(Saved(*clone), bytes);

    // A damaged stream leaves the objects and their contents alone.
    TSM_Settings target;
    target.Assign(&source);
    TCodeTemplates* templates = target.CodeTemplates.get();
    EXPECT_ANY_THROW(LoadBytes(target, std::vector<uint8_t>(bytes.begin(), bytes.end() - 3)));
    EXPECT_EQ(target.CodeTemplates.get(), templates);
    EXPECT_EQ(Saved(target), bytes);
}
