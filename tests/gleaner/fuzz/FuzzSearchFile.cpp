// The search-file reader on arbitrary bytes: it must fail cleanly, and what it
// accepts must write back as the same bytes.
#include <cstdlib>
#include <cstring>

#include "SearchFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::u16string user;
    RecordList records;
    std::string error;
    if (!SearchFile::Parse(data, size, user, records, error)) return 0;
    std::string out = SearchFile::Serialize(BStr(user), records);
    if (out.size() > size || memcmp(out.data(), data, out.size()) != 0) abort();
    return 0;
}
