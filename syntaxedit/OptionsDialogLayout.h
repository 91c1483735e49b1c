// Layout helpers the options dialog's pages share (OptionsDialog*.cpp only).
#pragma once

#include <string>

#include "runtime/core/SysUtils.h"
#include "syntaxedit/SyntaxMemo.h"
#include "ui/StdCtrls.h"

namespace optionsdialog {

template <class T>
T* Place(T* c, int left, int top, int width, int height, const std::string& caption = std::string()) {
    c->SetBounds(left, top, width, height);
    if (!caption.empty()) c->SetCaption(caption);
    return c;
}

inline TLabel* LabelAt(TWinControl* parent, int left, int top, const std::string& text, int width = 120) {
    return Place(new TLabel(parent), left, top, width, 14, text);
}

inline TGroupBox* Group(TWinControl* parent, int left, int top, int width, int height, const std::string& text) {
    return Place(new TGroupBox(parent), left, top, width, height, text);
}

inline int ToInt(const std::string& s) { return StrToInt(Trim(s)); }

inline void SetMemoText(TSyntaxMemo* memo, const std::string& text) {
    memo->Core().Message(smmsg::SetText, 0, reinterpret_cast<intptr_t>(text.c_str()));
}

}  // namespace optionsdialog
