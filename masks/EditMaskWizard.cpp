#include "masks/EditMaskWizard.h"

#include "masks/core/MaskCollection.h"
#include "masks/core/MaskTexts.h"

namespace {
TLabel* MakeLabel(TWinControl* parent, const char* name, const std::string& caption, int left, int top, int width,
                  int height = 255) {
    auto* l = new TLabel(parent);
    l->SetName(name);
    l->SetCaption(caption);
    SetBoundsTwips(*l, left, top, width, height);
    return l;
}

TRadioButton* MakeRadio(TWinControl* parent, const char* name, const std::string& caption, int left, int top) {
    auto* r = new TRadioButton(parent);
    r->SetName(name);
    r->SetCaption(caption);
    SetBoundsTwips(*r, left, top, 2400, 255);
    return r;
}

TBasicTextBox* MakeTextBox(TWinControl* parent, const char* name, int left, int top, int width) {
    auto* e = new TBasicTextBox(parent);
    e->SetName(name);
    SetBoundsTwips(*e, left, top, width, 315);
    return e;
}

// Selects the radio at `shown` (-1: none) without raising its click.
void SelectRadio(const std::vector<TRadioButton*>& group, int32_t shown) {
    for (size_t k = 0; k < group.size(); ++k) group[k]->SetChecked(static_cast<int32_t>(k) == shown, true);
}
}  // namespace

TEditMaskWizard::TEditMaskWizard() : TForm(nullptr) {
    SetName("wisEditMask");
    SetCaption(MaskTexts::kEditMask);
    SetBorderStyle(bsDialog);
    Position = poOwnerFormCenter;
    BuildPage0();
    BuildPage1();
    BuildPage2();
    BuildPage3();
    BuildButtons();
    for (auto& page : pages_)
        for (auto& c : page) c.first->Hide();
    SetClientSizeTwips(*this, 6600, 4500);
}

void TEditMaskWizard::BuildPage0() {
    lblMaskName = MakeLabel(this, "lblMaskName", "Name:", 960, 240, 4680);
    edMaskName = MakeTextBox(this, "edMaskName", 960, 510, 4680);
    lblDepend1 = MakeLabel(this, "lblDepend1", "Parent property:", 960, 960, 4680);
    comboDepend = new TComboBox(this);
    comboDepend->SetName("comboDepend");
    comboDepend->SetStyle(csDropDownList);  // a parent can only be picked from the list
    SetBoundsTwips(*comboDepend, 960, 1230, 4680, 315);
    frmDependType = new TGroupBox(this);
    frmDependType->SetName("frmDependType");
    SetBoundsTwips(*frmDependType, 960, 1740, 4680, 1200);
    lblSerchMethod = MakeLabel(frmDependType, "lblSerchMethod", "Search properties:", 120, 300, 1800);
    rbSearchAfter = MakeRadio(frmDependType, "rbSearchAfter", "After parent values", 2040, 300);
    rbSearchIn = MakeRadio(frmDependType, "rbSearchIn", "In parent values", 2040, 660);
    pages_[0] = {{lblMaskName, 960}, {edMaskName, 960}, {lblDepend1, 960}, {comboDepend, 960}, {frmDependType, 960}};

    edMaskName->OnChange = [this](TObject*) {
        model_.NameChanged(edMaskName->Text());
        btnFinish->SetEnabled(model_.FinishEnabled());
    };
    comboDepend->OnChange = [this](TObject*) {
        if (loading_) return;
        model_.ParentPicked(comboDepend->Text());
        rbSearchAfter->SetEnabled(model_.DependEnabled());
        rbSearchIn->SetEnabled(model_.DependEnabled());
    };
    rbSearchAfter->OnClick = [this](TObject*) { model_.SetDependType(1); };
    rbSearchIn->OnClick = [this](TObject*) { model_.SetDependType(2); };
}

void TEditMaskWizard::BuildPage1() {
    lblValue = MakeLabel(this, "lblValue", "Set up keywords to search:", 360, 240, 5880);
    edValue = MakeTextBox(this, "edValue", 360, 510, 5880);
    lstValue = new TListBox(this);
    lstValue->SetName("lstValue");
    SetBoundsTwips(*lstValue, 360, 930, 5880, 2055);
    btnAddValue = MakeButton(this, "btnAddValue", "Add", 360, 3120, 1215);
    btnModifyValue = MakeButton(this, "btnModifyValue", "Modify", 1680, 3120, 1215);
    btnRemoveValue = MakeButton(this, "btnRemoveValue", "Remove", 3000, 3120, 1215);
    pages_[1] = {{lblValue, 360}, {edValue, 360}, {lstValue, 360},
                 {btnAddValue, 360}, {btnModifyValue, 1680}, {btnRemoveValue, 3000}};

    edValue->OnChange = [this](TObject*) { btnAddValue->SetEnabled(!edValue->Text().empty()); };
    lstValue->OnClick = [this](TObject*) { ValueClicked(); };
    btnAddValue->OnClick = [this](TObject*) { lstValue->Items().Add(edValue->Text()); };
    btnModifyValue->OnClick = [this](TObject*) {
        const int i = lstValue->ItemIndex();
        if (i >= 0) lstValue->Items().SetStrings(i, edValue->Text());
    };
    btnRemoveValue->OnClick = [this](TObject*) { RemoveValue(); };
}

void TEditMaskWizard::BuildPage2() {
    frmMaskType = new TGroupBox(this);
    frmMaskType->SetName("frmMaskType");
    frmMaskType->SetCaption("Type:");
    SetBoundsTwips(*frmMaskType, 600, 120, 5400, 1560);
    lblMaskType = MakeLabel(frmMaskType, "lblMaskType", "Select the mask type:", 120, 300, 5160);
    sbTextRadio = MakeRadio(frmMaskType, "sbTextRadio", "Text", 240, 660);
    rbLinkRadio = MakeRadio(frmMaskType, "rbLinkRadio", "Link", 2760, 660);
    rbAddressRadio = MakeRadio(frmMaskType, "rbAddressRadio", "Address", 240, 1020);
    rbGeneratedRadio = MakeRadio(frmMaskType, "rbGeneratedRadio", "System generated", 2760, 1020);
    frmBrowserType = new TGroupBox(this);
    frmBrowserType->SetName("frmBrowserType");
    frmBrowserType->SetCaption("Display result in:");
    SetBoundsTwips(*frmBrowserType, 600, 1800, 5400, 1560);
    lblDisplay1 = MakeLabel(frmBrowserType, "lblDisplay1", "Found properties would be displayed in:", 120, 300, 5160);
    rbListRadio = MakeRadio(frmBrowserType, "rbListRadio", "List", 240, 660);
    rbBrowserRadio = MakeRadio(frmBrowserType, "rbBrowserRadio", "Browser ", 2760, 660);
    rbDependRadio = MakeRadio(frmBrowserType, "rbDependRadio", "With parent only", 240, 1020);
    pages_[2] = {{frmMaskType, 600}, {frmBrowserType, 600}};

    TRadioButton* types[] = {sbTextRadio, rbLinkRadio, rbAddressRadio, rbGeneratedRadio};
    for (int32_t t = 0; t < 4; ++t) types[t]->OnClick = [this, t](TObject*) { model_.SetMaskType(t); };
    TRadioButton* views[] = {rbListRadio, rbBrowserRadio, rbDependRadio};
    for (int32_t t = 0; t < 3; ++t) views[t]->OnClick = [this, t](TObject*) { model_.SetBrowserType(t); };
}

void TEditMaskWizard::BuildPage3() {
    lblMaxFound = MakeLabel(this, "lblMaxFound", "Finish search new values when found more then:", 1200, 240, 2640, 480);
    lblMaxFound->WordWrap = true;
    edMaxFound = MakeTextBox(this, "edMaxFound", 3960, 300, 1200);
    udMaxFound = new TUpDown(this);
    udMaxFound->SetName("udMaxFound");
    SetBoundsTwips(*udMaxFound, 5160, 300, 255, 315);
    udMaxFound->SetMin(-1);
    udMaxFound->SetMax(9999);
    lblPriority = MakeLabel(this, "lblPriority", "Search priority:", 1200, 960, 2640);
    edPriority = MakeTextBox(this, "edPriority", 3960, 900, 1200);
    udPriority = new TUpDown(this);
    udPriority->SetName("udPriority");
    SetBoundsTwips(*udPriority, 5160, 900, 255, 315);
    udPriority->SetMax(10);
    lblHidden = MakeLabel(this, "lblHidden", "Hidden:", 1200, 1500, 2640);
    CheckHidden = new TCheckBox(this);
    CheckHidden->SetName("CheckHidden");
    SetBoundsTwips(*CheckHidden, 3960, 1500, 300, 255);
    lblCanCompile = MakeLabel(this, "lblCanCompile", "Translate format:", 1200, 1980, 2640);
    CheckCanCompile = new TCheckBox(this);
    CheckCanCompile->SetName("CheckCanCompile");
    SetBoundsTwips(*CheckCanCompile, 3960, 1980, 300, 255);
    pages_[3] = {{lblMaxFound, 1200}, {edMaxFound, 3960}, {udMaxFound, 5160}, {lblPriority, 1200},
                 {edPriority, 3960}, {udPriority, 5160}, {lblHidden, 1200}, {CheckHidden, 3960},
                 {lblCanCompile, 1200}, {CheckCanCompile, 3960}};

    // Only the buttons' clicks count (also at the ends of their ranges): the
    // controls' own positions are never set or read.
    udMaxFound->OnClick = [this](TObject*, TUDBtnType button) {
        button == btNext ? model_.MaxFoundUp() : model_.MaxFoundDown();
        edMaxFound->SetText(model_.MaxFoundText());
    };
    udPriority->OnClick = [this](TObject*, TUDBtnType button) {
        button == btNext ? model_.PriorityUp() : model_.PriorityDown();
        edPriority->SetText(model_.PriorityText());
    };
}

void TEditMaskWizard::BuildButtons() {
    btnBack = MakeButton(this, "btnBack", "<<Back", 1800, 3960);
    btnNext = MakeButton(this, "btnNext", "Next>>", 3000, 3960);
    btnFinish = MakeButton(this, "btnFinish", "Finish", 4200, 3960);
    btnCancel = MakeButton(this, "btnCancel", "Cancel", 5400, 3960);
    btnFinish->ModalResult = mrOk;
    btnCancel->ModalResult = mrCancel;
    btnBack->OnClick = [this](TObject*) {
        if (model_.Page() == 0) return;
        HidePages(model_.Page());
        model_.Back();
        ShowPage(model_.Page());
    };
    btnNext->OnClick = [this](TObject*) {
        if (model_.Page() == 3) return;
        HidePages(model_.Page());
        model_.Next();
        ShowPage(model_.Page());
    };
    btnFinish->OnClick = [this](TObject*) { StoreFields(); };
    btnCancel->OnClick = [this](TObject*) { model_.Close(DialogClose::Cancel, {}); };
}

void TEditMaskWizard::ShowPage(int32_t page) {
    if (page < 0 || page > 3) return;
    SetCaption(model_.Caption());
    for (auto& c : pages_[page]) {
        SetLeftTwips(*c.first, c.second);
        c.first->Show();
    }
    btnBack->SetEnabled(model_.BackEnabled());
    btnNext->SetEnabled(model_.NextEnabled());
}

void TEditMaskWizard::HidePages(int32_t page) {
    if (page < 0 || page > 3) return;
    for (auto& c : pages_[page]) c.first->Hide();
}

std::vector<std::string> TEditMaskWizard::ListValues() const {
    std::vector<std::string> values;
    for (int i = 0; i < lstValue->Items().Count(); ++i) values.push_back(lstValue->Items().Strings(i));
    return values;
}

void TEditMaskWizard::StoreFields() {
    model_.Hidden = CheckHidden->Checked();
    model_.CanCompile = CheckCanCompile->Checked();
    // The parent box is a drop-down list: its text is the parent picked last.
    model_.Close(DialogClose::Ok, ListValues());
}

void TEditMaskWizard::ValueClicked() {
    const int i = lstValue->ItemIndex();
    if (i >= 0) edValue->SetText(lstValue->Items().Strings(i));
}

void TEditMaskWizard::RemoveValue() {
    std::vector<std::string> values = ListValues();
    const ValueListRemoval r = RemoveValueAt(values, lstValue->ItemIndex() + 1);
    if (r.Selected < 0) return;
    lstValue->Items().Delete(lstValue->ItemIndex());
    lstValue->SetItemIndex(r.Selected - 1);
    edValue->SetText(r.EditText);
}

void TEditMaskWizard::LoadControls() {
    loading_ = true;
    edMaskName->SetText(model_.MaskName());
    comboDepend->Items().Clear();
    for (const std::string& p : model_.Parents()) comboDepend->Items().Add(p);
    const std::vector<std::string>& parents = model_.Parents();
    for (size_t k = 0; k < parents.size(); ++k)
        if (parents[k] == model_.Parent()) comboDepend->SetItemIndex(static_cast<int>(k));
    CheckHidden->SetChecked(model_.Hidden, true);
    CheckCanCompile->SetChecked(model_.CanCompile, true);
    lstValue->Items().Clear();
    for (const std::string& v : model_.Values()) lstValue->Items().Add(v);
    edValue->SetText("");
    SelectRadio({sbTextRadio, rbLinkRadio, rbAddressRadio, rbGeneratedRadio}, model_.MaskTypeShown());
    SelectRadio({rbSearchAfter, rbSearchIn}, model_.DependShown() - 1);
    rbSearchAfter->SetEnabled(model_.DependEnabled());
    rbSearchIn->SetEnabled(model_.DependEnabled());
    SelectRadio({rbListRadio, rbBrowserRadio, rbDependRadio}, model_.BrowserTypeShown());
    edMaxFound->SetText(model_.MaxFoundText());
    edPriority->SetText(model_.PriorityText());
    loading_ = false;
}

void TEditMaskWizard::ShowDialog(int32_t index, MaskCollection& masks, TForm* owner) {
    model_.Load(index, masks);
    LoadControls();
    for (int32_t p = 0; p < 4; ++p) HidePages(p);
    ShowPage(0);
    if (owner) SetWindowLongPtrA(Handle(), GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(owner->Handle()));
    // A close by the frame leaves the model's Finished False: it was reset by Load.
    if (ShowModal() != mrOk) model_.Close(DialogClose::CloseBox, {});
    model_.Store(index, masks);
}
