// The editor options dialog through the scripted modal runner: visible pages,
// Cancel and OK, the margin rule, key pairs, and the colour palette of its
// colour buttons.
#include <gtest/gtest.h>

#include <functional>

#include "DrainMessages.h"
#include "SettingsProbe.h"
#include "SlotParsers.h"
#include "TestDataObject.h"
#include "syntaxedit/OptionsDialog.h"
#include "syntaxedit/SynMemoOle.h"
#include "syntaxedit/SyntaxMemoOleLink.h"
#include "ui/Graphics.h"
#include "ScriptedModalRunner.h"
#include "ScriptedPrompter.h"

namespace {

TOptionsDialog& Dialog(TForm& form) { return dynamic_cast<TOptionsDialog&>(form); }

std::vector<std::string> TabCaptions(TOptionsDialog& d) {
    std::vector<std::string> out;
    for (int i = 0; i < d.PageControl1->TabCount(); i++) out.push_back(d.PageControl1->Tabs(i));
    return out;
}

const TCommandKeys* FindCommand(const std::vector<TCommandKeys>& commands, const std::string& name) {
    for (const TCommandKeys& c : commands)
        if (c.Name == name) return &c;
    return nullptr;
}

int IndexOfCommand(TOptionsDialog& d, const std::string& name) {
    return d.CommandDescListBox->Items().IndexOf(name);
}

const TColor kNavy = 0x800000, kRed = 0x0000FF;

uint32_t Rgb(TColor c) {
    COLORREF v = ColorToRGB(c);
    return ((v & 0xFF) << 16) | (v & 0xFF00) | ((v >> 16) & 0xFF);
}

// How many pixels of a colour an editor paints in its first row's text [col0, col1).
int Ink(TSyntaxMemo* memo, int col0, int col1, TColor colour) {
    RECT r;
    GetClientRect(memo->Handle(), &r);
    TBitmap bmp;
    bmp.SetSize(r.right, r.bottom);
    memo->PaintTo(bmp.Canvas().Handle());
    TLineNode* head = memo->Core().Store().Head();
    int n = 0;
    for (int y = 0; y < memo->Core().LineHeight(); y++)
        for (int x = memo->Core().XOfColumn(head, col0); x < memo->Core().XOfColumn(head, col1); x++)
            n += bmp.PixelRGB(x, y) == Rgb(colour);
    return n;
}

bool Paints(TSyntaxMemo* memo, int col0, int col1, TColor colour) { return Ink(memo, col0, col1, colour) > 0; }

// A form with an editor that a C-like highlighter serves.
struct HighlightedForm {
    HighlightedForm() {
        form.SetBounds(0, 0, 360, 160);
        memo = new TSyntaxMemo(&form);
        memo->SetBounds(0, 0, 320, 100);
        form.Show();
        memo->Perform(WM_SETTEXT, 0, reinterpret_cast<LPARAM>("int x;"));
        parser = NewSchemeParser(&form, "clike.sch");
        memo->SetParser(1, parser);
        own = SettingsOf(parser);
    }
    TForm form;
    TSyntaxMemo* memo;
    TSyntaxMemoParser* parser;
    TSM_Settings* own;
};

// Edits something on every page; leaves the dialog open.
void EditEveryPage(TOptionsDialog& d) {
    d.OptionBoxes[1]->SetChecked(!d.OptionBoxes[1]->Checked());  // "Wrap long lines"
    d.LeftBorderWidthBox->SetText("40");
    d.SynElementsBox->SetItemIndex(0);  // "Comment"
    d.SynElementsBox->OnClick(d.SynElementsBox);
    d.UseBoldBox->SetChecked(true);
    d.ForeButton->SetColorValue(0x0000FF);
    d.ReplaceBox->SetText("recieve");
    d.WithBox->SetText("receive");
    d.AutoReplButton1->Click();
    d.cteNameBox->SetText("while");
    d.cteDescBox->SetText("loop while");
    d.SyntaxMemo1->SetText("while (|)");
    d.CodeTemplateButton1->Click();
    d.CommandDescListBox->SetItemIndex(IndexOfCommand(d, "Undo"));
    d.CommandDescListBox->OnClick(d.CommandDescListBox);
    d.AddButton->Click();
    d.Key1Box->SetHotKey(scCtrl | 'U');
    d.Key1Box->OnExit(d.Key1Box);
}

// Runs the dialog on a probe's settings, the script playing the user.
bool RunOnProbe(SettingsProbe& probe, unsigned pages, const std::function<void(TOptionsDialog&)>& script) {
    TScriptedModalRunner runner;
    runner.Expect("OptionsDialog", [&](TForm& form) { script(Dialog(form)); });
    return ExecuteOptionsDialog(probe.Settings(), pages);
}

}  // namespace

TEST(OptionsDialog, ShowsOnlyTheVisiblePagesAndOpensOnTheFirstOfThem) {
    struct Case {
        const char* name;
        unsigned pages;
        std::vector<std::string> tabs;
        std::string active;
    } cases[] = {
        {"keys only", ppKEYS, {"Key assignments"}, "Key assignments"},
        {"all", kAllPropEdPages,
         {"Options", "Highlighting", "Key assignments", "Auto correct", "Code templates"}, "Highlighting"},
        {"options and templates", ppOPTIONS | ppTEMPLATES, {"Options", "Code templates"}, "Options"},
        {"auto correct and templates", ppAUTOCORRECT | ppTEMPLATES, {"Auto correct", "Code templates"},
         "Auto correct"},
    };
    for (const Case& c : cases) {
        SettingsProbe probe;
        TScriptedModalRunner runner;
        runner.Expect("OptionsDialog", [&](TForm& form) {
            TOptionsDialog& d = Dialog(form);
            EXPECT_EQ(d.Caption(), "Editor Options") << c.name;
            EXPECT_EQ(TabCaptions(d), c.tabs) << c.name;
            ASSERT_NE(d.PageControl1->ActivePage(), nullptr) << c.name;
            EXPECT_EQ(d.PageControl1->Tabs(d.PageControl1->ActivePageIndex()), c.active) << c.name;
            d.CancelButton->Click();
        });
        EXPECT_FALSE(ExecuteOptionsDialog(probe.Settings(), c.pages)) << c.name;
        EXPECT_TRUE(runner.AllUsed()) << c.name;
    }
    // No page at all: no dialog.
    SettingsProbe probe;
    TScriptedModalRunner runner;
    EXPECT_FALSE(ExecuteOptionsDialog(probe.Settings(), 0));
    EXPECT_TRUE(runner.Shown().empty());
}

TEST(OptionsDialog, PagesShowTheSettings) {
    SettingsProbe probe;
    TScriptedModalRunner runner;
    runner.Expect("OptionsDialog", [&](TForm& form) {
        TOptionsDialog& d = Dialog(form);
        EXPECT_EQ(d.LangNameBox->Text(), "C-like");
        EXPECT_FALSE(d.LangNameBox->Enabled());
        ASSERT_EQ(d.SynElementsBox->Items().Count(), 5);
        EXPECT_EQ(d.SynElementsBox->Items().Strings(0), "Comment");
        EXPECT_EQ(d.SynElementsBox->Items().Strings(2), "Selected text");
        EXPECT_EQ(d.SynElementsBox->Items().Strings(4), "Gutter");
        EXPECT_EQ(d.FEditor->Core().Store().GetText(), "int x = 1; /* note */\rreturn x;");
        EXPECT_TRUE(d.FEditor->ReadOnly());
        // Margin and gutter have a background only.
        d.SynElementsBox->SetItemIndex(4);
        d.SynElementsBox->OnClick(d.SynElementsBox);
        EXPECT_FALSE(d.ForeButton->Enabled());
        EXPECT_FALSE(d.UseDefForeBox->Enabled());
        EXPECT_FALSE(d.UseBoldBox->Enabled());
        EXPECT_EQ(d.AutoReplBox->Items().Count(), 1);
        EXPECT_EQ(d.AutoReplBox->Items().Strings(0), "teh\tthe");
        EXPECT_EQ(d.AutoReplActBox->Text(), ";,:.=()[]\\{Return}\\{Tab}\\{Space}");
        EXPECT_EQ(d.cteListBox->Items().Strings(0), "for\tloop");
        EXPECT_EQ(d.cteHotkey->Text(), "Ctrl+J");
        EXPECT_EQ(d.LeftBorderWidthBox->Text(), "34");
        EXPECT_NE(IndexOfCommand(d, "Undo"), -1);
        d.CancelButton->Click();
    });
    ExecuteOptionsDialog(probe.Settings(), kAllPropEdPages);
}

TEST(OptionsDialog, CancelLeavesTheSettingsUntouchedAfterEditsOnEveryPage) {
    SettingsProbe probe;
    const std::string before = probe.Snapshot();
    TScriptedModalRunner runner;
    runner.Expect("OptionsDialog", [&](TForm& form) {
        EditEveryPage(Dialog(form));
        Dialog(form).CancelButton->Click();
    });
    EXPECT_FALSE(ExecuteOptionsDialog(probe.Settings(), kAllPropEdPages));
    EXPECT_TRUE(runner.AllUsed());
    EXPECT_EQ(probe.Snapshot(), before);
}

TEST(OptionsDialog, OkWritesEveryPageBack) {
    SettingsProbe probe;
    const int32_t optionsBefore = TOptionsModel(probe.Settings()).Options();
    TScriptedModalRunner runner;
    runner.Expect("OptionsDialog", [&](TForm& form) {
        EditEveryPage(Dialog(form));
        Dialog(form).OKButton->Click();
    });
    EXPECT_TRUE(ExecuteOptionsDialog(probe.Settings(), kAllPropEdPages));
    TOptionsModel now(probe.Settings());
    EXPECT_EQ(now.Options(), optionsBefore ^ 32);
    EXPECT_EQ(now.Gutter(), 40);
    TElementView comment = now.Element(2);
    EXPECT_TRUE(comment.Bold);
    EXPECT_EQ(comment.Fore, TColor{0x0000FF});
    EXPECT_EQ(now.AutoCorrectItems(), (std::vector<std::string>{"recieve\treceive", "teh\tthe"}));
    std::string text;
    EXPECT_TRUE(now.FindTemplate("while", text));
    EXPECT_EQ(text, "while (|)");
    const std::vector<TCommandKeys> commands = now.Commands();
    const TCommandKeys* undo = FindCommand(commands, "Undo");
    ASSERT_NE(undo, nullptr);
    bool found = false;
    for (const TKeyPair& p : undo->Pairs) found = found || (p.Key1 == (scCtrl | 'U') && p.Key2 == 0);
    EXPECT_TRUE(found);
}

TEST(OptionsDialog, MarginBoxesKeepToZeroTo199) {
    SettingsProbe probe;
    EXPECT_TRUE(RunOnProbe(probe, ppOPTIONS, [&](TOptionsDialog& d) {
        struct Case {
            const char* typed;
            const char* shown;
        } cases[] = {{"250", "1"}, {"0", "0"}, {"199", "199"}, {"12", "12"}, {"", "1"}};
        for (const Case& c : cases) {
            d.LeftBorderWidthBox->SetText(c.typed);
            EXPECT_EQ(d.LeftBorderWidthBox->Text(), c.shown) << c.typed;
            d.RightMarginWidthBox->SetText(c.typed);
            EXPECT_EQ(d.RightMarginWidthBox->Text(), c.shown) << c.typed;
        }
        // Typed keys: digits only.
        d.WrapColumnBox->SetText("");
        for (char c : std::string("7x-2 "))
            SendMessageA(d.WrapColumnBox->Handle(), WM_CHAR, static_cast<unsigned char>(c), 1);
        EXPECT_EQ(d.WrapColumnBox->Text(), "72");
        d.LeftBorderWidthBox->SetText("250");
        d.OKButton->Click();
    }));
    EXPECT_EQ(TOptionsModel(probe.Settings()).Gutter(), 1);
}

TEST(OptionsDialog, BadTabTextsAreShownAndTheOldValuesPutBack) {
    SettingsProbe probe;
    TScriptedPrompter prompter;
    EXPECT_TRUE(RunOnProbe(probe, ppOPTIONS, [&](TOptionsDialog& d) {
        struct Row {
            const char* name;
            TEdit* box;
            const char* typed;
            const char* message;  // "" when none
            const char* columns;  // both boxes afterwards
            const char* stop;
        } rows[] = {
            {"columns in order", d.TabColumnsBox, "5 9", "", "5 9", "4"},
            {"columns out of order", d.TabColumnsBox, "9 5", "Tab columns must be in order and unique", "5 9", "4"},
            {"a tab stop", d.DeftabBox, "8", "", "5 9", "8"},
            {"a tab stop that is no number", d.DeftabBox, "x", "'x' is not a valid integer value", "5 9", "8"},
        };
        for (const Row& r : rows) {
            size_t asked = prompter.Log().size();
            if (*r.message) prompter.AnswerMessage(IDOK);
            r.box->SetText(r.typed);
            r.box->OnExit(r.box);
            EXPECT_EQ(r.columns, d.TabColumnsBox->Text()) << r.name;
            EXPECT_EQ(r.stop, d.DeftabBox->Text()) << r.name;
            if (*r.message) {
                ASSERT_EQ(asked + 1, prompter.Log().size()) << r.name;
                EXPECT_EQ(r.message, prompter.Log().back().Text) << r.name;
                EXPECT_EQ(static_cast<unsigned>(MB_OK), prompter.Log().back().Flags & MB_TYPEMASK) << r.name;
            } else {
                EXPECT_EQ(asked, prompter.Log().size()) << r.name;
            }
        }
        d.OKButton->Click();
    }));
    TOptionsModel after(probe.Settings());
    EXPECT_EQ("5 9", after.TabColumns());
    EXPECT_EQ(8, after.TabDefault());
}

TEST(OptionsDialog, AnEmptyKeyPairIsDroppedWhenTheKeysListLosesTheFocus) {
    SettingsProbe probe;
    TScriptedModalRunner runner;
    runner.Expect("OptionsDialog", [&](TForm& form) {
        TOptionsDialog& d = Dialog(form);
        d.CommandDescListBox->SetItemIndex(IndexOfCommand(d, "Undo"));
        d.CommandDescListBox->OnClick(d.CommandDescListBox);
        const int pairs = d.CommandKeysListBox->Items().Count();
        d.AddButton->Click();
        EXPECT_EQ(d.CommandKeysListBox->Items().Count(), pairs + 1);
        EXPECT_EQ(d.CommandKeysListBox->Items().Strings(pairs), "[]  [<none>]");
        d.CommandKeysListBox->SetFocus();
        d.OKButton->SetFocus();
        Drain();
        EXPECT_EQ(d.CommandKeysListBox->Items().Count(), pairs);
        d.CancelButton->Click();
    });
    ExecuteOptionsDialog(probe.Settings(), ppKEYS);
}

TEST(OptionsDialog, ClosingWithTheFocusLeftInABoxRunsNoHandlerOfTheGoingDialog) {
    // While another program holds the foreground, hiding the dialog leaves the
    // focus in its box; the box's exit handler then ran on the freed dialog.
    struct Case {
        const char* box;
        const char* typed;
    } cases[] = {{"Key 1", nullptr}, {"Wrap column", "77"}, {"Tab stop", "6"}, {"Act keys", "."}};
    for (const Case& c : cases) {
        SettingsProbe probe;
        TOptionsModel model(probe.Settings());
        auto* d = new TOptionsDialog(model, kAllPropEdPages);
        d->FormShow();
        d->Show();
        EditEveryPage(*d);
        const std::string box = c.box;
        TEdit* edit = box == "Key 1" ? d->Key1Box
                      : box == "Wrap column" ? d->WrapColumnBox
                      : box == "Tab stop" ? d->DeftabBox : d->AutoReplActBox;
        edit->SetFocus();
        if (c.typed) edit->SetText(c.typed);
        ASSERT_EQ(GetFocus(), edit->Handle()) << c.box;
        const int32_t wrap = model.WrapAtColumn(), tab = model.TabDefault();
        const std::string keys = model.ActivationKeys();
        delete d;
        EXPECT_EQ(model.WrapAtColumn(), wrap) << c.box;
        EXPECT_EQ(model.TabDefault(), tab) << c.box;
        EXPECT_EQ(model.ActivationKeys(), keys) << c.box;
    }
}

TEST(OptionsDialog, ADuplicateKeySequenceIsShownAndKeepsTheDialogOpen) {
    SettingsProbe probe;
    const std::string before = probe.Snapshot();
    TScriptedPrompter prompter;
    prompter.AnswerMessage(IDOK);
    TScriptedModalRunner runner;
    runner.Expect("OptionsDialog", [&](TForm& form) {
        TOptionsDialog& d = Dialog(form);
        // Ctrl+Z belongs to Undo already.
        d.CommandDescListBox->SetItemIndex(IndexOfCommand(d, "Redo"));
        d.CommandDescListBox->OnClick(d.CommandDescListBox);
        d.AddButton->Click();
        d.Key1Box->SetHotKey(scCtrl | 'Z');
        d.Key1Box->OnExit(d.Key1Box);
        d.OKButton->Click();
        EXPECT_EQ(form.ModalResult(), mrNone);
        ASSERT_EQ(prompter.Log().size(), 1u);
        EXPECT_NE(prompter.Log()[0].Text.find("uplicate"), std::string::npos) << prompter.Log()[0].Text;
        d.CancelButton->Click();
    });
    EXPECT_FALSE(ExecuteOptionsDialog(probe.Settings(), ppKEYS));
    EXPECT_EQ(probe.Snapshot(), before);
}

TEST(OptionsDialog, AutoCorrectAndTemplateButtonsFollowTheBoxes) {
    SettingsProbe probe;
    TScriptedModalRunner runner;
    runner.Expect("OptionsDialog", [&](TForm& form) {
        TOptionsDialog& d = Dialog(form);
        struct Case {
            const char* name;
            const char* word;
            const char* with;
            bool add, second;
            const char* secondCaption;
        } cases[] = {
            {"both empty", "", "", false, false, nullptr},
            {"new word", "adn", "and", true, false, nullptr},
            {"listed pair", "teh", "the", false, true, "Delete"},
            {"listed word, new text", "TEH", "THE", false, true, "Replace"},
        };
        for (const Case& c : cases) {
            d.ReplaceBox->SetText(c.word);
            d.WithBox->SetText(c.with);
            EXPECT_EQ(d.AutoReplButton1->Enabled(), c.add) << c.name;
            EXPECT_EQ(d.AutoReplButton2->Enabled(), c.second) << c.name;
            if (c.secondCaption) {
                EXPECT_EQ(d.AutoReplButton2->Caption(), c.secondCaption) << c.name;
            }
        }
        // "Replace" swaps the pair; "Delete" removes it.
        d.AutoReplButton2->Click();
        EXPECT_EQ(d.AutoReplBox->Items().Strings(0), "teh\tTHE");
        EXPECT_EQ(d.AutoReplButton2->Caption(), "Delete");
        d.AutoReplButton2->Click();
        EXPECT_EQ(d.AutoReplBox->Items().Count(), 0);

        d.cteListBox->SetItemIndex(0);
        d.cteListBox->OnClick(d.cteListBox);
        EXPECT_EQ(d.cteNameBox->Text(), "for");
        EXPECT_EQ(d.SyntaxMemo1->Core().Store().GetText(), "for (|) {\r}");
        EXPECT_EQ(d.CodeTemplateButton2->Caption(), "Delete");
        d.cteDescBox->SetText("counted loop");
        EXPECT_EQ(d.CodeTemplateButton2->Caption(), "Replace");
        d.CodeTemplateButton2->Click();
        EXPECT_EQ(d.cteListBox->Items().Strings(0), "for\tcounted loop");
        EXPECT_EQ(d.CodeTemplateButton2->Caption(), "Delete");
        d.CodeTemplateButton2->Click();
        EXPECT_EQ(d.cteListBox->Items().Count(), 0);
        d.OKButton->Click();
    });
    EXPECT_TRUE(ExecuteOptionsDialog(probe.Settings(), ppAUTOCORRECT | ppTEMPLATES));
    TOptionsModel now(probe.Settings());
    EXPECT_TRUE(now.AutoCorrectItems().empty());
    EXPECT_TRUE(now.TemplateItems().empty());
}

TEST(OptionsDialog, ColourButtonPaletteSetsTheElementColour) {
    SettingsProbe probe;
    TScriptedModalRunner runner;
    runner.Expect("OptionsDialog", [&](TForm& form) {
        TOptionsDialog& d = Dialog(form);
        d.SynElementsBox->SetItemIndex(1);  // "Keyword"
        d.SynElementsBox->OnClick(d.SynElementsBox);
        d.BackButton->OpenPalette();
        TTSM_ZOVColorButtonPalette* palette = d.BackButton->Palette();
        ASSERT_NE(palette, nullptr);
        // Hit tests: the cell under the cursor, then a click picks its colour.
        const TPaletteCell cell{2, 3};  // 0,127,0
        TPaletteRect r = TPaletteLayout::CellRect(cell, palette->ClientWidth());
        const LPARAM at = MAKELPARAM(r.Left + 4, r.Top + 4);
        SendMessageA(palette->Handle(), WM_MOUSEMOVE, 0, at);
        EXPECT_EQ(palette->HotCell().X, 2);
        EXPECT_EQ(palette->HotCell().Y, 3);
        EXPECT_EQ(TPaletteLayout::HitTest(5 * 18, 2), (TPaletteCell{-1, -1}));  // right of the grid
        SendMessageA(palette->Handle(), WM_LBUTTONUP, 0, at);
        Drain();
        EXPECT_EQ(d.BackButton->ColorValue(), TColor{0x007F00});
        // The palette's colours are a 4 x 5 array: index 0 is outside.
        try {
            d.BackButton->PaletteColors.Get(0, 1);
            ADD_FAILURE() << "no error for index 0";
        } catch (const Exception& e) {
            EXPECT_EQ(e.Message(), "Array index out of bounds");
        }
        d.OKButton->Click();
    });
    EXPECT_TRUE(ExecuteOptionsDialog(probe.Settings(), ppHIGHLIGHTING));
    EXPECT_EQ(TOptionsModel(probe.Settings()).Element(3).Back, TColor{0x007F00});
}

TEST(OptionsDialog, DeleteTakesTheSecondKeyFromItsBoxElseThePair) {
    SettingsProbe probe;
    TScriptedModalRunner runner;
    runner.Expect("OptionsDialog", [&](TForm& form) {
        TOptionsDialog& d = Dialog(form);
        d.CommandDescListBox->SetItemIndex(IndexOfCommand(d, "Set Bookmark 1"));
        d.CommandDescListBox->OnClick(d.CommandDescListBox);
        ASSERT_EQ(d.CommandKeysListBox->Items().Count(), 1);
        EXPECT_EQ(d.CommandKeysListBox->Items().Strings(0), "[Ctrl+K]  [1]");
        d.Key2Box->SetFocus();
        d.DeleteButton->Click();
        EXPECT_EQ(d.CommandKeysListBox->Items().Strings(0), "[Ctrl+K]  [<none>]");
        d.CommandKeysListBox->SetFocus();
        d.DeleteButton->Click();
        EXPECT_EQ(d.CommandKeysListBox->Items().Count(), 0);
        d.CancelButton->Click();
    });
    ExecuteOptionsDialog(probe.Settings(), ppKEYS);
}

TEST(OptionsDialog, TemplateDropsTakeTheHtmlFragmentAndHandFilesOnOnly) {
    SettingsProbe probe;
    TScriptedModalRunner runner;
    runner.Expect("OptionsDialog", [&](TForm& form) {
        TSyntaxMemo* memo = Dialog(form).SyntaxMemo1;
        memo->SetOptions(memo->Options() | smoProcessDroppedFiles);
        std::vector<std::string> files;
        memo->OnFilesDropped = [&](TObject*, std::vector<std::string>& list, POINT) { files = list; };
        const CLIPFORMAT html = static_cast<CLIPFORMAT>(HtmlClipboardFormat());
        struct Drop {
            const char* name;
            std::map<CLIPFORMAT, std::string> blocks;
            std::string text;
        } drops[] = {
            {"html", {{html, Bytes("Version:0.9\r\n<p><!--StartFragment-->if (|)<!--EndFragment--></p>")}}, "if (|)"},
            {"files", {{CF_HDROP, FileList(std::wstring(L"C:\\a.txt\0\0", 10))}}, ""},
            {"text", {{CF_TEXT, Bytes("<i>x</i>")}}, "<i>x</i>"},
        };
        for (const Drop& d : drops) {
            memo->Core().Message(smmsg::SetText, 0, reinterpret_cast<intptr_t>(""));
            TTestDataObject data;
            data.blocks = d.blocks;
            POINT p{2, 2};
            ClientToScreen(memo->Handle(), &p);
            DWORD effect = DROPEFFECT_COPY;
            IDropTarget* t = memo->Ole().Target();
            t->DragEnter(&data, MK_CONTROL, POINTL{p.x, p.y}, &effect);
            effect = DROPEFFECT_COPY;
            t->Drop(&data, MK_CONTROL, POINTL{p.x, p.y}, &effect);
            EXPECT_EQ(memo->Core().Store().GetText(), d.text) << d.name;
        }
        EXPECT_EQ(files, (std::vector<std::string>{"C:\\a.txt"}));
        Dialog(form).CancelButton->Click();
    });
    EXPECT_FALSE(ExecuteOptionsDialog(probe.Settings(), ppTEMPLATES));
    EXPECT_TRUE(runner.AllUsed());
}

TEST(OptionsDialog, WithoutAFontOfItsOwnTheLanguageShowsTheFontItIsDrawnIn) {
    // The second row names whatever the first listed face is.
    std::string listed;
    for (const char* font : {"", "listed"}) {
        SettingsProbe probe;
        probe.SetFontName(*font ? listed : std::string());
        const std::string before = probe.FontName();
        TScriptedModalRunner runner;
        runner.Expect("OptionsDialog", [&](TForm& form) {
            TOptionsDialog& d = Dialog(form);
            ASSERT_GT(d.FontNameBox->Items().Count(), 0);
            EXPECT_GE(d.FontNameBox->ItemIndex(), 0) << font;
            if (*font) {
                EXPECT_EQ(d.FontNameBox->Text(), listed);
            }
            listed = d.FontNameBox->Items().Strings(0);
            d.CancelButton->Click();
        });
        EXPECT_FALSE(ExecuteOptionsDialog(probe.Settings(), ppHIGHLIGHTING));
        EXPECT_TRUE(runner.AllUsed());
        EXPECT_EQ(probe.FontName(), before);
    }
}

TEST(OptionsDialog, OnAHighlighterTheCopyColoursOnlyTheDialogsEditorsUntilOk) {
    for (bool ok : {false, true}) {
        HighlightedForm f;
        ASSERT_EQ(EditorCount(f.parser), 1);
        ASSERT_TRUE(Paints(f.memo, 0, 3, kNavy));
        const std::string before = SettingsBytes(f.own);
        TScriptedModalRunner runner;
        runner.Expect("OptionsDialog", [&](TForm& form) {
            TOptionsDialog& d = Dialog(form);
            // The copy is in force, for the preview and the template editor alone.
            EXPECT_EQ(EditorCount(f.parser), 2);
            EXPECT_NE(SettingsOf(f.parser), f.own);
            EXPECT_EQ(&d.FEditor->Core().Settings(), SettingsOf(f.parser));
            EXPECT_EQ(&d.SyntaxMemo1->Core().Settings(), SettingsOf(f.parser));
            EXPECT_EQ(&f.memo->Core().Settings(), f.own);
            // The preview's example is highlighted and follows the edited colour.
            EXPECT_TRUE(Paints(d.FEditor, 0, 3, kNavy));
            EditEveryPage(d);
            d.SynElementsBox->SetItemIndex(0);  // "Keyword"
            d.SynElementsBox->OnClick(d.SynElementsBox);
            d.ForeButton->SetColorValue(kRed);
            EXPECT_TRUE(Paints(d.FEditor, 0, 3, kRed));
            EXPECT_FALSE(Paints(d.FEditor, 0, 3, kNavy));
            EXPECT_EQ(StyleTextColor(f.own, 2), kNavy);
            EXPECT_TRUE(Paints(f.memo, 0, 3, kNavy));
            (ok ? d.OKButton : d.CancelButton)->Click();
        });
        EXPECT_EQ(ShowParserOptions(f.parser, kAllPropEdPages), ok);
        EXPECT_TRUE(runner.AllUsed());
        // Its own settings and editors are back; the form's editor goes on highlighting.
        EXPECT_EQ(SettingsOf(f.parser), f.own);
        EXPECT_EQ(EditorCount(f.parser), 1);
        const TColor keyword = ok ? kRed : kNavy;
        EXPECT_EQ(StyleTextColor(f.own, 2), keyword);
        EXPECT_EQ(SettingsBytes(f.own) == before, !ok);
        f.memo->Perform(WM_SETTEXT, 0, reinterpret_cast<LPARAM>("return 0;"));
        EXPECT_TRUE(Paints(f.memo, 0, 6, keyword)) << ok;
    }
}

TEST(OptionsDialog, AnEditorThatGoesWhileTheDialogRunsIsForgotten) {
    HighlightedForm f;
    TScriptedModalRunner runner;
    runner.Expect("OptionsDialog", [&](TForm& form) {
        delete f.memo;
        Dialog(form).OKButton->Click();
    });
    EXPECT_TRUE(ShowParserOptions(f.parser, ppOPTIONS | ppHIGHLIGHTING));
    EXPECT_EQ(EditorCount(f.parser), 0);
    // A new editor is served as before.
    TSyntaxMemo* memo = new TSyntaxMemo(&f.form);
    memo->SetBounds(0, 0, 320, 100);
    memo->Perform(WM_SETTEXT, 0, reinterpret_cast<LPARAM>("int y;"));
    memo->SetParser(1, f.parser);
    EXPECT_EQ(EditorCount(f.parser), 1);
    EXPECT_TRUE(Paints(memo, 0, 3, kNavy));
}

TEST(OptionsDialog, AClickInTheHighlightedPreviewChoosesTheElementUnderIt) {
    HighlightedForm f;
    TScriptedModalRunner runner;
    runner.Expect("OptionsDialog", [&](TForm& form) {
        TOptionsDialog& d = Dialog(form);
        TSyntaxMemo* preview = d.FEditor;
        auto clickAt = [&](int32_t offset) {
            POINT p{};
            preview->Perform(EM_POSFROMCHAR, reinterpret_cast<WPARAM>(&p), offset);
            const LPARAM at = MAKELPARAM(p.x + 2, p.y + preview->Core().LineHeight() / 2);
            PostMessageA(preview->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, at);
            PostMessageA(preview->Handle(), WM_LBUTTONUP, 0, at);
            Drain();
        };
        // "int main() {\r  return 0;\r}": a keyword, an identifier, a keyword on the next line.
        struct Step {
            const char* name;
            int32_t offset;
            const char* element;
        } steps[] = {
            {"keyword", 1, "Keyword"},
            {"no element: the choice stays", 5, "Keyword"},
        };
        d.SynElementsBox->SetItemIndex(1);  // "Comment"
        for (const Step& s : steps) {
            clickAt(s.offset);
            ASSERT_GE(d.SynElementsBox->ItemIndex(), 0) << s.name;
            EXPECT_EQ(d.SynElementsBox->Items().Strings(d.SynElementsBox->ItemIndex()), s.element) << s.name;
            EXPECT_EQ(preview->Core().Caret(), s.offset) << s.name;
        }
        d.CancelButton->Click();
    });
    EXPECT_FALSE(ShowParserOptions(f.parser, ppHIGHLIGHTING));
    EXPECT_TRUE(runner.AllUsed());
}

// The preview shows the language's font, and the element's attributes in it.
TEST(OptionsDialog, PreviewDrawsInTheLanguagesFontWithItsAttributes) {
    HighlightedForm f;
    SetFontOf(f.own, "Arial", 12);
    TScriptedModalRunner runner;
    runner.Expect("OptionsDialog", [&](TForm& form) {
        TOptionsDialog& d = Dialog(form);
        TSyntaxMemo* preview = d.FEditor;
        EXPECT_EQ(preview->Font().Name(), "Arial");
        EXPECT_EQ(preview->Font().Size(), 12);
        EXPECT_FALSE(preview->Core().FixedPitch());
        // "int" of the example in the keyword's navy; bold: wider and more ink.
        TLineNode* head = preview->Core().Store().Head();
        d.SynElementsBox->SetItemIndex(0);  // "Keyword"
        d.SynElementsBox->OnClick(d.SynElementsBox);
        d.UseBoldBox->SetChecked(false);
        const int32_t plainEnd = preview->Core().XOfColumn(head, 3);
        const int plainInk = Ink(preview, 0, 3, kNavy);
        ASSERT_GT(plainInk, 0);
        d.UseBoldBox->SetChecked(true);
        EXPECT_GT(preview->Core().XOfColumn(head, 3), plainEnd);
        EXPECT_GT(Ink(preview, 0, 3, kNavy), plainInk);
        // Another face from the list goes to the preview at once.
        const std::string face = d.FontNameBox->Items().Strings(0);
        d.FontNameBox->SetItemIndex(0);
        d.FontNameBox->OnChange(d.FontNameBox);
        EXPECT_EQ(preview->Font().Name(), face);
        d.FontSizeBox->SetItemIndex(d.FontSizeBox->Items().IndexOf("20"));
        d.FontSizeBox->OnChange(d.FontSizeBox);
        EXPECT_EQ(preview->Font().Size(), 20);
        d.CancelButton->Click();
    });
    EXPECT_FALSE(ShowParserOptions(f.parser, ppHIGHLIGHTING));
    EXPECT_TRUE(runner.AllUsed());
    EXPECT_EQ(FontNameOf(f.own), "Arial");
    EXPECT_EQ(FontSizeOf(f.own), 12);
}

TEST(OptionsDialog, WrapColumnAndIndentStepKeepToTheEditorsRanges) {
    // Without the highlighting page there is no preview: the ranges hold all the same.
    for (unsigned pages : {unsigned{ppOPTIONS}, kAllPropEdPages}) {
        SettingsProbe probe;
        EXPECT_TRUE(RunOnProbe(probe, pages, [&](TOptionsDialog& d) {
            struct Row {
                const char* name;
                TEdit* box;
                const char* typed;
                const char* shown;  // what the box shows after leaving it
            } rows[] = {
                {"negative wrap column", d.WrapColumnBox, "-3", "0"},
                {"wrap column past the range", d.WrapColumnBox, "70000", "0"},
                {"wrap column", d.WrapColumnBox, "72", "72"},
                {"indent step 0", d.IndentStepBox, "0", "1"},
                {"indent step 50", d.IndentStepBox, "50", "1"},
                {"indent step", d.IndentStepBox, "7", "7"},
            };
            for (const Row& r : rows) {
                r.box->SetText(r.typed);
                r.box->OnExit(r.box);
                EXPECT_EQ(r.box->Text(), r.shown) << "row \"" << r.name << "\", pages " << pages;
            }
            d.OKButton->Click();
        }));
        TOptionsModel after(probe.Settings());
        EXPECT_EQ(after.WrapAtColumn(), 72) << "pages " << pages;
        EXPECT_EQ(after.IndentStep(), 7) << "pages " << pages;
    }
}

TEST(OptionsDialog, AFontSizeTypedIntoItsBoxIsTaken) {
    SettingsProbe probe;
    EXPECT_TRUE(RunOnProbe(probe, ppHIGHLIGHTING, [&](TOptionsDialog& d) {
        HWND edit = FindWindowExA(d.FontSizeBox->Handle(), nullptr, "Edit", nullptr);
        ASSERT_NE(edit, nullptr);
        struct Row {
            const char* typed;
            int32_t size;  // the preview's afterwards
        } rows[] = {{"13", 13}, {"0", 13}, {"", 13}, {"x", 13}, {"7", 7}};
        for (const Row& r : rows) {
            SendMessageA(edit, EM_SETSEL, 0, -1);
            SendMessageA(edit, WM_CHAR, '\b', 1);
            for (const char* c = r.typed; *c; c++) SendMessageA(edit, WM_CHAR, static_cast<unsigned char>(*c), 1);
            EXPECT_EQ(d.FEditor->Core().Settings().FontSize, r.size) << "typed \"" << r.typed << "\"";
        }
        d.OKButton->Click();
    }));
    EXPECT_EQ(TOptionsModel(probe.Settings()).FontSize(), 7);
}

TEST(OptionsDialog, TheTemplatesPageShowsTheTemplatesHotKey) {
    SettingsProbe probe;
    probe.Settings().CodeTemplates->HotKey = scCtrl | 'K';
    EXPECT_FALSE(RunOnProbe(probe, ppTEMPLATES, [&](TOptionsDialog& d) {
        EXPECT_EQ(d.cteHotkey->Text(), ShortCutToText(scCtrl | 'K'));
        d.CancelButton->Click();
    }));
}

// Settings that cannot be stored (a name past its length byte, put into the
// copy by hand) are refused on OK: the dialog stays open and nothing is
// written back (the fonts' part: OptionsModel.ACommitIsAllOrNothing).
TEST(OptionsDialog, OkOnSettingsThatCannotBeStoredKeepsTheDialogAndTheSettings) {
    HighlightedForm f;
    const std::string before = SettingsBytes(f.own);
    TScriptedPrompter prompter;
    prompter.AnswerMessage(IDOK);
    TScriptedModalRunner runner;
    runner.Expect("OptionsDialog", [&](TForm& form) {
        TOptionsDialog& d = Dialog(form);
        d.UseBoldBox->SetChecked(!d.UseBoldBox->Checked());
        TSM_Settings* copy = SettingsOf(f.parser);
        copy->CodeTemplates->AddTemplate("x", "", "y");
        copy->CodeTemplates->Macros->AddObject(std::string(300, 'n'), new TMacroRecord);
        d.OKButton->Click();
        EXPECT_EQ(form.ModalResult(), mrNone);
        ASSERT_EQ(prompter.Log().size(), 1u);
        EXPECT_EQ(prompter.Log()[0].Text, "String too long for its length byte (300 characters)");
        d.CancelButton->Click();
    });
    bool ok = true;
    EXPECT_NO_THROW(ok = ShowParserOptions(f.parser, kAllPropEdPages));
    EXPECT_FALSE(ok);
    EXPECT_TRUE(runner.AllUsed());
    EXPECT_EQ(SettingsBytes(f.own), before);
    EXPECT_TRUE(Paints(f.memo, 0, 3, kNavy));
}
