#include "ClientArt.h"

#include <cmath>
#include <string>

namespace {

constexpr int G = 20;  // toolbar glyph size
constexpr int L = 16;  // status light size

uint32_t Ink(char c) {
    switch (c) {
        case 'k': return 0x000000;
        case 'w': return 0xFFFFFF;
        case 'g': return 0x808080;
        case 's': return 0xC0C0C0;
        case 'y': return 0xF0D048;
        case 'Y': return 0xFFF0A0;
        case 'o': return 0x806000;
        case 'n': return 0x000080;
        case 'b': return 0x3070E0;
        case 'r': return 0xD01010;
        case 'G': return 0x008000;
        case 'l': return 0x30C030;
        default: return ArtTransparent;
    }
}

TArtPixels Blank(int w, int h) {
    TArtPixels p;
    p.Width = w;
    p.Height = h;
    p.Pixels.assign(static_cast<size_t>(w) * h, ArtTransparent);
    return p;
}

void Put(TArtPixels& p, int x, int y, uint32_t c) {
    if (x >= 0 && y >= 0 && x < p.Width && y < p.Height) p.Pixels[static_cast<size_t>(y) * p.Width + x] = c;
}

// Rows of characters from (x, y); blanks and dots leave the picture as it is.
void Stamp(TArtPixels& p, int x, int y, std::initializer_list<const char*> rows) {
    int row = 0;
    for (const char* r : rows) {
        for (int col = 0; r[col]; ++col)
            if (r[col] != '.' && r[col] != ' ') Put(p, x + col, y + row, Ink(r[col]));
        ++row;
    }
}

TArtPixels Map(std::initializer_list<const char*> rows) {
    TArtPixels p = Blank(G, G);
    Stamp(p, 0, 0, rows);
    return p;
}

const char* const Folder[] = {
    ".ooooo...........",
    "oYYYYYo..........",
    "ooooooooooooooooo",
    "oYYYYYYYYYYYYYYYo",
    "oYyyyyyyyyyyyyyyo",
    "oYyyyyyyyyyyyyyyo",
    "oYyyyyyyyyyyyyyyo",
    "oYyyyyyyyyyyyyyyo",
    "oYyyyyyyyyyyyyyyo",
    "oYyyyyyyyyyyyyyyo",
    "oYyyyyyyyyyyyyyyo",
    "ooooooooooooooooo",
};

void StampFolder(TArtPixels& p, int x, int y) {
    for (int i = 0; i < 12; ++i) Stamp(p, x, y + i, {Folder[i]});
}

const char* const Digit0[] = {".nnn.", "nn.nn", "nn.nn", "nn.nn", "nn.nn", "nn.nn", ".nnn."};
const char* const Digit1[] = {"..nn.", ".nnn.", "..nn.", "..nn.", "..nn.", "..nn.", ".nnnn"};

void StampDigit(TArtPixels& p, int x, int y, const char* const* digit) {
    for (int i = 0; i < 7; ++i) Stamp(p, x, y + i, {digit[i]});
}

// A round light, lit or dark, with a small shine when lit.
TArtPixels Light(uint32_t lit, uint32_t dark, bool on) {
    TArtPixels p = Blank(L, L);
    const double c = 7.5;
    for (int y = 0; y < L; ++y)
        for (int x = 0; x < L; ++x) {
            double d = std::hypot(x - c, y - c);
            if (d <= 6.0) Put(p, x, y, on ? lit : dark);
            else if (d <= 7.2) Put(p, x, y, 0x404040);
        }
    if (on) Stamp(p, 4, 4, {"ww.", "w.."});
    return p;
}

// Two arrows chasing each other round a circle.
TArtPixels Refresh() {
    TArtPixels p = Blank(G, G);
    const double c = 9.5, pi = 3.14159265358979;
    auto angleOf = [&](double x, double y) {
        double a = std::atan2(c - y, x - c) * 180 / pi;
        return a < 0 ? a + 360 : a;
    };
    for (int y = 0; y < G; ++y)
        for (int x = 0; x < G; ++x) {
            double d = std::hypot(x - c, y - c), a = angleOf(x, y);
            bool gap = (a > 20 && a < 62) || (a > 200 && a < 242);
            if (d >= 4.6 && d <= 7.2 && !gap) Put(p, x, y, Ink('G'));
        }
    // Heads at the clockwise ends of both arcs, pointing on round.
    for (double head : {62.0, 242.0}) {
        double h = head * pi / 180;
        double ax = c + 5.9 * std::cos(h - 0.62), ay = c - 5.9 * std::sin(h - 0.62);
        double bx = c + 2.6 * std::cos(h), by = c - 2.6 * std::sin(h);
        double ex = c + 9.2 * std::cos(h), ey = c - 9.2 * std::sin(h);
        auto side = [](double x1, double y1, double x2, double y2, double x, double y) {
            return (x2 - x1) * (y - y1) - (y2 - y1) * (x - x1);
        };
        for (int y = 0; y < G; ++y)
            for (int x = 0; x < G; ++x) {
                double s1 = side(ax, ay, bx, by, x, y), s2 = side(bx, by, ex, ey, x, y), s3 = side(ex, ey, ax, ay, x, y);
                if ((s1 >= 0 && s2 >= 0 && s3 >= 0) || (s1 <= 0 && s2 <= 0 && s3 <= 0)) Put(p, x, y, Ink('G'));
            }
    }
    return p;
}

// A globe with its meridian and parallels.
TArtPixels Globe() {
    TArtPixels p = Blank(G, G);
    const double c = 9.5;
    for (int y = 0; y < G; ++y)
        for (int x = 0; x < G; ++x) {
            double dx = x - c, dy = y - c, d = std::hypot(dx, dy);
            if (d > 8.6) continue;
            uint32_t ink = Ink('b');
            if (d > 7.6 || y == 9 || y == 10 || std::fabs(std::fabs(dx) - 4.6 * std::sqrt(1 - std::min(1.0, dy * dy / 72.0))) < 0.6 ||
                std::fabs(dy) == 5.5)
                ink = Ink('n');
            if (ink == Ink('b') && ((dx < -1 && dy < -1 && dy > -6) || (dx > 2 && dy > 2 && dy < 6))) ink = Ink('l');
            Put(p, x, y, ink);
        }
    return p;
}

}  // namespace

TArtPixels DrawArt(TArt art) {
    switch (art) {
        case TArt::Connect:
            return Map({"....................", "....................", "....................",
                        "....................", "....................", ".....kkkkk..kkkkk...",
                        ".....kssgk..kgssk...", ".....ksggkkkkggsk...", ".....ksggk..kggsk...",
                        "kkkkkksggk..kggskkkk", "nnnnnksggk..kggsknnn", "kkkkkksggk..kggskkkk",
                        ".....ksggkkkkggsk...", ".....ksggk..kggsk...", ".....kgggk..kgggk...",
                        ".....kkkkk..kkkkk...", "....................", "......llllllll......",
                        "....................", "...................."});
        case TArt::Disconnect:
            return Map({"....................", "....................", "....................",
                        "....................", "....................", "...kkkkk.....kkkkk..",
                        "...kssgk.....kgssk..", "...ksggkkk...kggsk..", "...ksggk..r..kggsk..",
                        "kkkksggk.rr..kggskkk", "nnnksggk..rr.kggsknn", "kkkksggk..r..kggskkk",
                        "...ksggkkk...kggsk..", "...ksggk.....kggsk..", "...kgggk.....kgggk..",
                        "...kkkkk.....kkkkk..", "....................", "......rrrrrrrr......",
                        "....................", "...................."});
        case TArt::AddServer:
            return Map({"....................", "...............GG...", "..kkkkkkkkk....GG...",
                        "..kwwwwwwgk....GG...", "..kwkkkkkgk.GGGGGGGG", "..kwsssssgk.GGGGGGGG",
                        "..kwwwwwwgk....GG...", "..kwkkkkkgk....GG...", "..kwsssssgk....GG...",
                        "..kwwwwwwgk.........", "..kwkkkkkgk.........", "..kwsssssgk.........",
                        "..kwwwwwwgk.........", "..kwwwwwlgk.........", "..kwwwwwwgk.........",
                        "..kwwwwwwgk.........", "..kgggggggk.........", "..kkkkkkkkk.........",
                        "....................", "...................."});
        case TArt::FolderUp: {
            TArtPixels p = Blank(G, G);
            StampFolder(p, 1, 4);
            Stamp(p, 5, 7, {"....k....", "...kkk...", "..kkkkk..", ".kkkkkkk.", "...kkk...", "...kkk...",
                            "...kkkkkk"});
            return p;
        }
        case TArt::NewFolder: {
            TArtPixels p = Blank(G, G);
            StampFolder(p, 0, 6);
            Stamp(p, 13, 0, {"...k...", ".k.k.k.", "..kkk..", "kkkYkkk", "..kkk..", ".k.k.k.", "...k..."});
            return p;
        }
        case TArt::Delete:
            return Map({"....................", "....................", "....................",
                        "....................", "...rrr........rrr...", "....rrr......rrr....",
                        ".....rrr....rrr.....", "......rrr..rrr......", ".......rrrrrr.......",
                        "........rrrr........", "........rrrr........", ".......rrrrrr.......",
                        "......rrr..rrr......", ".....rrr....rrr.....", "....rrr......rrr....",
                        "...rrr........rrr...", "....................", "....................",
                        "....................", "...................."});
        case TArt::Refresh: return Refresh();
        case TArt::Binary: {
            TArtPixels p = Blank(G, G);
            StampDigit(p, 3, 2, Digit1);
            StampDigit(p, 11, 2, Digit0);
            StampDigit(p, 3, 11, Digit0);
            StampDigit(p, 11, 11, Digit1);
            return p;
        }
        case TArt::Ascii:
            return Map({"....................", "...kkkkkkkkkk.......", "...kwwwwwwwwkk......",
                        "...kwwwwwwwwkwk.....", "...kwwwwwwwwkkkk....", "...kwwwwwwwwwwwk....",
                        "...kwkkkkkkkkwwk....", "...kwwwwwwwwwwwk....", "...kwkkkkkkwwwwk....",
                        "...kwwwwwwwwwwwk....", "...kwkkkkkkkkwwk....", "...kwwwwwwwwwwwk....",
                        "...kwkkkkkkkwwwk....", "...kwwwwwwwwwwwk....", "...kwkkkkwwwwwwk....",
                        "...kwwwwwwwwwwwk....", "...kwwwwwwwwwwwk....", "...kkkkkkkkkkkkk....",
                        "....................", "...................."});
        case TArt::Auto:
            return Map({"....................", "....................", "........nnnn........",
                        "........nnnn........", ".......nnnnnn.......", ".......nn..nn.......",
                        "......nnn..nnn......", "......nn....nn......", ".....nnn....nnn.....",
                        ".....nn......nn.....", "....nnnnnnnnnnnn....", "....nnnnnnnnnnnn....",
                        "...nnn........nnn...", "...nn..........nn...", "..nnn..........nnn..",
                        "..nn............nn..", ".nnnn..........nnnn.", "....................",
                        "....................", "...................."});
        case TArt::Hosting: return Globe();
        case TArt::Secure:
            return Map({"....................", "....................", ".......kkkkkk.......",
                        "......kk....kk......", ".....kk......kk.....", ".....k........k.....",
                        ".....k........k.....", ".....k........k.....", "...kkkkkkkkkkkkkk...",
                        "...kYYYYYYYYYYYYk...", "...kyyyyyyyyyyyyk...", "...kyyyyykkyyyyyk...",
                        "...kyyyyykkyyyyyk...", "...kyyyyyykyyyyyk...", "...kyyyyyyyyyyyyk...",
                        "...kyyyyyyyyyyyyk...", "...koooooooooooook...", "...kkkkkkkkkkkkkk...",
                        "....................", "...................."});
        case TArt::ConnectedOn: return Light(0x20E020, 0x206020, true);
        case TArt::ConnectedOff: return Light(0x20E020, 0x306030, false);
        case TArt::DisconnectedOn: return Light(0xF02020, 0x602020, true);
        case TArt::DisconnectedOff: return Light(0xF02020, 0x603030, false);
    }
    return Blank(G, G);
}
