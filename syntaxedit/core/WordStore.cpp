#include "WordStore.h"

namespace {

uint8_t Lower(uint8_t c) { return c >= 'A' && c <= 'Z' ? static_cast<uint8_t>(c + 32) : c; }

}  // namespace

TWordStore::~TWordStore() { FreeList(Root); }

void TWordStore::FreeList(TWordNode* n) {
    // Siblings iteratively, children recursively: depth is bounded by word length.
    while (n) {
        TWordNode* next = n->Sibling;
        FreeList(n->Child);
        delete n;
        n = next;
    }
}

TWordNode* TWordStore::Insert(const std::string& word) {
    TWordNode** list = &Root;
    TWordNode* node = nullptr;
    for (size_t i = 0; i < word.size(); i++) {
        uint8_t ch = Lower(static_cast<uint8_t>(word[i]));
        TWordNode** link = list;
        while (*link && (*link)->Ch != ch) link = &(*link)->Sibling;
        if (!*link) {
            *link = new TWordNode;
            (*link)->Ch = ch;
        }
        node = *link;
        if (i == 0) Index[ch] = node;
        list = &node->Child;
    }
    if (node) node->IsWordEnd = true;
    return node;
}

void TWordStore::AddText(const std::string& word, const std::string& text) {
    if (TWordNode* n = Insert(word)) n->Text.reset(new std::string(text));
}

void TWordStore::AddValue(const std::string& word, int32_t value) {
    if (TWordNode* n = Insert(word)) n->Value = value;
}

TWordNode* TWordStore::Find(const std::string& word) const {
    if (word.empty()) return nullptr;
    TWordNode* node = Index[Lower(static_cast<uint8_t>(word[0]))];
    for (size_t i = 1; node && i < word.size(); i++) {
        uint8_t ch = Lower(static_cast<uint8_t>(word[i]));
        TWordNode* c = node->Child;
        while (c && c->Ch != ch) c = c->Sibling;
        node = c;
    }
    return node && node->IsWordEnd ? node : nullptr;
}

const std::string* TWordStore::FindText(const std::string& word) const {
    TWordNode* n = Find(word);
    return n ? n->Text.get() : nullptr;
}

bool TWordStore::Contains(const std::string& word) const { return Find(word) != nullptr; }

int32_t TWordStore::MatchLongest(const std::string& text, size_t& pos) const {
    if (pos >= text.size()) return -1;
    TWordNode* node = Index[Lower(static_cast<uint8_t>(text[pos]))];
    size_t p = pos;
    int32_t value = -1;
    size_t end = pos;
    while (node) {
        p++;
        uint8_t next = p < text.size() ? static_cast<uint8_t>(text[p]) : 0;
        if (node->IsWordEnd && !(IsIdentChar(node->Ch) && IsIdentChar(next))) {
            value = node->Value;
            end = p;
        }
        TWordNode* c = node->Child;
        uint8_t ch = Lower(next);
        while (c && c->Ch != ch) c = c->Sibling;
        node = next ? c : nullptr;
    }
    if (value >= 0) pos = end;
    return value;
}
