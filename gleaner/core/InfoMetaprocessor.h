// Conversion tables read from a format-table file: formats (string
// substitutions such as markup entities) and encodings (byte-for-byte maps).
// No platform headers.
#pragma once

#include <array>
#include <mutex>
#include <string>
#include <vector>

#include "InfoObject.h"

class InfoDownloader;

class InfoMetaprocessor : public InfoObject {
public:
    struct Format {
        std::string Name;
        long TestRegister = 0;  // 1: sources compared with letter case
        std::vector<std::string> Sources;
        std::vector<std::string> Targets;
    };
    struct Encoding {
        std::string Name;
        std::string Mapping;  // from, to, from, to, ...
    };

    // Reads the table at address through the downloader; 1 loaded, 0 not.
    // Entries read before a failure stay.
    long ParseMetaprocessorTable(const std::string& address, InfoDownloader& downloader);
    // Parses table text as read from a file; 1 parsed, 0 on a token outside a section that is not "BEGIN".
    long ParseTableText(const std::string& text);
    void EmptyTables();
    void SelectFormat(const std::string& name);
    void SelectEncoding(const std::string& name);
    std::string Convert(const std::string& text) const;

    void SetDefaultFormatName(const std::string& name);
    void SetDefaultEncodingName(const std::string& name);
    std::string DefaultFormatName() const;
    std::string DefaultEncodingName() const;
    long SelectedFormat() const;
    long SelectedEncoding() const;
    std::vector<Format> Formats() const;
    std::vector<Encoding> Encodings() const;

    long CaseSensitiveNames = 0;

private:
    bool NameEquals(const std::string& a, const std::string& b) const;
    template <class List>
    long Pick(const List& list, const std::string& name, const std::string& fallback) const;
    void Prepare();  // per-character tables of the selection

    mutable std::mutex m_;
    std::vector<Format> formats_;
    std::vector<Encoding> encodings_;
    std::string defaultFormat_;
    std::string defaultEncoding_;
    long format_ = -1;
    long encoding_ = -1;
    // For the selected format: source indices by first byte, in list order.
    std::array<std::vector<unsigned>, 256> byFirst_;
    std::array<unsigned char, 256> map_{};
    bool mapped_ = false;
};
