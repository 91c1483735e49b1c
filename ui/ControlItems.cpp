#include "ControlItems.h"

void TControlItems::WindowInsert(int i, const std::string& s) {
    if (control_.HandleAllocated())
        SendMessageA(control_.Handle(), messages_.Insert, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(s.c_str()));
}

void TControlItems::SetStrings(int i, const std::string& s) {
    TObject* o = list_.Objects(i);
    if (list_.Sorted()) {
        // The text decides the place: out and in again.
        Delete(i);
        AddObject(s, o);
        return;
    }
    list_.SetStrings(i, s);
    if (control_.HandleAllocated()) {
        SendMessageA(control_.Handle(), messages_.Delete, static_cast<WPARAM>(i), 0);
        WindowInsert(i, s);
    }
}

int TControlItems::AddObject(const std::string& s, TObject* o) {
    const int i = list_.AddObject(s, o);
    WindowInsert(i, s);
    return i;
}

void TControlItems::Insert(int i, const std::string& s) {
    list_.Insert(i, s);
    WindowInsert(i, s);
}

void TControlItems::Delete(int i) {
    list_.Delete(i);
    if (control_.HandleAllocated()) SendMessageA(control_.Handle(), messages_.Delete, static_cast<WPARAM>(i), 0);
}

void TControlItems::Clear() {
    list_.Clear();
    if (control_.HandleAllocated()) SendMessageA(control_.Handle(), messages_.Reset, 0, 0);
}

void TControlItems::SetSorted(bool s) {
    if (s == list_.Sorted()) return;
    list_.SetSorted(s);
    Fill();
}

void TControlItems::SetText(const std::string& text) {
    TStringList lines;
    lines.SetText(text);
    Assign(lines);
}

void TControlItems::Assign(const TStringList& source) {
    list_.Clear();
    for (int i = 0; i < source.Count(); ++i) list_.AddObject(source.Strings(i), source.Objects(i));
    Fill();
}

void TControlItems::BeginUpdate() {
    if (updates_++ == 0 && control_.HandleAllocated()) SendMessageA(control_.Handle(), WM_SETREDRAW, FALSE, 0);
}

void TControlItems::EndUpdate() {
    if (updates_ == 0 || --updates_ > 0 || !control_.HandleAllocated()) return;
    SendMessageA(control_.Handle(), WM_SETREDRAW, TRUE, 0);
    control_.Invalidate();
}

void TControlItems::Fill() {
    if (!control_.HandleAllocated()) return;
    HWND h = control_.Handle();
    SendMessageA(h, messages_.Reset, 0, 0);
    for (int i = 0; i < list_.Count(); ++i)
        SendMessageA(h, messages_.Insert, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(list_.Strings(i).c_str()));
}
