// The window layer driven through real windows and their messages.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "ScriptedModalRunner.h"
#include "ScriptedPrompter.h"
#include "TestSupport.h"
#include "runtime/Application.h"
#include "ui/ComCtrls.h"
#include "ui/Form.h"
#include "ui/StdCtrls.h"
#include "ui/Timer.h"

namespace {

// A small form built in code, as the programs' forms are.
class TSampleForm : public TForm {
public:
    TSampleForm() {
        SetName("frmSample");
        SetCaption("Sample");
        SetBounds(0, 0, 320, 200);
        top = new TPanel(this);
        top->SetAlign(alTop);
        top->SetBounds(0, 0, 0, 30);
        status = new TPanel(this);
        status->SetAlign(alBottom);
        status->SetBounds(0, 0, 0, 20);
        name = new TEdit(this);
        name->SetBounds(10, 40, 150, 21);
        wrap = new TCheckBox(this);
        wrap->SetCaption("&Wrap");
        wrap->SetBounds(10, 70, 100, 17);
        ok = new TButton(this);
        ok->SetCaption("OK");
        ok->ModalResult = mrOk;
        ok->SetBounds(160, 120, 75, 25);
        cancel = new TButton(this);
        cancel->SetCaption("Cancel");
        cancel->ModalResult = mrCancel;
        cancel->SetBounds(240, 120, 75, 25);
    }
    TPanel *top, *status;
    TEdit* name;
    TCheckBox* wrap;
    TButton *ok, *cancel;
};

void Click(TButton& b) { SendMessageA(b.Handle(), BM_CLICK, 0, 0); }

}  // namespace

TEST(Form, ControlsAreRealWindowsInTheirPlaces) {
    TSampleForm f;
    f.Show();
    ASSERT_TRUE(IsWindow(f.Handle()));
    for (int i = 0; i < f.ControlCount(); ++i) {
        EXPECT_EQ(GetParent(f.Controls(i)->Handle()), f.Handle()) << "control " << i;
        EXPECT_EQ(TWinControl::FromHandle(f.Controls(i)->Handle()), f.Controls(i));
    }
    EXPECT_EQ(f.top->Top(), 0);
    EXPECT_EQ(f.top->Width(), f.ClientWidth());
    EXPECT_EQ(f.status->Top() + f.status->Height(), f.ClientHeight());
    // A resize re-aligns through WM_SIZE.
    f.SetBounds(0, 0, 500, 300);
    EXPECT_EQ(f.top->Width(), f.ClientWidth());
    EXPECT_EQ(f.status->Top(), f.ClientHeight() - 20);
}

TEST(Form, TabStopIsTheWindowsTabStopStyle) {
    TSampleForm f;
    f.wrap->SetTabStop(false);  // before its window: applied when it is made
    f.Show();
    auto styled = [](TWinControl* c) { return (GetWindowLongA(c->Handle(), GWL_STYLE) & WS_TABSTOP) != 0; };
    // Unset, each control keeps its class's own style.
    EXPECT_TRUE(f.name->TabStop());
    EXPECT_TRUE(f.ok->TabStop());
    EXPECT_FALSE(f.top->TabStop());
    EXPECT_FALSE(f.wrap->TabStop());
    EXPECT_FALSE(styled(f.wrap));
    // Tab moves past a control without the style.
    EXPECT_EQ(GetNextDlgTabItem(f.Handle(), f.name->Handle(), FALSE), f.ok->Handle());
    f.ok->SetTabStop(false);
    EXPECT_FALSE(styled(f.ok));
    EXPECT_EQ(GetNextDlgTabItem(f.Handle(), f.name->Handle(), FALSE), f.cancel->Handle());
    f.wrap->SetTabStop(true);
    EXPECT_TRUE(styled(f.wrap));
    EXPECT_TRUE(f.wrap->TabStop());
    EXPECT_EQ(GetNextDlgTabItem(f.Handle(), f.name->Handle(), FALSE), f.wrap->Handle());
    f.top->SetTabStop(true);
    EXPECT_TRUE(styled(f.top));
}

TEST(Form, MessagesReachTypedHandlersAndEvents) {
    TSampleForm f;
    f.Show();
    int changes = 0, clicks = 0;
    f.name->OnChange = [&](TObject*) { ++changes; };
    f.wrap->OnClick = [&](TObject*) { ++clicks; };
    SendMessageA(f.name->Handle(), WM_CHAR, 'a', 0);
    SendMessageA(f.name->Handle(), WM_CHAR, 'b', 0);
    EXPECT_EQ(f.name->Text(), "ab");
    EXPECT_EQ(changes, 2);
    SendMessageA(f.wrap->Handle(), BM_CLICK, 0, 0);
    EXPECT_TRUE(f.wrap->Checked());
    EXPECT_EQ(clicks, 1);
    f.wrap->SetChecked(false, true);  // silent: no event
    EXPECT_EQ(clicks, 1);

    std::string keys;
    f.name->OnKeyPress = [&](TObject*, char& k) {
        keys += k;
        if (k == 'x') k = 0;  // swallowed
        if (k == 'q') k = 'Q';
    };
    SendMessageA(f.name->Handle(), WM_CHAR, 'x', 0);
    SendMessageA(f.name->Handle(), WM_CHAR, 'q', 0);
    EXPECT_EQ(keys, "xq");
    EXPECT_EQ(f.name->Text(), "abQ");

    int downX = -1;
    f.top->OnMouseDown = [&](TObject*, TMouseButton b, TShiftState s, int x, int) {
        if (b == mbLeft && (s & ssShift)) downX = x;
    };
    SendMessageA(f.top->Handle(), WM_LBUTTONDOWN, MK_LBUTTON | MK_SHIFT, MAKELPARAM(17, 5));
    EXPECT_EQ(downX, 17);
}

TEST(Form, ScriptedShowModalClicksOk) {
    TScriptedModalRunner runner;
    TSampleForm f;
    runner.Expect("frmSample", [](TForm& form) {
        auto& s = static_cast<TSampleForm&>(form);
        EXPECT_TRUE(IsWindowVisible(s.Handle()));
        EXPECT_TRUE(s.Modal());
        SendMessageA(s.name->Handle(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("typed"));
        Click(*s.ok);
    });
    bool closed = false;
    f.OnClose = [&](TObject*, TCloseAction&) { closed = true; };
    EXPECT_EQ(f.ShowModal(), mrOk);
    EXPECT_EQ(f.name->Text(), "typed");
    EXPECT_TRUE(closed);
    EXPECT_FALSE(IsWindowVisible(f.Handle()));
    EXPECT_TRUE(runner.AllUsed());
}

TEST(Form, RealModalLoopEndsByButtonOrCloseBox) {
    TSampleForm f;
    PostMessageA(f.cancel->Handle(), BM_CLICK, 0, 0);
    EXPECT_EQ(f.ShowModal(), mrCancel);
    PostMessageA(f.ok->Handle(), BM_CLICK, 0, 0);
    EXPECT_EQ(f.ShowModal(), mrOk);
    // The close box is Cancel; a CloseQuery veto keeps the form up.
    int asked = 0;
    f.OnCloseQuery = [&](TObject*, bool& can) { can = ++asked > 1; };
    PostMessageA(f.Handle(), WM_CLOSE, 0, 0);
    PostMessageA(f.Handle(), WM_CLOSE, 0, 0);
    EXPECT_EQ(f.ShowModal(), mrCancel);
    EXPECT_EQ(asked, 2);
}

TEST(Form, OtherWindowsWaitWhileAFormIsModal) {
    TSampleForm main;
    main.Show();
    TSampleForm dialog;
    bool mainEnabledDuring = true;
    dialog.OnShow = [&](TObject*) {
        PostMessageA(dialog.ok->Handle(), BM_CLICK, 0, 0);
    };
    dialog.OnActivate = [&](TObject*) { mainEnabledDuring = IsWindowEnabled(main.Handle()) != 0; };
    EXPECT_EQ(dialog.ShowModal(), mrOk);
    EXPECT_FALSE(mainEnabledDuring);
    EXPECT_TRUE(IsWindowEnabled(main.Handle()));
}

TEST(Form, PrompterFakeAnswersMessageBoxesAndDialogs) {
    TScriptedPrompter prompter;
    prompter.AnswerMessage(IDNO);
    prompter.AnswerFile("C:\\x\\a.txt");
    prompter.AnswerFile("");
    EXPECT_EQ(Prompter().ShowMessageBox("Save changes?", "Confirm", MB_YESNO), IDNO);
    TFileDialogRequest r;
    r.Title = "Open";
    EXPECT_TRUE(Prompter().OpenFileDialog(r));
    EXPECT_EQ(r.FileName, "C:\\x\\a.txt");
    EXPECT_FALSE(Prompter().SaveFileDialog(r));
    ASSERT_EQ(prompter.Log().size(), 3u);
    EXPECT_EQ(prompter.Log()[0].Text, "Save changes?");
    EXPECT_EQ(prompter.Log()[0].Flags, static_cast<unsigned>(MB_YESNO));
    EXPECT_EQ(prompter.Log()[2].Kind, "SaveFile");
    EXPECT_TRUE(prompter.AllAnswersUsed());
}

TEST(Form, ExceptionInAHandlerReachesTheApplicationAndTheWindowLivesOn) {
    std::string seen;
    auto saved = Application->OnException;
    TSampleForm f;
    Application->OnException = [&](TObject* sender, const std::exception& e) {
        seen = e.what();
        EXPECT_EQ(sender, &f) << "the window whose message was being handled";
    };
    f.Show();
    int clicks = 0;
    f.ok->OnClick = [&](TObject*) {
        if (++clicks == 1) throw Exception("handler failed");
    };
    Click(*f.ok);
    EXPECT_EQ(seen, "handler failed");
    Click(*f.ok);
    EXPECT_EQ(clicks, 2);
    EXPECT_TRUE(IsWindow(f.Handle()));
    Application->OnException = saved;
}

TEST(Form, PanelPaintsItsColourAndBevel) {
    TSampleForm f;
    f.top->SetColor(clRed);
    f.Show();
    UpdateWindow(f.Handle());
    TBitmap shot(f.top->Width(), f.top->Height());
    HDC dc = GetDC(f.top->Handle());
    BitBlt(shot.Canvas().Handle(), 0, 0, shot.Width(), shot.Height(), dc, 0, 0, SRCCOPY);
    ReleaseDC(f.top->Handle(), dc);
    EXPECT_EQ(shot.PixelRGB(shot.Width() / 2, shot.Height() / 2), 0xFF0000u);  // 0xRRGGBB
    EXPECT_NE(shot.PixelRGB(0, shot.Height() / 2), 0xFF0000u) << "bevel at the left edge";
}

TEST(Form, TimerFiresWhileEnabled) {
    TTimer t;
    int ticks = 0;
    t.OnTimer = [&](TObject*) { ++ticks; };
    t.SetInterval(10);
    EXPECT_TRUE(qftest::PumpUntil([&] { return ticks >= 2; }, 3000));
    t.SetEnabled(false);
    const int seen = ticks;
    qftest::PumpFor(60);
    EXPECT_EQ(ticks, seen);
}

TEST(Form, EnterAndEscapeReachTheDefaultAndCancelButtonsAsATable) {
    TSampleForm f;
    f.ok->SetDefault(true);
    f.cancel->Cancel = true;
    TMemo* notes = new TMemo(&f);
    notes->SetBounds(170, 40, 140, 60);
    // Ends the loop when the key did not: then the form answers mrAbort.
    TButton* stop = new TButton(&f);
    stop->ModalResult = mrAbort;
    stop->SetBounds(10, 120, 75, 25);
    struct Case {
        const char* what;
        TWinControl* target;
        WORD key;
        int result;
    } cases[] = {
        {"Enter in an edit", f.name, VK_RETURN, mrOk},
        {"Escape in an edit", f.name, VK_ESCAPE, mrCancel},
        {"Escape in a check box", f.wrap, VK_ESCAPE, mrCancel},
        {"Enter on the Cancel button clicks it", f.cancel, VK_RETURN, mrCancel},
        {"Enter in a multi-line edit stays there", notes, VK_RETURN, mrAbort},
        {"a plain letter", f.name, 'A', mrAbort},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        f.OnShow = [&](TObject*) { c.target->SetFocus(); };
        PostMessageA(c.target->Handle(), WM_KEYDOWN, c.key, 1);
        PostMessageA(stop->Handle(), BM_CLICK, 0, 0);
        EXPECT_EQ(f.ShowModal(), c.result);
        Application->ProcessMessages();  // the stop click left over
    }
}

TEST(Form, EscapeCancelsAModalFormWithoutACancelButtonOnly) {
    TSampleForm f;
    f.cancel->SetVisible(false);  // a hidden button takes no key
    f.cancel->Cancel = true;
    f.Show();
    SendMessageA(f.name->Handle(), WM_KEYDOWN, VK_ESCAPE, 1);
    EXPECT_TRUE(IsWindowVisible(f.Handle())) << "a modeless form stays";
    f.Hide();
    PostMessageA(f.name->Handle(), WM_KEYDOWN, VK_ESCAPE, 1);
    EXPECT_EQ(f.ShowModal(), mrCancel);
}

TEST(Form, KeyPreviewLetsTheFormSeeKeysFirst) {
    TSampleForm f;
    f.Show();
    int formSaw = 0, editSaw = 0;
    f.OnKeyDown = [&](TObject*, WORD& key, TShiftState) {
        ++formSaw;
        if (key == VK_F5) key = 0;  // taken: the edit never sees it
    };
    f.name->OnKeyDown = [&](TObject*, WORD&, TShiftState) { ++editSaw; };
    for (bool preview : {false, true}) {
        SCOPED_TRACE(preview ? "preview" : "no preview");
        f.KeyPreview = preview;
        formSaw = editSaw = 0;
        SendMessageA(f.name->Handle(), WM_KEYDOWN, VK_F5, 1);
        SendMessageA(f.name->Handle(), WM_KEYDOWN, VK_F6, 1);
        EXPECT_EQ(formSaw, preview ? 2 : 0);
        EXPECT_EQ(editSaw, preview ? 1 : 2);
    }
}

namespace {

// A form whose own parts go before the window layer takes its controls down.
class TFormWithParts : public TForm {
public:
    explicit TFormWithParts(std::vector<std::string>& log) : log_(log) {
        SetBounds(0, 0, 240, 120);
        first = new TEdit(this);
        first->SetBounds(10, 10, 100, 21);
        second = new TEdit(this);
        second->SetBounds(10, 40, 100, 21);
        first->OnExit = [this](TObject*) { log_.push_back(gone_ ? "exit after the form" : "exit"); };
        second->OnEnter = [this](TObject*) { log_.push_back(gone_ ? "enter after the form" : "enter"); };
    }
    ~TFormWithParts() override { gone_ = true; }
    TEdit *first, *second;

private:
    std::vector<std::string>& log_;
    bool gone_ = false;
};

}  // namespace

TEST(Form, ControlsGoingWithTheirFormRunNoFocusEvents) {
    qftest::RetryWhileActivationTaken([] {
        std::vector<std::string> log;
        auto* f = new TFormWithParts(log);
        f->Show();
        f->first->SetFocus();
        ASSERT_EQ(GetFocus(), f->first->Handle());
        f->second->SetFocus();
        EXPECT_EQ(log, (std::vector<std::string>{"exit", "enter"})) << "while the form lives";
        f->first->SetFocus();
        log.clear();
        // The focused control goes with the form: its handlers would reach the
        // form's parts, which went before it.
        delete f;
        EXPECT_EQ(log, std::vector<std::string>{});
    });
}

TEST(Form, AControlThatIsGoingRaisesNoEventsAsATable) {
    // A focused edit loses the focus as its window goes. Its OnExit would then run
    // on a half-destroyed control, inside a form whose own members are freed.
    qftest::RetryWhileActivationTaken([] {
        for (const std::string gone : {"form", "released form", "page", "edit"}) {
            auto* f = new TForm;
            auto* pages = new TPageControl(f);
            pages->SetAlign(alClient);
            TTabSheet* page = pages->AddPage("One");
            auto* group = new TGroupBox(page);
            group->SetBounds(8, 8, 200, 80);
            auto* edit = new TEdit(group);
            edit->SetBounds(10, 20, 150, 21);
            int exits = 0, late = 0, entered = 0;
            edit->OnExit = [&](TObject* sender) {
                ++exits;
                if (static_cast<TWinControl*>(sender)->InDestruction()) ++late;
            };
            group->OnEnter = [&](TObject*) { ++entered; };
            f->Show();
            edit->SetFocus();
            ASSERT_EQ(GetFocus(), edit->Handle()) << gone;
            if (gone == "form") {
                delete f;
            } else if (gone == "released form") {
                f->Release();
                Application->ProcessMessages();
            } else {
                delete (gone == "page" ? static_cast<TWinControl*>(page) : edit);
                EXPECT_EQ(pages->PageCount(), gone == "page" ? 0 : 1) << gone;
                delete f;
            }
            EXPECT_EQ(late, 0) << gone;
            EXPECT_EQ(exits, 0) << gone;
            // A parent that stays takes the focus and hears of it.
            EXPECT_EQ(entered, gone == "edit" ? 1 : 0) << gone;
        }
    });
}
