// Loading and saving the whole text through streams and files.
#include <new>

#include "SysUtils.h"
#include "SyntaxMemoCore.h"
#include "SyntaxMemoErrors.h"

namespace {
const int32_t kTitleAsFilename = 0x40000;
const int32_t kFormatFlags[] = {1, 2, 4, 8};  // by TSaveFormat
}  // namespace

void TSyntaxMemoCore::LoadFromStream(TStream& stream) {
    bool was = redraw_;
    struct Restore {
        TSyntaxMemoCore& c;
        bool redraw;
        ~Restore() {
            c.loading_ = false;
            c.redraw_ = redraw;
            c.UpdateScrollBars();
        }
    } restore{*this, was};
    loading_ = true;
    undo_.Clear();
    redraw_ = false;
    try {
        std::string text;
        char block[8192];
        for (int32_t got; (got = stream.Read(block, sizeof block)) > 0;) text.append(block, static_cast<size_t>(got));
        anchor_ = 0;
        caret_ = store_.TextLength();
        bool ro = ReadOnly;
        ReadOnly = true;  // loading is not undone
        try {
            ReplaceSelection(text.data(), static_cast<int32_t>(text.size()));
        } catch (...) {
            ReadOnly = ro;
            throw;
        }
        ReadOnly = ro;
    } catch (const std::bad_alloc&) {
        throw ESyntaxMemo("Not enough memory for operation");
    }
    changeFlags_ |= 2;
    topLine_ = leftCol_ = 0;
    SetSelection(0, 0, false);
    undo_.Clear();
    redraw_ = was;
    if (was) SetRedraw(true);
}

void TSyntaxMemoCore::SaveToStream(TStream& stream) {
    undo_.Clear();
    bool held = displayHeld_;
    displayHeld_ = true;
    int32_t a = anchor_, c = caret_;
    anchor_ = 0;
    caret_ = store_.TextLength();
    std::string text;
    try {
        text = ExportSelection(kFormatFlags[static_cast<int>(SaveFormat) & 3]);
    } catch (...) {
        anchor_ = a, caret_ = c, displayHeld_ = held;
        throw;
    }
    anchor_ = a, caret_ = c, displayHeld_ = held;
    stream.WriteBuffer(text.data(), static_cast<int32_t>(text.size()));
    undo_.Clear();
}

void TSyntaxMemoCore::LoadFromFile(const std::string& name) {
    if (!FileExists(name)) throw EFOpenError(Format("File '%s' cannot be opened for reading", name.c_str()));
    TFileStream file(name, fmOpenRead | fmShareDenyWrite);
    LoadFromStream(file);
    undo_.Clear();
    if (Options() & kTitleAsFilename) Title = fileName_ = name;
}

void TSyntaxMemoCore::SaveToFile(const std::string& name) {
    TFileStream file(name, fmCreate);
    // The HTML page's title is the file's name.
    if (Options() & kTitleAsFilename) Title = fileName_ = name;
    SaveToStream(file);
    undo_.Clear();
}
