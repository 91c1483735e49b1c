// Splits a text at a separator string, or at any of a set of characters.
#pragma once

#include <string>

#include "runtime/core/Component.h"
#include "runtime/core/StringList.h"

class TBrkApart : public TComponent {
public:
    explicit TBrkApart(TComponent* AOwner = nullptr) : TComponent(AOwner) {}
    std::string BaseString;
    std::string BreakString;
    bool BreakArrayChar = false;
    bool AllowEmptyString = false;
    TStringList& StringList() { return list_; }
    // Copies the list's contents; the component keeps its own list.
    void SetStringList(const TStringList& l);
    void BreakApart();

private:
    TStringList list_;
};
