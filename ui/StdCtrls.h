// The standard controls: thin superclasses of the system's own.
#pragma once

#include "Control.h"

class TButton : public TWinControl {
public:
    explicit TButton(TWinControl* parent);
    // Set on the form when clicked (mrOk, mrCancel, ...); 0 for none.
    int ModalResult = 0;
    bool Default() const { return default_; }
    void SetDefault(bool d);
    void Click();  // as if the user clicked it
    bool Command(WORD code) override;

protected:
    void CreateParams(TCreateParams& p) override;

private:
    bool default_ = false;
};

class TCheckBox : public TWinControl {
public:
    explicit TCheckBox(TWinControl* parent);
    bool Checked() const;
    // Raises OnClick like a user's click unless silent.
    void SetChecked(bool c, bool silent = false);
    bool Command(WORD code) override;

protected:
    void CreateParams(TCreateParams& p) override;
    void WndCreated() override;

private:
    bool checked_ = false;
};

class TEdit : public TWinControl {
public:
    explicit TEdit(TWinControl* parent);
    TNotifyEvent OnChange;
    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool r);
    int MaxLength() const { return maxLength_; }
    void SetMaxLength(int n);
    void SelectAll() { Perform(EM_SETSEL, 0, -1); }
    bool Command(WORD code) override;

protected:
    void CreateParams(TCreateParams& p) override;
    void WndCreated() override;

private:
    bool readOnly_ = false;
    int maxLength_ = 0;
};

// Text drawn on the parent's colour; no window of the system's kind needed.
class TLabel : public TWinControl {
public:
    explicit TLabel(TWinControl* parent);
    enum TAlignment { taLeftJustify, taRightJustify, taCenter };
    TAlignment Alignment = taLeftJustify;
    bool WordWrap = false;
    bool PaintsItself() const override { return true; }
    void Paint(TCanvas& canvas) override;
    // Sizes the label to its text.
    void AutoSize();
    bool HandleMessage(TMessage& m) override;
};

enum TBevelCut { bvNone, bvLowered, bvRaised };

class TPanel : public TWinControl {
public:
    explicit TPanel(TWinControl* parent);
    TBevelCut BevelOuter = bvRaised;
    TBevelCut BevelInner = bvNone;
    bool PaintsItself() const override { return true; }
    void Paint(TCanvas& canvas) override;

protected:
    void CreateParams(TCreateParams& p) override;
};
