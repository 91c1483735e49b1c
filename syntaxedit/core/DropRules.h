// The window-free half of OLE drag and drop: the drop effect, the drop-source
// type word, HTML clipboard text, and what a drop does to the editor (through
// a small seam the control implements). No platform headers.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Drop-source type word (TDataDropEvent's SourceTypes).
const uint16_t dstFiles = 0x0001;
const uint16_t dstUnicodeText = 0x0002;
const uint16_t dstText = 0x0004;
const uint16_t dstHtml = 0x0100;
const uint16_t dstPaste = 0x0200;
const uint16_t dstInsertAsIs = 0x0400;
const uint16_t dstProcessFiles = 0x0800;
const uint16_t dstDontProcess = 0x1000;
const uint16_t dstHtmlFragment = 0x2000;
const uint16_t dstHtmlFromTag = 0x4000;
const uint16_t dstOptionMask = 0x7C00;
const uint16_t dstFormatMask = dstFiles | dstUnicodeText | dstText | dstHtml;

// The platform's DROPEFFECT_ and MK_ numbers.
const uint32_t deNone = 0, deCopy = 1, deMove = 2;
const uint32_t mkControl = 0x0008, mkLButton = 0x0001;

// Undo groups of a drop and of a paste.
const int ugDrop = 11;
const int ugPaste = 14;

// What the control offers a drop.
class TDropEditor {
public:
    virtual ~TDropEditor() = default;
    virtual bool ReadOnly() = 0;
    // Anchor and caret; start may lie after end.
    virtual void GetSelection(int32_t& start, int32_t& end) = 0;
    virtual void SetSelection(int32_t start, int32_t end) = 0;
    // Replaces [start, end) with text as one edit.
    virtual void ReplaceRange(int32_t start, int32_t end, const std::string& text) = 0;
    virtual void BeginUndoGroup(int group) = 0;
    virtual void EndUndoGroup() = 0;
    // OnDataDrop: may change the word.
    virtual void DataDrop(uint16_t& sourceTypes) = 0;
    // OnFilesDropped when smoProcessDroppedFiles is on and a handler is set
    // (it may change the list); false otherwise.
    virtual bool FilesDropped(std::vector<std::string>& files) = 0;
};

class TDropRules {
public:
    // Copy with Ctrl, else move; narrowed to what the source allows, so a
    // copy-only source gives copy without Ctrl. deNone when nothing is allowed.
    static uint32_t Effect(uint32_t keyState, uint32_t allowed);
    // Format bit read from the offered ones, in order of preference:
    // HTML, text, Unicode text, files. 0 when none.
    static uint16_t Preferred(uint16_t offered);
    // HTML as the options ask: as is with dstInsertAsIs; otherwise from the
    // first "<" with dstHtmlFromTag or dstHtmlFragment, and with the latter
    // only the text between the fragment markers when both are there.
    static std::string TrimHtml(const std::string& html, uint16_t sourceTypes);
    // UTF-8 to UTF-16; a bad sequence gives U+FFFD, never a read past the end.
    static std::u16string Utf8ToUtf16(const std::string& utf8);
    // UTF-16 to 8-bit Latin-1, '?' for what it cannot hold (the host's stand-in
    // for the platform's code page).
    static std::string Utf16ToLatin1(const std::u16string& text);
    // File names, one a line.
    static std::string FileLines(const std::vector<std::string>& files);

    // The control's drop handler: text already read in the format of the one
    // format bit in sourceTypes; dropPos the offset under the point; own when
    // the data came from this control. False when nothing was inserted.
    static bool Deliver(TDropEditor& editor, std::string text, uint32_t effect, uint16_t sourceTypes,
                        int32_t dropPos, bool own, const std::vector<std::string>& files = {});
};
