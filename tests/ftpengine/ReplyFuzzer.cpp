// Feeds arbitrary bytes in arbitrary chunks through the reply reader and
// judges every line; nothing may crash and no line may exceed the limit.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "FtpReply.h"
#include "FtpReplyReader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    size_t chunk = 1 + data[0] % 64;
    TFtpReplyReader r;
    const char* p = reinterpret_cast<const char*>(data + 1);
    size_t left = size - 1;
    size_t total = 0;
    while (left > 0) {
        size_t n = left < chunk ? left : chunk;
        r.Append(p, n);
        p += n;
        left -= n;
        std::string line;
        while (r.NextLine(line)) {
            if (line.size() > TFtpReplyReader::MaxLine) abort();
            total += line.size();
            line = RepairReplyLine(line);
            (void)IsContinuationLine(line);
            (void)ReplyCode(line);
            (void)ReplyNumberAfterCode(line);
            (void)ParseDirResult(line);
            if (AnnouncedSize(line) < -1) abort();
        }
        if (r.Pending() > size) abort();
    }
    if (total > size) abort();
    return 0;
}
