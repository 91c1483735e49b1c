#include "StringList.h"

#include <algorithm>

#include "Stream.h"
#include "SysUtils.h"

void TStringList::CheckIndex(int i) const {
    if (i < 0 || i >= Count()) throw Exception(Format("List index out of bounds (%d)", i));
}

const std::string& TStringList::Strings(int i) const {
    CheckIndex(i);
    return items_[static_cast<size_t>(i)].s;
}

void TStringList::SetStrings(int i, const std::string& s) {
    CheckIndex(i);
    items_[static_cast<size_t>(i)].s = s;
}

TObject* TStringList::Objects(int i) const {
    CheckIndex(i);
    return items_[static_cast<size_t>(i)].o;
}

void TStringList::SetObjects(int i, TObject* o) {
    CheckIndex(i);
    items_[static_cast<size_t>(i)].o = o;
}

int TStringList::Add(const std::string& s) { return AddObject(s, nullptr); }

int TStringList::AddObject(const std::string& s, TObject* o) {
    int at = Count();
    if (sorted_) {
        if (Find(s, at)) {
            if (dup_ == dupIgnore) return at;
            if (dup_ == dupError) throw Exception("String list does not allow duplicates");
        }
    }
    items_.insert(items_.begin() + at, Item{s, o});
    return at;
}

void TStringList::Insert(int i, const std::string& s) {
    if (sorted_) throw Exception("Operation not allowed on sorted string list");
    if (i < 0 || i > Count()) throw Exception(Format("List index out of bounds (%d)", i));
    items_.insert(items_.begin() + i, Item{s, nullptr});
}

void TStringList::Delete(int i) {
    CheckIndex(i);
    items_.erase(items_.begin() + i);
}

void TStringList::Clear() { items_.clear(); }

bool TStringList::Find(const std::string& s, int& Index) const {
    int lo = 0, hi = Count() - 1;
    bool found = false;
    while (lo <= hi) {
        int mid = (lo + hi) / 2;
        int c = CompareText(items_[static_cast<size_t>(mid)].s, s);
        if (c < 0) lo = mid + 1;
        else {
            hi = mid - 1;
            if (c == 0) {
                found = true;
                if (dup_ != dupAccept) lo = mid;
            }
        }
    }
    Index = lo;
    return found;
}

int TStringList::IndexOf(const std::string& s) const {
    if (sorted_) {
        int i;
        return Find(s, i) ? i : -1;
    }
    for (int i = 0; i < Count(); ++i)
        if (SameText(items_[static_cast<size_t>(i)].s, s)) return i;
    return -1;
}

void TStringList::SetSorted(bool v) {
    if (v && !sorted_)
        std::stable_sort(items_.begin(), items_.end(),
                         [](const Item& a, const Item& b) { return CompareText(a.s, b.s) < 0; });
    sorted_ = v;
}

std::string TStringList::Text() const {
    std::string r;
    for (const Item& it : items_) {
        r += it.s;
        r += "\r\n";
    }
    return r;
}

void TStringList::SetText(const std::string& t) {
    Clear();
    size_t i = 0, start = 0;
    while (i < t.size()) {
        char c = t[i];
        if (c == '\r' || c == '\n') {
            Add(t.substr(start, i - start));
            if (c == '\r' && i + 1 < t.size() && t[i + 1] == '\n') ++i;
            start = i + 1;
        }
        ++i;
    }
    if (start < t.size()) Add(t.substr(start));
}

std::string TStringList::Names(int i) const {
    const std::string& s = Strings(i);
    size_t eq = s.find('=');
    return eq == std::string::npos ? std::string() : s.substr(0, eq);
}

int TStringList::IndexOfName(const std::string& name) const {
    for (int i = 0; i < Count(); ++i) {
        const std::string& s = items_[static_cast<size_t>(i)].s;
        size_t eq = s.find('=');
        if (eq != std::string::npos && SameText(s.substr(0, eq), name)) return i;
    }
    return -1;
}

std::string TStringList::Values(const std::string& name) const {
    int i = IndexOfName(name);
    if (i < 0) return std::string();
    const std::string& s = items_[static_cast<size_t>(i)].s;
    return s.substr(s.find('=') + 1);
}

void TStringList::LoadFromStream(TStream& s) {
    int64_t n = s.Size() - s.Position();
    std::string buf(static_cast<size_t>(n > 0 ? n : 0), '\0');
    if (n > 0) s.ReadBuffer(&buf[0], static_cast<int32_t>(n));
    SetText(buf);
}

void TStringList::SaveToStream(TStream& s) const {
    std::string t = Text();
    if (!t.empty()) s.WriteBuffer(t.data(), static_cast<int32_t>(t.size()));
}

std::vector<std::string> TStringList::StringVector() const {
    std::vector<std::string> v;
    v.reserve(items_.size());
    for (const Item& it : items_) v.push_back(it.s);
    return v;
}
