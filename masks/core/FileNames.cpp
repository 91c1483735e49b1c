#include "masks/core/FileNames.h"

#include "masks/core/MaskTexts.h"

std::string GetFileDir(const std::string& path) {
    const size_t at = path.find_last_of("/\\");
    return at == std::string::npos ? std::string() : path.substr(0, at + 1);
}

std::string GetFileTitle(const std::string& path) { return path.substr(GetFileDir(path).size()); }

std::string OverwriteQuestion(const std::string& path) {
    return std::string(MaskTexts::kFile) + "\"" + GetFileTitle(path) + "\"" + MaskTexts::kAlreadyExists;
}
