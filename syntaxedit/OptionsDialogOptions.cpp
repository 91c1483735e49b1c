// The options dialog's options page: option check boxes, wrap column,
// indent step, gutter and right margin, tab columns and tab stop.
#include <memory>

#include "OptionsDialog.h"
#include "OptionsDialogLayout.h"
#include "ui/core/Prompter.h"

using namespace optionsdialog;

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
    WrapColumnBox->SetMaxLength(5);
    IndentStepBox->SetMaxLength(2);
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
    // The preview keeps the number to the editor's range (without the
    // highlighting page an editor of the dialog's own does); the box shows
    // what it took.
    std::unique_ptr<TSyntaxMemo> scratch(FEditor ? nullptr : new TSyntaxMemo(nullptr));
    TSyntaxMemoCore& editor = FEditor ? FEditor->Core() : scratch->Core();
    wrapColumn ? model_.SetWrapAtColumn(editor, v) : model_.SetIndentStep(editor, v);
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

