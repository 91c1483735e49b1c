// Top-level windows: forms, shown modeless or modal. Modal showing goes
// through a runner that tests replace with a script.
#pragma once

#include "Control.h"

enum TModalResult { mrNone = 0, mrOk = IDOK, mrCancel = IDCANCEL, mrAbort = IDABORT, mrRetry = IDRETRY,
                    mrIgnore = IDIGNORE, mrYes = IDYES, mrNo = IDNO, mrAll = 8 };
enum TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
enum TPosition { poDesigned, poScreenCenter, poMainFormCenter, poOwnerFormCenter };
enum TCloseAction { caNone, caHide, caFree, caMinimize };
// fsMDIForm: a frame whose client area is the platform's MDI client;
// fsMDIChild: a window inside its owner form's client (the owner is the frame).
enum TFormStyle { fsNormal, fsMDIChild, fsMDIForm };

class TForm;
class TMainMenu;
class TMenuItem;
using TCloseEvent = std::function<void(TObject* Sender, TCloseAction& Action)>;
using TCloseQueryEvent = std::function<void(TObject* Sender, bool& CanClose)>;
using TPaintEvent = std::function<void(TObject* Sender, TCanvas& Canvas)>;

class TForm : public TWinControl {
public:
    // owner: the form this one is centred on and stays above (may be null).
    explicit TForm(TForm* owner = nullptr);
    ~TForm() override;

    TForm* OwnerForm() const { return ownerForm_; }
    TFormBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TFormBorderStyle s);
    TFormStyle FormStyle() const { return formStyle_; }
    // Set before the window is made; an MDI child needs an fsMDIForm owner.
    void SetFormStyle(TFormStyle s);
    // The MDI client window of an fsMDIForm (null otherwise or before the window).
    HWND ClientHandle() const { return client_; }
    // The drop-down (an item of Menu) where the platform lists the MDI children.
    TMenuItem* WindowMenu() const { return windowMenu_; }
    void SetWindowMenu(TMenuItem* item);
    TPosition Position = poDesigned;
    // The form's OnKeyDown sees the keys of its controls before they do.
    bool KeyPreview = false;

    int ModalResult() const { return modalResult_; }
    void SetModalResult(int r) { modalResult_ = r; }
    bool Modal() const { return modal_; }

    // Shows the form modal through the runner in force; returns its ModalResult.
    int ShowModal();
    // The real modal loop (what the default runner does).
    int ExecuteModal();
    // The steps every runner takes around its loop: mark the form modal,
    // place and show it; then raise OnClose and hide it.
    void BeginModal();
    void FinishModal();
    void Close();
    bool CloseQuery();
    void Release();  // frees the form once its messages are done

    TNotifyEvent OnShow, OnHide, OnActivate, OnDestroy;
    TCloseEvent OnClose;
    TCloseQueryEvent OnCloseQuery;
    TPaintEvent OnPaint;

    // The menu bar (not owned; null for none). Its items' commands, and those
    // of popup menus shown for the form, run their OnClick.
    TMainMenu* Menu() const { return menu_; }
    void SetMenu(TMainMenu* menu);

    bool PaintsItself() const override { return true; }
    void Paint(TCanvas& canvas) override;
    bool KeyDown(WORD& key, TShiftState shift) override;
    bool HandleMessage(TMessage& m) override;
    bool MenuCommand(WORD id) override;
    bool DrawItem(DRAWITEMSTRUCT& dis) override;
    bool MeasureItem(MEASUREITEMSTRUCT& mis) override;
    LRESULT DefaultHandler(TMessage& m) override;

protected:
    void CreateParams(TCreateParams& params) override;
    void WndCreated() override;

private:
    void PlaceForShow();
    TForm* ownerForm_;
    TFormBorderStyle borderStyle_ = bsSizeable;
    int modalResult_ = mrNone;
    bool modal_ = false;
    TMainMenu* menu_ = nullptr;
    TFormStyle formStyle_ = fsNormal;
    TMenuItem* windowMenu_ = nullptr;
    HWND client_ = nullptr;
};

// The form that holds c (c itself for a form), or null.
TForm* FormOf(TWinControl* c);
// A key pressed in control c, before c's own handling: the form's OnKeyDown
// when it previews keys. True when the key was taken.
bool PreviewKey(TWinControl& c, WORD& key, TShiftState shift);
// A key c left alone: Enter clicks the focused or the default button, Escape
// the cancel button (or cancels a modal form without one), unless c wants
// the key itself. True when taken.
bool DialogKey(TWinControl& c, WORD key, TShiftState shift);

// How ShowModal shows a form. The default runs the real modal loop; tests
// install a scripted runner.
class TModalRunner {
public:
    virtual ~TModalRunner() = default;
    virtual int Run(TForm& form) = 0;
};
TModalRunner& ModalRunner();
// Installs r (not owned); null restores the real loop. Returns the previous one.
TModalRunner* SetModalRunner(TModalRunner* r);
