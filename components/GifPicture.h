// Picture files by extension: each format registers a loader that turns a
// stream into a bitmap. The GIF reader is registered as "gif", "GIF-Format".
#pragma once

#include <functional>
#include <string>

#include "runtime/core/Stream.h"
#include "ui/Graphics.h"

using TGraphicLoader = std::function<void(TStream& Stream, TBitmap& Bitmap)>;

struct TFileFormat {
    std::string Extension;  // without the dot, lower case
    std::string Description;
    TGraphicLoader Loader;
};

// A later registration of an extension replaces the earlier one.
void RegisterFileFormat(const std::string& extension, const std::string& description, TGraphicLoader loader);
// The format for an extension ("gif" or ".GIF"); null when none is registered.
const TFileFormat* FindFileFormat(const std::string& extension);
// Loads a picture file by its extension. Exception "Unknown picture file
// extension (.xxx)" for an unregistered one; the loader's own errors pass on.
void LoadPictureFromFile(const std::string& fileName, TBitmap& bitmap);

// The GIF reader as a loader: the first image of the file as the bitmap.
class TGifBitmap {
public:
    static void LoadFromStream(TStream& stream, TBitmap& bitmap);
};
