// An ordered list of strings, each with an optional object pointer; optionally
// sorted (ASCII case-insensitive) with a duplicates rule. No platform headers.
#pragma once

#include <string>
#include <vector>

#include "Component.h"

class TStream;

enum TDuplicates { dupIgnore, dupAccept, dupError };

class TStringList : public TObject {
public:
    int Count() const { return static_cast<int>(items_.size()); }
    const std::string& Strings(int i) const;
    void SetStrings(int i, const std::string& s);
    TObject* Objects(int i) const;
    void SetObjects(int i, TObject* o);

    int Add(const std::string& s);  // in a sorted list: at its place (dupError: Exception "Duplicate")
    int AddObject(const std::string& s, TObject* o);
    void Insert(int i, const std::string& s);
    void Delete(int i);
    void Clear();
    int IndexOf(const std::string& s) const;  // case-insensitive, as the sorted order
    bool Find(const std::string& s, int& Index) const;  // binary search of a sorted list

    bool Sorted() const { return sorted_; }
    void SetSorted(bool v);
    TDuplicates Duplicates() const { return dup_; }
    void SetDuplicates(TDuplicates d) { dup_ = d; }

    // Lines joined with CR LF (each line ends with one).
    std::string Text() const;
    // Cut at CR LF, lone LF or lone CR; a final line without end counts.
    void SetText(const std::string& t);

    // "Name=Value" access.
    std::string Names(int i) const;
    std::string Values(const std::string& name) const;
    int IndexOfName(const std::string& name) const;

    void LoadFromStream(TStream& s);
    void SaveToStream(TStream& s) const;

    std::vector<std::string> StringVector() const;

private:
    struct Item {
        std::string s;
        TObject* o = nullptr;
    };
    void CheckIndex(int i) const;
    std::vector<Item> items_;
    bool sorted_ = false;
    TDuplicates dup_ = dupIgnore;
};
