#include "ftpclient/core/AsciiExtList.h"

#include <algorithm>

#include "runtime/core/SysUtils.h"

const char* const DefaultAsciiExt =
    ".txt,.log,.diz,.doc,.html,.htm,.shtml,.asp,.css,.phtml,.js,.javascript,.c,.h,.c++,.h++,.cpp,.hpp,.sql";

namespace {

const char* const AlwaysBinary[] = {".GIF", ".JPG", ".JPEG", ".EXE", ".ZIP", ".MOV",
                                    ".MPG", ".MP2", ".MP3", ".CAB", ".MPEG", ".AVI"};

// The platform string list's comma text: commas and blanks separate, double
// quotes enclose an entry, a doubled quote inside stands for one.
std::vector<std::string> SplitCommaText(const std::string& t) {
    std::vector<std::string> out;
    size_t i = 0;
    auto skipBlanks = [&] {
        while (i < t.size() && static_cast<unsigned char>(t[i]) <= ' ') ++i;
    };
    skipBlanks();
    while (i < t.size()) {
        std::string item;
        if (t[i] == '"') {
            ++i;
            while (i < t.size()) {
                if (t[i] == '"') {
                    if (i + 1 < t.size() && t[i + 1] == '"') {
                        item += '"';
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                item += t[i++];
            }
        } else {
            while (i < t.size() && t[i] != ',' && static_cast<unsigned char>(t[i]) > ' ') item += t[i++];
        }
        out.push_back(item);
        skipBlanks();
        if (i < t.size() && t[i] == ',') {
            ++i;
            skipBlanks();
        }
    }
    return out;
}

}  // namespace

std::string TAsciiExtList::ExtensionOf(const std::string& Name) {
    size_t dot = Name.rfind('.');
    return dot == std::string::npos ? std::string() : Name.substr(dot);
}

bool TAsciiExtList::IsRefused(const std::string& Extension) {
    std::string up = UpperCase(Extension);
    return up == ".GIF" || up == ".JPG" || up == ".JPEG" || up == ".EXE" || up == ".ZIP";
}

bool TAsciiExtList::Contains(const std::string& Extension) const {
    return std::any_of(items_.begin(), items_.end(), [&](const std::string& s) { return SameText(s, Extension); });
}

void TAsciiExtList::Insert(const std::string& Extension) {
    auto at = std::upper_bound(items_.begin(), items_.end(), Extension,
                               [](const std::string& a, const std::string& b) { return CompareText(a, b) < 0; });
    items_.insert(at, Extension);
}

void TAsciiExtList::SetCommaText(const std::string& Text) {
    items_.clear();
    for (const std::string& e : SplitCommaText(Text)) {
        // An empty entry would send every file without extension as ASCII.
        if (e.empty() || IsRefused(ExtensionOf(e)) || Contains(e)) continue;
        Insert(e);
    }
}

std::string TAsciiExtList::CommaText() const {
    std::string out;
    for (size_t i = 0; i < items_.size(); ++i) {
        if (i > 0) out += ',';
        const std::string& s = items_[i];
        bool quote = s.empty();
        for (char c : s) quote = quote || c == ',' || c == '"' || static_cast<unsigned char>(c) <= ' ';
        if (!quote) {
            out += s;
            continue;
        }
        out += '"';
        for (char c : s) out += (c == '"') ? std::string("\"\"") : std::string(1, c);
        out += '"';
    }
    return out;
}

bool TAsciiExtList::Add(const std::string& Typed, std::string& Message) {
    std::string ext = ExtensionOf(Typed);
    if (IsRefused(ext)) {
        Message = "This extension is not a Ascii Text type.";
        return false;
    }
    if (ext.empty() || ext == ".") {
        Message = "Please enter an extension such as \".txt\".";
        return false;
    }
    if (Contains(ext)) {
        Message = "The extension \"" + ext + "\" is already in the list.";
        return false;
    }
    Insert(ext);
    return true;
}

void TAsciiExtList::Delete(int i) {
    if (i >= 0 && i < static_cast<int>(items_.size())) items_.erase(items_.begin() + i);
}

bool TAsciiExtList::IsBinaryTransfer(const std::string& FileName, TTransferMode Mode) const {
    if (Mode == TTransferMode::Ascii) return false;
    if (Mode == TTransferMode::Binary) return true;
    std::string ext = UpperCase(ExtensionOf(FileName));
    for (const char* b : AlwaysBinary)
        if (ext == b) return true;
    // Without an extension a file goes as binary, whatever the list holds.
    if (ext.empty()) return true;
    return !Contains(ext);
}
