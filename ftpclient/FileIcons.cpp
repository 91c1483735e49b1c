#include "FileIcons.h"

#include <shellapi.h>

#include <map>

#include "ftpclient/core/ListingParser.h"
#include "runtime/core/SysUtils.h"
#include "components/RegistryEnhanced.h"


namespace {

// The default value of a key below HKEY_CLASSES_ROOT; false when missing.
bool ReadDefault(const std::string& key, std::string& value) {
    static const std::string missing(1, '\1');
    TRegistryEnhanced reg;
    reg.RootKey = hkClassesRoot;
    reg.Access = kRead;
    reg.Key = key;
    const TRegVariant v = reg.ReadValue("", TRegVariant::String(missing));
    if (v.Type != rvString || v.Str == missing) return false;
    value = v.Str;
    // Icon locations are often kept with %SystemRoot% and the like.
    if (value.find('%') != std::string::npos) {
        char out[1024] = {0};
        DWORD n = ExpandEnvironmentStringsA(value.c_str(), out, sizeof out);
        if (n > 0 && n <= sizeof out) value = out;
    }
    return true;
}

bool IconsFromLocation(const std::string& location, int offset, HICON& small, HICON& large) {
    size_t comma = location.rfind(',');
    if (comma == std::string::npos) return false;
    std::string file = location.substr(0, comma), number = location.substr(comma + 1);
    if (file.size() >= 2 && file.front() == '"' && file.back() == '"') file = file.substr(1, file.size() - 2);
    char* end = nullptr;
    long index = strtol(number.c_str(), &end, 10);
    if (number.empty() || *end != '\0') return false;
    return ExtractIconExA(file.c_str(), static_cast<int>(index) + offset, &large, &small, 1) > 0 && (small || large);
}

}  // namespace

bool GetFileTypeIcon(const std::string& key, HICON& small, HICON& large, std::string& typeName, int offset) {
    small = large = nullptr;
    std::string location;
    bool have = false;
    if (!key.empty() && key[0] == '\1') {
        location = key.substr(1);
        have = true;
    } else if (!key.empty() && key[0] == '\2') {
        std::string cls, name;
        if (ReadDefault(key.substr(1), cls) && !cls.empty()) {
            if (ReadDefault(cls, name) && !name.empty()) typeName = name;
            have = ReadDefault(cls + "\\DefaultIcon", location);
        }
    } else {
        have = ReadDefault(key, location);
    }
    return have && IconsFromLocation(location, offset, small, large);
}

const TExtensionLook& ExtensionLook(const std::string& extension) {
    static std::map<std::string, TExtensionLook> looks;
    static TExtensionLook generic;
    static bool genericKnown = false;
    const std::string key = UpperCase(extension);
    auto known = looks.find(key);
    if (known != looks.end()) return known->second;
    TExtensionLook look;
    look.TypeName = FileTypeText(extension);
    HKEY h;
    const bool registered = !extension.empty() &&
                            RegOpenKeyExA(HKEY_CLASSES_ROOT, extension.c_str(), 0, KEY_READ, &h) == ERROR_SUCCESS;
    if (registered) RegCloseKey(h);
    if (!GetFileTypeIcon(FileIconKey(extension), look.Small, look.Large, look.TypeName) && !extension.empty()) {
        if (registered) {
            ShellTypeIcon("file" + extension, false, look.Small, look.Large);
        } else {
            if (!genericKnown) ShellTypeIcon("file" + extension, false, generic.Small, generic.Large);
            genericKnown = true;
            look.Small = generic.Small;
            look.Large = generic.Large;
            look.Generic = look.Small || look.Large;
        }
    }
    return looks.emplace(key, look).first->second;
}

const TExtensionLook& FolderLook() {
    static const TExtensionLook look = [] {
        TExtensionLook l;
        std::string unused;
        if (!GetFileTypeIcon("Folder\\DefaultIcon", l.Small, l.Large, unused) &&
            !GetFileTypeIcon("Directory\\DefaultIcon", l.Small, l.Large, unused))
            ShellTypeIcon("folder", true, l.Small, l.Large);
        l.TypeName = "Folder";
        return l;
    }();
    return look;
}

bool ShellTypeIcon(const std::string& name, bool folder, HICON& small, HICON& large) {
    const DWORD attributes = folder ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_NORMAL;
    SHFILEINFOA info{};
    small = large = nullptr;
    if (SHGetFileInfoA(name.c_str(), attributes, &info, sizeof info, SHGFI_ICON | SHGFI_SMALLICON | SHGFI_USEFILEATTRIBUTES))
        small = info.hIcon;
    info = SHFILEINFOA{};
    if (SHGetFileInfoA(name.c_str(), attributes, &info, sizeof info, SHGFI_ICON | SHGFI_LARGEICON | SHGFI_USEFILEATTRIBUTES))
        large = info.hIcon;
    return small || large;
}

void TFileImages::Clear() {
    small_.Clear();
    large_.Clear();
}

int TFileImages::Add(HICON small, HICON large, bool keep) {
    HICON s = small ? small : large, l = large ? large : small;
    if (!s) {
        // An empty image keeps both lists in step.
        for (TImageList* list : {&small_, &large_}) {
            TBitmap blank(list->Width(), list->Height());
            list->AddMasked(blank, clBlack);
        }
        return Count() - 1;
    }
    const int at = small_.AddIcon(s);
    large_.AddIcon(l);
    if (!keep && small) DestroyIcon(small);
    if (!keep && large) DestroyIcon(large);
    return at;
}
