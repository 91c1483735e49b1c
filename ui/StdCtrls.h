// The standard controls: thin superclasses of the system's own.
#pragma once

#include "Control.h"
#include "ControlItems.h"

class TButton : public TWinControl {
public:
    explicit TButton(TWinControl* parent);
    // Set on the form when clicked (mrOk, mrCancel, ...); 0 for none.
    int ModalResult = 0;
    bool Default() const { return default_; }
    void SetDefault(bool d);
    // Escape in its form clicks it (Enter clicks the Default one).
    bool Cancel = false;
    void Click();  // as if the user clicked it
    bool Command(WORD code) override;

protected:
    void CreateParams(TCreateParams& p) override;

private:
    bool default_ = false;
};

// A check box or radio button: a BUTTON whose check the control keeps until
// its window exists.
class TButtonControl : public TWinControl {
public:
    bool Checked() const;
    bool Command(WORD code) override;

protected:
    TButtonControl(TWinControl* parent, DWORD style, const char* winClassName);
    void CreateParams(TCreateParams& p) override;
    void WndCreated() override;
    // The check alone: no event.
    void SetCheck(bool c);

private:
    DWORD style_;
    const char* winClassName_;
    bool checked_ = false;
};

class TCheckBox : public TButtonControl {
public:
    explicit TCheckBox(TWinControl* parent);
    // Raises OnClick like a user's click unless silent.
    void SetChecked(bool c, bool silent = false);
};

class TEdit : public TWinControl {
public:
    explicit TEdit(TWinControl* parent);
    TNotifyEvent OnChange;
    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool r);
    int MaxLength() const { return maxLength_; }
    void SetMaxLength(int n);
    // Shown in place of each character typed (a password box); 0 for none.
    char PasswordChar() const { return passwordChar_; }
    void SetPasswordChar(char c);
    void SelectAll() { Perform(EM_SETSEL, 0, -1); }
    bool Command(WORD code) override;

protected:
    void CreateParams(TCreateParams& p) override;
    void WndCreated() override;

private:
    bool readOnly_ = false;
    int maxLength_ = 0;
    char passwordChar_ = 0;
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

class TRadioButton : public TButtonControl {
public:
    explicit TRadioButton(TWinControl* parent);
    // Checking one clears the radio buttons beside it; raises OnClick like a
    // user's click unless silent.
    void SetChecked(bool c, bool silent = false);
};

// A captioned frame around other controls (their parent).
class TGroupBox : public TWinControl {
public:
    explicit TGroupBox(TWinControl* parent);
    bool PaintsItself() const override { return true; }
    void Paint(TCanvas& canvas) override;

protected:
    void CreateParams(TCreateParams& p) override;
};

enum TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };

// A multi-line edit.
class TMemo : public TEdit {
public:
    explicit TMemo(TWinControl* parent);
    // The text as lines (cut at CR LF, LF or CR).
    TStringList Lines() const;
    void SetLines(const TStringList& lines);
    void AddLine(const std::string& line);
    TScrollStyle ScrollBars() const { return scrollBars_; }
    void SetScrollBars(TScrollStyle s);
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool w);

protected:
    void CreateParams(TCreateParams& p) override;

private:
    TScrollStyle scrollBars_ = ssNone;
    bool wordWrap_ = true;
};

enum TComboBoxStyle { csDropDown, csSimple, csDropDownList };

class TComboBox : public TWinControl {
public:
    explicit TComboBox(TWinControl* parent);
    TControlItems& Items() { return items_; }
    TComboBoxStyle Style() const { return style_; }
    void SetStyle(TComboBoxStyle s);
    // -1 for none. Setting it raises no event.
    int ItemIndex() const;
    void SetItemIndex(int i);
    int DropDownCount = 8;
    bool DroppedDown() const;
    void SetDroppedDown(bool d);
    // A choice from the list raises OnClick, OnSelect and OnChange; typing
    // in the edit raises OnChange. Keys typed in the edit reach OnKeyDown,
    // OnKeyPress and OnKeyUp of the combo box.
    TNotifyEvent OnChange, OnSelect, OnDropDown;
    bool Command(WORD code) override;
    bool HandleMessage(TMessage& m) override;

protected:
    void PlaceWindow(const TBounds& b) override;
    void CreateParams(TCreateParams& p) override;
    void WndCreated() override;

private:
    int ListHeight() const;
    TControlItems items_;
    TComboBoxStyle style_ = csDropDown;
    int itemIndex_ = -1;
};

class TListBox : public TWinControl {
public:
    explicit TListBox(TWinControl* parent);
    TControlItems& Items() { return items_; }
    void Clear() {
        items_.Clear();
        selected_.clear();
    }
    bool Sorted() const { return items_.Sorted(); }
    void SetSorted(bool s) { items_.SetSorted(s); }
    // -1 for none; with MultiSelect the item with the focus. Setting it raises no event.
    int ItemIndex() const;
    void SetItemIndex(int i);
    bool MultiSelect() const { return multiSelect_; }
    void SetMultiSelect(bool m);
    // Asked or set before the list has its window, the choices are kept and
    // handed to the window when it is made (the window is not made early).
    bool Selected(int i) const;
    void SetSelected(int i, bool s);
    int SelCount() const;
    // A change of the selection raises OnClick; a double click on an item OnDblClick.
    bool Command(WORD code) override;
    bool DblClick(TMouseButton button, TShiftState shift, int x, int y) override;

protected:
    void CreateParams(TCreateParams& p) override;
    void WndCreated() override;

private:
    void CheckIndex(int i) const;
    // The chosen items of a multi-select list while it has no window.
    std::vector<int> KeptSelection() const;
    TControlItems items_;
    bool multiSelect_ = false;
    int itemIndex_ = -1;
    std::vector<bool> selected_;
};
