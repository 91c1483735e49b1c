// The options dialog's two list pages, auto correct and code templates, and
// the two-column list both show their items in.
#include <algorithm>

#include "OptionsDialog.h"
#include "OptionsDialogLayout.h"
#include "ui/core/Prompter.h"

using namespace optionsdialog;

namespace {

std::string ItemKey(const std::string& item) { return item.substr(0, item.find('\t')); }

// The list's own search ignores case; these items are told apart by it.
bool HasExactItem(TListBox* list, const std::string& item) {
    for (int i = 0; i < list->Items().Count(); i++)
        if (list->Items().Strings(i) == item) return true;
    return false;
}

// Changes a button only where it differs: a change repaints, and the template
// editor's change notices come with its paints.
void SetButton(TButton* b, bool enabled, const char* caption = nullptr) {
    if (b->Enabled() != enabled) b->SetEnabled(enabled);
    if (caption && b->Caption() != caption) b->SetCaption(caption);
}

}  // namespace

// ---- two-column list

TTwoColumnListBox::TTwoColumnListBox(TWinControl* parent) : TListBox(parent) { SetSorted(true); }

void TTwoColumnListBox::CreateParams(TCreateParams& p) {
    TListBox::CreateParams(p);
    p.Style |= LBS_OWNERDRAWFIXED | LBS_HASSTRINGS;
    p.WinClassName = "QfTwoColumnListBox";
}

void TTwoColumnListBox::WndCreated() {
    TListBox::WndCreated();
    HDC dc = GetDC(Handle());
    HGDIOBJ old = SelectObject(dc, Font().Handle());
    SIZE size{};
    GetTextExtentPoint32A(dc, "Wy", 2, &size);
    SelectObject(dc, old);
    ReleaseDC(Handle(), dc);
    Perform(LB_SETITEMHEIGHT, 0, size.cy + 2);
}

bool TTwoColumnListBox::DrawItem(DRAWITEMSTRUCT& dis) {
    if (static_cast<int>(dis.itemID) < 0 || static_cast<int>(dis.itemID) >= Items().Count()) return false;
    HDC dc = dis.hDC;
    RECT r = dis.rcItem;
    const bool selected = (dis.itemState & ODS_SELECTED) != 0;
    FillRect(dc, &r, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    const std::string& s = Items().Strings(static_cast<int>(dis.itemID));
    size_t tab = s.find('\t');
    std::string left = s.substr(0, tab), right = tab == std::string::npos ? "" : s.substr(tab + 1);
    const int split = r.left + (r.right - r.left) / 3;
    HGDIOBJ oldFont = SelectObject(dc, Font().Handle());
    RECT lr{r.left + 2, r.top, split - 2, r.bottom};
    DrawTextA(dc, left.c_str(), static_cast<int>(left.size()), &lr, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    RECT rr{split + 3, r.top, r.right - 2, r.bottom};
    DrawTextA(dc, right.c_str(), static_cast<int>(right.size()), &rr,
              DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
    SelectObject(dc, oldFont);
    // The silver divider between the columns and the rule under the item.
    HPEN pen = CreatePen(PS_SOLID, 1, 0xC0C0C0);
    HGDIOBJ oldPen = SelectObject(dc, pen);
    MoveToEx(dc, split, r.top, nullptr);
    LineTo(dc, split, r.bottom);
    MoveToEx(dc, r.left, r.bottom - 1, nullptr);
    LineTo(dc, r.right, r.bottom - 1);
    SelectObject(dc, oldPen);
    DeleteObject(pen);
    return true;
}

void TOptionsDialog::BuildAutoCorrectPage() {
    TWinControl* p = AutoCorrectPage = PageControl1->AddPage("Auto correct");
    LabelAt(p, 6, 4, "Replace", 100);
    ReplaceBox = Place(new TEdit(p), 6, 20, 140, 21);
    LabelAt(p, 154, 4, "With", 100);
    WithBox = Place(new TEdit(p), 154, 20, 220, 21);
    AutoReplButton1 = Place(new TButton(p), 382, 18, 74, 25, "Add");
    AutoReplButton2 = Place(new TButton(p), 382, 48, 74, 25, "Replace");
    AutoReplBox = Place(new TTwoColumnListBox(p), 6, 48, 368, 230);
    LabelAt(p, 6, 286, "Act key(s)", 100);
    AutoReplActBox = Place(new TEdit(p), 6, 302, 368, 21);
    // Words and activation keys are stored behind a length byte.
    ReplaceBox->SetMaxLength(255);
    AutoReplActBox->SetMaxLength(255);
    ReplaceBox->OnChange = [this](TObject*) { UpdateAutoButtons(); };
    WithBox->OnChange = [this](TObject*) { UpdateAutoButtons(); };
    AutoReplBox->OnClick = [this](TObject*) {
        int i = AutoReplBox->ItemIndex();
        if (i < 0) return;
        const std::string& item = AutoReplBox->Items().Strings(i);
        ReplaceBox->SetText(ItemKey(item));
        WithBox->SetText(item.substr(item.find('\t') + 1));
        UpdateAutoButtons();
    };
    AutoReplButton1->OnClick = [this](TObject*) { AutoButton1(); };
    AutoReplButton2->OnClick = [this](TObject*) { AutoButton2(); };
    AutoReplActBox->OnExit = [this](TObject*) { RebuildAutoCorrect(); };
}

void TOptionsDialog::BuildTemplatesPage() {
    TWinControl* p = TemplatesPage = PageControl1->AddPage("Code templates");
    LabelAt(p, 6, 4, "Name", 100);
    cteNameBox = Place(new TEdit(p), 6, 20, 120, 21);
    LabelAt(p, 134, 4, "Description", 100);
    cteDescBox = Place(new TEdit(p), 134, 20, 150, 21);
    LabelAt(p, 292, 4, "Hotkey", 80);
    cteHotkey = Place(new TEdit(p), 292, 20, 82, 21);
    cteHotkey->SetReadOnly(true);
    CodeTemplateButton1 = Place(new TButton(p), 382, 18, 74, 25, "Add");
    CodeTemplateButton2 = Place(new TButton(p), 382, 48, 74, 25, "Replace");
    cteListBox = Place(new TTwoColumnListBox(p), 6, 48, 368, 120);
    LabelAt(p, 6, 174, "Code template", 120);
    SyntaxMemo1 = Place(new TSyntaxMemo(p), 6, 190, 450, 132);
    // Names and descriptions are stored behind a length byte.
    cteNameBox->SetMaxLength(255);
    cteDescBox->SetMaxLength(255);
    cteNameBox->OnChange = [this](TObject*) { UpdateTemplateButtons(); };
    cteDescBox->OnChange = [this](TObject*) { UpdateTemplateButtons(); };
    // Asked of the core directly: a message sent from inside the editor's
    // change notice kept its page control painting without end.
    SyntaxMemo1->OnChange = [this](TObject*) {
        if (SyntaxMemo1->Core().Undo().Modified()) UpdateTemplateButtons();
    };
    SyntaxMemo1->OnDataDrop = [](TObject*, uint16_t& types) { types = TOptionsModel::TemplateDropTypes(types); };
    cteListBox->OnClick = [this](TObject*) { ShowTemplate(cteListBox->ItemIndex()); };
    CodeTemplateButton1->OnClick = [this](TObject*) { TemplateButton1(); };
    CodeTemplateButton2->OnClick = [this](TObject*) { TemplateButton2(); };
}

void TOptionsDialog::FillAutoCorrectPage() {
    AutoReplBox->Clear();
    for (const std::string& item : model_.AutoCorrectItems()) AutoReplBox->Items().Add(item);
    AutoReplActBox->SetText(model_.ActivationKeys());
    UpdateAutoButtons();
}

void TOptionsDialog::FillTemplatesPage() {
    cteListBox->Clear();
    for (const std::string& item : model_.TemplateItems()) cteListBox->Items().Add(item);
    cteHotkey->SetText(ShortCutToText(model_.TemplateHotKey()));
    model_.ApplyTo(SyntaxMemo1->Core());
    editing_ = false;
    UpdateTemplateButtons();
}

void TOptionsDialog::UpdateAutoButtons() {
    const std::string word = LowerCase(ReplaceBox->Text()), with = WithBox->Text();
    if (word.empty() && with.empty()) {
        SetButton(AutoReplButton1, false);
        SetButton(AutoReplButton2, false);
        return;
    }
    int listed = -1;
    for (int i = 0; i < AutoReplBox->Items().Count(); i++)
        if (ItemKey(AutoReplBox->Items().Strings(i)) == word) listed = i;
    SetButton(AutoReplButton1, listed < 0 && !word.empty());
    SetButton(AutoReplButton2, listed >= 0);
    if (listed < 0) return;
    if (with.empty()) AutoReplBox->SetItemIndex(listed);
    const bool exact = HasExactItem(AutoReplBox, word + "\t" + with);
    SetButton(AutoReplButton2, true, exact ? "Delete" : "Replace");
}

void TOptionsDialog::AutoButton1() {
    const std::string word = LowerCase(ReplaceBox->Text());
    if (word.empty()) return;
    AutoReplBox->SetItemIndex(AutoReplBox->Items().Add(word + "\t" + WithBox->Text()));
    RebuildAutoCorrect();
    UpdateAutoButtons();
}

void TOptionsDialog::AutoButton2() {
    const std::string word = LowerCase(ReplaceBox->Text());
    int listed = -1;
    for (int i = 0; i < AutoReplBox->Items().Count(); i++)
        if (ItemKey(AutoReplBox->Items().Strings(i)) == word) listed = i;
    if (listed < 0) return;
    const bool remove = AutoReplButton2->Caption() == "Delete";
    AutoReplBox->Items().Delete(listed);
    if (remove) {
        AutoReplBox->SetItemIndex(std::min(listed, AutoReplBox->Items().Count() - 1));
    } else {
        AutoReplBox->SetItemIndex(AutoReplBox->Items().Add(word + "\t" + WithBox->Text()));
    }
    RebuildAutoCorrect();
    UpdateAutoButtons();
}

void TOptionsDialog::RebuildAutoCorrect() {
    std::vector<std::string> items;
    for (int i = 0; i < AutoReplBox->Items().Count(); i++) items.push_back(AutoReplBox->Items().Strings(i));
    try {
        model_.RebuildAutoCorrect(items, AutoReplActBox->Text());
    } catch (const Exception& e) {
        Prompter().ShowMessageBox(e.Message(), "Editor Options", MB_OK | MB_ICONERROR);
    }
}

std::string TOptionsDialog::TemplateText() {
    std::string text = SyntaxMemo1->Core().Store().GetText();
    return text;
}

void TOptionsDialog::ShowTemplate(int index) {
    if (index < 0 || index >= cteListBox->Items().Count()) return;
    const std::string& item = cteListBox->Items().Strings(index);
    std::string name = ItemKey(item), text;
    editing_ = true;
    cteNameBox->SetText(name);
    cteDescBox->SetText(item.substr(item.find('\t') + 1));
    if (!model_.FindTemplate(name, text)) text.clear();
    SetMemoText(SyntaxMemo1, text);
    SyntaxMemo1->Core().Undo().SetModified(false);
    editing_ = false;
    UpdateTemplateButtons();
}

void TOptionsDialog::UpdateTemplateButtons() {
    if (editing_) return;
    const std::string name = LowerCase(cteNameBox->Text());
    if (name.empty()) {
        SetButton(CodeTemplateButton1, false);
        SetButton(CodeTemplateButton2, false);
        return;
    }
    std::string stored;
    const bool listed = model_.FindTemplate(name, stored);
    SetButton(CodeTemplateButton1, !listed);
    SetButton(CodeTemplateButton2, listed);
    if (!listed) return;
    const bool same = HasExactItem(cteListBox, name + "\t" + cteDescBox->Text()) && TemplateText() == stored;
    SetButton(CodeTemplateButton2, true, same ? "Delete" : "Replace");
}

void TOptionsDialog::TemplateButton1() {
    const std::string name = LowerCase(cteNameBox->Text());
    if (name.empty()) return;
    model_.AddTemplate(name, cteDescBox->Text(), TemplateText());
    cteListBox->SetItemIndex(cteListBox->Items().Add(name + "\t" + cteDescBox->Text()));
    UpdateTemplateButtons();
}

void TOptionsDialog::TemplateButton2() {
    const std::string name = LowerCase(cteNameBox->Text());
    int listed = -1;
    for (int i = 0; i < cteListBox->Items().Count(); i++)
        if (ItemKey(cteListBox->Items().Strings(i)) == name) listed = i;
    if (CodeTemplateButton2->Caption() == "Delete") {
        if (listed >= 0) cteListBox->Items().Delete(listed);
        model_.DeleteTemplate(name);
        cteListBox->SetItemIndex(std::min(listed, cteListBox->Items().Count() - 1));
    } else {
        model_.AddTemplate(name, cteDescBox->Text(), TemplateText());
        if (listed >= 0) cteListBox->Items().Delete(listed);
        cteListBox->SetItemIndex(cteListBox->Items().Add(name + "\t" + cteDescBox->Text()));
        SyntaxMemo1->Core().Undo().SetModified(false);
    }
    UpdateTemplateButtons();
}

