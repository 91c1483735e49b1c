// Random edits, selections, messages, commands and keys against the headless
// editor; after every step the store's invariants must hold and the selection
// must lie inside the text.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "SyntaxMemoCore.h"
#include "SyntaxMemoStrings.h"
#include "UndoStack.h"

namespace {

class Input {
public:
    Input(const uint8_t* data, size_t size) : data_(data), size_(size) {}
    bool More() const { return at_ < size_; }
    uint8_t Byte() { return at_ < size_ ? data_[at_++] : 0; }
    int32_t Word() { return Byte() | (Byte() << 8); }
    std::string Text() {
        size_t n = Byte() % 64;
        std::string s;
        for (size_t i = 0; i < n && More(); i++) {
            uint8_t c = Byte();
            s += static_cast<char>(c % 4 == 0 ? "\r\n\t "[c / 4 % 4] : c);
        }
        return s;
    }

private:
    const uint8_t* data_;
    size_t size_;
    size_t at_ = 0;
};

class Target : public TSyntaxMemoTarget {
public:
    explicit Target(TSyntaxMemoCore& c) : core(c) {}
    intptr_t Perform(uint32_t msg, uintptr_t w, intptr_t l) override { return core.Message(msg, w, l); }
    bool HasWindow() const override { return true; }
    void ClearText() override { core.ClearText(); }
    void SetRedrawState(bool on) override { core.SetRedraw(on); }
    TSyntaxMemoCore& core;
};

class NullSurface : public TDrawSurface {
public:
    void FillRect(int, int, int, int, TColor) override {}
    void TextRun(int, int, const char*, int, TColor, TColor, int) override {}
};

// Proportional text: every character its own width, some none at all.
class ByteMeasurer : public TTextMeasurer {
public:
    int32_t RunWidth(uint8_t style, const char* text, int32_t count, int32_t* ends) override {
        int32_t w = 0;
        for (int32_t i = 0; i < count; i++) {
            w += (static_cast<uint8_t>(text[i]) + style) % 13;
            if (ends) ends[i] = w;
        }
        return w + style % 2;
    }
};

void Check(TSyntaxMemoCore& m) {
    std::string problem = m.Store().CheckInvariants();
    int32_t len = m.TextLength();
    if (problem.empty() && (m.Anchor() < 0 || m.Anchor() > len || m.Caret() < 0 || m.Caret() > len))
        problem = "selection outside the text";
    int32_t prevStart = 0;
    for (TTextMark* k = m.Marks().First(); problem.empty() && k; k = k->Next) {
        if (k->Start > k->End || k->Start < prevStart) problem = "mark inverted or out of order";
        prevStart = k->Start;
    }
    if (!problem.empty()) {
        fprintf(stderr, "%s\n", problem.c_str());
        abort();
    }
}

void Step(TSyntaxMemoCore& m, TSyntaxMemoStrings& lines, Input& in) {
    char buffer[64];
    switch (in.Byte() % 18) {
    case 0: m.InsertAtCaret(in.Text()); break;
    case 1: m.SetSelection(in.Word() - 2, in.Word()); break;
    case 2: lines.Add(in.Text()); break;
    case 3: lines.Delete(in.Byte() % 8); break;
    case 4: lines.Insert(in.Byte() % 8, in.Text()); break;
    case 5: m.ExecuteCommand(in.Byte() % 46); break;
    case 6: m.TypeChar(static_cast<char>(in.Byte())); break;
    case 7: m.HandleKey(in.Byte(), in.Byte() % 8); break;
    case 8: m.SetOptions(m.Options() ^ smoWordWrap); break;
    case 9: m.SetClientSize(in.Word() % 800, in.Word() % 400); break;
    case 10: {
        uint16_t cap = static_cast<uint16_t>(in.Byte() % sizeof buffer);
        memcpy(buffer, &cap, 2);
        m.Message(smmsg::GetLine, in.Byte() % 10, reinterpret_cast<intptr_t>(buffer));
        m.Message(smmsg::GetText, in.Byte() % sizeof buffer, reinterpret_cast<intptr_t>(buffer));
        break;
    }
    case 11: {
        // Messages whose parameters are numbers; pointers are real or null.
        uint32_t msgs[] = {smmsg::LineIndex, smmsg::LineLength, smmsg::LineFromChar, smmsg::CharFromPos,
                           smmsg::Undo, smmsg::VScroll, smmsg::HScroll, SMM_REDO, SMM_TOPLINE, smmsg::SetSel};
        uint32_t msg = msgs[in.Byte() % 10];
        if (msg == smmsg::CharFromPos) {
            // The point comes through lParam; wParam is not read.
            int32_t pt[2] = {in.Word() - 20, in.Word() - 20};
            m.Message(msg, static_cast<uintptr_t>(in.Word() - 3), reinterpret_cast<intptr_t>(pt));
        } else {
            m.Message(msg, static_cast<uintptr_t>(in.Word() - 3), in.Word() - 3);
        }
        int32_t a = 0, c = 0;
        m.Message(smmsg::GetSel, in.Byte() & 1 ? reinterpret_cast<uintptr_t>(&a) : 0, reinterpret_cast<intptr_t>(&c));
        break;
    }
    case 12: lines.Clear(); break;
    case 13: {
        int32_t range[3] = {in.Byte() % 6 - 1, in.Byte() % 6 - 1, static_cast<int32_t>(in.Byte() % sizeof buffer)};
        m.Message(in.Byte() & 1 ? SMM_SETLINESTYLES : SMM_GETLINESTYLES, reinterpret_cast<uintptr_t>(range),
                  reinterpret_cast<intptr_t>(buffer));
        break;
    }
    case 14: {
        NullSurface s;
        m.Paint(s);
        int32_t x = 0, y = 0, at = m.OffsetOfPoint(in.Word() - 20, in.Word() - 20, in.Byte() & 1);
        if (at < 0 || at > m.TextLength()) {
            fprintf(stderr, "point mapped outside the text\n");
            abort();
        }
        m.PointOfOffset(at, x, y);
        // A selection dragged past the left or right edge from that point.
        at = m.DragSelectOffset(at & 1 ? m.ClientWidth() + 5 : -5, y);
        if (at < 0 || at > m.TextLength()) {
            fprintf(stderr, "drag mapped outside the text\n");
            abort();
        }
        m.SetSelection(m.Anchor(), at);
        m.ExportSelection(1 << (in.Byte() % 4));
        break;
    }
    case 16: m.Marks().Add(in.Word() % 300, in.Word() % 300); break;
    case 17: m.Message(in.Byte() & 1 ? SMM_INDENT : SMM_UNINDENT, in.Byte() % 4, in.Byte() & 1); break;
    default: m.ReadOnly = !m.ReadOnly; break;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Input in(data, size);
    TSyntaxMemoCore m;
    Target t(m);
    TSyntaxMemoStrings lines(t);
    ByteMeasurer measurer;
    // The last byte's top bit picks proportional text (the corpus reads as before).
    bool proportional = size > 0 && (data[size - 1] & 0x80);
    m.SetMetrics(8, 16, !proportional);
    m.SetMeasurer(&measurer);
    m.SetClientSize(300, 120);
    for (int steps = 0; in.More() && steps < 400; steps++) {
        Step(m, lines, in);
        Check(m);
    }
    return 0;
}
