// A colour button at (10, 10) on a shown form, for the button and palette tests.
#pragma once

#include "syntaxedit/ZOVColorButton.h"

struct ButtonOnForm {
    TForm form;
    TZOVColorButton b{&form};
    ButtonOnForm() {
        form.SetBounds(100, 100, 300, 200);
        b.SetBounds(10, 10, 45, 22);
        form.Show();
    }
};
