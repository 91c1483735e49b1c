#include "masks/AddFilterMaskDialog.h"

#include "masks/BasicForm.h"
#include "masks/BasicListView.h"

TAddFilterMaskDialog::TAddFilterMaskDialog(TForm* owner) : TForm(owner) {
    SetName("dlgAddFilterMask");
    SetCaption("Add Filter Mask");
    SetBorderStyle(bsDialog);
    Position = poOwnerFormCenter;
    lvMasks = new TListView(this);
    lvMasks->SetName("lvMasks");
    SetBoundsTwips(*lvMasks, 120, 120, 3600, 2400);
    cbNot = new TCheckBox(this);
    cbNot->SetName("cbNot");
    cbNot->SetCaption("Not");
    cbNot->Hint = "Test, if mask value not exists";
    SetBoundsTwips(*cbNot, 120, 2640, 1500, 255);
    cbOk = MakeButton(this, "cbOk", "OK", 1440, 3000);
    cbOk->ModalResult = mrOk;
    cbOk->SetDefault(true);
    cbCancel = MakeButton(this, "cbCancel", "Cancel", 2625, 3000);
    cbCancel->ModalResult = mrCancel;
    cbCancel->OnClick = [this](TObject*) { closed_ = true; };
    SetClientSizeTwips(*this, 3840, 3495);
    BasicListView::AddColumn(*lvMasks, "Masks", lvMasks->Width() - Twips(80));
    // A double click on a row is OK.
    lvMasks->OnDblClick = [this](TObject*) {
        if (SelectedRow() > 0) SetModalResult(mrOk);
    };
}

void TAddFilterMaskDialog::FillList() {
    BasicListView::Clear(*lvMasks);
    for (const auto& row : model_.Rows()) BasicListView::AddRow(*lvMasks, row.first, {}, row.second);
}

int32_t TAddFilterMaskDialog::SelectedRow() const { return BasicListView::SelectedRow(*lvMasks); }

void TAddFilterMaskDialog::Execute() {
    model_.Load();
    closed_ = false;
    cbNot->SetChecked(false, true);
    FillList();
    const int result = ShowModal();
    // The close box is Cancel as well: Ok never keeps a previous answer.
    model_.Close(result == mrOk ? DialogClose::Ok : closed_ ? DialogClose::Cancel : DialogClose::CloseBox,
                 SelectedRow(), cbNot->Checked());
}
