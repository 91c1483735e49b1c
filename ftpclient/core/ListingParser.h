// The remote pane's rows, read from the text a LIST wrote: Unix "ls -l"
// lines only, taken apart by position. No platform headers.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// One row of the remote list, as the parser and the link probe leave it.
struct TListingEntry {
    std::string Name;
    std::string Permissions;  // field 0; its first character is the entry type
    std::string Owner;
    std::string Group;
    std::string SizeText;     // decimal text as the server sent it
    std::string DateText;     // fields 5, 6 and 7 joined by single blanks
    std::string LinkTarget;   // the text after " -> " of a symbolic link, else empty
};

class TListingParser {
public:
    // One line; false for lines that give no row: empty, blanks only,
    // "total ...", and every line that does not start with a Unix mode
    // string ("Permission denied", a DOS-style line).
    static bool ParseLine(const std::string& Line, TListingEntry& Out);
    // Every line of a listing, cut where the server ends its lines: at LF,
    // with a CR before it dropped. A lone CR is part of the line (a Unix
    // name may hold one), so such a name still gives one row.
    static std::vector<TListingEntry> Parse(const std::string& Text);
};

// "-rw-r--r--", "drwxr-xr-x", "lrwxrwxrwx", "crw-rw----", with an ACL or
// context mark ("+", ".", "@") allowed after the ten characters.
bool IsUnixModeString(const std::string& Field);

// The first character of the permission string decides what a row is.
bool IsFolderRow(const TListingEntry& Entry);
bool IsLinkRow(const TListingEntry& Entry);
bool IsDotRow(const std::string& Name);  // "." or ".."

// A size text as a 64-bit count; 0 when it is not a plain decimal number.
int64_t SizeOfText(const std::string& SizeText);

// The answer to the SIZE probe of a link, sent in binary type.
struct TLinkProbe {
    int ReplyCode = 0;  // 0 when the probe failed before any reply
    int64_t Size = 0;
};

// Any 213 makes the link a file of that size (an empty file too); every
// other outcome makes it a folder.
void ApplyLinkProbe(TListingEntry& Entry, const TLinkProbe& Probe);

// Sends the SIZE probes of the links of a listing.
class TLinkProber {
public:
    virtual ~TLinkProber() = default;
    // Before the first probe: TYPE I, since servers refuse SIZE in ASCII type.
    virtual void BeginProbes() = 0;
    virtual TLinkProbe ProbeSize(const std::string& Name) = 0;
};

// How names compare in the remote list. The window uses the locale's
// case-sensitive comparison; the core's own tests use bytes.
class TNameCollation {
public:
    virtual ~TNameCollation() = default;
    // Below 0, 0, above 0 as A sorts before, with or after B.
    virtual int Compare(const std::string& A, const std::string& B) const = 0;
    // A key whose byte-wise (unsigned) order is Compare's order: a big
    // listing is sorted on keys made once per name.
    virtual std::string SortKey(const std::string& Name) const = 0;
};

// Byte order (unsigned, as strcmp); the key is the name itself.
class TByteCollation : public TNameCollation {
public:
    int Compare(const std::string& A, const std::string& B) const override;
    std::string SortKey(const std::string& Name) const override { return Name; }
    static const TByteCollation& Instance();
};

// The rows of a whole listing text, read to its end before any link is
// probed (the listing file is gone by then, so the probes cannot touch
// it); "." and ".." added when missing; in the list's sort order.
std::vector<TListingEntry> BuildRemoteRows(const std::string& Text, TLinkProber& Prober,
                                           const TNameCollation& Collation = TByteCollation::Instance());

// Adds "." and ".." (permission string "drwxrwxrwx") when the listing lacks them.
void AddMissingDotRows(std::vector<TListingEntry>& Entries);

// Sort order of the remote list: ".", "..", folders, files; by name in the
// collation's order (names it counts as equal by their bytes).
bool RemoteRowLess(const TListingEntry& A, const TListingEntry& B,
                   const TNameCollation& Collation = TByteCollation::Instance());
// Sorts once, in that order, with one sort key per row.
void SortRemoteRows(std::vector<TListingEntry>& Rows, const TNameCollation& Collation);

// The extension whose type and icon a file row shows: from the link target
// when there is one, else from the name (from the last "." on, with the dot).
std::string RowExtension(const TListingEntry& Entry);
// "TXT File" for ".txt"; " File" for no extension.
std::string FileTypeText(const std::string& Extension);
// The registry key of an extension's icon: byte 2 + extension, ".com" for ".exe".
std::string FileIconKey(const std::string& Extension);
