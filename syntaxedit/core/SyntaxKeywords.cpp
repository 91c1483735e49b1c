#include "SyntaxKeywords.h"

#include "StreamPrimitives.h"
#include "SyntaxMemoErrors.h"

TSyntaxKeywords::TSyntaxKeywords() = default;

TSyntaxKeywords::~TSyntaxKeywords() { ClearEndStyles(); }

void TSyntaxKeywords::ClearEndStyles() {
    for (int i = 0; i < EndStyles.Count(); i++) delete EndStyles.Objects(i);
    EndStyles.Clear();
}

void TSyntaxKeywords::AddKeyword(const std::string& word, bool caseSensitive, intptr_t data,
                                 const TStateSet& states, const TSM_CharGroup& followGroup) {
    // The tree ignores an empty word, and the saved table ends at the first
    // empty word: listing one would make the table unreadable.
    if (word.empty()) return;
    std::unique_ptr<TEndStyleObject> style(new TEndStyleObject);
    style->Group = followGroup;
    style->Value = static_cast<int32_t>(data);
    style->States = states;
    TKeywords::AddKeyword(word, caseSensitive, data, states, followGroup);
    EndStyles.AddObject(word, style.get());
    style.release();
}

void TSyntaxKeywords::SaveToStream(TStream& s) const {
    WriteInt(s, CaseSensitive ? 1 : 0);
    WriteInt(s, EndStyles.Count());
    for (int i = 0; i < EndStyles.Count(); i++) {
        const TEndStyleObject* e = static_cast<const TEndStyleObject*>(EndStyles.Objects(i));
        WriteShortString(s, EndStyles.Strings(i));
        e->Group.SaveToStream(s);
        WriteSet(s, e->States);
        WriteInt(s, e->Value);
    }
    WriteShortString(s, std::string());
}

void TSyntaxKeywords::LoadFromStream(TStream& s) {
    TSyntaxKeywords t;
    t.Clear();
    t.CaseSensitive = ReadInt(s) != 0;
    // Each end style takes at least 2 + 37 + 32 + 4 bytes.
    int32_t count = ReadCount(s, INT32_MAX, 75, "keyword");
    int32_t read = 0;
    if (count > 0) {
        for (;;) {
            std::string word = ReadShortString(s);
            if (word.empty()) break;
            TSM_CharGroup group;
            group.LoadFromStream(s);
            TStateSet states = ReadSet(s);
            int32_t value = ReadInt(s);
            if (++read > count) break;
            t.AddKeyword(word, t.CaseSensitive, value, states, group);
        }
    } else {
        ReadShortString(s);
    }
    if (read != count) throw ESyntaxMemo(Format("Invalid keyword count in stream: %d (%d found)", count, read));
    SwapTree(t);
    std::swap(EndStyles, t.EndStyles);
}
