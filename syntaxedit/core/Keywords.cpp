#include "Keywords.h"

#include <utility>
#include <vector>

#include "SyntaxMemoErrors.h"

namespace {
uint8_t Fold(uint8_t c, bool caseSensitive) {
    return !caseSensitive && c >= 'A' && c <= 'Z' ? static_cast<uint8_t>(c + 32) : c;
}

std::string FoldWord(const std::string& w, bool caseSensitive) {
    std::string s = w;
    for (char& c : s) c = static_cast<char>(Fold(static_cast<uint8_t>(c), caseSensitive));
    return s;
}
}  // namespace

TKeywords::TKeywords() { CharGroups.Intern(TSM_CharGroup()); }

TKeywords::~TKeywords() { Clear(); }

void TKeywords::Clear() {
    // Later siblings first, then children, then the node's entries from the
    // last to the first: the reverse of a walk that visits a node, its
    // children and then its later siblings. Done without recursion, as words
    // may be long.
    std::vector<KeywordNode*> order;
    std::vector<KeywordNode*> todo;
    if (Root) todo.push_back(Root);
    while (!todo.empty()) {
        KeywordNode* n = todo.back();
        todo.pop_back();
        order.push_back(n);
        if (n->Next) todo.push_back(n->Next);
        if (n->Child) todo.push_back(n->Child);
    }
    for (auto it = order.rbegin(); it != order.rend(); ++it) {
        KeywordNode* n = *it;
        std::vector<KeywordEntry*> entries;
        for (KeywordEntry* e = n->Entries; e; e = e->Next) entries.push_back(e);
        for (auto e = entries.rbegin(); e != entries.rend(); ++e) {
            if (OnDeleteData) OnDeleteData((*e)->Data);
            delete *e;
        }
        delete n;
    }
    Root = nullptr;
    for (auto& f : FirstChar) f = nullptr;
    CharGroups.Clear();
    CaseSensitive = false;
}

void TKeywords::SwapTree(TKeywords& o) {
    std::swap(CaseSensitive, o.CaseSensitive);
    CharGroups.Swap(o.CharGroups);
    std::swap(Root, o.Root);
    for (int i = 0; i < 256; i++) std::swap(FirstChar[i], o.FirstChar[i]);
}

void TKeywords::AddKeyword(const std::string& word, bool caseSensitive, intptr_t data, const TStateSet& states,
                           const TSM_CharGroup& followGroup) {
    CaseSensitive = caseSensitive;
    if (word.empty()) return;
    std::string w = FoldWord(word, caseSensitive);
    KeywordNode** list = &Root;
    KeywordNode* node = nullptr;
    for (size_t i = 0; i < w.size(); i++) {
        uint8_t ch = static_cast<uint8_t>(w[i]);
        KeywordNode** link = list;
        while (*link && (*link)->Ch != ch) link = &(*link)->Next;
        if (!*link) {
            *link = new KeywordNode;
            (*link)->Ch = ch;
        }
        node = *link;
        node->States |= states;
        if (i == 0 && !FirstChar[ch]) FirstChar[ch] = node;
        list = &node->Child;
    }
    KeywordEntry** last = &node->Entries;
    for (; *last; last = &(*last)->Next)
        if ((*last)->States.Meets(states)) throw EKeywords(Format("Duplicate keyword - '%s'", w.c_str()));
    KeywordEntry* e = new KeywordEntry;
    e->States = states;
    e->Data = data;
    try {
        e->FollowGroup = AddCharGroup(followGroup);
    } catch (...) {
        delete e;
        throw;
    }
    *last = e;
}

KeywordEntry* TKeywords::MatchKeyword(TEdStream& stream, bool caseSensitive, int32_t& length, int32_t& startPos,
                                      int32_t& startOffset, bool forward) {
    uint8_t ch = Fold(stream.CurChar(), caseSensitive);
    KeywordNode* candidate = FirstChar[ch];
    startPos = stream.GetPosition();
    startOffset = stream.Offset();
    length = 0;
    KeywordEntry* best = nullptr;
    int32_t bestEnd = startPos;
    bool beforeStart = false;  // stepped back past the first character
    while (candidate && candidate->Ch == ch && candidate->States.Meets(ActiveStates)) {
        if (forward) {
            stream.Next();
        } else if (stream.GetPosition() == 0) {
            beforeStart = true;
        } else {
            stream.Prev();
        }
        length++;
        uint8_t under = beforeStart ? 0 : stream.CurChar();
        for (KeywordEntry* e = candidate->Entries; e; e = e->Next) {
            if (!e->States.Meets(ActiveStates)) continue;
            const TSM_CharGroup& g = CharGroups.Get(e->FollowGroup);
            if (g.IsEmpty() || g.Contains(under)) {
                best = e;
                bestEnd = stream.GetPosition();
                break;
            }
        }
        if (beforeStart) break;
        ch = Fold(under, caseSensitive);
        KeywordNode* c = candidate->Child;
        while (c && c->Ch != ch) c = c->Next;
        candidate = c;
    }
    if (!best) {
        stream.MoveTo(startPos);
        length = 1;
        stream.Next();
        return nullptr;
    }
    stream.MoveTo(bestEnd);
    length = forward ? bestEnd - startPos : startPos - bestEnd;
    return best;
}

KeywordNode* TKeywords::FindPrefix(const std::string& word, int32_t& followed, bool caseSensitive) const {
    followed = 0;
    std::string w = FoldWord(word, caseSensitive);
    if (w.empty()) return nullptr;
    KeywordNode* node = FirstChar[static_cast<uint8_t>(w[0])];
    if (!node) return nullptr;
    followed = 1;
    for (size_t i = 1;; i++) {
        if (node->Entries && i == w.size()) return node;
        if (i >= w.size()) return node;  // the terminating zero: no node holds it
        uint8_t ch = static_cast<uint8_t>(w[i]);
        KeywordNode* c = node->Child;
        while (c && c->Ch != ch) c = c->Next;
        if (!c) return node;
        node = c;
        followed++;
    }
}
