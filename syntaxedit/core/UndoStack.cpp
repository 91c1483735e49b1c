#include "UndoStack.h"

#include "SysUtils.h"

namespace {
const int32_t kNodeSize = 16;
}

TStack::~TStack() {
    while (Top) FreeItem(Pop());
}

void TStack::FreeItem(void* item) {
    if (OnFree) OnFree(item);
}

void TStack::Push(void* item, int32_t size) {
    while (Top && Top != Current) FreeItem(Pop());
    TStackNode* n = new TStackNode;
    n->Item = item;
    n->ItemSize = size;
    n->Below = Top;
    if (Top) Top->Above = n;
    else Bottom = n;
    Top = Current = n;
    Size += kNodeSize + size;
    Count++;
}

void* TStack::Pop() {
    if (!Top) throw Exception("Stack underflow");
    TStackNode* n = Top;
    if (Current == n) {
        Current = n->Below;
        Count--;
    }
    Top = n->Below;
    if (Top) Top->Above = nullptr;
    else Bottom = nullptr;
    Size -= kNodeSize + n->ItemSize;
    void* item = n->Item;
    delete n;
    return item;
}

void* TStack::StepBack() {
    if (!Current) throw Exception("Stack underflow");
    void* item = Current->Item;
    Current = Current->Below;
    Count--;
    return item;
}

void* TStack::StepForward() {
    TStackNode* next = Current ? Current->Above : Bottom;
    if (!next) throw Exception("Stack underflow");
    Current = next;
    Count++;
    return next->Item;
}

void TStack::ResetCursor() {
    Current = Top;
    Count = 0;
    for (TStackNode* n = Bottom; n; n = n->Above) Count++;
}

void TStack::DiscardBottom() {
    TStackNode* n = Bottom;
    if (!n) return;
    // The cursor must not keep pointing at a freed entry.
    if (Current == n) {
        Current = nullptr;
        Count = 0;
    } else if (Current) {
        Count--;
    }
    Bottom = n->Above;
    if (Bottom) Bottom->Below = nullptr;
    else Top = nullptr;
    Size -= kNodeSize + n->ItemSize;
    FreeItem(n->Item);
    delete n;
}

TUndoStack::TUndoStack() {
    OnFree = [](void* item) { delete static_cast<TUndoEntry*>(item); };
}

void TUndoStack::Trim() {
    if (SizeLimit < 0) return;
    while (Bottom && Size > SizeLimit) {
        DiscardBottom();
        // Keep going until the bracket that closes the transaction went too.
        while (Bottom) {
            bool bracket = static_cast<TUndoEntry*>(Bottom->Item)->Kind == ukBracket;
            DiscardBottom();
            if (bracket) break;
        }
    }
}
