#include "FindDialog.h"

namespace {
template <class T>
T* Place(T* c, const char* caption, int x, int y, int w, int h) {
    if (caption) c->SetCaption(caption);
    c->SetBounds(x, y, w, h);
    return c;
}
}  // namespace

TFindDialog::TFindDialog(TForm* owner, bool withReplace) : TForm(owner) {
    SetName(withReplace ? "dlgReplace" : "dlgFind");
    SetCaption(withReplace ? "Replace" : "Find");
    SetBounds(0, 0, 380, withReplace ? 170 : 130);
    Place(new TLabel(this), "Fi&nd what:", 8, 12, 80, 16);
    FindText = Place(new TEdit(this), nullptr, 90, 8, 190, 21);
    int y = 40;
    if (withReplace) {
        Place(new TLabel(this), "Re&place with:", 8, 40, 80, 16);
        ReplaceText = Place(new TEdit(this), nullptr, 90, 36, 190, 21);
        y = 70;
    }
    MatchCase = Place(new TCheckBox(this), "Match &case", 8, y, 150, 17);
    WholeWord = Place(new TCheckBox(this), "Match &whole word only", 8, y + 22, 160, 17);
    Up = Place(new TRadioButton(this), "&Up", 180, y, 45, 17);
    Down = Place(new TRadioButton(this), "&Down", 230, y, 55, 17);
    Down->SetChecked(true, true);
    FindNext = Place(new TButton(this), "&Find Next", 290, 8, 80, 25);
    FindNext->SetDefault(true);
    FindNext->OnClick = [this](TObject*) {
        if (OnFind) OnFind(*this);
    };
    int by = 38;
    if (withReplace) {
        Replace = Place(new TButton(this), "&Replace", 290, 38, 80, 25);
        Replace->OnClick = [this](TObject*) {
            if (OnReplace) OnReplace(*this, false);
        };
        ReplaceAll = Place(new TButton(this), "Replace &All", 290, 68, 80, 25);
        ReplaceAll->OnClick = [this](TObject*) {
            if (OnReplace) OnReplace(*this, true);
        };
        by = 98;
    }
    CancelButton = Place(new TButton(this), "Cancel", 290, by, 80, 25);
    CancelButton->OnClick = [this](TObject*) { Hide(); };
}

TFindRequest TFindDialog::Request() const {
    TFindRequest r;
    r.Text = FindText->Text();
    if (ReplaceText) r.ReplaceText = ReplaceText->Text();
    r.Down = Down->Checked();
    r.MatchCase = MatchCase->Checked();
    r.WholeWord = WholeWord->Checked();
    r.RegExpr = regExpr_;
    r.FindNextFirst = ReplaceFindsNext;
    return r;
}

void TFindDialog::Open(const std::string& text, uint32_t flags) {
    TSearchOptions o = TSearchOptions::FromFlags(flags);
    regExpr_ = o.RegExpr;
    FindText->SetText(text);
    MatchCase->SetChecked(o.MatchCase, true);
    WholeWord->SetChecked(o.WholeWord, true);
    (o.Backward ? Up : Down)->SetChecked(true, true);
    Show();
}

TReplaceQuestion::TReplaceQuestion(const std::string& text, TForm* owner) : TForm(owner) {
    SetName("dlgReplaceQuestion");
    SetCaption("Confirm");
    SetBorderStyle(bsDialog);
    SetBounds(0, 0, 372, 112);
    Question = Place(new TLabel(this), text.c_str(), 12, 14, 340, 32);
    Question->WordWrap = true;
    struct {
        TButton** button;
        const char* caption;
        int result;
    } const buttons[] = {{&Yes, "&Yes", mrYes}, {&No, "&No", mrNo}, {&All, "&All", mrAll}, {&CancelButton, "Cancel", mrCancel}};
    int x = 12;
    for (const auto& b : buttons) {
        *b.button = Place(new TButton(this), b.caption, x, 50, 80, 25);
        (*b.button)->ModalResult = b.result;
        x += 88;
    }
    Yes->SetDefault(true);
}

int AskReplaceQuestion(const std::string& text, TForm* owner) {
    TReplaceQuestion q(text, owner);
    if (owner && owner->HandleAllocated()) {
        RECT r;
        GetWindowRect(owner->Handle(), &r);
        q.SetBounds(r.left - 10, r.top - 10, q.Width(), q.Height());
    } else {
        q.Position = poScreenCenter;
    }
    return q.ShowModal();
}
