// dlgAddFilterMask: picks the mask and the negation of one new filter
// condition. A shell over AddFilterMaskModel.
#pragma once

#include "masks/core/AddFilterMaskModel.h"
#include "ui/ListView.h"
#include "ui/Form.h"
#include "ui/StdCtrls.h"

class TAddFilterMaskDialog : public TForm {
public:
    explicit TAddFilterMaskDialog(TForm* owner = nullptr);

    // The members the filter dialog calls.
    void Clear() { model_.Clear(); }
    void AddMask(const std::string& Name, int32_t Index) { model_.AddMask(Name, Index); }
    // Shows the dialog modally; the close box counts as Cancel.
    void Execute();
    bool Ok() const { return model_.Ok(); }
    bool FlagNot() const { return model_.FlagNot(); }
    int32_t ActiveMask() const { return model_.ActiveMask(); }

    TListView* lvMasks;
    TCheckBox* cbNot;
    TButton* cbOk;
    TButton* cbCancel;

private:
    void FillList();
    // 1-based, 0 when no row is selected.
    int32_t SelectedRow() const;
    void Finish(DialogClose how);

    AddFilterMaskModel model_;
    bool closed_ = false;
};
