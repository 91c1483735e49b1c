// The items of a list box or combo box: a string list (with objects) kept in
// step with the window's own list, so the items are there before the window
// is made and survive its being made again.
#pragma once

#include "Control.h"
#include "runtime/core/StringList.h"

class TControlItems {
public:
    // The window's messages: insert a string at an index, delete one, empty the list.
    struct TMessages {
        UINT Insert, Delete, Reset;
    };
    TControlItems(TWinControl& control, TMessages messages) : control_(control), messages_(messages) {
        list_.SetDuplicates(dupAccept);
    }

    int Count() const { return list_.Count(); }
    const std::string& Strings(int i) const { return list_.Strings(i); }
    void SetStrings(int i, const std::string& s);
    TObject* Objects(int i) const { return list_.Objects(i); }
    void SetObjects(int i, TObject* o) { list_.SetObjects(i, o); }
    // In a sorted list at its place; a duplicate is added too. Returns the index.
    int Add(const std::string& s) { return AddObject(s, nullptr); }
    int AddObject(const std::string& s, TObject* o);
    void Insert(int i, const std::string& s);
    void Delete(int i);
    void Clear();
    // Without regard to case; -1 when missing.
    int IndexOf(const std::string& s) const { return list_.IndexOf(s); }
    bool Sorted() const { return list_.Sorted(); }
    void SetSorted(bool s);
    // Lines joined with CR LF / cut at line ends.
    std::string Text() const { return list_.Text(); }
    void SetText(const std::string& text);
    void Assign(const TStringList& source);
    const TStringList& List() const { return list_; }
    // Batches changes without repainting the window between them.
    void BeginUpdate();
    void EndUpdate();

    // Puts every item into the window (the control calls it once the window exists).
    void Fill();

private:
    void WindowInsert(int i, const std::string& s);
    TWinControl& control_;
    TMessages messages_;
    TStringList list_;
    int updates_ = 0;
};
