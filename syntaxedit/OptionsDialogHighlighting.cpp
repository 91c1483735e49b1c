// The options dialog's highlighting page: the elements, their attributes and
// colours, the font, and the preview.
#include <cstdlib>
#include <set>

#include "OptionsDialog.h"
#include "OptionsDialogLayout.h"

using namespace optionsdialog;

namespace {

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

}  // namespace

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
    FontNameBox->OnChange = [this](TObject*) { FontChanged(false); };
    // A size from the list comes to OnSelect and then to OnChange; a typed
    // one to OnChange alone.
    FontSizeBox->OnSelect = [this](TObject*) {
        FontChanged(false);
        sizeChosen_ = true;
    };
    FontSizeBox->OnChange = [this](TObject*) {
        if (!sizeChosen_) FontChanged(true);
        sizeChosen_ = false;
    };
    FEditor = Place(new TSyntaxMemo(p), 6, 186, 450, 136);
    FEditor->SetReadOnly(true);
    FEditor->OnMouseUp = [this](TObject*, TMouseButton, TShiftState, int x, int y) { PreviewClicked(x, y); };
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

void TOptionsDialog::FontChanged(bool sizeTyped) {
    if (editing_) return;
    int n = FontNameBox->ItemIndex(), s = FontSizeBox->ItemIndex();
    std::string name = n >= 0 ? FontNameBox->Items().Strings(n) : model_.FontName();
    int32_t size = model_.FontSize();
    if (sizeTyped) {
        // What is no size yet (an empty box, a 0) changes nothing.
        int32_t typed = TOptionsModel::FontSizeValue(FontSizeBox->Text());
        if (typed < 0) return;
        size = typed;
    } else if (s >= 0) {
        size = ToInt(FontSizeBox->Items().Strings(s));
    }
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

