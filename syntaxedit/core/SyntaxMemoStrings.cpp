// Lines of the editor through its messages.
#include "SyntaxMemoStrings.h"

#include <cstring>

#include "SyntaxMemoCore.h"
#include "Stream.h"
#include "StringList.h"

int32_t TSyntaxMemoStrings::LineIndex(int32_t index) {
    return static_cast<int32_t>(Memo.Perform(smmsg::LineIndex, static_cast<uintptr_t>(static_cast<intptr_t>(index)), 0));
}

int32_t TSyntaxMemoStrings::LineLength(int32_t offset) {
    return static_cast<int32_t>(Memo.Perform(smmsg::LineLength, static_cast<uintptr_t>(static_cast<intptr_t>(offset)), 0));
}

void TSyntaxMemoStrings::Replace(int32_t start, int32_t end, const std::string& s) {
    Memo.Perform(smmsg::SetSel, static_cast<uintptr_t>(start), end);
    Memo.Perform(smmsg::ReplaceSel, 0, reinterpret_cast<intptr_t>(s.c_str()));
}

int32_t TSyntaxMemoStrings::Count() {
    if (!Memo.HasWindow()) return 0;
    int32_t n = static_cast<int32_t>(Memo.Perform(smmsg::GetLineCount, 0, 0));
    if (n == 1 && LineLength(LineIndex(0)) == 0)
        return Memo.Perform(smmsg::GetTextLength, 0, 0) == 0 ? 0 : 1;
    return n;
}

std::string TSyntaxMemoStrings::Get(int32_t index) {
    std::vector<char> buffer(4096);
    uint16_t capacity = 4096;
    memcpy(buffer.data(), &capacity, sizeof capacity);
    intptr_t n = Memo.Perform(smmsg::GetLine, static_cast<uintptr_t>(static_cast<intptr_t>(index)),
                              reinterpret_cast<intptr_t>(buffer.data()));
    // A line that does not exist answers 0 without touching the buffer.
    return std::string(buffer.data(), static_cast<size_t>(n > 0 ? n : 0));
}

void TSyntaxMemoStrings::Put(int32_t index, const std::string& s) {
    int32_t start = LineIndex(index);
    if (index < 0 || start < 0) return;
    Replace(start, start + LineLength(start), s);
}

void TSyntaxMemoStrings::Insert(int32_t index, const std::string& s) {
    if (index < 0) return;
    int32_t start = LineIndex(index);
    if (start >= 0 && !(index == 0 && Count() == 0)) {
        Replace(start, start, s + "\r\n");
        return;
    }
    if (index == 0) {
        // The first line of an empty text goes in alone: no empty line after
        // it to take the colour meant for it.
        Replace(0, 0, s.empty() ? std::string("\r") : s);
        return;
    }
    int32_t p = LineIndex(index - 1);
    if (p < 0) return;
    int32_t len = LineLength(p);
    if (len > 0 || EmptyLastLineHeld()) {
        Replace(p + len, p + len, "\r" + s);
        if (s.empty()) HoldEmptyLastLine();
    } else if (s.empty()) {
        // The empty last line after a line break becomes the line itself.
        HoldEmptyLastLine();
    } else {
        Replace(p, p, s);
    }
}

// The empty last line after a final line break is where the next line goes,
// unless it was added as a line of its own and the text is as it left it
// (word wrap laying the lines out again changes no text).
bool TSyntaxMemoStrings::EmptyLastLineHeld() {
    TSyntaxMemoCore* core = Memo.TargetCore();
    return heldEmpty_ && core && core->Store().TextEditCount() == heldAt_;
}

void TSyntaxMemoStrings::HoldEmptyLastLine() {
    TSyntaxMemoCore* core = Memo.TargetCore();
    heldEmpty_ = core != nullptr;
    if (core) heldAt_ = core->Store().TextEditCount();
}

int32_t TSyntaxMemoStrings::Add(const std::string& s) {
    int32_t n = Count();
    Insert(n, s);
    return n;
}

void TSyntaxMemoStrings::Delete(int32_t index) {
    int32_t start = LineIndex(index);
    if (index < 0 || start < 0) return;
    int32_t next = LineIndex(index + 1);
    if (next >= 0) {
        Replace(start, next, "");
    } else if (start > 0) {
        // The last line goes with the line break before it.
        Replace(start - 1, start + LineLength(start), "");
    } else {
        Replace(start, start + LineLength(start), "");
    }
}

std::string TSyntaxMemoStrings::Text() {
    intptr_t len = Memo.Perform(smmsg::GetTextLength, 0, 0);
    std::string out(static_cast<size_t>(len) + 1, '\0');
    intptr_t n = Memo.Perform(smmsg::GetText, out.size(), reinterpret_cast<intptr_t>(&out[0]));
    out.resize(static_cast<size_t>(n));
    return out;
}

void TSyntaxMemoStrings::SetText(const std::string& value) {
    std::string norm;
    for (size_t i = 0; i < value.size(); i++) {
        char c = value[i];
        if (c == '\r' || c == '\n') {
            if (i + 1 < value.size() && value[i + 1] == (c == '\r' ? '\n' : '\r')) i++;
            norm += "\r\n";
        } else {
            norm += c;
        }
    }
    if (norm == Text()) return;
    Memo.Perform(smmsg::SetText, 0, reinterpret_cast<intptr_t>(norm.c_str()));
}

void TSyntaxMemoStrings::AddStrings(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& l : lines) text += l + "\r\n";
    TSyntaxMemoCore* core = Memo.TargetCore();
    if (!core) {
        Memo.Perform(smmsg::SetText, 0, reinterpret_cast<intptr_t>(text.c_str()));
        return;
    }
    TMemoryStream stream;
    stream.WriteBuffer(text.data(), static_cast<int32_t>(text.size()));
    stream.SetPosition(0);
    core->LoadFromStream(stream);
}

void TSyntaxMemoStrings::Assign(const std::vector<std::string>& lines) {
    BeginUpdate();
    struct End {
        TSyntaxMemoStrings& s;
        ~End() { s.EndUpdate(); }
    } end{*this};
    Clear();
    AddStrings(lines);
}

void TSyntaxMemoStrings::Assign(const TStringList& lines) { Assign(lines.StringVector()); }

void TSyntaxMemoStrings::Assign(TSyntaxMemoStrings& other) {
    if (&other == this) return;
    std::vector<std::string> lines;
    for (int32_t i = 0, n = other.Count(); i < n; i++) lines.push_back(other.Get(i));
    Assign(lines);
}

void TSyntaxMemoStrings::BeginUpdate() {
    if (updateCount_++ == 0 && Memo.HasWindow()) Memo.SetRedrawState(false);
}

void TSyntaxMemoStrings::EndUpdate() {
    if (updateCount_ > 0 && --updateCount_ == 0 && Memo.HasWindow()) Memo.SetRedrawState(true);
}

void TSyntaxMemoStrings::LoadFromStream(TStream& stream) {
    if (TSyntaxMemoCore* core = Memo.TargetCore()) core->LoadFromStream(stream);
}
void TSyntaxMemoStrings::SaveToStream(TStream& stream) {
    if (TSyntaxMemoCore* core = Memo.TargetCore()) core->SaveToStream(stream);
}
void TSyntaxMemoStrings::LoadFromFile(const std::string& name) {
    if (TSyntaxMemoCore* core = Memo.TargetCore()) core->LoadFromFile(name);
}
void TSyntaxMemoStrings::SaveToFile(const std::string& name) {
    if (TSyntaxMemoCore* core = Memo.TargetCore()) core->SaveToFile(name);
}
