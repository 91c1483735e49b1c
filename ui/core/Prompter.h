// Every message box and common dialog of the programs goes through one
// prompter, so tests answer them with a scripted fake. No platform headers:
// flags and results are the platform's numbers (MB_OK, IDYES, ...).
#pragma once

#include <cstdint>
#include <string>

struct TFileDialogRequest {
    std::string Title;
    std::string Filter;      // "Text files|*.txt|All files|*.*"
    int FilterIndex = 1;     // 1-based, as the dialog reports it
    std::string InitialDir;
    std::string DefaultExt;  // without the dot
    std::string FileName;    // in: proposed name; out: the chosen one
    uint32_t Options = 0;    // the platform's OFN_ flags
};

struct TPrintRequest {
    int FromPage = 0, ToPage = 0, Copies = 1;
    bool Selection = false;  // out: print the selection only
};

class TPrompter {
public:
    virtual ~TPrompter() = default;
    // Returns the button chosen (IDOK, IDYES, ...).
    virtual int ShowMessageBox(const std::string& text, const std::string& caption, unsigned flags) = 0;
    // False when cancelled; on true the request holds the answer.
    virtual bool OpenFileDialog(TFileDialogRequest& request) = 0;
    virtual bool SaveFileDialog(TFileDialogRequest& request) = 0;
    virtual bool ColorDialog(uint32_t& color) = 0;
    // The colour dialog with these 16 custom colours, handed back as the user
    // left them (a prompter that cannot show them asks for the colour alone).
    virtual bool CustomColorDialog(uint32_t& color, uint32_t (&custom)[16]) {
        (void)custom;
        return ColorDialog(color);
    }
    virtual bool PrintDialog(TPrintRequest& request) = 0;
};

// The prompter in force: the platform's dialogs unless a test installed another.
TPrompter& Prompter();
// Installs p (not owned); null restores the platform's dialogs. Returns the previous one.
TPrompter* SetPrompter(TPrompter* p);
