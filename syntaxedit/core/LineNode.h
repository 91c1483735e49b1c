// One line of the editor's text and the small node utilities the editor shares.
// No platform headers.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>

#include "Component.h"
#include "SyntaxMemoTypes.h"

// Line flags.
enum : uint32_t {
    lfRepaint = 1,   // draw at the next paint
    lfChanged = 2,   // text changed, or moved by a change above
    lfHasTab = 4,    // holds a TAB: the display expansion takes the slow path
    lfRescan = 16,   // the highlighter's pass starts (again) here
};

// GutterMarks bits: 0-9 numbered bookmarks, 12 continues a cut or wrapped line.
enum : uint16_t { gmContinuation = 4096 };

// A line holds at most this many characters, its CR included.
const int kMaxLinePiece = 2047;

// Packed to 56 bytes on 64-bit (a long log holds one per line); nodes and
// short texts come from the line pools, without a heap header each.
struct TLineNode {
    char* Text = nullptr;         // Len + 1 bytes, NUL-terminated (SetLineText)
    uint8_t* Styles = nullptr;    // Len style bytes, or null: not highlighted yet
    TObject* TrackData = nullptr; // caller's object; follows the line through edits
    TLineNode* Next = nullptr;
    TLineNode* Prev = nullptr;
    TColor BackColor = -1;        // -1: no own colours
    TColor TextColor = -1;
    uint16_t Len = 0;             // characters in Text, the CR included
    uint16_t Flags = 0;           // lf* bits
    uint16_t GutterMarks = 0;
    uint16_t LineMarks = 0;

    bool EndsWithCR() const { return Len > 0 && Text[Len - 1] == '\r'; }
    static void* operator new(size_t size);
    static void operator delete(void* p, size_t size);
};

// A detached node holding a copy of text[0..len).
TLineNode* NewLineNode(const char* text, int len);
// Replaces the node's text (style bytes go: they no longer match).
void SetLineText(TLineNode* node, const char* text, int len);
void FreeLineNode(TLineNode* node);   // null allowed; TrackData is not touched
void FreeLineChain(TLineNode* node);  // node and every node after it
int32_t LineStartOffset(const TLineNode* node);

std::pair<int32_t, int32_t> OrderPair(std::pair<int32_t, int32_t> p);
inline int32_t MinInt(int32_t a, int32_t b) { return a < b ? a : b; }
TCharSet CharSetFromString(const std::string& s);
std::string ReverseString(const std::string& s);

// Copies count characters of src to dest for insertion into the store: CR LF,
// LF CR, lone LF and lone CR become one CR; TAB and characters from 32 up stay;
// other control characters become '.'. Writes a terminating NUL and returns the
// number of characters written (at most count).
int NormalizeInsertText(char* dest, const char* src, int count);
// The same into a string.
std::string NormalizeInsertText(const std::string& src);
