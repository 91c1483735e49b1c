// The report window's Save: the save dialog, the overwrite question, the
// file written through Kestrel's file object, and the folder the next save
// of the same window opens in.
#pragma once

#include <string>

class ReportTable;
class TextFile;

struct SaveDialogSetup {
    std::string Title;
    std::string DefaultExt;
    std::string Filter;
    std::string FileName;
    std::string InitialDir;
    long Flags = 0;
};

// The common dialog and message boxes, as the window provides them.
class ReportSavePrompts {
public:
    virtual ~ReportSavePrompts() = default;
    // False when the user cancelled (the dialog's own result).
    virtual bool AskSaveFileName(const SaveDialogSetup& setup, std::string& fileName) = 0;
    // A question with OK and Cancel; true for OK.
    virtual bool Confirm(const std::string& text, const std::string& title) = 0;
    virtual void Message(const std::string& text, const std::string& title) = 0;
};

class ReportSaver {
public:
    // True when the file was written. A cancelled dialog or a refused
    // overwrite write nothing; a file that cannot be opened or written gives
    // "Error writing file - " and the file name.
    bool Save(const ReportTable& report, TextFile& file, ReportSavePrompts& prompts);
    const std::string& RememberedFolder() const { return folder_; }
    // The folder the first save dialog opens in (the main window's report folder).
    void SetRememberedFolder(const std::string& folder) { folder_ = folder; }

private:
    std::string folder_;  // "" until the first save
};
