// Icons and type names of files and folders, as the platform registers them,
// and the remote list's pair of image lists.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>

#include "ui/ImgList.h"

// key: the byte 1 and an icon location ("file,index"), the byte 2 and a file
// extension, or a key path whose default value is the location; all below
// HKEY_CLASSES_ROOT. For an extension, typeName becomes the registered type's
// name when there is one. The icons (either may be null on return) belong to
// the caller. False when no icon was found.
bool GetFileTypeIcon(const std::string& key, HICON& small, HICON& large, std::string& typeName, int offset = 0);

// The shell's icons for a name of that kind, without the file having to exist.
bool ShellTypeIcon(const std::string& name, bool folder, HICON& small, HICON& large);

// Small (16) and large (32) images in step: one index names both.
class TFileImages {
public:
    TFileImages() : small_(nullptr, 16, 16), large_(nullptr, 32, 32) {}
    TImageList* Small() { return &small_; }
    TImageList* Large() { return &large_; }
    int Count() const { return small_.Count(); }
    void Clear();
    // Adds the pair (a missing one is made from the other; none: an empty
    // image) and destroys the icons. Returns the index.
    int Add(HICON small, HICON large);

private:
    TImageList small_, large_;
};
