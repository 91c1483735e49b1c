// The editor's Lines: a string list with no text of its own. Every access is
// turned into the editor's EDIT-style messages, sent to the control through
// TSyntaxMemoTarget (which makes the window when it needs one). Line indices
// are 0-based; a line's text never includes its line break. No platform headers.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class TStream;
class TStringList;
class TSyntaxMemoCore;

class TSyntaxMemoTarget {
public:
    virtual ~TSyntaxMemoTarget() = default;
    // The editor behind the messages, for whole-text loading and saving.
    virtual TSyntaxMemoCore* TargetCore() { return nullptr; }
    virtual intptr_t Perform(uint32_t msg, uintptr_t wParam, intptr_t lParam) = 0;
    virtual bool HasWindow() const = 0;
    virtual void ClearText() = 0;
    virtual void SetRedrawState(bool on) = 0;
};

class TSyntaxMemoStrings {
public:
    explicit TSyntaxMemoStrings(TSyntaxMemoTarget& memo) : Memo(memo) {}

    int32_t Count();
    std::string Get(int32_t index);
    std::string operator[](int32_t index) { return Get(index); }
    void Put(int32_t index, const std::string& s);
    void Insert(int32_t index, const std::string& s);
    int32_t Add(const std::string& s);
    void Append(const std::string& s) { Add(s); }
    void Delete(int32_t index);
    void Clear() { Memo.ClearText(); }
    // Lines joined by CR LF, as the control reports them.
    std::string Text();
    void SetText(const std::string& value);
    // Replaces the whole text with the other list's lines (as loading does).
    void AddStrings(const std::vector<std::string>& lines);
    // Clear, then AddStrings, under one update: the old text, its line
    // colours and its undo history go.
    void Assign(const std::vector<std::string>& lines);
    void Assign(const TStringList& lines);
    void Assign(TSyntaxMemoStrings& other);
    void BeginUpdate();
    void EndUpdate();
    // The control's whole text, in its SaveFormat when saving.
    void LoadFromStream(TStream& stream);
    void SaveToStream(TStream& stream);
    void LoadFromFile(const std::string& name);
    void SaveToFile(const std::string& name);

    TSyntaxMemoTarget& Memo;

private:
    int32_t LineIndex(int32_t index);
    int32_t LineLength(int32_t offset);
    void Replace(int32_t start, int32_t end, const std::string& s);
    bool EmptyLastLineHeld();
    void HoldEmptyLastLine();
    int updateCount_ = 0;
    bool heldEmpty_ = false;
    uint32_t heldAt_ = 0;
};
