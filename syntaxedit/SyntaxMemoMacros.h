// The editor's code templates and auto-correct on its window: keys go to the
// window-free TMacroKeyHandler first, and the completion list (a pop-up list
// box on the editor) offers the templates when no name ends at the caret.
// Windows only.
#pragma once

#include <string>
#include <vector>

#include "syntaxedit/core/MacroExpansion.h"
#include "ui/StdCtrls.h"

class TSyntaxMemo;
class TSyntaxMemoMacros;

// The completion list of one macro table: items are "description TAB name",
// drawn in two columns with the name in bold.
class TMacroListBox : public TListBox {
public:
    TMacroListBox(TSyntaxMemoMacros& owner, TWinControl* editor, TMacroTable table);
    ~TMacroListBox() override;
    const TMacroTable Table;
    int DescWidth = 0, NameWidth = 0;
    int ItemHeight() const { return itemHeight_; }
    // Fills the list and measures its columns.
    void Fill(const std::vector<TMacroListItem>& items);
    // The name part of item i.
    std::string NameOf(int i) const;

    bool DrawItem(DRAWITEMSTRUCT& dis) override;
    bool KeyDown(WORD& key, TShiftState shift) override;
    bool KeyPress(char& key) override;
    void FocusChanged(bool gained) override;

protected:
    void CreateParams(TCreateParams& p) override;
    void WndCreated() override;

private:
    int FindPrefix(const std::string& prefix) const;
    TSyntaxMemoMacros& owner_;
    HFONT bold_ = nullptr;
    int itemHeight_ = 16;
    std::string search_;
};

class TSyntaxMemoMacros {
public:
    explicit TSyntaxMemoMacros(TSyntaxMemo& editor);
    ~TSyntaxMemoMacros();

    TMacroKeyHandler& Keys() { return keys_; }
    // Offers a key-down to the templates and the auto-correct table; true when
    // key handling stops here (a template was expanded).
    bool KeyDown(WORD& key, TShiftState shift, bool& handled);
    // A table's completion list, made when it first opens (null before) and
    // reused after; each table of the editor has its own.
    TMacroListBox* ListBox(TMacroTable table = TMacroTable::Templates) const {
        return lists_[static_cast<int>(table)];
    }
    // Accepts item i of a list, then gives the focus back to the editor.
    void Accept(TMacroListBox& list, int i);
    // A list lost the focus.
    void ListExit(TMacroListBox& list);

private:
    void ShowList(TMacroTable table);
    void PlaceList(TMacroListBox& list);
    TSyntaxMemo& editor_;
    TMacroKeyHandler keys_;
    TMacroListBox* lists_[2] = {};  // children of the editor, by table
};
