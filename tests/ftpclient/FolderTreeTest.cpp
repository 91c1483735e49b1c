// The local folder list's rows: root, parents and current folder open, the
// subfolders closed and one step further in.
#include <gtest/gtest.h>

#include "ftpclient/core/FolderTree.h"

namespace {
// "name|path|indent|open or closed" per row.
std::vector<std::string> Describe(const std::vector<TFolderRow>& rows) {
    std::vector<std::string> out;
    for (auto& r : rows)
        out.push_back(r.Name + "|" + r.Path + "|" + std::to_string(r.Indent) + (r.Open ? "|open" : "|closed"));
    return out;
}
}  // namespace

TEST(FolderTree, RowsForAFolderAndItsSubfolders) {
    const struct {
        const char* name;
        std::string folder;
        std::vector<std::string> subfolders;
        std::vector<std::string> rows;
        int current;
    } cases[] = {
        {"two levels down, subfolders sorted without case",
         "C:\\work\\Site",
         {"images", "..", "CGI", ".", "b c"},
         {"c:\\|C:\\|0|open", "work|C:\\work|1|open", "Site|C:\\work\\Site|2|open", "b c|C:\\work\\Site\\b c|3|closed",
          "CGI|C:\\work\\Site\\CGI|3|closed", "images|C:\\work\\Site\\images|3|closed"},
         2},
        {"the drive root", "D:\\", {"z", "a"}, {"d:\\|D:\\|0|open", "a|D:\\a|1|closed", "z|D:\\z|1|closed"}, 0},
        {"a drive without its backslash", "e:", {}, {"e:\\|e:\\|0|open"}, 0},
        {"a trailing backslash and doubled ones", "c:\\a\\\\b\\", {}, {"c:\\|c:\\|0|open", "a|c:\\a|1|open", "b|c:\\a\\b|2|open"}, 2},
        {"a folder without subfolders", "c:\\a", {}, {"c:\\|c:\\|0|open", "a|c:\\a|1|open"}, 1},
        {"a share", "\\\\host\\share\\x", {"y"},
         {"\\\\host\\share|\\\\host\\share|0|open", "x|\\\\host\\share\\x|1|open", "y|\\\\host\\share\\x\\y|2|closed"}, 1},
        {"a share without its share name", "\\\\host", {"y"}, {}, -1},
        {"a relative path", "work\\a", {"y"}, {}, -1},
        {"nothing", "", {"y"}, {}, -1},
    };
    for (auto& c : cases) {
        auto rows = FolderTreeRows(c.folder, c.subfolders);
        EXPECT_EQ(Describe(rows), c.rows) << c.name;
        EXPECT_EQ(CurrentFolderRow(rows), c.current) << c.name;
    }
}
