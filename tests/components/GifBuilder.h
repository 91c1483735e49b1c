// Builds GIF bytes for the tests: an LZW encoder with switches for the odd
// streams real encoders write, and the blocks around it.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

struct LzwOptions {
    int CodeSize = 2;
    bool LeadingClear = true;  // start with a clear code
    bool DeferClear = false;   // a full table is not cleared: go on at 12 bits
    bool EndCode = true;
};

// Packs codes of the given widths least significant bit first.
class CodePacker {
public:
    void Put(int code, int width) {
        acc_ |= static_cast<uint64_t>(code) << bits_;
        bits_ += width;
        while (bits_ >= 8) {
            bytes_.push_back(static_cast<uint8_t>(acc_ & 255));
            acc_ >>= 8;
            bits_ -= 8;
        }
    }
    std::vector<uint8_t> Finish() {
        if (bits_ > 0) bytes_.push_back(static_cast<uint8_t>(acc_ & 255));
        bits_ = 0;
        acc_ = 0;
        return bytes_;
    }

private:
    std::vector<uint8_t> bytes_;
    uint64_t acc_ = 0;
    int bits_ = 0;
};

inline std::vector<uint8_t> LzwEncode(const std::vector<uint8_t>& pixels, const LzwOptions& o) {
    const int clear = 1 << o.CodeSize, end = clear + 1;
    CodePacker out;
    std::map<std::pair<int, int>, int> dict;
    int next = end + 1, width = o.CodeSize + 1;
    auto reset = [&] { dict.clear(); next = end + 1; width = o.CodeSize + 1; };
    if (o.LeadingClear) out.Put(clear, width);
    int cur = -1;
    for (uint8_t p : pixels) {
        if (cur < 0) { cur = p; continue; }
        auto it = dict.find({cur, p});
        if (it != dict.end()) { cur = it->second; continue; }
        out.Put(cur, width);
        if (next < 4096) {
            dict[{cur, p}] = next++;
            if (next > (1 << width) && width < 12) ++width;
        } else if (!o.DeferClear) {
            out.Put(clear, width);
            reset();
        }
        cur = p;
    }
    if (cur >= 0) out.Put(cur, width);
    if (o.EndCode) {
        // The decoder has added one more entry by now and may have widened.
        if (cur >= 0 && next < 4096 && next + 1 > (1 << width) && width < 12) ++width;
        out.Put(end, width);
    }
    return out.Finish();
}

struct GifImageSpec {
    int Width = 1, Height = 1;
    std::vector<uint8_t> Pixels;       // row by row, in display order
    bool Interlaced = false;           // Pixels are then stored in pass order
    int LocalBits = 0;                 // 0: no local table
    std::vector<uint8_t> Lzw;          // data to use as is (else encoded from Pixels)
    LzwOptions Options;
    std::vector<uint8_t> Before;       // raw bytes (extensions) before the ","
};

inline void PutWord(std::vector<uint8_t>& b, int v) {
    b.push_back(static_cast<uint8_t>(v & 255));
    b.push_back(static_cast<uint8_t>((v >> 8) & 255));
}

inline void PutSubBlocks(std::vector<uint8_t>& b, const std::vector<uint8_t>& data) {
    for (size_t i = 0; i < data.size(); i += 255) {
        size_t n = std::min<size_t>(255, data.size() - i);
        b.push_back(static_cast<uint8_t>(n));
        b.insert(b.end(), data.begin() + static_cast<std::ptrdiff_t>(i),
                 data.begin() + static_cast<std::ptrdiff_t>(i + n));
    }
    b.push_back(0);
}

// Table entry i is (i, 2i, 3i) modulo 256 so that indices show in colours.
inline void PutTable(std::vector<uint8_t>& b, int bits) {
    for (int i = 0; i < (1 << bits); ++i) {
        b.push_back(static_cast<uint8_t>(i));
        b.push_back(static_cast<uint8_t>(2 * i));
        b.push_back(static_cast<uint8_t>(3 * i));
    }
}

inline std::vector<uint8_t> InterlaceOrder(const std::vector<uint8_t>& pixels, int w, int h) {
    std::vector<uint8_t> out;
    const int start[4] = {0, 4, 2, 1}, step[4] = {8, 8, 4, 2};
    for (int p = 0; p < 4; ++p)
        for (int r = start[p]; r < h; r += step[p])
            out.insert(out.end(), pixels.begin() + r * w, pixels.begin() + (r + 1) * w);
    return out;
}

inline std::vector<uint8_t> BuildGif(const std::vector<GifImageSpec>& images, int globalBits = 2,
                                     const std::string& version = "89a", bool trailer = true) {
    std::vector<uint8_t> b = {'G', 'I', 'F'};
    for (char ch : version) b.push_back(static_cast<uint8_t>(ch));
    PutWord(b, images.empty() ? 1 : images[0].Width);
    PutWord(b, images.empty() ? 1 : images[0].Height);
    b.push_back(static_cast<uint8_t>(globalBits ? 0x80 | (globalBits - 1) : 0));
    b.push_back(0);
    b.push_back(0);
    if (globalBits) PutTable(b, globalBits);
    for (const GifImageSpec& im : images) {
        b.insert(b.end(), im.Before.begin(), im.Before.end());
        b.push_back(',');
        PutWord(b, 0);
        PutWord(b, 0);
        PutWord(b, im.Width);
        PutWord(b, im.Height);
        uint8_t packed = static_cast<uint8_t>((im.Interlaced ? 0x40 : 0) | (im.LocalBits ? 0x80 | (im.LocalBits - 1) : 0));
        b.push_back(packed);
        if (im.LocalBits) PutTable(b, im.LocalBits);
        b.push_back(static_cast<uint8_t>(im.Options.CodeSize));
        std::vector<uint8_t> data = im.Lzw;
        if (data.empty())
            data = LzwEncode(im.Interlaced ? InterlaceOrder(im.Pixels, im.Width, im.Height) : im.Pixels, im.Options);
        PutSubBlocks(b, data);
    }
    if (trailer) b.push_back(';');
    return b;
}
