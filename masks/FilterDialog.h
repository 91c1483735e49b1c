// dlgFilter: edits the result filter one block at a time. A shell over
// FilterDialogModel; EditFilter is the window's driver around it.
#pragma once

#include <vector>

#include "masks/AddFilterMaskDialog.h"
#include "masks/core/FilterDialogModel.h"
#include "ui/ListView.h"
#include "ui/Form.h"
#include "ui/StdCtrls.h"

class MaskCollection;

class TFilterDialog : public TForm {
public:
    // addDialog: the one dlgAddFilterMask the Add button shows (not owned).
    TFilterDialog(TAddFilterMaskDialog& addDialog, TForm* owner = nullptr);

    FilterDialogModel& Model() { return model_; }
    // Shows the dialog modally; Ok() afterwards. The close box counts as Cancel.
    void Execute();
    bool Ok() const { return model_.Ok(); }

    TListView* lvFilter;
    TButton *cbNew, *cbRemove, *cbPrevious, *cbNext, *cbAdd, *cbRemoveMask, *cbOk, *cbCancel;

private:
    void ShowFilter();
    void AddClicked();
    int32_t SelectedRow() const;

    TAddFilterMaskDialog& addDialog_;
    FilterDialogModel model_;
    bool closed_ = false;
};

// The window's filter driver: the filter and the masks copied into the
// dialog, the dialog shown, and on OK the filter rebuilt from the dialog's
// copy. True when the filter was replaced (the caller rebuilds its list).
bool EditFilter(TFilterDialog& dialog, std::vector<FilterBlock>& Filters, const MaskCollection& Masks);
