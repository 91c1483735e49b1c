#include "components/core/GifFile.h"

#include <cstring>
#include <string>

#include "components/core/GifException.h"
#include "components/core/GifLzwDecoder.h"

namespace {
bool ReadByte(TStream& s, uint8_t& b) { return s.Read(&b, 1) == 1; }

// Length-prefixed sub-blocks up to an empty one or the end of the stream.
void ReadSubBlocks(TStream& s, std::vector<std::string>& out) {
    uint8_t len = 0;
    while (ReadByte(s, len) && len != 0) {
        std::string block(len, '\0');
        int32_t got = s.Read(&block[0], len);
        block.resize(static_cast<size_t>(got < 0 ? 0 : got));
        out.push_back(std::move(block));
        if (got < len) break;
    }
}

void ReadFixed(TStream& s, std::vector<uint8_t>& out, int count) {
    out.assign(static_cast<size_t>(count), 0);
    int32_t got = s.Read(out.data(), count);
    out.resize(static_cast<size_t>(got < 0 ? 0 : got));
}
}  // namespace

TGifFile::TGifFile() : Header{'G', 'I', 'F', '8', '7', 'a'}, GlobalColors(0) {}

TGifSubImage& TGifFile::Image(int Index) const {
    if (Index < 0 || Index >= ImageCount()) throw Exception(Format("List index out of bounds (%d)", Index));
    return *images_[static_cast<size_t>(Index)];
}

void TGifFile::ReadExtension(TStream& Stream, TExtensionList& List) {
    uint8_t label = 0;
    if (!ReadByte(Stream, label)) return;
    std::unique_ptr<TExtension> e;
    switch (label) {
        case 0x01:
            e = std::make_unique<TExtension>(ekPlainText);
            ReadFixed(Stream, e->Fixed, 13);
            ReadSubBlocks(Stream, e->SubBlocks);
            break;
        case 0xF9:
            e = std::make_unique<TExtension>(ekGraphicControl);
            ReadFixed(Stream, e->Fixed, 6);
            break;
        case 0xFE:
            e = std::make_unique<TExtension>(ekComment);
            ReadSubBlocks(Stream, e->SubBlocks);
            break;
        case 0xFF:
            e = std::make_unique<TExtension>(ekApplication);
            ReadFixed(Stream, e->Fixed, 12);
            ReadSubBlocks(Stream, e->SubBlocks);
            break;
        default:
            throw EGifException(Format("Unrecognized extension block.\r\nCode = $%02X", label));
    }
    List.push_back(std::move(e));
}

void TGifFile::ReadFromStream(TStream& Stream) {
    std::memset(Header, 0, sizeof Header);
    Stream.Read(Header, 6);
    static const char* const kVersions[] = {"87a", "89a", "87A", "89A"};
    bool known = false;
    for (const char* v : kVersions) known = known || std::memcmp(Header + 3, v, 3) == 0;
    if (!known) throw EGifException("Gif Version must be 87a or 89a");

    Stream.ReadBuffer(Screen, 7);
    GlobalTable = (Screen[4] & 0x80) != 0;
    GlobalBits = (Screen[4] & 7) + 1;
    int count = 1 << GlobalBits;
    GlobalColors.SetCount(count);
    if (GlobalTable) {
        uint8_t rgb[256 * 3];
        Stream.ReadBuffer(rgb, count * 3);
        for (int i = 0; i < count; ++i) GlobalColors[i] = {rgb[3 * i], rgb[3 * i + 1], rgb[3 * i + 2]};
    }

    images_.clear();
    uint8_t b = 0;
    if (!ReadByte(Stream, b)) return;
    while (b != ';') {
        TExtensionList extensions;
        while (b == '!') {
            ReadExtension(Stream, extensions);
            if (!ReadByte(Stream, b)) return;
        }
        if (b != ',') return;  // an unexpected byte ends the file
        auto image = std::make_unique<TGifSubImage>(GlobalColors.Count(), this);
        image->TakeExtensions(std::move(extensions));
        image->ReadFrom(Stream);
        // The first image is the one shown: its errors are the file's. Later
        // frames are decoded when their pixels are first asked for.
        if (images_.empty()) image->DecodeLzw();
        images_.push_back(std::move(image));
        if (!ReadByte(Stream, b)) return;
    }
}

void WriteBmpStream(const TGifSubImage& Image, TStream& Stream) {
    const int width = Image.Width, height = Image.Height;
    const uint32_t stride = (static_cast<uint32_t>(width) + 3u) & ~3u;
    std::vector<uint8_t> h(1078, 0);
    auto put16 = [&](size_t at, uint32_t v) { h[at] = v & 255; h[at + 1] = (v >> 8) & 255; };
    auto put32 = [&](size_t at, uint32_t v) { put16(at, v & 0xFFFF); put16(at + 2, v >> 16); };
    h[0] = 'B';
    h[1] = 'M';
    put32(2, 1078u + static_cast<uint32_t>(height) * stride);
    put32(10, 1078);
    put32(14, 40);
    put32(18, static_cast<uint32_t>(width));
    put32(22, static_cast<uint32_t>(height));
    put16(26, 1);
    put16(28, 8);
    put32(38, 143);
    put32(42, 143);
    const TColorTable& palette = Image.Palette();
    for (int i = 0; i < 256; ++i) {
        h[54 + 4 * i] = palette[i].Blue;
        h[55 + 4 * i] = palette[i].Green;
        h[56 + 4 * i] = palette[i].Red;
    }
    Stream.WriteBuffer(h.data(), static_cast<int32_t>(h.size()));

    std::vector<uint8_t> row(stride, 0);
    const uint8_t* pixels = Image.Pixels().Data();
    for (int r = height - 1, written = 0; r >= 0; --r, ++written) {
        if (width > 0) std::memcpy(row.data(), pixels + static_cast<size_t>(r) * width, static_cast<size_t>(width));
        Stream.WriteBuffer(row.data(), static_cast<int32_t>(stride));
        if (ProgressHook && height >= 501) ProgressHook(1.0f - static_cast<float>(written) / height);
    }
    Stream.SetPosition(0);
}
