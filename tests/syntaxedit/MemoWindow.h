// A form holding one editor control with a text, for tests that drive the
// real window through its messages.
#pragma once

#include <algorithm>
#include <string>
#include <utility>

#include "SyntaxMemo.h"
#include "ui/Form.h"

struct MemoWindow {
    explicit MemoWindow(const std::string& text, int top = 0) {
        form.SetBounds(0, top, 440, 260);
        memo = new TSyntaxMemo(&form);
        memo->SetBounds(0, 0, 400, 200);
        form.Show();
        SetText(text);
    }
    void SetText(const std::string& text) { memo->Perform(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str())); }
    // The text with CR LF line ends.
    std::string Text() {
        char buf[4096] = {};
        memo->Perform(WM_GETTEXT, sizeof buf, reinterpret_cast<LPARAM>(buf));
        return buf;
    }
    // The ordered selection.
    std::pair<int32_t, int32_t> Sel() {
        int32_t a = 0, c = 0;
        memo->Perform(EM_GETSEL, reinterpret_cast<WPARAM>(&a), reinterpret_cast<LPARAM>(&c));
        return {std::min(a, c), std::max(a, c)};
    }
    void Select(int32_t a, int32_t c) { memo->Perform(EM_SETSEL, a, c); }
    void Undo() { memo->Perform(EM_UNDO, 0, 0); }
    TForm form;
    TSyntaxMemo* memo;
};
