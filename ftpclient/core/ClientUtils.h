// Small routines of the client: size texts, the temporary listing name, and
// the checks on names that come from the server or from the user. No
// platform headers.
#pragma once

#include <cstdint>
#include <string>

// The locale's separators; the window passes the user's.
struct TNumberFormat {
    std::string Thousand = ",";
    std::string Decimal = ".";
};

// "1 byte", "0 byte", "2,048 bytes".
std::string FormatByteCount(int64_t Count, const TNumberFormat& Format = TNumberFormat());
// Divided by 1024 while above 1024, up to GB; "#,#.##" + " bytes", " KB", " MB", " GB".
std::string FormatFileSize(int64_t Count, const TNumberFormat& Format = TNumberFormat());

// The size of the properties sheet from a listing's size text: up to 1024
// as FormatByteCount, above as FormatFileSize + " (" + FormatByteCount + ")";
// a text that is not a number as the text + " bytes".
std::string PropertiesSizeText(const std::string& SizeText, const TNumberFormat& Format = TNumberFormat());
// "Archive / Read-Only / Hidden / System " for the attributes that are set.
std::string AttributesText(bool Archive, bool ReadOnly, bool Hidden, bool System);

// The platform calls behind MakeTempFileName.
class TTempFolder {
public:
    virtual ~TTempFolder() = default;
    virtual std::string TempPath() = 0;  // with a trailing backslash; empty on failure
    // Creates a unique file with the prefix in the folder; empty on failure.
    virtual std::string CreateTempFile(const std::string& Folder, const std::string& Prefix) = 0;
    virtual void DeleteFile(const std::string& Path) = 0;
};

// A fresh "ISW" name in the temporary folder whose file is deleted again, so
// that only the name is used. A few tries, then "ISW0F1E2.TMP" in the
// temporary folder (or alone when even that is unknown): it never loops.
std::string MakeTempFileName(TTempFolder& Folder);
extern const int TempNameTries;

// A name from a listing that may become a local file or folder name: not
// empty, not "." or "..", none of \ / : * ? " < > | and no control bytes,
// no trailing dot or blank, and no device name ("nul", "CON", "aux.txt",
// "COM1"). False with a message for the user otherwise.
bool CheckRemoteNameForLocal(const std::string& Name, std::string& Message);
// CON, PRN, AUX, NUL, COM1-9, LPT1-9 (and the console names), in any case,
// with or without an extension.
bool IsReservedDeviceName(const std::string& Name);

// A new folder name typed or pasted into the one-line dialog: none of
// \ / : * ? " < > |, not "." or "..", and not empty unless that is allowed.
bool IsValidNewFolderName(const std::string& Name, bool AllowEmpty = false);
bool IsFolderNameKey(char Key);  // false for the characters the edit swallows

// Hours * 3600 + minutes * 60 + seconds of the time of day of a date-time.
int TimeToSeconds(double DateTime);
// "HH:NN:SS" of the time of day of a date-time.
std::string FormatTimeOfDay(double DateTime);
