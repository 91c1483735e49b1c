// Random insert, delete, split, join and re-cut sequences against the text
// store, checked after every step against a plain string and the store's own
// invariants; a kept stream, the watcher's counts and the track data's back
// references are checked too.
#include <cstdint>
#include <cstdio>
#include <string>

#include "EdStream.h"
#include "TextStore.h"

namespace {

class Track : public TObject {
public:
    TLineNode* node = nullptr;
};

class Watcher : public TTextStoreWatcher {
public:
    int32_t length = 0, lines = 0, live = 0;
    void StoreEdited(TTextStore&, const TStoreEdit& e) override {
        length += e.Inserted - e.Removed;
        lines += e.LinesAdded - e.LinesRemoved;
    }
    void TrackDataMoved(TObject* t, TLineNode* n) override { static_cast<Track*>(t)->node = n; }
    void TrackDataFreed(TObject* t) override {
        live--;
        delete t;
    }
};

class Input {
public:
    Input(const uint8_t* data, size_t size) : data_(data), size_(size) {}
    bool More() const { return at_ < size_; }
    uint8_t Byte() { return at_ < size_ ? data_[at_++] : 0; }
    int32_t Word() { return Byte() | (Byte() << 8); }

private:
    const uint8_t* data_;
    size_t size_;
    size_t at_ = 0;
};

void Check(bool ok, const char* what) {
    if (ok) return;
    fprintf(stderr, "fuzz_edit_sequence: %s\n", what);
    __builtin_trap();
}

// Text from three bytes: its length, a seed and how often a CR comes, so
// that long texts of many lines cost the input little.
std::string MakeText(Input& in) {
    static const char alphabet[] = "ab \tx";
    uint8_t n = in.Byte();
    size_t len = n & 0x80 ? static_cast<size_t>(n & 0x7F) * 40 : n & 0x1F;
    uint32_t state = 0x9E3779B9u ^ (static_cast<uint32_t>(in.Byte()) << 8);
    uint32_t lineEvery = 1 + in.Byte() % 64;
    std::string s;
    for (size_t i = 0; i < len; i++) {
        state ^= state << 13, state ^= state >> 17, state ^= state << 5;
        s += state % lineEvery == 0 ? '\r' : alphabet[(state >> 8) % 5];
    }
    return s;
}

// Cuts at the last blank inside width, or at width.
int32_t WordCut(const char* text, int32_t len, int32_t width) {
    int32_t k = len < width ? len : width;
    if (k == len) return k;
    for (int32_t j = k; j > 0; j--)
        if (text[j - 1] == ' ') return j;
    return k;
}

void Step(Input& in, TTextStore& s, std::string& model, TEdStream& kept, Watcher& w) {
    int32_t len = static_cast<int32_t>(model.size());
    int32_t lines = s.LineCount();
    switch (in.Byte() % 9) {
    case 0: {
        int32_t at = len ? in.Word() % (len + 1) : 0;
        std::string text = MakeText(in);
        if (model.size() + text.size() > 30000) break;
        s.InsertText(at, text);
        model.insert(static_cast<size_t>(at), text);
        break;
    }
    case 1: {
        int32_t a = in.Word() % (len + 1), b = in.Word() % (len + 1);
        s.DeleteText(a, b);
        if (a > b) std::swap(a, b);
        model.erase(static_cast<size_t>(a), static_cast<size_t>(b - a));
        break;
    }
    case 2: s.SplitLine(in.Word() % (lines + 1), in.Word() % 2100); break;
    case 3: s.JoinLine(in.Word() % (lines + 1)); break;
    case 4: {
        uint8_t width = in.Byte();
        s.CutLine(in.Word() % (lines + 1), width == 255 ? 2048 : width + 1);
        break;
    }
    case 5: {
        int32_t width = 1 + in.Byte() % 60;
        s.RewrapLine(in.Word() % (lines + 1),
                     [width](const char* text, const uint8_t*, int32_t left) { return WordCut(text, left, width); });
        break;
    }
    case 6: {
        TLineNode* n = s.LineAt(in.Word() % (lines + 1));
        if (n && !n->TrackData && !(n->GutterMarks & gmContinuation)) {
            Track* t = new Track;
            t->node = n;
            n->TrackData = t;
            w.live++;
        }
        break;
    }
    case 7: {
        kept.MoveTo(len ? in.Word() % (len + 1) : 0);
        char buf[16];
        int32_t pos = kept.GetPosition();
        int32_t got = kept.Read(buf, sizeof buf);
        Check(std::string(buf, static_cast<size_t>(got)) == model.substr(static_cast<size_t>(pos), 16),
              "kept stream reads other text");
        break;
    }
    default:
        if (in.Byte() == 0) {
            s.Clear();
            model.clear();
        } else if (lines) {
            // Style bytes, as the highlighter gives them, for the joins and cuts to carry.
            TLineNode* n = s.NodeAtLine(in.Word() % lines);
            delete[] n->Styles;
            n->Styles = new uint8_t[static_cast<size_t>(n->Len) + 1];
            for (int i = 0; i < n->Len; i++) n->Styles[i] = static_cast<uint8_t>(i * 7);
        }
        break;
    }
}

void CheckStore(TTextStore& s, const std::string& model, TEdStream& kept, const Watcher& w) {
    Check(s.CheckInvariants().empty(), s.CheckInvariants().c_str());
    Check(s.TextLength() == static_cast<int32_t>(model.size()), "text length");
    Check(s.GetText() == model, "text differs from the model");
    Check(w.length == s.TextLength() && w.lines == s.LineCount(), "watcher counts");
    int32_t tracks = 0;
    for (TLineNode* n = s.Head(); n; n = n->Next)
        if (n->TrackData) {
            tracks++;
            Check(static_cast<Track*>(n->TrackData)->node == n, "track data points elsewhere");
            Check(!(n->GutterMarks & gmContinuation), "track data on a continuation piece");
        }
    Check(tracks == w.live, "track data lost");
    int32_t pos = kept.GetPosition();
    Check(pos <= s.TextLength(), "kept stream past the end");
    if (!kept.Node()) return;  // a cleared cursor: it starts at the first node when moved
    uint8_t c = kept.CurChar();
    Check(c == (pos < s.TextLength() ? static_cast<uint8_t>(model[static_cast<size_t>(pos)]) : 0), "kept stream");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Input in(data, size);
    Watcher w;
    TTextStore s;
    s.AddWatcher(&w);
    s.SetTrackOwner(&w);
    TEdStream kept(&s);
    std::string model;
    for (int steps = 0; in.More() && steps < 400; steps++) {
        Step(in, s, model, kept, w);
        CheckStore(s, model, kept, w);
    }
    s.Clear();
    Check(w.live == 0, "track data not released");
    return 0;
}
