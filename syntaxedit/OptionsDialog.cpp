#include "OptionsDialog.h"

#include <algorithm>
#include <set>

#include "runtime/core/SysUtils.h"
#include "ui/core/Prompter.h"

namespace {

template <class T>
T* Place(T* c, int left, int top, int width, int height, const std::string& caption = std::string()) {
    c->SetBounds(left, top, width, height);
    if (!caption.empty()) c->SetCaption(caption);
    return c;
}

TLabel* LabelAt(TWinControl* parent, int left, int top, const std::string& text, int width = 120) {
    return Place(new TLabel(parent), left, top, width, 14, text);
}

TGroupBox* Group(TWinControl* parent, int left, int top, int width, int height, const std::string& text) {
    return Place(new TGroupBox(parent), left, top, width, height, text);
}

int ToInt(const std::string& s) { return StrToInt(Trim(s)); }

int CALLBACK AddFontName(const LOGFONTA* lf, const TEXTMETRICA*, DWORD, LPARAM data) {
    if (lf->lfFaceName[0] != '@') reinterpret_cast<std::set<std::string>*>(data)->insert(lf->lfFaceName);
    return 1;
}

std::vector<std::string> ScreenFonts() {
    std::set<std::string> names;
    HDC dc = GetDC(nullptr);
    LOGFONTA lf{};
    lf.lfCharSet = DEFAULT_CHARSET;
    EnumFontFamiliesExA(dc, &lf, AddFontName, reinterpret_cast<LPARAM>(&names), 0);
    ReleaseDC(nullptr, dc);
    return std::vector<std::string>(names.begin(), names.end());
}

// pitch: the hint the font is made with (the editor's own font is fixed).
std::string FaceDrawnFor(const std::string& face, DWORD pitch) {
    HFONT font = CreateFontA(-13, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                             DEFAULT_QUALITY, pitch, face.c_str());
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font);
    char name[LF_FACESIZE] = {};
    GetTextFaceA(dc, LF_FACESIZE, name);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    DeleteObject(font);
    return name;
}

std::string PairText(const TKeyPair& p) {
    return "[" + ShortCutToText(p.Key1) + "]  [" + (p.Key2 ? ShortCutToText(p.Key2) : std::string("<none>")) + "]";
}

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

void SetMemoText(TSyntaxMemo* memo, const std::string& text) {
    memo->Core().Message(smmsg::SetText, 0, reinterpret_cast<intptr_t>(text.c_str()));
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

// ---- the dialog

TOptionsDialog::TOptionsDialog(TOptionsModel& model, unsigned visiblePages)
    : TForm(nullptr), model_(model), visiblePages_(visiblePages) {
    SetName("OptionsDialog");
    SetCaption("Editor Options");
    SetBorderStyle(bsDialog);
    Position = poScreenCenter;
    SetBounds(0, 0, 486, 430);
    PageControl1 = Place(new TPageControl(this), 6, 6, 468, 356);
    OKButton = Place(new TButton(this), 318, 370, 75, 25, "OK");
    OKButton->SetDefault(true);
    OKButton->OnClick = [this](TObject*) { OkClicked(); };
    CancelButton = Place(new TButton(this), 399, 370, 75, 25, "Cancel");
    CancelButton->ModalResult = mrCancel;
    if (visiblePages & ppOPTIONS) BuildOptionsPage();
    if (visiblePages & ppHIGHLIGHTING) BuildHighlightingPage();
    if (visiblePages & ppKEYS) BuildKeysPage();
    if (visiblePages & ppAUTOCORRECT) BuildAutoCorrectPage();
    if (visiblePages & ppTEMPLATES) BuildTemplatesPage();
}

void TOptionsDialog::BuildOptionsPage() {
    TWinControl* p = OptionsPage = PageControl1->AddPage("Options");
    TGroupBox* print = Group(p, 6, 4, 128, 150, "Print Options");
    TGroupBox* general = Group(p, 140, 4, 318, 150, "General options");
    int printRow = 0, generalRow = 0;
    for (int i = 0; i < kOptionCheckCount; i++) {
        const TOptionCheck& o = kOptionChecks[i];
        const bool isPrint = o.Bit == 16 || (o.Bit >= 32 && o.Bit <= 512);
        TCheckBox* box;
        if (isPrint) {
            box = Place(new TCheckBox(print), 8, 18 + 21 * printRow++, 116, 18, o.Caption);
        } else {
            const int col = generalRow % 2, row = generalRow / 2;
            generalRow++;
            // Wide enough for "Block cursor for Overwrite" in the second column.
            box = Place(new TCheckBox(general), 8 + 132 * col, 18 + 18 * row, col ? 176 : 128, 18, o.Caption);
        }
        box->SetName(o.Name);
        box->Tag = o.Bit;
        box->OnClick = [this, i](TObject*) { OptionClicked(i); };
        OptionBoxes.push_back(box);
    }
    struct Box {
        TEdit** edit;
        const char* label;
        int left, top, width, labelWidth;
    } boxes[] = {
        {&WrapColumnBox, "Word wrap column", 6, 166, 50, 136},
        {&IndentStepBox, "Block indent step size", 148, 166, 50, 150},
        {&LeftBorderWidthBox, "Gutter width", 6, 214, 50, 136},
        {&RightMarginWidthBox, "Right margin", 148, 214, 50, 150},
        {&TabColumnsBox, "Tab Columns", 6, 262, 200, 136},
        {&DeftabBox, "Tab stop", 300, 262, 50, 100},
    };
    for (const Box& b : boxes) {
        LabelAt(p, b.left, b.top, b.label, b.labelWidth);
        *b.edit = Place(new TEdit(p), b.left, b.top + 16, b.width, 21);
    }
    // The number boxes take digits and Backspace only.
    for (TEdit* box : {WrapColumnBox, IndentStepBox, LeftBorderWidthBox, RightMarginWidthBox})
        box->OnKeyPress = [](TObject*, char& key) {
            if (key != '\b' && (key < '0' || key > '9')) key = 0;
        };
    LeftBorderWidthBox->SetMaxLength(3);
    RightMarginWidthBox->SetMaxLength(3);
    GutterSpin = new TUpDown(p);
    MarginSpin = new TUpDown(p);
    for (TUpDown* spin : {GutterSpin, MarginSpin}) {
        spin->SetMin(0);
        spin->SetMax(199);
    }
    GutterSpin->SetAssociate(LeftBorderWidthBox);
    MarginSpin->SetAssociate(RightMarginWidthBox);
    WrapColumnBox->OnExit = [this](TObject*) { NumberExit(WrapColumnBox, true); };
    IndentStepBox->OnExit = [this](TObject*) { NumberExit(IndentStepBox, false); };
    LeftBorderWidthBox->OnChange = [this](TObject*) { MarginChanged(LeftBorderWidthBox, true); };
    RightMarginWidthBox->OnChange = [this](TObject*) { MarginChanged(RightMarginWidthBox, false); };
    TabColumnsBox->OnExit = [this](TObject*) { TabsExit(true); };
    DeftabBox->OnExit = [this](TObject*) { TabsExit(false); };
}

void TOptionsDialog::BuildHighlightingPage() {
    TWinControl* p = HighlightingPage = PageControl1->AddPage("Highlighting");
    LabelAt(p, 6, 4, "Current language style", 156);
    LangNameBox = Place(new TEdit(p), 6, 20, 150, 21);
    LangNameBox->SetEnabled(false);
    LabelAt(p, 6, 46, "Element");
    SynElementsBox = Place(new TListBox(p), 6, 62, 150, 110);
    SynElementsBox->OnClick = [this](TObject*) { ShowElement(SynElementsBox->ItemIndex()); };
    TGroupBox* attrs = Group(p, 164, 4, 120, 84, "Text attributes");
    UseBoldBox = Place(new TCheckBox(attrs), 8, 18, 100, 18, "Bold");
    UseItalicBox = Place(new TCheckBox(attrs), 8, 39, 100, 18, "Italic");
    UseUnderlineBox = Place(new TCheckBox(attrs), 8, 60, 100, 18, "Underline");
    UseBoldBox->OnClick = [this](TObject*) { AttributeClicked(1, UseBoldBox); };
    UseItalicBox->OnClick = [this](TObject*) { AttributeClicked(2, UseItalicBox); };
    UseUnderlineBox->OnClick = [this](TObject*) { AttributeClicked(4, UseUnderlineBox); };
    TGroupBox* defaults = Group(p, 292, 4, 164, 84, "Use defaults for");
    UseDefForeBox = Place(new TCheckBox(defaults), 8, 18, 140, 18, "Foreground");
    UseDefBackBox = Place(new TCheckBox(defaults), 8, 39, 140, 18, "Background");
    UseDefForeBox->Tag = 1;
    UseDefForeBox->OnClick = [this](TObject*) { DefaultClicked(true); };
    UseDefBackBox->OnClick = [this](TObject*) { DefaultClicked(false); };
    TLabel* fg = LabelAt(p, 164, 96, "Foreground");
    TLabel* bg = LabelAt(p, 292, 96, "Background");
    ForeButton = Place(new TZOVColorButton(p), fg->Left(), fg->Top() + fg->Height() + 4, 124, 22);
    BackButton = Place(new TZOVColorButton(p), bg->Left(), bg->Top() + bg->Height() + 4, 124, 22);
    ForeButton->SetName("ForeButton");
    BackButton->SetName("BackButton");
    ForeButton->OnColorChange = [this](TObject*) { ColourChanged(); };
    BackButton->OnColorChange = [this](TObject*) { ColourChanged(); };
    LabelAt(p, 164, 142, "Font");
    FontNameBox = Place(new TComboBox(p), 164, 158, 180, 21);
    FontNameBox->SetStyle(csDropDownList);
    for (const std::string& f : ScreenFonts()) FontNameBox->Items().Add(f);
    LabelAt(p, 352, 142, "Size");
    FontSizeBox = Place(new TComboBox(p), 352, 158, 60, 21);
    for (int size : {8, 9, 10, 11, 12, 14, 16, 18, 20, 22, 24, 26, 30}) FontSizeBox->Items().Add(std::to_string(size));
    FontNameBox->OnChange = [this](TObject*) { FontChanged(); };
    FontSizeBox->OnChange = [this](TObject*) { FontChanged(); };
    FEditor = Place(new TSyntaxMemo(p), 6, 186, 450, 136);
    FEditor->SetReadOnly(true);
    FEditor->OnMouseUp = [this](TObject*, TMouseButton, TShiftState, int x, int y) { PreviewClicked(x, y); };
}

void TOptionsDialog::BuildKeysPage() {
    TWinControl* p = KeyMappingsPage = PageControl1->AddPage("Key assignments");
    LabelAt(p, 6, 4, "Commands");
    CommandDescListBox = Place(new TListBox(p), 6, 20, 284, 302);
    CommandDescListBox->OnClick = [this](TObject*) { ShowCommand(CommandDescListBox->ItemIndex()); };
    LabelAt(p, 304, 4, "Uses keys");
    CommandKeysListBox = Place(new TListBox(p), 304, 20, 152, 120);
    CommandKeysListBox->OnClick = [this](TObject*) { ShowPair(CommandKeysListBox->ItemIndex()); };
    CommandKeysListBox->OnExit = [this](TObject*) { DropEmptyPairs(); };
    LabelAt(p, 304, 152, "Key 1", 60);
    Key1Box = Place(new TSM_HotKey(p), 304, 168, 152, 21);
    LabelAt(p, 304, 192, "Key 2", 60);
    Key2Box = Place(new TSM_HotKey(p), 304, 208, 152, 21);
    for (TWinControl* c : std::initializer_list<TWinControl*>{CommandDescListBox, CommandKeysListBox, Key1Box, Key2Box})
        c->OnEnter = [this, c](TObject*) { keyFocus_ = c; };
    Key1Box->OnExit = [this](TObject*) { StoreKey(true); };
    Key2Box->OnExit = [this](TObject*) { StoreKey(false); };
    AddButton = Place(new TButton(p), 304, 244, 72, 25, "Add...");
    DeleteButton = Place(new TButton(p), 384, 244, 72, 25, "Delete");
    AddButton->OnClick = [this](TObject*) {
        int c = CommandDescListBox->ItemIndex();
        if (c < 0) return;
        commands_[static_cast<size_t>(c)].Pairs.push_back(TKeyPair());
        commands_[static_cast<size_t>(c)].Changed = true;
        ShowCommand(c);
        CommandKeysListBox->SetItemIndex(CommandKeysListBox->Items().Count() - 1);
        ShowPair(CommandKeysListBox->ItemIndex());
        Key1Box->SetFocus();
    };
    DeleteButton->OnClick = [this](TObject*) {
        int c = CommandDescListBox->ItemIndex(), k = CommandKeysListBox->ItemIndex();
        if (c < 0 || k < 0) return;
        TCommandKeys& cmd = commands_[static_cast<size_t>(c)];
        if (k >= static_cast<int>(cmd.Pairs.size())) return;
        // From the second key's box only that key goes; else the whole pair.
        if (keyFocus_ == Key2Box) cmd.Pairs[static_cast<size_t>(k)].Key2 = 0;
        else cmd.Pairs.erase(cmd.Pairs.begin() + k);
        cmd.Changed = true;
        ShowCommand(c);
    };
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

void TOptionsDialog::FormShow() {
    editing_ = true;
    if (OptionsPage) FillOptionsPage();
    if (HighlightingPage) FillHighlightingPage();
    FillListPages();
    editing_ = false;
    if (HighlightingPage) ShowElement(0);
    // The first visible of Highlighting, Options, Key assignments, Auto
    // correct, Code templates is active.
    for (TTabSheet* page : {HighlightingPage, OptionsPage, KeyMappingsPage, AutoCorrectPage, TemplatesPage})
        if (page) {
            PageControl1->SetActivePage(page);
            break;
        }
}

void TOptionsDialog::FillOptionsPage() {
    for (int i = 0; i < kOptionCheckCount; i++)
        OptionBoxes[static_cast<size_t>(i)]->SetChecked((model_.Options() & kOptionChecks[i].Bit) != 0, true);
    OptionBoxes[8]->SetEnabled((model_.Options() & 1024) == 0);  // smart tab only without word wrap
    WrapColumnBox->SetText(std::to_string(model_.WrapAtColumn()));
    IndentStepBox->SetText(std::to_string(model_.IndentStep()));
    LeftBorderWidthBox->SetText(std::to_string(model_.Gutter()));
    RightMarginWidthBox->SetText(std::to_string(model_.RightMargin()));
    TabColumnsBox->SetText(model_.TabColumns());
    DeftabBox->SetText(std::to_string(model_.TabDefault()));
}

void TOptionsDialog::FillHighlightingPage() {
    LangNameBox->SetText(model_.LanguageName());
    SetMemoText(FEditor, model_.ExampleText());
    FEditor->Core().SetSelection(0, 0);
    model_.ApplyTo(FEditor->Core());
    elements_ = model_.Elements();
    SynElementsBox->Clear();
    for (const TElementItem& e : elements_) SynElementsBox->Items().Add(e.Name);
    SynElementsBox->SetItemIndex(0);
    // Without a font of its own the language draws in the editor's font; a
    // face that is not installed shows as the one drawn in its place.
    const bool own = model_.FontName().empty();
    std::string face = own ? FEditor->Core().FontName : model_.FontName();
    if (FontNameBox->Items().IndexOf(face) < 0) face = FaceDrawnFor(face, own ? FIXED_PITCH | FF_MODERN : DEFAULT_PITCH);
    FontNameBox->SetItemIndex(FontNameBox->Items().IndexOf(face));
    FontSizeBox->SetItemIndex(FontSizeBox->Items().IndexOf(std::to_string(model_.FontSize())));
}

void TOptionsDialog::FillListPages() {
    if (KeyMappingsPage) {
        commands_ = model_.Commands();
        CommandDescListBox->Clear();
        for (const TCommandKeys& c : commands_) CommandDescListBox->Items().Add(c.Name);
    }
    if (AutoCorrectPage) {
        AutoReplBox->Clear();
        for (const std::string& item : model_.AutoCorrectItems()) AutoReplBox->Items().Add(item);
        AutoReplActBox->SetText(model_.ActivationKeys());
        UpdateAutoButtons();
    }
    if (TemplatesPage) {
        cteListBox->Clear();
        for (const std::string& item : model_.TemplateItems()) cteListBox->Items().Add(item);
        cteHotkey->SetText(ShortCutToText(model_.TemplateHotKey()));
        model_.ApplyTo(SyntaxMemo1->Core());
        editing_ = false;
        UpdateTemplateButtons();
    }
}

int32_t TOptionsDialog::ElementCode() const {
    int i = SynElementsBox->ItemIndex();
    return i >= 0 && i < static_cast<int>(elements_.size()) ? elements_[static_cast<size_t>(i)].Code : -1;
}

void TOptionsDialog::RefreshPreview() {
    if (!FEditor) return;
    int32_t caret = FEditor->Core().Caret();
    model_.ApplyTo(FEditor->Core());
    FEditor->Core().SetSelection(caret, caret);
}

// ---- options page

void TOptionsDialog::OptionClicked(int i) {
    if (editing_) return;
    const TOptionCheck& o = kOptionChecks[i];
    model_.SetOption(o.Bit, OptionBoxes[static_cast<size_t>(i)]->Checked());
    OptionBoxes[8]->SetEnabled((model_.Options() & 1024) == 0);
    RefreshPreview();
}

void TOptionsDialog::MarginChanged(TEdit* box, bool gutter) {
    if (editing_) return;
    int32_t v = TOptionsModel::MarginValue(Trim(box->Text()));
    gutter ? model_.SetGutter(v) : model_.SetRightMargin(v);
    RefreshPreview();
    const std::string shown = std::to_string(v);
    if (box->Text() != shown) {
        editing_ = true;
        box->SetText(shown);
        editing_ = false;
    }
}

void TOptionsDialog::NumberExit(TEdit* box, bool wrapColumn) {
    // Non-numeric text raises the conversion error to the caller.
    int v = ToInt(box->Text());
    wrapColumn ? model_.SetWrapAtColumn(v) : model_.SetIndentStep(v);
    box->SetText(std::to_string(wrapColumn ? model_.WrapAtColumn() : model_.IndentStep()));
    RefreshPreview();
}

void TOptionsDialog::TabsExit(bool columns) {
    try {
        int32_t stop = columns ? model_.TabDefault() : ToInt(DeftabBox->Text());
        TSyntaxMemo scratch(nullptr);
        model_.SetTabs(scratch.Core(), columns ? TabColumnsBox->Text() : model_.TabColumns(), stop);
    } catch (const Exception& e) {
        Prompter().ShowMessageBox(e.Message(), "Editor Options", MB_OK | MB_ICONERROR);
    }
    TabColumnsBox->SetText(model_.TabColumns());
    DeftabBox->SetText(std::to_string(model_.TabDefault()));
    RefreshPreview();
}

// ---- highlighting page

void TOptionsDialog::ShowElement(int index) {
    if (index < 0 || index >= static_cast<int>(elements_.size())) return;
    const bool was = editing_;
    editing_ = true;
    TElementView v = model_.Element(elements_[static_cast<size_t>(index)].Code);
    for (TCheckBox* b : {UseBoldBox, UseItalicBox, UseUnderlineBox}) b->SetEnabled(v.AttributesEnabled);
    UseBoldBox->SetChecked(v.Bold, true);
    UseItalicBox->SetChecked(v.Italic, true);
    UseUnderlineBox->SetChecked(v.Underline, true);
    UseDefForeBox->SetEnabled(v.UseDefForeEnabled);
    UseDefForeBox->SetChecked(v.UseDefFore, true);
    UseDefBackBox->SetChecked(v.UseDefBack, true);
    ForeButton->SetColorValue(v.Fore);
    BackButton->SetColorValue(v.Back);
    ForeButton->SetEnabled(v.ForeEnabled);
    BackButton->SetEnabled(v.BackEnabled);
    editing_ = was;
}

void TOptionsDialog::AttributeClicked(uint8_t bit, TCheckBox* box) {
    if (editing_) return;
    model_.SetFontStyle(ElementCode(), bit, box->Checked());
    RefreshPreview();
}

void TOptionsDialog::ColourChanged() {
    if (editing_) return;
    model_.SetColours(ElementCode(), ForeButton->ColorValue(), BackButton->ColorValue());
    RefreshPreview();
}

void TOptionsDialog::DefaultClicked(bool fore) {
    if (editing_) return;
    model_.SetUseDefault(ElementCode(), fore, (fore ? UseDefForeBox : UseDefBackBox)->Checked());
    RefreshPreview();
    ShowElement(SynElementsBox->ItemIndex());
}

void TOptionsDialog::FontChanged() {
    if (editing_) return;
    int n = FontNameBox->ItemIndex(), s = FontSizeBox->ItemIndex();
    std::string name = n >= 0 ? FontNameBox->Items().Strings(n) : model_.FontName();
    int32_t size = s >= 0 ? ToInt(FontSizeBox->Items().Strings(s)) : model_.FontSize();
    model_.SetFont(name, size);
    RefreshPreview();
}

void TOptionsDialog::PreviewClicked(int x, int y) {
    // A second click on the same spot is no new choice.
    if (std::abs(x - lastClick_.x) <= 5 && std::abs(y - lastClick_.y) <= 6) return;
    lastClick_ = POINT{x, y};
    TSyntaxMemoCore& core = FEditor->Core();
    int32_t offset = core.OffsetOfPoint(x, y);
    core.SetSelection(offset, offset);
    int token = 255;
    if (core.LineCount() > 0) {
        int32_t start = 0;
        TLineNode* n = core.Store().NodeAtOffset(offset, &start);
        if (n && n->Styles && offset - start < n->Len) token = n->Styles[offset - start];
    }
    int i = model_.ElementOfToken(elements_, token);
    if (i >= 0) {
        SynElementsBox->SetItemIndex(i);
        ShowElement(i);
    }
}

// ---- key assignments page

void TOptionsDialog::ShowCommand(int index) {
    CommandKeysListBox->Clear();
    if (index < 0 || index >= static_cast<int>(commands_.size())) return;
    for (const TKeyPair& p : commands_[static_cast<size_t>(index)].Pairs) CommandKeysListBox->Items().Add(PairText(p));
    if (CommandKeysListBox->Items().Count() > 0) CommandKeysListBox->SetItemIndex(0);
    ShowPair(CommandKeysListBox->ItemIndex());
}

void TOptionsDialog::ShowPair(int index) {
    int c = CommandDescListBox->ItemIndex();
    TKeyPair p;
    if (c >= 0 && index >= 0 && index < static_cast<int>(commands_[static_cast<size_t>(c)].Pairs.size()))
        p = commands_[static_cast<size_t>(c)].Pairs[static_cast<size_t>(index)];
    Key1Box->SetHotKey(p.Key1);
    Key2Box->SetHotKey(p.Key2);
}

void TOptionsDialog::StoreKey(bool first) {
    int c = CommandDescListBox->ItemIndex();
    if (c < 0) return;
    TCommandKeys& cmd = commands_[static_cast<size_t>(c)];
    if (cmd.Pairs.empty()) return;
    int k = CommandKeysListBox->ItemIndex();
    if (k < 0 || k >= static_cast<int>(cmd.Pairs.size())) k = static_cast<int>(cmd.Pairs.size()) - 1;
    TKeyPair& p = cmd.Pairs[static_cast<size_t>(k)];
    uint16_t key = first ? Key1Box->HotKey() : Key2Box->HotKey();
    if ((first ? p.Key1 : p.Key2) == key) return;
    (first ? p.Key1 : p.Key2) = key;
    cmd.Changed = true;
    DropEmptyPairs();
    ShowCommand(c);
    CommandKeysListBox->SetItemIndex(std::min(k, CommandKeysListBox->Items().Count() - 1));
}

void TOptionsDialog::DropEmptyPairs() {
    int c = CommandDescListBox->ItemIndex();
    if (c < 0) return;
    auto& pairs = commands_[static_cast<size_t>(c)].Pairs;
    size_t before = pairs.size();
    pairs.erase(std::remove_if(pairs.begin(), pairs.end(), [](const TKeyPair& p) { return p.Key1 == 0; }),
                pairs.end());
    if (pairs.size() != before) ShowCommand(c);
}

void TOptionsDialog::OkClicked() {
    error_ = false;
    std::string failure = KeyMappingsPage ? model_.ApplyKeys(commands_) : std::string();
    if (!failure.empty()) {
        error_ = true;
        Prompter().ShowMessageBox(failure, "Editor Options", MB_OK | MB_ICONERROR);
        return;
    }
    SetModalResult(mrOk);
}

// ---- auto-correct page

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

// ---- templates page

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

// ---- running it

namespace {

// While the dialog runs the component highlights the preview and the template
// editor with the copy, and they are its only editors.
class TComponentSession {
public:
    TComponentSession(const TOptionsComponent* component, TOptionsModel& model, TOptionsDialog& dialog)
        : component_(component), editors_{dialog.FEditor, dialog.SyntaxMemo1} {
        if (!component_) return;
        component_->Install(&model.Copy());
        for (TSyntaxMemo* e : editors_)
            if (e) {
                e->SetParser(1, component_->Parser);
                e->SetActiveParser(1);
            }
    }
    ~TComponentSession() {
        if (!component_) return;
        for (TSyntaxMemo* e : editors_)
            if (e) e->SetParser(1, nullptr);
        component_->Install(nullptr);
    }

private:
    const TOptionsComponent* component_;
    TSyntaxMemo* editors_[2];
};

}  // namespace

bool ExecuteOptionsDialog(TSM_Settings& settings, unsigned visiblePages, const TOptionsComponent* component) {
    if ((visiblePages & kAllPropEdPages) == 0) return false;
    TOptionsModel model(settings);
    TOptionsDialog dialog(model, visiblePages);
    bool ok;
    {
        TComponentSession session(component, model, dialog);
        dialog.FormShow();
        ok = dialog.ShowModal() == mrOk;
    }
    if (ok) model.Commit();
    return ok;
}
