// wisEditMask: the four-page wizard that edits one mask. A shell over
// EditMaskModel: the window shows the model's view and forwards its events.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "masks/BasicForm.h"
#include "masks/core/EditMaskModel.h"
#include "ui/ComCtrls.h"
#include "ui/Form.h"
#include "ui/StdCtrls.h"

class MaskCollection;

class TEditMaskWizard : public TForm {
public:
    TEditMaskWizard();

    // Edits mask `index` of masks modally, owned by owner. Finish writes the
    // working copy back; Cancel and the frame's close box change nothing.
    void ShowDialog(int32_t index, MaskCollection& masks, TForm* owner);
    bool Finished() const { return model_.Finished; }
    void SetFinished(bool f) { model_.Finished = f; }
    const EditMaskModel& Model() const { return model_; }

    // Page 0.
    TLabel *lblMaskName, *lblDepend1, *lblSerchMethod;
    TBasicTextBox* edMaskName;
    TComboBox* comboDepend;
    TGroupBox* frmDependType;
    TRadioButton *rbSearchAfter, *rbSearchIn;
    // Page 1.
    TLabel* lblValue;
    TBasicTextBox* edValue;
    TListBox* lstValue;
    TButton *btnAddValue, *btnModifyValue, *btnRemoveValue;
    // Page 2.
    TGroupBox *frmMaskType, *frmBrowserType;
    TLabel *lblMaskType, *lblDisplay1;
    TRadioButton *sbTextRadio, *rbLinkRadio, *rbAddressRadio, *rbGeneratedRadio;
    TRadioButton *rbListRadio, *rbBrowserRadio, *rbDependRadio;
    // Page 3.
    TLabel *lblMaxFound, *lblPriority, *lblHidden, *lblCanCompile;
    TBasicTextBox *edMaxFound, *edPriority;
    TUpDown *udMaxFound, *udPriority;
    TCheckBox *CheckHidden, *CheckCanCompile;
    // Always shown.
    TButton *btnBack, *btnNext, *btnFinish, *btnCancel;

private:
    void BuildPage0();
    void BuildPage1();
    void BuildPage2();
    void BuildPage3();
    void BuildButtons();
    void ShowPage(int32_t page);
    void HidePages(int32_t page);
    void LoadControls();
    void StoreFields();
    std::vector<std::string> ListValues() const;
    void ValueClicked();
    void RemoveValue();

    EditMaskModel model_;
    // Each page's controls and the left edge (twips) they are shown at.
    std::vector<std::pair<TWinControl*, int>> pages_[4];
    bool loading_ = false;
};
