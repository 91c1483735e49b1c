#include "LineNode.h"

#include <cstring>

#include "LinePool.h"

TLineNode* NewLineNode(const char* text, int len) {
    TLineNode* n = new TLineNode;
    SetLineText(n, text, len);
    return n;
}

void* TLineNode::operator new(size_t size) { return linepool::AllocNode(size); }
void TLineNode::operator delete(void* p, size_t size) { linepool::FreeNode(p, size); }

void SetLineText(TLineNode* node, const char* text, int len) {
    char* buf = linepool::AllocText(static_cast<size_t>(len) + 1);
    if (len > 0) memcpy(buf, text, static_cast<size_t>(len));
    buf[len] = 0;
    if (node->Text) linepool::FreeText(node->Text, static_cast<size_t>(node->Len) + 1);
    delete[] node->Styles;
    node->Styles = nullptr;
    node->Text = buf;
    node->Len = static_cast<uint16_t>(len);
    if (memchr(buf, '\t', static_cast<size_t>(len))) node->Flags |= lfHasTab;
    else node->Flags &= ~static_cast<uint32_t>(lfHasTab);
}

void FreeLineNode(TLineNode* node) {
    if (!node) return;
    if (node->Text) linepool::FreeText(node->Text, static_cast<size_t>(node->Len) + 1);
    delete[] node->Styles;
    delete node;
}

void FreeLineChain(TLineNode* node) {
    while (node) {
        TLineNode* next = node->Next;
        FreeLineNode(node);
        node = next;
    }
}

int32_t LineStartOffset(const TLineNode* node) {
    int32_t sum = 0;
    if (!node) return 0;
    for (const TLineNode* p = node->Prev; p; p = p->Prev) sum += p->Len;
    return sum;
}

std::pair<int32_t, int32_t> OrderPair(std::pair<int32_t, int32_t> p) {
    if (p.first > p.second) std::swap(p.first, p.second);
    return p;
}

TCharSet CharSetFromString(const std::string& s) {
    TCharSet set;
    for (unsigned char c : s) set.Include(c);
    return set;
}

std::string ReverseString(const std::string& s) { return std::string(s.rbegin(), s.rend()); }

int NormalizeInsertText(char* dest, const char* src, int count) {
    int out = 0;
    for (int i = 0; i < count; i++) {
        unsigned char c = static_cast<unsigned char>(src[i]);
        if (c == '\r' || c == '\n') {
            // A CR LF or LF CR pair is one line break.
            if (i + 1 < count) {
                unsigned char d = static_cast<unsigned char>(src[i + 1]);
                if ((d == '\r' || d == '\n') && d != c) i++;
            }
            dest[out++] = '\r';
        } else if (c == '\t' || c >= 32) {
            dest[out++] = static_cast<char>(c);
        } else {
            dest[out++] = '.';
        }
    }
    dest[out] = 0;
    return out;
}

std::string NormalizeInsertText(const std::string& src) {
    std::string out(src.size() + 1, '\0');
    int n = NormalizeInsertText(&out[0], src.data(), static_cast<int>(src.size()));
    out.resize(static_cast<size_t>(n));
    return out;
}
