#include "searchwindow/core/ToolbarArt.h"

#include <cmath>
#include <utility>

namespace {

constexpr uint32_t kInk = 0x000000, kPaper = 0xFFFFFF, kGrey = 0x808080, kSilver = 0xC0C0C0;
constexpr uint32_t kNavy = 0x000080, kBlue = 0x3070E0, kFolder = 0xF0D048, kFolderLight = 0xFFF0A0;
constexpr uint32_t kFolderEdge = 0x806000, kRed = 0xD01010, kGreen = 0x008000, kLightGreen = 0x30C030;
constexpr uint32_t kBoard = 0xA06828;

struct ArtCanvas {
    GlyphPixels p;
    ArtCanvas() { p.Pixels.assign(static_cast<size_t>(kGlyphSize) * kGlyphSize, kGlyphTransparent); }
    void Put(int x, int y, uint32_t c) {
        if (x >= 0 && y >= 0 && x < p.Width && y < p.Height) p.Pixels[static_cast<size_t>(y) * p.Width + x] = c;
    }
    void Fill(int x0, int y0, int x1, int y1, uint32_t c) {  // inclusive corners
        for (int y = y0; y <= y1; ++y)
            for (int x = x0; x <= x1; ++x) Put(x, y, c);
    }
    void Frame(int x0, int y0, int x1, int y1, uint32_t c) {
        for (int x = x0; x <= x1; ++x) Put(x, y0, c), Put(x, y1, c);
        for (int y = y0; y <= y1; ++y) Put(x0, y, c), Put(x1, y, c);
    }
    void Box(int x0, int y0, int x1, int y1, uint32_t edge, uint32_t inside) {
        Fill(x0, y0, x1, y1, inside);
        Frame(x0, y0, x1, y1, edge);
    }
    void Line(int x0, int y0, int x1, int y1, uint32_t c) {
        const int dx = std::abs(x1 - x0), dy = -std::abs(y1 - y0);
        const int sx = x0 < x1 ? 1 : -1, sy = y0 < y1 ? 1 : -1;
        int err = dx + dy;
        for (;;) {
            Put(x0, y0, c);
            if (x0 == x1 && y0 == y1) break;
            const int e2 = 2 * err;
            if (e2 >= dy) err += dy, x0 += sx;
            if (e2 <= dx) err += dx, y0 += sy;
        }
    }
    // A filled polygon (pixel centres inside it), then its outline.
    void Polygon(const std::vector<std::pair<double, double>>& v, uint32_t inside, uint32_t edge) {
        for (int y = 0; y < kGlyphSize; ++y)
            for (int x = 0; x < kGlyphSize; ++x) {
                const double px = x + 0.5, py = y + 0.5;
                bool in = false;
                for (size_t i = 0, j = v.size() - 1; i < v.size(); j = i++) {
                    const auto [xi, yi] = v[i];
                    const auto [xj, yj] = v[j];
                    if ((yi > py) != (yj > py) && px < (xj - xi) * (py - yi) / (yj - yi) + xi) in = !in;
                }
                if (in) Put(x, y, inside);
            }
        for (size_t i = 0, j = v.size() - 1; i < v.size(); j = i++)
            Line(static_cast<int>(v[j].first), static_cast<int>(v[j].second), static_cast<int>(v[i].first),
                 static_cast<int>(v[i].second), edge);
    }
    // A sheet of paper with its top right corner folded, lines of text on it.
    void Page(int x0, int y0, int x1, int y1, bool lines) {
        Box(x0, y0, x1, y1, kInk, kPaper);
        const int f = 3;
        for (int i = 0; i < f; ++i)
            for (int x = x1 - f + 1 + i; x <= x1; ++x) Put(x, y0 + i, kGlyphTransparent);
        Line(x1 - f, y0, x1, y0 + f, kInk);
        Line(x1 - f, y0, x1 - f, y0 + f, kInk);
        Line(x1 - f, y0 + f, x1, y0 + f, kInk);
        if (!lines) return;
        for (int y = y0 + f + 2; y < y1 - 1; y += 2) Line(x0 + 2, y, x1 - 2 - ((y / 2) % 2) * 2, y, kGrey);
    }
};

void Arrow(ArtCanvas& a, bool left) {
    // A green arrow with a light face.
    auto X = [left](double x) { return left ? x : kGlyphSize - x; };
    a.Polygon({{X(1.5), 8}, {X(8), 1.5}, {X(8), 5}, {X(14.5), 5}, {X(14.5), 11}, {X(8), 11}, {X(8), 14.5}},
              kLightGreen, kGreen);
}

void Folder(ArtCanvas& a) {
    a.Box(0, 3, 6, 5, kFolderEdge, kFolderLight);
    a.Box(0, 5, 13, 14, kFolderEdge, kFolder);
    // The front flap, opened forward.
    a.Polygon({{3, 8}, {15.5, 8}, {13, 14.5}, {0.5, 14.5}}, kFolderLight, kFolderEdge);
}

void Star(ArtCanvas& a, double cx, double cy, double r) {
    std::vector<std::pair<double, double>> pts;
    for (int i = 0; i < 10; ++i) {
        const double ang = -3.14159265 / 2 + i * 3.14159265 / 5, rr = i % 2 ? r * 0.45 : r;
        pts.emplace_back(cx + rr * std::cos(ang), cy + rr * std::sin(ang));
    }
    a.Polygon(pts, 0xF0B000, 0xF0B000);
}

// Icons of a list view: big (2 by 2), small (2 by 3 with a label each) or a list.
void Icons(ArtCanvas& a, int mode) {
    if (mode == 0) {
        for (int y : {1, 9})
            for (int x : {1, 9}) a.Box(x, y, x + 5, y + 5, kNavy, kBlue), a.Fill(x + 1, y + 1, x + 2, y + 2, kPaper);
    } else if (mode == 1) {
        for (int y : {2, 7, 12})
            for (int x : {0, 8}) a.Box(x, y, x + 2, y + 2, kNavy, kBlue), a.Line(x + 4, y + 1, x + 6, y + 1, kInk);
    } else {
        int len[4] = {10, 8, 11, 7};
        for (int i = 0; i < 4; ++i) {
            const int y = 1 + i * 4;
            a.Box(1, y, 3, y + 2, kNavy, kBlue);
            a.Line(5, y + 1, 5 + len[i], y + 1, kInk);
        }
    }
}

}  // namespace

GlyphPixels DrawGlyph(SbfGlyph glyph) {
    ArtCanvas a;
    switch (glyph) {
        case SbfGlyph::New: a.Page(2, 0, 13, 15, false); break;
        case SbfGlyph::Open: Folder(a); break;
        case SbfGlyph::Save:
            a.Box(1, 1, 14, 14, kNavy, kBlue);
            a.Box(3, 1, 12, 7, kGrey, kPaper);  // the label
            a.Line(5, 3, 10, 3, kGrey);
            a.Line(5, 5, 10, 5, kGrey);
            a.Box(4, 10, 11, 14, kNavy, kSilver);  // the shutter
            a.Fill(5, 11, 6, 13, kNavy);
            break;
        case SbfGlyph::Sort:
            // A over Z, an arrow pointing down beside them.
            a.Line(1, 6, 3, 0, kNavy), a.Line(3, 0, 5, 6, kNavy), a.Line(2, 4, 4, 4, kNavy);
            a.Line(1, 9, 5, 9, kNavy), a.Line(5, 9, 1, 14, kNavy), a.Line(1, 14, 5, 14, kNavy);
            a.Fill(10, 1, 11, 10, kInk);
            a.Polygon({{7, 10}, {14.5, 10}, {10.75, 14.5}}, kInk, kInk);
            break;
        case SbfGlyph::ViewLarge: Icons(a, 0); break;
        case SbfGlyph::ViewSmall: Icons(a, 1); break;
        case SbfGlyph::ViewList: Icons(a, 2); break;
        case SbfGlyph::NewMask:
            a.Page(3, 2, 14, 15, true);
            Star(a, 4.5, 4.5, 4.5);
            break;
        case SbfGlyph::Cut:
            a.Line(4, 0, 9, 9, kGrey), a.Line(5, 0, 10, 9, kInk);
            a.Line(11, 0, 6, 9, kGrey), a.Line(10, 0, 5, 9, kInk);
            for (int cx : {4, 11}) {
                for (int y = 9; y <= 15; ++y)
                    for (int x = cx - 3; x <= cx + 3; ++x) {
                        const double d = std::hypot(x - cx, y - 12.0);
                        if (d >= 1.6 && d <= 3.1) a.Put(x, y, kRed);
                    }
            }
            break;
        case SbfGlyph::Copy:
            a.Page(0, 0, 9, 10, true);
            a.Page(6, 5, 15, 15, true);
            break;
        case SbfGlyph::Paste:
            a.Box(1, 2, 11, 15, kInk, kBoard);
            a.Box(4, 0, 8, 3, kInk, kSilver);
            a.Page(6, 6, 15, 15, true);
            break;
        case SbfGlyph::Filter:
            a.Polygon({{0.5, 1.5}, {15.5, 1.5}, {9.5, 8}, {9.5, 14.5}, {6.5, 12.5}, {6.5, 8}}, kBlue, kNavy);
            a.Line(2, 2, 13, 2, kPaper);
            break;
        case SbfGlyph::Back: Arrow(a, true); break;
        case SbfGlyph::Forward: Arrow(a, false); break;
        case SbfGlyph::Stop:
            a.Polygon({{5, 0.5}, {11, 0.5}, {15.5, 5}, {15.5, 11}, {11, 15.5}, {5, 15.5}, {0.5, 11}, {0.5, 5}}, kRed,
                      0x800000);
            a.Line(5, 5, 10, 10, kPaper), a.Line(5, 6, 9, 10, kPaper), a.Line(6, 5, 10, 9, kPaper);
            a.Line(10, 5, 5, 10, kPaper), a.Line(9, 5, 5, 9, kPaper), a.Line(10, 6, 6, 10, kPaper);
            break;
        case SbfGlyph::Refresh:
            for (int y = 0; y < kGlyphSize; ++y)
                for (int x = 0; x < kGlyphSize; ++x) {
                    const double dx = x + 0.5 - 8, dy = y + 0.5 - 8, d = std::hypot(dx, dy);
                    const double ang = std::atan2(-dy, dx) * 180 / 3.14159265;
                    const bool gap = (ang > 30 && ang < 75) || (ang < -105 && ang > -150);
                    if (d >= 4 && d <= 6.6 && !gap) a.Put(x, y, kGreen);
                }
            a.Polygon({{9, 0.5}, {15, 5.5}, {9, 7.5}}, kGreen, kGreen);
            a.Polygon({{7, 15.5}, {1, 10.5}, {7, 8.5}}, kGreen, kGreen);
            break;
        case SbfGlyph::Home:
            a.Polygon({{8, 0.5}, {15.5, 7.5}, {0.5, 7.5}}, kRed, 0x800000);
            a.Box(2, 7, 13, 15, kInk, kFolderLight);
            a.Box(6, 10, 9, 15, kInk, kBoard);
            break;
        case SbfGlyph::ReportValues:
            a.Page(1, 0, 12, 15, true);
            a.Box(9, 8, 15, 15, kNavy, kBlue);
            a.Line(10, 10, 14, 10, kPaper), a.Line(10, 12, 14, 12, kPaper), a.Line(10, 14, 14, 14, kPaper);
            break;
        case SbfGlyph::ReportUnique:
            a.Page(1, 0, 12, 15, true);
            a.Box(9, 8, 15, 15, kNavy, kBlue);
            a.Line(12, 9, 12, 14, kPaper), a.Line(11, 10, 12, 9, kPaper), a.Line(11, 14, 13, 14, kPaper);
            break;
        case SbfGlyph::Count: break;
    }
    return a.p;
}
