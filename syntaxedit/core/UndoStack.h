// A stack with an undo cursor (the highlighter's run-time stack uses it too),
// and the editor's undo log on top of it. No platform headers.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "Component.h"
#include "Stream.h"

struct TStackNode {
    void* Item = nullptr;
    int32_t ItemSize = 0;
    TStackNode* Below = nullptr;
    TStackNode* Above = nullptr;
};

class TStack : public TObject {
public:
    TStack() = default;
    ~TStack() override;
    TStack(const TStack&) = delete;
    TStack& operator=(const TStack&) = delete;

    // Drops every entry above Current first (the redo entries), then pushes.
    virtual void Push(void* item, int32_t size);
    // Removes Top; Exception "Stack underflow" when empty.
    virtual void* Pop();

    bool AtTop() const { return Current == Top; }
    // The item at Current; Current moves below it. "Stack underflow" at the bottom.
    void* StepBack();
    // Current moves up one and its item is returned. "Stack underflow" at the top.
    void* StepForward();
    void ResetCursor();

    TStackNode* Bottom = nullptr;
    TStackNode* Current = nullptr;  // newest entry not undone; null: all undone
    TStackNode* Top = nullptr;
    int32_t Size = 0;               // 16 per entry plus the declared sizes
    int32_t Count = 0;              // entries from Bottom up to Current
    std::function<void(void*)> OnFree;

protected:
    // Unlinks the bottom entry and hands its item to OnFree.
    void DiscardBottom();
    void FreeItem(void* item);
};

// Entry kinds of the undo log.
enum : int32_t { ukPositions = 0, ukText = 1, ukStream = 4, ukBracket = 5 };

struct TUndoEntry {
    int32_t Value = 0;  // bracket: 0 operation, 2 group start, 3 group end
    int32_t Kind = ukPositions;
    int32_t Data = 0;   // positions: first offset; bracket: operation code
    int32_t Data2 = 0;  // positions: second offset
    std::unique_ptr<std::string> Text;      // ukText; null: no text
    std::unique_ptr<TMemoryStream> Stream;  // ukStream
};

class TUndoStack : public TStack {
public:
    TUndoStack();
    // While Size exceeds SizeLimit (when it is 0 or more), whole transactions
    // go from the bottom.
    void Trim();
    int32_t SizeLimit = -1;
};
