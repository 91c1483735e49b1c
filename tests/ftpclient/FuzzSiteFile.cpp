// Arbitrary bytes as a site file: reading never fails, and what is read
// saves and reads back the same.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "ftpclient/core/ServerList.h"
#include "ftpclient/core/TextIniFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    TTextIniFile ini(std::string(reinterpret_cast<const char*>(data), size));
    TServerList sites;
    sites.Load(ini);
    if (sites.Count() > TServerList::MaxSites) abort();
    TTextIniFile saved;
    if (!sites.Save(saved, [] { return 17; })) abort();
    TTextIniFile reread(saved.Text());
    TServerList back;
    back.Load(reread);
    if (back.Count() != sites.Count()) abort();
    for (int i = 0; i < sites.Count(); ++i) {
        const TFTPServer& a = sites.Items(i);
        const TFTPServer& b = back.Items(i);
        // Bytes 2, 3, 4 read as quote, CR and LF: the quoting cannot carry them.
        auto carried = [](const std::string& s) { return s.find_first_of("\2\3\4") == std::string::npos; };
        if (carried(a.Name) && a.Name != b.Name) abort();
        if (carried(a.Password) && a.Password != b.Password && a.Username == b.Username) abort();
        if (a.PasvMode != b.PasvMode) abort();
    }
    return 0;
}
