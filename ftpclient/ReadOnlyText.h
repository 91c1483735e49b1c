// Text the user can select and copy but not change: a read-only edit without
// a border on its parent's colour, set and read like a label.
#pragma once

#include "ui/StdCtrls.h"

class TReadOnlyText : public TEdit {
public:
    explicit TReadOnlyText(TWinControl* parent);

protected:
    void CreateParams(TCreateParams& p) override;
};
