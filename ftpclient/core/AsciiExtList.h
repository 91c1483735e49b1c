// The text-file extensions of the options, and the choice between binary
// and ASCII transfer that they steer. No platform headers.
#pragma once

#include <string>
#include <vector>

enum class TTransferMode { Binary, Ascii, Auto };

extern const char* const DefaultAsciiExt;

class TAsciiExtList {
public:
    // Sorted (case aside), no two equal (case aside), never empty entries
    // nor the five extensions that are always binary.
    const std::vector<std::string>& Items() const { return items_; }

    // The list's comma text; entries that cannot be in the list are dropped.
    void SetCommaText(const std::string& Text);
    std::string CommaText() const;

    // Adds the extension of a typed text (from its last "." on); false with
    // a message for an extension that is refused, empty or already listed.
    bool Add(const std::string& Typed, std::string& Message);
    void Delete(int i);

    // The extension of a name: from its last "." on, with the dot; empty without one.
    static std::string ExtensionOf(const std::string& Name);
    // ".GIF", ".JPG", ".JPEG", ".EXE", ".ZIP" (any case).
    static bool IsRefused(const std::string& Extension);

    bool IsBinaryTransfer(const std::string& FileName, TTransferMode Mode) const;

private:
    bool Contains(const std::string& Extension) const;
    void Insert(const std::string& Extension);
    std::vector<std::string> items_;
};
