// Code templates, the completion list and auto-correct on the real editor
// window, driven by posted key messages.
#include <gtest/gtest.h>

#include "DrainMessages.h"
#include "SyntaxMemo.h"
#include "SyntaxMemoMacros.h"
#include "TestSupport.h"
#include "ui/Form.h"

namespace {

struct Keys {
    bool shift, ctrl, alt;
};

// A key-down with the modifiers held.
void PostKey(HWND h, WORD key, Keys mods = {false, false, false}) {
    BYTE state[256];
    GetKeyboardState(state);
    state[VK_SHIFT] = mods.shift ? 0x80 : 0;
    state[VK_CONTROL] = mods.ctrl ? 0x80 : 0;
    state[VK_MENU] = mods.alt ? 0x80 : 0;
    SetKeyboardState(state);
    PostMessageA(h, WM_KEYDOWN, key, 1);
    Drain();
    state[VK_SHIFT] = state[VK_CONTROL] = state[VK_MENU] = 0;
    SetKeyboardState(state);
}

void PostChar(HWND h, char c) {
    PostMessageA(h, WM_CHAR, static_cast<unsigned char>(c), 1);
    Drain();
}

struct MemoForm {
    MemoForm() {
        form.SetBounds(0, 0, 460, 300);
        memo = new TSyntaxMemo(&form);
        memo->SetBounds(0, 0, 420, 240);
        form.Show();
        Drain();
        memo->SetFocus();
        Drain();
    }
    std::string Text() { return memo->Core().Store().GetText(); }
    std::pair<int32_t, int32_t> Sel() { return {memo->Core().Anchor(), memo->Core().Caret()}; }
    TMacroKeyHandler& Keys() { return memo->Macros().Keys(); }
    HWND H() { return memo->Handle(); }
    void SetText(const std::string& s, int32_t caret) {
        memo->SetText(s);
        memo->Core().Undo().Clear();
        memo->Core().SetSelection(caret, caret);
    }
    TForm form;
    TSyntaxMemo* memo;
};

const Keys kCtrl{false, true, false};

}  // namespace

TEST(MacroKeys, CtrlJExpandsTheTemplateWithCaretMarkerAndIndentAndUndoesInOneStep) {
    MemoForm f;
    f.Keys().AddTemplate("for", "for loop", "for (|) {\r\n}");
    std::string firedWord;
    f.Keys().OnTemplateEvent = [&](const std::string& word, std::string&) { firedWord = word; };
    f.SetText("x\r\n  FOR", 8);
    PostKey(f.H(), 'J', kCtrl);
    EXPECT_EQ(firedWord, "FOR");
    EXPECT_EQ(f.Text(), "x\r  for () {\r  }");
    // The caret stands where the bar was; no bar was inserted.
    EXPECT_EQ(f.Sel(), std::make_pair(int32_t{9}, int32_t{9}));
    EXPECT_FALSE(f.memo->Macros().ListBox() && f.memo->Macros().ListBox()->Visible());
    PostKey(f.H(), 'Z', kCtrl);
    EXPECT_EQ(f.Text(), "x\r  FOR");
}

TEST(MacroKeys, TemplateTextCanBeChangedByTheEventAndFlagsTurnIndentAndMarkerOff) {
    MemoForm f;
    f.Keys().AddTemplate("if", "", "if |\r\nend");
    f.Keys().OnTemplateEvent = [](const std::string&, std::string& text) { text += "!"; };
    f.Keys().SetTemplateFlags(true, false, false, true);
    f.SetText("  if", 4);
    PostKey(f.H(), 'J', kCtrl);
    EXPECT_EQ(f.Text(), "  if |\rend!");
    EXPECT_EQ(f.Sel().second, 11);
}

TEST(MacroKeys, OtherKeysAndReadOnlyTextLeaveTemplatesAlone) {
    MemoForm f;
    f.Keys().AddTemplate("for", "", "loop");
    f.SetText("for", 3);
    PostKey(f.H(), 'K', kCtrl);  // a prefix of the key map, not the hot key
    PostKey(f.H(), VK_ESCAPE);
    EXPECT_EQ(f.Text(), "for");
    f.memo->SetReadOnly(true);
    PostKey(f.H(), 'J', kCtrl);
    EXPECT_EQ(f.Text(), "for");
}

TEST(MacroKeys, NoMatchOpensTheListOnTheTypedWordAndKeysNavigateIt) {
    // The list closes when it loses the focus, as it does when another
    // process takes the activation meanwhile: such a run is repeated.
    qftest::RetryWhileActivationTaken([] {
        MemoForm f;
        f.Keys().AddTemplate("alpha", "first", "A");
        f.Keys().AddTemplate("beta", "second", "B");
        f.Keys().AddTemplate("info", "third", "I(|)");
        f.SetText("x nf", 4);
        PostKey(f.H(), 'J', kCtrl);
        TMacroListBox* list = f.memo->Macros().ListBox();
        ASSERT_NE(list, nullptr);
        EXPECT_TRUE(list->Visible());
        EXPECT_TRUE(list->Focused());
        EXPECT_EQ(f.Keys().TypedWord(TMacroTable::Templates), "nf");
        EXPECT_EQ(f.Sel(), std::make_pair(int32_t{2}, int32_t{4}));  // the typed word is selected
        ASSERT_EQ(list->Items().Count(), 3);
        EXPECT_EQ(list->Items().Strings(0), "first\talpha");
        EXPECT_EQ(list->ItemIndex(), 2);  // the first name containing "nf"
        EXPECT_GE(list->Width(), list->DescWidth + list->NameWidth + 48);
        EXPECT_GT(list->Top(), 0);  // below the caret's line

        // Incremental search by name prefix; a character no name starts with
        // starts the search again from that character.
        struct Step {
            const char* name;
            char c;
            int index;
        } steps[] = {{"b", 'b', 1}, {"be", 'e', 1}, {"bea: restart at a", 'a', 0}, {"i", 'i', 2}};
        for (const Step& s : steps) {
            PostChar(list->Handle(), s.c);
            EXPECT_EQ(list->ItemIndex(), s.index) << s.name;
        }
        // Enter accepts: the typed word is replaced, the caret goes to the bar.
        PostKey(list->Handle(), VK_RETURN);
        EXPECT_EQ(f.Text(), "x I()");
        EXPECT_EQ(f.Sel(), std::make_pair(int32_t{4}, int32_t{4}));
        EXPECT_FALSE(list->Visible());
        EXPECT_TRUE(f.memo->Focused());
    });
}

TEST(MacroKeys, AcceptingANameWithoutTheTypedWordKeepsTheWord) {
    qftest::RetryWhileActivationTaken([] {
        MemoForm f;
        f.Keys().AddTemplate("alpha", "", "A");
        f.Keys().AddTemplate("beta", "", "B");
        f.SetText("zz", 2);
        PostKey(f.H(), 'J', kCtrl);
        TMacroListBox* list = f.memo->Macros().ListBox();
        ASSERT_NE(list, nullptr);
        EXPECT_EQ(list->ItemIndex(), 0);
        PostKey(list->Handle(), VK_DOWN);
        EXPECT_EQ(list->ItemIndex(), 1);
        PostKey(list->Handle(), VK_RETURN);
        EXPECT_EQ(f.Text(), "zzB");
    });
}

TEST(MacroKeys, CaretInsideAWordOpensTheListWithoutATypedWordAndEscapeCloses) {
    qftest::RetryWhileActivationTaken([] {
        MemoForm f;
        f.Keys().AddTemplate("alpha", "", "A");
        f.Keys().AddTemplate("omega", "", "O");
        f.SetText("om", 1);
        PostKey(f.H(), 'J', kCtrl);
        TMacroListBox* list = f.memo->Macros().ListBox();
        ASSERT_NE(list, nullptr);
        EXPECT_TRUE(list->Visible());
        EXPECT_EQ(f.Keys().TypedWord(TMacroTable::Templates), "");
        EXPECT_EQ(list->ItemIndex(), 0);
        PostKey(list->Handle(), VK_ESCAPE);
        EXPECT_FALSE(list->Visible());
        EXPECT_TRUE(f.memo->Focused());
        EXPECT_EQ(f.Text(), "om");
        EXPECT_EQ(f.Sel(), std::make_pair(int32_t{1}, int32_t{1}));
    });
}

TEST(MacroKeys, EachTableHasAListOfItsOwnThatIsReused) {
    qftest::RetryWhileActivationTaken([] {
        MemoForm f;
        f.Keys().AddTemplate("for", "loop", "for");
        f.Keys().AddReplacement("teh", "the");
        f.Keys().SetFlags(TMacroTable::AutoCorrect, false, false, false, true);
        TSyntaxMemoMacros& m = f.memo->Macros();
        // Ctrl+J without a match opens the templates' list.
        f.SetText("zz ", 3);
        PostKey(f.H(), 'J', kCtrl);
        TMacroListBox* templates = m.ListBox(TMacroTable::Templates);
        ASSERT_NE(templates, nullptr);
        EXPECT_EQ(m.ListBox(TMacroTable::AutoCorrect), nullptr);
        ASSERT_EQ(templates->Items().Count(), 1);
        EXPECT_EQ(templates->Items().Strings(0), "loop\tfor");
        PostKey(templates->Handle(), VK_ESCAPE);
        // An activation key without a match opens the auto-correct table's own.
        PostKey(f.H(), VK_SPACE);
        TMacroListBox* words = m.ListBox(TMacroTable::AutoCorrect);
        ASSERT_NE(words, nullptr);
        EXPECT_NE(words, templates);
        EXPECT_TRUE(words->Visible());
        EXPECT_FALSE(templates->Visible());
        ASSERT_EQ(words->Items().Count(), 1);
        EXPECT_EQ(words->Items().Strings(0), "\tteh");
        // A double click on an item accepts it.
        RECT r{};
        SendMessageA(words->Handle(), LB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&r));
        PostMessageA(words->Handle(), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(r.left + 4, r.top + 2));
        Drain();
        EXPECT_EQ(f.Text(), "zz the");
        EXPECT_FALSE(words->Visible());
        EXPECT_TRUE(f.memo->Focused());
        // The templates' list opens again as the same window, with its own items.
        PostKey(f.H(), 'J', kCtrl);
        EXPECT_EQ(m.ListBox(TMacroTable::Templates), templates);
        EXPECT_TRUE(templates->Visible());
        EXPECT_FALSE(words->Visible());
        EXPECT_EQ(templates->Items().Strings(0), "loop\tfor");
    });
}

TEST(MacroKeys, AutoCorrectReplacesOnItsActivationKeysAndLetsTheKeyThrough) {
    MemoForm f;
    f.Keys().AddReplacement("teh", "the");
    f.Keys().AddReplacement("(c)", "\xA9");
    struct Case {
        const char* name;
        std::string before;
        int32_t caret;
        WORD key;
        char typed;
        Keys mods;
        std::string after;
    } cases[] = {
        {"space", "teh", 3, VK_SPACE, ' ', {}, "the "},
        {"return", "a teh", 5, VK_RETURN, '\r', {}, "a the\r"},
        {"semicolon", "Teh", 3, VK_OEM_1, ';', {}, "the;"},
        {"colon needs shift", "teh", 3, VK_OEM_1, ':', {true, false, false}, "the:"},
        {"letter is no activation key", "teh", 3, 'X', 'x', {}, "tehx"},
        {"word runs on", "tehx", 3, VK_SPACE, ' ', {}, "teh x"},
        {"glued to a word before", "xteh", 4, VK_SPACE, ' ', {}, "xteh "},
        {"symbol word", "(c)", 3, VK_SPACE, ' ', {}, "\xA9 "},
    };
    for (const Case& c : cases) {
        f.SetText(c.before, c.caret);
        PostKey(f.H(), c.key, c.mods);
        PostChar(f.H(), c.typed);  // the character the key types comes after its key-down
        EXPECT_EQ(f.Text(), c.after) << c.name;
    }
}

TEST(MacroKeys, AutoCorrectEventCanRefuseOrChangeTheReplacement) {
    MemoForm f;
    f.Keys().AddReplacement("teh", "the");
    int calls = 0;
    f.Keys().OnAutoReplace = [&](TEdStream& stream, bool& replace, std::string& text, const std::string& word) {
        calls++;
        EXPECT_EQ(word, "teh");
        EXPECT_EQ(stream.GetPosition(), 2);
        if (calls == 1) replace = false;
        else text = "THE";
    };
    f.SetText("a teh", 5);
    PostKey(f.H(), VK_SPACE);
    PostChar(f.H(), ' ');
    EXPECT_EQ(f.Text(), "a teh ");
    f.SetText("a teh", 5);
    PostKey(f.H(), VK_SPACE);
    PostChar(f.H(), ' ');
    EXPECT_EQ(f.Text(), "a THE ");
}

namespace {
// A keyboard where '{' is AltGr+7 and '@' is AltGr+Q, as on several European layouts.
int16_t AltGrLayout(char c) {
    if (c == '{') return 0x0600 | '7';
    if (c == '@') return 0x0600 | 'Q';
    return static_cast<int16_t>(VkKeyScanA(c));
}
}  // namespace

TEST(MacroKeys, AltGrActivationKeysTrigger) {
    TKeyScanFunction old = SetMacroKeyScan(AltGrLayout);
    {
        MemoForm f;
        f.Keys().SetActivationKeys("{@");
        f.Keys().AddReplacement("teh", "the");
        const Keys altGr{false, true, true};
        struct Case {
            const char* name;
            WORD key;
            Keys mods;
            std::string after;
        } cases[] = {
            {"AltGr+7", '7', altGr, "the"},
            {"AltGr+Q", 'Q', altGr, "the"},
            {"bare 7", '7', {}, "teh"},
            {"Ctrl+7", '7', kCtrl, "teh"},
        };
        for (const Case& c : cases) {
            f.SetText("teh", 3);
            PostKey(f.H(), c.key, c.mods);
            EXPECT_EQ(f.Text().substr(0, 3), c.after) << c.name;
        }
    }
    SetMacroKeyScan(old);
}
