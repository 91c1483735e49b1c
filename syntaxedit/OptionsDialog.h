// The editor options dialog: five pages over a TOptionsModel (options,
// highlighting with a live preview, key assignments, auto-correct, code
// templates). It edits a copy of the settings; OK writes it back. Windows only.
// OptionsDialog.cpp holds the frame, each page's controls and handlers are in
// OptionsDialog<Page>.cpp.
#pragma once

#include <string>
#include <vector>

#include "syntaxedit/SyntaxMemo.h"
#include "syntaxedit/ZOVColorButton.h"
#include "syntaxedit/core/OptionsModel.h"
#include "ui/ComCtrls.h"
#include "ui/Form.h"
#include "ui/StdCtrls.h"

// A sorted list of "left TAB right" items drawn in two columns.
class TTwoColumnListBox : public TListBox {
public:
    explicit TTwoColumnListBox(TWinControl* parent);
    bool DrawItem(DRAWITEMSTRUCT& dis) override;

protected:
    void CreateParams(TCreateParams& p) override;
    void WndCreated() override;
};

class TOptionsDialog : public TForm {
public:
    TOptionsDialog(TOptionsModel& model, unsigned visiblePages);

    // Fills every page from the model and shows only the visible pages.
    void FormShow();

    // Pages that are not visible are not made: their controls stay null.
    TPageControl* PageControl1;
    TTabSheet *OptionsPage = nullptr, *HighlightingPage = nullptr, *KeyMappingsPage = nullptr,
              *AutoCorrectPage = nullptr, *TemplatesPage = nullptr;
    TButton *OKButton, *CancelButton;
    // Options page
    std::vector<TCheckBox*> OptionBoxes;  // in the order of kOptionChecks
    TEdit *WrapColumnBox = nullptr, *IndentStepBox = nullptr, *LeftBorderWidthBox = nullptr,
          *RightMarginWidthBox = nullptr, *TabColumnsBox = nullptr, *DeftabBox = nullptr;
    TUpDown *GutterSpin = nullptr, *MarginSpin = nullptr;
    // Highlighting page
    TEdit* LangNameBox = nullptr;
    TListBox* SynElementsBox = nullptr;
    TCheckBox *UseBoldBox = nullptr, *UseItalicBox = nullptr, *UseUnderlineBox = nullptr, *UseDefForeBox = nullptr,
              *UseDefBackBox = nullptr;
    TZOVColorButton *ForeButton = nullptr, *BackButton = nullptr;
    TComboBox *FontNameBox = nullptr, *FontSizeBox = nullptr;
    TSyntaxMemo* FEditor = nullptr;
    // Key assignments page
    TListBox *CommandDescListBox = nullptr, *CommandKeysListBox = nullptr;
    TSM_HotKey *Key1Box = nullptr, *Key2Box = nullptr;
    TButton *AddButton = nullptr, *DeleteButton = nullptr;
    // Auto-correct page
    TTwoColumnListBox* AutoReplBox = nullptr;
    TEdit *ReplaceBox = nullptr, *WithBox = nullptr, *AutoReplActBox = nullptr;
    TButton *AutoReplButton1 = nullptr, *AutoReplButton2 = nullptr;
    // Templates page
    TTwoColumnListBox* cteListBox = nullptr;
    TEdit *cteNameBox = nullptr, *cteDescBox = nullptr, *cteHotkey = nullptr;
    TSyntaxMemo* SyntaxMemo1 = nullptr;
    TButton *CodeTemplateButton1 = nullptr, *CodeTemplateButton2 = nullptr;

    // The element shown on the highlighting page.
    int32_t ElementCode() const;

private:
    void BuildOptionsPage();
    void BuildHighlightingPage();
    void BuildKeysPage();
    void BuildAutoCorrectPage();
    void BuildTemplatesPage();
    void RefreshPreview();
    void FillOptionsPage();
    void FillHighlightingPage();
    void FillKeysPage();
    void FillAutoCorrectPage();
    void FillTemplatesPage();
    // options page
    void OptionClicked(int i);
    void MarginChanged(TEdit* box, bool gutter);
    void NumberExit(TEdit* box, bool wrapColumn);
    void TabsExit(bool columns);
    // highlighting page
    void ShowElement(int index);
    void AttributeClicked(uint8_t bit, TCheckBox* box);
    void ColourChanged();
    void DefaultClicked(bool fore);
    // sizeTyped: the size is the text typed into its box, else the item chosen.
    void FontChanged(bool sizeTyped);
    void PreviewClicked(int x, int y);
    // key page
    void ShowCommand(int index);
    void ShowPair(int index);
    void StoreKey(bool first);
    void DropEmptyPairs();
    void OkClicked();
    // auto-correct page
    void UpdateAutoButtons();
    void AutoButton1();
    void AutoButton2();
    void RebuildAutoCorrect();
    // templates page
    void ShowTemplate(int index);
    void UpdateTemplateButtons();
    void TemplateButton1();
    void TemplateButton2();
    std::string TemplateText();

    TOptionsModel& model_;
    unsigned visiblePages_;
    bool editing_ = false;
    std::vector<TElementItem> elements_;
    std::vector<TCommandKeys> commands_;
    POINT lastClick_{0, 0};
    TWinControl* keyFocus_ = nullptr;  // the key page's control that last had the focus
    bool error_ = false;
    bool sizeChosen_ = false;  // a font size came from the list, not the keyboard
};
