// What the editor asks of the heap: a paste whose buffer cannot be had
// reports it in the control's words, and a word move near the end of a long
// text takes no copy of the text. This program's operator new can refuse
// large blocks and records the largest one asked for.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <new>
#include <string>

#include "KeyboardActionContoller.h"
#include "MemoWindow.h"
#include "SyntaxMemoCore.h"
#include "runtime/core/SysUtils.h"

// The replaced operators hand out malloc's blocks and give them back to free.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
#endif

namespace {
size_t refuseAbove = SIZE_MAX;  // blocks larger than this are refused
bool recording = false;
size_t largest = 0;

// Refusals and records last for one scope.
struct HeapWatch {
    explicit HeapWatch(size_t limit = SIZE_MAX) {
        refuseAbove = limit;
        largest = 0;
        recording = true;
    }
    ~HeapWatch() {
        refuseAbove = SIZE_MAX;
        recording = false;
    }
};
}  // namespace

void* operator new(size_t n) {
    if (n > refuseAbove) throw std::bad_alloc();
    if (recording && n > largest) largest = n;
    if (void* p = std::malloc(n ? n : 1)) return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, size_t) noexcept { std::free(p); }

namespace {

bool PutText(HWND owner, const std::string& text) {
    if (!OpenClipboard(owner)) return false;
    EmptyClipboard();
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
    memcpy(GlobalLock(block), text.c_str(), text.size() + 1);
    GlobalUnlock(block);
    bool ok = SetClipboardData(CF_TEXT, block) != nullptr;
    CloseClipboard();
    return ok;
}

}  // namespace

TEST(SyntaxMemoPaste, BufferThatCannotBeHadIsReported) {
    MemoWindow w("keep");
    w.Select(4, 4);
    ASSERT_TRUE(PutText(w.memo->Handle(), std::string(2 << 20, 'p')));
    std::string error;
    {
        HeapWatch refuse(1 << 20);
        try {
            w.memo->PasteFromClipboard();
        } catch (const Exception& e) {
            error = e.Message();
        } catch (const std::exception& e) {
            error = std::string("other: ") + e.what();
        }
    }
    EXPECT_EQ(error, "Cannot alloc memory for buffer!!");
    EXPECT_EQ(w.Text(), "keep");
    EXPECT_EQ(w.memo->Core().Undo().OpenGroupId(), 0);
    // With the memory there the same paste goes in.
    w.memo->PasteFromClipboard();
    EXPECT_EQ(w.memo->Core().TextLength(), 4 + (2 << 20));
    OpenClipboard(w.memo->Handle());
    EmptyClipboard();
    CloseClipboard();
}

// Ctrl+Left and Ctrl+Backspace at the end of a megabyte of text look only at
// the characters they pass.
TEST(SyntaxMemoKeys, WordMovesTakeNoCopyOfTheText) {
    TSyntaxMemoCore core;
    std::string text;
    while (text.size() < (1u << 20)) text += "some words on a line of text\r";
    text += "last word";
    core.InsertAtCaret(text);
    int32_t end = core.TextLength();
    core.SetSelection(end, end);
    for (int32_t command : {caWORDLEFT, caDELPREVWORD, caWORDRIGHT}) {
        HeapWatch watch;
        core.ExecuteCommand(command);
        EXPECT_LT(largest, 64u * 1024) << command;
    }
    // "last " went; the caret moved on to the text's end.
    EXPECT_EQ(core.TextLength(), end - 5);
    EXPECT_EQ(core.Store().GetText(end - 10, end - 5), "\rword");
    EXPECT_EQ(core.Caret(), end - 5);
}
