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

// What the remote list shows for files of one extension: the registered
// type's name (else "EXT File") and its icons, or the shell's icon for an
// unregistered type, which is one for all of them. Looked up once per
// extension (letter case aside) for the life of the program: the look-ups
// cost milliseconds each, and a big folder holds few kinds of file.
struct TExtensionLook {
    std::string TypeName;
    HICON Small = nullptr, Large = nullptr;  // kept by the cache; null: the default file image
    bool Generic = false;                    // the one icon of every unregistered type
};
const TExtensionLook& ExtensionLook(const std::string& extension);
// The folder's icons, looked up once likewise ("Folder" as its type name).
const TExtensionLook& FolderLook();

// Small (16) and large (32) images in step: one index names both.
class TFileImages {
public:
    TFileImages() : small_(nullptr, 16, 16), large_(nullptr, 32, 32) {}
    TImageList* Small() { return &small_; }
    TImageList* Large() { return &large_; }
    int Count() const { return small_.Count(); }
    void Clear();
    // Adds the pair (a missing one is made from the other; none: an empty
    // image) and destroys the icons, unless keep. Returns the index.
    int Add(HICON small, HICON large, bool keep = false);

private:
    TImageList small_, large_;
};
