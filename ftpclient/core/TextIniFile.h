// An INI file held as text, read and written the way the platform's profile
// functions do it, so that the exact bytes of a saved file can be checked.
// No platform headers.
#pragma once

#include <string>
#include <vector>

#include "ftpclient/core/CustomIniFile.h"

class TTextIniFile : public TCustomIniFile {
public:
    TTextIniFile() = default;
    explicit TTextIniFile(const std::string& Text) { SetText(Text); }

    // Lines cut at CR LF, LF or CR; "[name]" starts a section, "key=value"
    // is an entry; lines before the first section and lines without "="
    // are not kept.
    void SetText(const std::string& Text);
    // Sections in order, each "[name]" then its "key=value" lines, CR LF
    // line ends, one empty line between sections.
    std::string Text() const;

    std::string ReadString(const std::string& Section, const std::string& Key,
                           const std::string& Default) override;
    bool WriteString(const std::string& Section, const std::string& Key,
                     const std::string& Value) override;
    bool EraseSection(const std::string& Section) override;

    bool SectionExists(const std::string& Section) const;

private:
    struct Entry {
        std::string key;
        std::string value;
    };
    struct Section {
        std::string name;
        std::vector<Entry> entries;
    };
    Section* FindSection(const std::string& name);
    const Section* FindSection(const std::string& name) const;
    std::vector<Section> sections_;
};
