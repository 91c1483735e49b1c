// The splash window and the about box, with the program's own artwork.
#pragma once

#include <windows.h>

#include <string>

#include "ui/Form.h"
#include "ui/StdCtrls.h"

// One registry value as text; false (and value "") when it cannot be read.
bool GetKeyValue(HKEY root, const std::string& key, const std::string& name, std::string& value);
void StartSysInfo();

class TSplashForm : public TForm {
public:
    TSplashForm();
    ~TSplashForm() override;
    void Paint(TCanvas& canvas) override;
    bool KeyPress(char& key) override;
    bool MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;

private:
    HBITMAP art_ = nullptr;
};

class TAboutForm : public TForm {
public:
    explicit TAboutForm(TForm* owner);
    ~TAboutForm() override;
    void Paint(TCanvas& canvas) override;

private:
    HBITMAP icon_ = nullptr;
};
