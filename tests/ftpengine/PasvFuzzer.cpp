// Arbitrary 227 lines: the parser either refuses them or gives a non-zero port
// taken from six numbers that appear in the text.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "FtpDataAddress.h"
#include "FtpReply.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string line(reinterpret_cast<const char*>(data), size);
    TFtpDataAddress a;
    if (ParsePasvReply(line, a)) {
        if (a.Port == 0 || ReplyCode(line) != 227) abort();
        std::string port = FormatPortCommand(a);
        if (port.compare(0, 5, "PORT ") != 0) abort();
    }
    return 0;
}
