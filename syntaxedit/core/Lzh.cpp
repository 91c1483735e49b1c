#include "Lzh.h"

#include <memory>
#include <new>
#include <vector>

namespace {

const int N = 4096;          // ring buffer
const int F = 60;            // look-ahead
const int THRESHOLD = 2;     // matches of 3..60 bytes
const int NIL = N;
const int N_CHAR = 256 - THRESHOLD + F;  // 314 symbols
const int T = N_CHAR * 2 - 1;            // 627 tree nodes
const int R = T - 1;                     // root
const unsigned MAX_FREQ = 0x8000;

// The fixed prefix code of the upper 6 bits of a match position: 1 code of 3
// bits, 3 of 4, 8 of 5, 12 of 6, 24 of 7 and 16 of 8, assigned in order.
struct PositionCode {
    uint8_t len[64], code[64];    // per upper 6 bits: code length, code left-aligned in 8 bits
    uint8_t dcode[256], dlen[256];  // per next 8 input bits: upper 6 bits, code length
    PositionCode() {
        static const int counts[] = {1, 3, 8, 12, 24, 16};
        int sym = 0, next = 0;
        for (int l = 3; l <= 8; l++)
            for (int i = 0; i < counts[l - 3]; i++, sym++) {
                len[sym] = static_cast<uint8_t>(l);
                code[sym] = static_cast<uint8_t>(next);
                for (int k = 0; k < (1 << (8 - l)); k++) {
                    dcode[next + k] = static_cast<uint8_t>(sym);
                    dlen[next + k] = static_cast<uint8_t>(l);
                }
                next += 1 << (8 - l);
            }
    }
};
const PositionCode& Positions() {
    static const PositionCode pc;
    return pc;
}

class Huffman {
public:
    Huffman() : freq(T + 1), prnt(T + N_CHAR), son(T) {
        for (int i = 0; i < N_CHAR; i++) {
            freq[i] = 1;
            son[i] = i + T;
            prnt[i + T] = i;
        }
        for (int i = 0, j = N_CHAR; j <= R; i += 2, j++) {
            freq[j] = freq[i] + freq[i + 1];
            son[j] = i;
            prnt[i] = prnt[i + 1] = j;
        }
        freq[T] = 0xFFFF;
        prnt[R] = 0;
    }

    void Update(int c) {
        if (freq[R] == MAX_FREQ) Reconstruct();
        c = prnt[c + T];
        do {
            unsigned k = ++freq[c];
            int l = c + 1;
            if (k > freq[l]) {
                while (k > freq[++l]) {
                }
                l--;
                freq[c] = freq[l];
                freq[l] = k;
                int i = son[c];
                prnt[i] = l;
                if (i < T) prnt[i + 1] = l;
                int j = son[l];
                son[l] = i;
                prnt[j] = c;
                if (j < T) prnt[j + 1] = c;
                son[c] = j;
                c = l;
            }
        } while ((c = prnt[c]) != 0);
    }

    std::vector<unsigned> freq;
    std::vector<int> prnt;
    std::vector<int> son;

private:
    // Halves the leaf counts (rounding up) and rebuilds the inner nodes sorted.
    void Reconstruct() {
        int j = 0;
        for (int i = 0; i < T; i++)
            if (son[i] >= T) {
                freq[j] = (freq[i] + 1) / 2;
                son[j] = son[i];
                j++;
            }
        for (int i = 0, jj = N_CHAR; jj < T; i += 2, jj++) {
            unsigned f = freq[jj] = freq[i] + freq[i + 1];
            int k = jj - 1;
            while (f < freq[k]) k--;
            k++;
            for (int m = jj; m > k; m--) {
                freq[m] = freq[m - 1];
                son[m] = son[m - 1];
            }
            freq[k] = f;
            son[k] = i;
        }
        for (int i = 0; i < T; i++) {
            int k = son[i];
            if (k >= T) prnt[k] = i;
            else prnt[k] = prnt[k + 1] = i;
        }
    }
};

class Encoder {
public:
    Encoder(TLzhSource& in, TLzhSink& out)
        : in_(in), out_(out), text(N + F - 1, ' '), lson(N + 1), rson(N + 257), dad(N + 1) {}

    void Run() {
        for (int i = N + 1; i <= N + 256; i++) rson[i] = NIL;
        for (int i = 0; i < N; i++) dad[i] = NIL;
        int s = 0, r = N - F, len = 0, c;
        for (; len < F && (c = in_.GetByte()) >= 0; len++) text[r + len] = static_cast<uint8_t>(c);
        for (int i = 1; i <= F; i++) InsertNode(r - i);
        InsertNode(r);
        do {
            if (matchLength > len) matchLength = len;
            if (matchLength <= THRESHOLD) {
                matchLength = 1;
                EncodeChar(text[r]);
            } else {
                EncodeChar(255 - THRESHOLD + matchLength);
                EncodePosition(matchPosition);
            }
            int last = matchLength, i = 0;
            for (; i < last && (c = in_.GetByte()) >= 0; i++) {
                DeleteNode(s);
                text[s] = static_cast<uint8_t>(c);
                if (s < F - 1) text[s + N] = static_cast<uint8_t>(c);
                s = (s + 1) & (N - 1);
                r = (r + 1) & (N - 1);
                InsertNode(r);
            }
            while (i++ < last) {
                DeleteNode(s);
                s = (s + 1) & (N - 1);
                r = (r + 1) & (N - 1);
                if (--len) InsertNode(r);
            }
        } while (len > 0);
        if (bitCount_ > 0) out_.PutByte(static_cast<uint8_t>(bitBuf_ << (8 - bitCount_)));
    }

private:
    void InsertNode(int r) {
        int cmp = 1, p = N + 1 + text[r];
        rson[r] = lson[r] = NIL;
        matchLength = 0;
        for (;;) {
            if (cmp >= 0) {
                if (rson[p] != NIL) p = rson[p];
                else {
                    rson[p] = r;
                    dad[r] = p;
                    return;
                }
            } else {
                if (lson[p] != NIL) p = lson[p];
                else {
                    lson[p] = r;
                    dad[r] = p;
                    return;
                }
            }
            int i = 1;
            for (; i < F; i++)
                if ((cmp = text[r + i] - text[p + i]) != 0) break;
            if (i > THRESHOLD) {
                int pos = ((r - p) & (N - 1)) - 1;
                if (i > matchLength) {
                    matchPosition = pos;
                    if ((matchLength = i) >= F) break;
                } else if (i == matchLength && pos < matchPosition) {
                    matchPosition = pos;
                }
            }
        }
        // A full-length match: r takes p's place in the tree.
        dad[r] = dad[p];
        lson[r] = lson[p];
        rson[r] = rson[p];
        dad[lson[p]] = r;
        dad[rson[p]] = r;
        if (rson[dad[p]] == p) rson[dad[p]] = r;
        else lson[dad[p]] = r;
        dad[p] = NIL;
    }

    void DeleteNode(int p) {
        if (dad[p] == NIL) return;
        int q;
        if (rson[p] == NIL) q = lson[p];
        else if (lson[p] == NIL) q = rson[p];
        else {
            q = lson[p];
            if (rson[q] != NIL) {
                do q = rson[q];
                while (rson[q] != NIL);
                rson[dad[q]] = lson[q];
                dad[lson[q]] = dad[q];
                lson[q] = lson[p];
                dad[lson[p]] = q;
            }
            rson[q] = rson[p];
            dad[rson[p]] = q;
        }
        dad[q] = dad[p];
        if (rson[dad[p]] == p) rson[dad[p]] = q;
        else lson[dad[p]] = q;
        dad[p] = NIL;
    }

    void PutBits(int n, unsigned value) {  // the n low bits of value, most significant first
        for (int i = n - 1; i >= 0; i--) {
            bitBuf_ = (bitBuf_ << 1) | ((value >> i) & 1);
            if (++bitCount_ == 8) {
                out_.PutByte(static_cast<uint8_t>(bitBuf_));
                bitBuf_ = 0;
                bitCount_ = 0;
            }
        }
    }

    void EncodeChar(int c) {
        // Path bits from the leaf up to the root, sent root first.
        pathBits_.clear();
        int k = huff_.prnt[c + T];
        do {
            pathBits_.push_back(static_cast<uint8_t>(k & 1));
        } while ((k = huff_.prnt[k]) != R);
        for (size_t i = pathBits_.size(); i-- > 0;) PutBits(1, pathBits_[i]);
        huff_.Update(c);
    }

    void EncodePosition(int c) {
        const PositionCode& pc = Positions();
        int hi = c >> 6;
        PutBits(pc.len[hi], static_cast<unsigned>(pc.code[hi]) >> (8 - pc.len[hi]));
        PutBits(6, static_cast<unsigned>(c & 0x3F));
    }

    TLzhSource& in_;
    TLzhSink& out_;
    Huffman huff_;
    std::vector<uint8_t> text;
    std::vector<int> lson, rson, dad;
    int matchPosition = 0, matchLength = 0;
    unsigned bitBuf_ = 0;
    int bitCount_ = 0;
    std::vector<uint8_t> pathBits_;
};

class Decoder {
public:
    Decoder(TLzhSource& in, TLzhSink& out) : in_(in), out_(out), text(N, ' ') {}

    void Run(uint32_t size) {
        int r = N - F;
        uint32_t count = 0;
        while (count < size) {
            int c = DecodeChar();
            if (c < 256) {
                out_.PutByte(static_cast<uint8_t>(c));
                text[r] = static_cast<uint8_t>(c);
                r = (r + 1) & (N - 1);
                count++;
            } else {
                int i = (r - DecodePosition() - 1) & (N - 1);
                int j = c - 255 + THRESHOLD;
                for (int k = 0; k < j; k++) {
                    uint8_t b = text[(i + k) & (N - 1)];
                    out_.PutByte(b);
                    text[r] = b;
                    r = (r + 1) & (N - 1);
                    count++;
                }
            }
        }
    }

private:
    int GetBit() {
        if (bitCount_ == 0) {
            int b = in_.GetByte();
            if (b < 0) in_.InputExhausted();
            bitBuf_ = static_cast<unsigned>(b);
            bitCount_ = 8;
        }
        bitCount_--;
        return (bitBuf_ >> bitCount_) & 1;
    }

    int DecodeChar() {
        int c = huff_.son[R];
        while (c < T) c = huff_.son[c + GetBit()];
        c -= T;
        huff_.Update(c);
        return c;
    }

    int DecodePosition() {
        const PositionCode& pc = Positions();
        unsigned i = 0;
        for (int b = 0; b < 8; b++) i = (i << 1) | static_cast<unsigned>(GetBit());
        unsigned c = static_cast<unsigned>(pc.dcode[i]) << 6;
        int j = pc.dlen[i] - 2;
        while (j-- > 0) i = (i << 1) | static_cast<unsigned>(GetBit());
        return static_cast<int>(c | (i & 0x3F));
    }

    TLzhSource& in_;
    TLzhSink& out_;
    Huffman huff_;
    std::vector<uint8_t> text;
    unsigned bitBuf_ = 0;
    int bitCount_ = 0;
};

}  // namespace

void LzhEncode(TLzhSource& in, TLzhSink& out) {
    std::unique_ptr<Encoder> e;
    try {
        e.reset(new Encoder(in, out));
    } catch (const std::bad_alloc&) {
        throw ElzhException("LZH : Cannot get memory for dictionary tables");
    }
    e->Run();
}

void LzhDecode(TLzhSource& in, TLzhSink& out, uint32_t size) {
    std::unique_ptr<Decoder> d;
    try {
        d.reset(new Decoder(in, out));
    } catch (const std::bad_alloc&) {
        throw ElzhException("LZH : Cannot get memory for dictionary tables");
    }
    d->Run(size);
}
