// Feeds arbitrary proxy replies, cut into arbitrary reads, through the SOCKS 5
// reply checks the way the socket does: they must never read past what they
// were given nor claim more bytes than arrived.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "core/SocksProtocol.h"

using namespace SocksProtocol;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2) return 0;
    uint8_t offered = (data[0] & 1) ? MethodUserPass : MethodNone;
    size_t step = (data[1] % 16) + 1;
    data += 2;
    size -= 2;
    std::vector<uint8_t> buf;  // the socket's reply buffer, exactly as filled
    int phase = 1;
    for (size_t pos = 0; pos < size && phase != 0;) {
        size_t n = std::min(step, size - pos);
        buf.insert(buf.end(), data + pos, data + pos + n);
        pos += n;
        TCheck c;
        if (phase == 1) c = CheckMethodReply(buf.data(), buf.size(), offered);
        else if (phase == 2) c = CheckAuthReply(buf.data(), buf.size());
        else c = CheckConnectReply(buf.data(), buf.size());
        if (c.Verdict == TVerdict::NeedMore) {
            if (buf.size() > 512) abort();  // the checks must decide within the buffer
            continue;
        }
        if (c.Verdict == TVerdict::Failed) {
            if (c.Error < ErrTooMuchData || c.Error > ErrAuthFailed) abort();
            (void)ErrorMessage(c.Error, c.ReplyCode);
            break;
        }
        if (c.Length > buf.size() || c.Length > MaxReplyLength) abort();
        if (phase == 1) phase = c.Method == MethodUserPass ? 2 : 3;
        else if (phase == 2) phase = 3;
        else phase = 0;
        buf.erase(buf.begin(), buf.begin() + static_cast<std::ptrdiff_t>(c.Length));
    }
    return 0;
}
