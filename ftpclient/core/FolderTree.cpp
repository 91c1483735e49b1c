#include "ftpclient/core/FolderTree.h"

#include <algorithm>
#include <cctype>

namespace {
std::string Lower(std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

std::vector<std::string> SplitPath(const std::string& path, size_t from) {
    std::vector<std::string> parts;
    std::string part;
    for (size_t i = from; i < path.size(); ++i) {
        if (path[i] == '\\' || path[i] == '/') {
            if (!part.empty()) parts.push_back(part);
            part.clear();
        } else {
            part += path[i];
        }
    }
    if (!part.empty()) parts.push_back(part);
    return parts;
}
}  // namespace

std::vector<TFolderRow> FolderTreeRows(const std::string& Folder, std::vector<std::string> Subfolders) {
    std::vector<TFolderRow> rows;
    if (Folder.empty()) return rows;
    // The root: a drive ("c:\") or a share ("\\host\share").
    std::string root, rootName;
    std::vector<std::string> below;
    if (Folder.size() >= 2 && Folder[1] == ':') {
        // Shown as the drive box shows drives; the paths keep the caller's case.
        root = Folder.substr(0, 2) + "\\";
        rootName = Lower(root);
        below = SplitPath(Folder, 2);
    } else if (Folder.compare(0, 2, "\\\\") == 0) {
        std::vector<std::string> parts = SplitPath(Folder, 2);
        if (parts.size() < 2) return rows;
        root = "\\\\" + parts[0] + "\\" + parts[1];
        rootName = root;
        below.assign(parts.begin() + 2, parts.end());
    } else {
        return rows;
    }
    rows.push_back({rootName, root, 0, true});
    std::string path = root;
    for (const std::string& name : below) {
        if (path.back() != '\\') path += '\\';
        path += name;
        rows.push_back({name, path, static_cast<int>(rows.size()), true});
    }
    Subfolders.erase(std::remove_if(Subfolders.begin(), Subfolders.end(),
                                    [](const std::string& n) { return n.empty() || n == "." || n == ".."; }),
                     Subfolders.end());
    std::sort(Subfolders.begin(), Subfolders.end(),
              [](const std::string& a, const std::string& b) { return Lower(a) < Lower(b); });
    const int indent = static_cast<int>(rows.size());
    if (path.back() != '\\') path += '\\';
    for (const std::string& name : Subfolders) rows.push_back({name, path + name, indent, false});
    return rows;
}

int CurrentFolderRow(const std::vector<TFolderRow>& Rows) {
    int current = -1;
    for (size_t i = 0; i < Rows.size(); ++i)
        if (Rows[i].Open) current = static_cast<int>(i);
    return current;
}
