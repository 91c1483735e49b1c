// A headless editor with its Lines view and a recording drawing surface, for
// the editor's window-free tests.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "SyntaxMemoCore.h"
#include "SyntaxMemoStrings.h"

class MemoHarness : public TSyntaxMemoTarget, public TSyntaxMemoView {
public:
    MemoHarness() : Lines(*this) {
        Core.SetView(this);
        Core.SetMetrics(8, 16);
        Core.SetClientSize(400, 160);
    }
    intptr_t Perform(uint32_t msg, uintptr_t wParam, intptr_t lParam) override {
        return Core.Message(msg, wParam, lParam);
    }
    bool HasWindow() const override { return Window; }
    TSyntaxMemoCore* TargetCore() override { return &Core; }
    void ClearText() override { Core.ClearText(); }
    void SetRedrawState(bool on) override { Core.SetRedraw(on); }
    void ViewScrollBar(bool vertical, int32_t max, int32_t page, int32_t pos) override {
        Bars[vertical] = {max, page, pos};
    }
    bool ViewEnabled() const override { return Enabled; }
    bool ViewFocused() const override { return Focused; }
    std::string Text() { return Core.Store().GetText(); }

    TSyntaxMemoCore Core;
    TSyntaxMemoStrings Lines;
    bool Window = true, Enabled = true, Focused = true;
    std::map<bool, std::vector<int32_t>> Bars;
};

// Records the colours each character cell got.
class CellSurface : public TDrawSurface {
public:
    struct Cell {
        char ch = 0;
        TColor text = -1, back = -1;
    };
    CellSurface(int charWidth, int lineHeight) : cw_(charWidth), lh_(lineHeight) {}
    void FillRect(int x, int y, int w, int, TColor color) override {
        for (int px = x; px < x + w; px++) Fill[{y / lh_, px}] = color;
    }
    void TextRun(int x, int y, const char* text, int count, TColor fg, TColor bg, int) override {
        for (int i = 0; i < count; i++) Cells[{y / lh_, (x + i * cw_)}] = {text[i], fg, bg};
    }
    // The cell at pixel column x of row.
    Cell At(int row, int x) const {
        auto it = Cells.find({row, x});
        return it == Cells.end() ? Cell() : it->second;
    }
    TColor FillAt(int row, int x) const {
        auto it = Fill.find({row, x});
        return it == Fill.end() ? -1 : it->second;
    }
    std::map<std::pair<int, int>, Cell> Cells;
    std::map<std::pair<int, int>, TColor> Fill;

private:
    int cw_, lh_;
};
