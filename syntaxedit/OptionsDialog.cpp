// The options dialog: its frame, filling the pages, OK and running it. The
// pages' controls and handlers are in OptionsDialog<Page>.cpp.
#include "OptionsDialog.h"

#include "OptionsDialogLayout.h"
#include "ui/core/Prompter.h"

using namespace optionsdialog;

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

void TOptionsDialog::FormShow() {
    editing_ = true;
    if (OptionsPage) FillOptionsPage();
    if (HighlightingPage) FillHighlightingPage();
    if (KeyMappingsPage) FillKeysPage();
    if (AutoCorrectPage) FillAutoCorrectPage();
    if (TemplatesPage) FillTemplatesPage();
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

void TOptionsDialog::OkClicked() {
    error_ = false;
    std::string failure = KeyMappingsPage ? model_.ApplyKeys(commands_) : std::string();
    // Settings that cannot be stored keep the dialog open, nothing written back.
    if (failure.empty()) failure = model_.PrepareCommit();
    if (!failure.empty()) {
        error_ = true;
        Prompter().ShowMessageBox(failure, "Editor Options", MB_OK | MB_ICONERROR);
        return;
    }
    SetModalResult(mrOk);
}

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
