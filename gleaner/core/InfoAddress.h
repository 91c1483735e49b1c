// An address split into protocol index and normalised path, resolved against
// a parent address the way RFC 3986 resolves references; plus the small
// address helpers the engine shares. No platform headers.
#pragma once

#include <string>
#include <vector>

// Entry 0 is the empty string; entries from 1 on are prefixes such as "file://".
using ProtocolStrings = std::vector<std::string>;

class InfoAddress {
public:
    InfoAddress() = default;
    // Splits the protocol off text by the list, then normalises the path.
    InfoAddress(const std::string& text, const ProtocolStrings& protocols,
                const InfoAddress* parent = nullptr);
    // Takes path and index over, then normalises the path.
    InfoAddress(const std::string& path, long protocolIndex, const InfoAddress* parent);

    long ProtocolIndex() const { return index_; }   // -1 empty, 0 no listed protocol
    const std::string& Path() const { return path_; }
    const InfoAddress* Parent() const { return parent_; }

    std::string FullAddress(const ProtocolStrings& protocols) const;
    InfoAddress Resolved() const;
    InfoAddress Directory() const;

private:
    long index_ = -1;
    std::string path_;
    const InfoAddress* parent_ = nullptr;  // not owned
};

// a-z become A-Z; every other byte is unchanged.
inline char UpperChar(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c; }
// 1 when both are non-empty and text begins with prefix (ASCII case folded).
long StartsWithNoCase(const std::string& text, const std::string& prefix);
// The text after the first "//" up to a space, "/" or backslash; "" without "//".
std::string AddressHost(const std::string& address);
// The text after the last "/" or backslash; the whole text when there is none.
std::string AddressDisplay(const std::string& address);
// Length of a leading "scheme:" of two or more characters (RFC 3986 scheme
// characters), 0 when there is none; one letter before ':' is a drive.
size_t SchemeLength(const std::string& text);
// True when text begins with the scheme "file:" (letter case ignored).
bool IsFileScheme(const std::string& text);
// True for addresses that lead to the local disk: a listed "file:" protocol,
// any other spelling of the file scheme, or a plain path with no scheme.
bool IsLocalAddress(const InfoAddress& address, const ProtocolStrings& protocols);
// Whether the address text, parsed as a channel parses its task address,
// leads to the local disk: the one test for links from network documents.
bool OpensLocally(const std::string& address, const ProtocolStrings& protocols);
