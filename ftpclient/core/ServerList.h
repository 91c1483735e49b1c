// The saved sites, kept sorted by name (case aside) with no two names
// equal, and their site file. No platform headers.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "ftpclient/core/FTPServer.h"

class TCustomIniFile;

// [General] values of the site file that the rest of the program uses.
struct TSiteFileGeneral {
    bool Sync = true;     // run the blocking engine calls
    int FTPTimeOut = 30;  // initial engine time-out, seconds
};

// One item of the Servers menu.
struct TServerMenuItem {
    std::string Caption;  // "1. name"
    int32_t Tag = 0;      // 101 and up
};

class TServerList {
public:
    // A "Count" above this is not believed: a damaged file must not keep the
    // program reading (or erasing) sections for ever.
    static constexpr int MaxSites = 10000;
    static constexpr int32_t FirstMenuTag = 101;

    int Count() const { return static_cast<int>(sites_.size()); }
    const TFTPServer& Items(int i) const { return sites_.at(static_cast<size_t>(i)); }
    int IndexOf(const std::string& Name) const;  // case aside; -1 when absent
    int IndexOfMenuTag(int32_t Tag) const;       // -1 when no site has that tag

    // False, with Message set, when the name is empty or taken by another site.
    bool Add(const TFTPServer& Site, std::string& Message);
    // Replaces site i by Site and moves it to its sorted place (a rename
    // re-keys it); refused like Add when Site's name belongs to another site.
    bool Update(int i, const TFTPServer& Site, std::string& Message);
    void Remove(int i);
    void Clear();

    // Called after every change, so that the site file is saved at once.
    std::function<void()> OnChange;

    // Menu items in list order; sets every site's MenuTag.
    std::vector<TServerMenuItem> BuildMenu();
    void ClearMenuTags();

    // Writes General/Temp, reads [General] and the "Server" + n sections;
    // sections without a Name, and names already listed, are dropped.
    TSiteFileGeneral Load(TCustomIniFile& Ini);
    // Writes Count and every site in list order, then erases the surplus
    // sections up to the old Count. False when the file refused a write.
    bool Save(TCustomIniFile& Ini, const TScrambleOffsets& Offsets = nullptr) const;

    static std::string DuplicateMessage(const std::string& Name);

private:
    int InsertSorted(const TFTPServer& Site);
    void Changed();
    std::vector<TFTPServer> sites_;
};
