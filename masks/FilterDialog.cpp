#include "masks/FilterDialog.h"

#include "masks/BasicForm.h"
#include "masks/BasicListView.h"
#include "masks/core/MaskCollection.h"

TFilterDialog::TFilterDialog(TAddFilterMaskDialog& addDialog, TForm* owner) : TForm(owner), addDialog_(addDialog) {
    SetName("dlgFilter");
    SetCaption("Filters");
    SetBorderStyle(bsDialog);
    Position = poOwnerFormCenter;
    cbNew = MakeButton(this, "cbNew", "New", 120, 120);
    cbNew->Hint = "New filter";
    cbRemove = MakeButton(this, "cbRemove", "Remove", 1320, 120);
    cbRemove->Hint = "Remove filter";
    cbPrevious = MakeButton(this, "cbPrevious", "<", 3345, 120, 495);
    cbPrevious->Hint = "Previous filter";
    cbNext = MakeButton(this, "cbNext", ">", 3900, 120, 495);
    cbNext->Hint = "Next filter";
    lvFilter = new TListView(this);
    lvFilter->SetName("lvFilter");
    SetBoundsTwips(*lvFilter, 120, 615, 4275, 2280);
    cbAdd = MakeButton(this, "cbAdd", "Add", 120, 3015);
    cbAdd->Hint = "Add mask";
    cbRemoveMask = MakeButton(this, "cbRemoveMask", "Remove", 1320, 3015);
    cbRemoveMask->Hint = "Remove mask";
    cbOk = MakeButton(this, "cbOk", "OK", 2100, 3615);
    cbOk->ModalResult = mrOk;
    cbOk->SetDefault(true);
    cbCancel = MakeButton(this, "cbCancel", "Cancel", 3300, 3615);
    cbCancel->ModalResult = mrCancel;
    SetClientSizeTwips(*this, 4515, 4110);

    const int status = Twips(900);
    BasicListView::AddColumn(*lvFilter, "Status", status);
    BasicListView::AddColumn(*lvFilter, "Name", lvFilter->Width() - status - Twips(80));

    cbNew->OnClick = [this](TObject*) { model_.New(); ShowFilter(); };
    cbNext->OnClick = [this](TObject*) { model_.Next(); ShowFilter(); };
    cbPrevious->OnClick = [this](TObject*) { model_.Previous(); ShowFilter(); };
    cbRemove->OnClick = [this](TObject*) { model_.Remove(); ShowFilter(); };
    cbAdd->OnClick = [this](TObject*) { AddClicked(); };
    cbRemoveMask->OnClick = [this](TObject*) {
        model_.RemoveCondition(SelectedRow());
        ShowFilter();
    };
    cbCancel->OnClick = [this](TObject*) { closed_ = true; };
}

int32_t TFilterDialog::SelectedRow() const { return BasicListView::SelectedRow(*lvFilter); }

void TFilterDialog::ShowFilter() {
    SetCaption(model_.Caption());
    cbPrevious->SetEnabled(model_.PreviousEnabled());
    cbNext->SetEnabled(model_.NextEnabled());
    cbAdd->SetEnabled(model_.AddEnabled());
    cbRemoveMask->SetEnabled(model_.RemoveMaskEnabled());
    BasicListView::Clear(*lvFilter);
    for (const FilterRow& r : model_.Rows()) BasicListView::AddRow(*lvFilter, r.Status, {r.Name}, r.Tag);
}

void TFilterDialog::AddClicked() {
    addDialog_.Clear();
    for (const auto& row : model_.OfferedRows()) addDialog_.AddMask(row.first, row.second);
    addDialog_.Execute();
    if (addDialog_.Ok() && addDialog_.ActiveMask() > 0) model_.AddCondition(addDialog_.ActiveMask(), addDialog_.FlagNot());
    ShowFilter();
}

void TFilterDialog::Execute() {
    model_.Load();
    closed_ = false;
    ShowFilter();
    const int result = ShowModal();
    model_.Close(result == mrOk ? DialogClose::Ok : closed_ ? DialogClose::Cancel : DialogClose::CloseBox);
}

bool EditFilter(TFilterDialog& dialog, std::vector<FilterBlock>& Filters, const MaskCollection& Masks) {
    dialog.Model().Fill(Filters, Masks);
    dialog.Execute();
    if (!dialog.Ok()) return false;
    Filters = dialog.Model().Rebuild();
    return true;
}
