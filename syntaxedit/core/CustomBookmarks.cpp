#include "CustomBookmarks.h"

TCustomBookmarks::TCustomBookmarks() {
    Names.SetSorted(true);
    Names.SetDuplicates(dupError);
}

TCustomBookmarks::~TCustomBookmarks() { Clear(); }

void TCustomBookmarks::Unlink(TBookmarkNode* n) {
    if (n->Prev) n->Prev->Next = n->Next;
    else First = n->Next;
    if (n->Next) n->Next->Prev = n->Prev;
    n->Next = n->Prev = nullptr;
}

void TCustomBookmarks::Discard(TBookmarkNode* n) {
    Unlink(n);
    int i;
    if (Names.Find(n->Name, i)) Names.Delete(i);
    std::string name = n->Name;
    delete n;
    if (OnFree) OnFree(name);
}

void TCustomBookmarks::Add(const std::string& name, int32_t position) {
    int i;
    TBookmarkNode* n;
    if (Names.Find(name, i)) {
        n = static_cast<TBookmarkNode*>(Names.Objects(i));
        Unlink(n);
    } else {
        n = new TBookmarkNode;
        n->Name = name;
        Names.AddObject(name, n);
    }
    n->Position = position;
    TBookmarkNode* after = nullptr;
    for (TBookmarkNode* p = First; p && p->Position <= position; p = p->Next) after = p;
    n->Prev = after;
    n->Next = after ? after->Next : First;
    if (n->Next) n->Next->Prev = n;
    if (after) after->Next = n;
    else First = n;
}

int32_t TCustomBookmarks::PositionOf(const std::string& name) const {
    int i;
    if (!Names.Find(name, i)) return -1;
    return static_cast<TBookmarkNode*>(Names.Objects(i))->Position;
}

void TCustomBookmarks::Clear() {
    while (First) Discard(First);
    Names.Clear();
}

TBookmarkNode* TCustomBookmarks::FindFrom(int32_t position) const {
    TBookmarkNode* n = First;
    while (n && n->Position < position && n->Next) n = n->Next;
    return n;
}

void TCustomBookmarks::TextInserted(int32_t count, int32_t position) {
    for (TBookmarkNode* n = First; n; n = n->Next)
        if (n->Position >= position) n->Position += count;
}

void TCustomBookmarks::TextDeleted(int32_t count, int32_t start) {
    int32_t end = start + count;
    for (TBookmarkNode* n = First; n;) {
        TBookmarkNode* next = n->Next;
        if (n->Position >= end) n->Position -= count;
        else if (n->Position > start) Discard(n);
        n = next;
    }
}
