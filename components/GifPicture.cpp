#include "components/GifPicture.h"

#include <algorithm>
#include <cctype>
#include <vector>

#include "components/core/GifFile.h"
#include "runtime/core/SysUtils.h"

namespace {

std::vector<TFileFormat>& Formats() {
    static std::vector<TFileFormat> formats;
    return formats;
}

std::string NormalExtension(std::string ext) {
    if (!ext.empty() && ext[0] == '.') ext.erase(0, 1);
    std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return ext;
}

// The unit's start-up registration.
const bool g_gifRegistered = [] {
    RegisterFileFormat("gif", "GIF-Format", TGifBitmap::LoadFromStream);
    return true;
}();

}  // namespace

void RegisterFileFormat(const std::string& extension, const std::string& description, TGraphicLoader loader) {
    const std::string ext = NormalExtension(extension);
    auto& formats = Formats();
    auto it = std::find_if(formats.begin(), formats.end(), [&](const TFileFormat& f) { return f.Extension == ext; });
    if (it != formats.end()) formats.erase(it);
    formats.push_back({ext, description, std::move(loader)});
}

const TFileFormat* FindFileFormat(const std::string& extension) {
    (void)g_gifRegistered;
    const std::string ext = NormalExtension(extension);
    for (const TFileFormat& f : Formats())
        if (f.Extension == ext) return &f;
    return nullptr;
}

void LoadPictureFromFile(const std::string& fileName, TBitmap& bitmap) {
    const size_t dot = fileName.find_last_of('.');
    const size_t slash = fileName.find_last_of("/\\");
    std::string ext = dot == std::string::npos || (slash != std::string::npos && dot < slash) ? "" : fileName.substr(dot);
    const TFileFormat* format = FindFileFormat(ext);
    if (!format) throw Exception("Unknown picture file extension (" + ext + ")");
    TFileStream stream(fileName, fmOpenRead);
    format->Loader(stream, bitmap);
}

// The GIF's first image becomes an 8-bit bitmap file in memory, which the
// bitmap then takes in like any other bitmap file.
// The whole stream is the file, wherever it stands; a file without an image
// raises the image list's index error.
void TGifBitmap::LoadFromStream(TStream& stream, TBitmap& bitmap) {
    TGifFile gif;
    stream.SetPosition(0);
    gif.ReadFromStream(stream);
    const TGifSubImage& first = gif.Image(0);
    TMemoryStream bmp;
    WriteBmpStream(first, bmp);
    const uint8_t* bytes = bmp.Memory();
    const auto* file = reinterpret_cast<const BITMAPFILEHEADER*>(bytes);
    const auto* info = reinterpret_cast<const BITMAPINFO*>(bytes + sizeof(BITMAPFILEHEADER));
    const int width = info->bmiHeader.biWidth;
    const int height = std::abs(info->bmiHeader.biHeight);
    bitmap.SetSize(width, height);
    SetDIBitsToDevice(bitmap.Canvas().Handle(), 0, 0, static_cast<DWORD>(width), static_cast<DWORD>(height), 0, 0, 0,
                      static_cast<UINT>(height), bytes + file->bfOffBits, info, DIB_RGB_COLORS);
}
