// The socket layer's window-free parts: send blocks, line cutting, SOCKS 5
// messages and replies, error texts and numbers.
#include <gtest/gtest.h>

#include <cstring>

#include "core/Buffer.h"
#include "core/LineBuffer.h"
#include "core/SocksProtocol.h"
#include "core/WSocketText.h"

using namespace SocksProtocol;

// ---------------------------------------------------------------- TBuffer

TEST(SocketCore, BufferWritesPeeksAndRemoves) {
    TBuffer b;
    EXPECT_EQ(b.Size(), 1514);
    EXPECT_EQ(TBuffer(-5).Size(), 1514);
    std::string data(2000, 'a');
    EXPECT_EQ(b.Write(data.data(), 2000), 1514);  // as much as fits
    EXPECT_EQ(b.Write("x", 1), 0);
    int len = 0;
    const char* p = b.Peek(len);
    EXPECT_EQ(len, 1514);
    EXPECT_EQ(p[0], 'a');
    b.Remove(1000);
    b.Peek(len);
    EXPECT_EQ(len, 514);
    EXPECT_EQ(b.RdCount(), 1000);
    b.Remove(514);  // all sent: both counts back to 0
    EXPECT_EQ(b.RdCount(), 0);
    EXPECT_EQ(b.WrCount(), 0);
    EXPECT_EQ(b.Write("xyz", 3), 3);

    b.SetSize(2);  // keeps what fits
    b.Peek(len);
    EXPECT_EQ(len, 2);
    b.SetSize(10);
    EXPECT_EQ(b.Write("12345678", 8), 8);
    p = b.Peek(len);
    EXPECT_EQ(std::string(p, static_cast<size_t>(len)), "xy12345678");
}

// ---------------------------------------------------------------- TLineBuffer

TEST(SocketCore, LineCuts) {
    struct Case {
        const char* Data;
        const char* End;
        size_t From;
        long Limit;
        size_t Length;
        bool TooLong;
    };
    const Case cases[] = {
        {"ab\r\ncd", "\r\n", 0, 0, 4, false},
        {"ab\r", "\r\n", 0, 0, 0, false},            // end not complete yet
        {"ab\r\n", "\r\n", 1, 0, 4, false},          // search backed up over a split end
        {"\r\n", "\r\n", 0, 0, 2, false},
        {"abc", "", 0, 0, 0, false},                 // no terminator: no lines
        {"xxENDyy", "END", 0, 0, 5, false},
        {"0123456789\r\n", "\r\n", 0, 8, 8, true},   // end beyond the limit
        {"0123456789", "\r\n", 0, 8, 8, true},       // no end and already too long
        {"0123456", "\r\n", 0, 8, 0, false},          // no end, still short
        {"012345\r\n", "\r\n", 0, 8, 8, false},      // exactly the limit
        {"", "\r\n", 0, 8, 0, false},
        {"ab", "\r\n", 5, 0, 0, false},              // From past the end
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Data);
        TLineBuffer b;
        b.Append(c.Data, std::strlen(c.Data));
        TLineCut cut = b.Cut(c.End, c.From, c.Limit);
        EXPECT_EQ(cut.Length, c.Length);
        EXPECT_EQ(cut.TooLong, c.TooLong);
    }
}

TEST(SocketCore, LineBufferTakesFromTheFrontAndGrows) {
    TLineBuffer b;
    std::string all;
    char out[7];
    std::string taken;
    for (int i = 0; i < 1000; ++i) {
        std::string piece = std::to_string(i) + ",";
        all += piece;
        b.Append(piece.data(), piece.size());
        if (i % 3 == 0) taken.append(out, b.Take(out, sizeof out));
    }
    while (b.Length() > 0) taken.append(out, b.Take(out, sizeof out));
    EXPECT_EQ(taken, all);
    char* p = b.Reserve(4);
    std::memcpy(p, "abcd", 4);
    b.Commit(2);
    EXPECT_EQ(std::string(b.Data(), b.Length()), "ab");
    b.Drop(1);
    EXPECT_EQ(std::string(b.Data(), b.Length()), "b");
    b.Clear();
    EXPECT_EQ(b.Length(), 0u);
}

// ---------------------------------------------------------------- SOCKS 5

namespace {
TCheck Connect(const std::string& s) {
    return CheckConnectReply(reinterpret_cast<const uint8_t*>(s.data()), s.size());
}
}  // namespace

TEST(SocketCore, SocksMethodAndAuthReplies) {
    auto method = [](const std::string& s, uint8_t offered) {
        return CheckMethodReply(reinterpret_cast<const uint8_t*>(s.data()), s.size(), offered);
    };
    EXPECT_EQ(method("\x05", 0).Verdict, TVerdict::NeedMore);
    EXPECT_EQ(method(std::string("\x05\x00", 2), 0).Method, MethodNone);
    EXPECT_EQ(method(std::string("\x05\x00", 2), 2).Verdict, TVerdict::Done);  // no auth needed after all
    EXPECT_EQ(method("\x05\x02", 2).Method, MethodUserPass);
    EXPECT_EQ(method("\x05\x02", 0).Error, ErrMethod);  // not offered
    EXPECT_EQ(method("\x05\xff", 2).Error, ErrMethod);
    EXPECT_EQ(method(std::string("\x04\x00", 2), 0).Error, ErrVersion);
    EXPECT_EQ(method(std::string("\x05\x00\x00", 3), 0).Error, ErrTooMuchData);

    auto auth = [](const std::string& s) { return CheckAuthReply(reinterpret_cast<const uint8_t*>(s.data()), s.size()); };
    EXPECT_EQ(auth("\x01").Verdict, TVerdict::NeedMore);
    EXPECT_EQ(auth(std::string("\x01\x00", 2)).Verdict, TVerdict::Done);
    EXPECT_EQ(auth("\x01\x01").Error, ErrAuthFailed);
    EXPECT_EQ(auth(std::string("\x05\x00", 2)).Error, ErrVersion);
    EXPECT_EQ(auth(std::string("\x01\x00\x00", 3)).Error, ErrTooMuchData);
}

TEST(SocketCore, SocksConnectReplies) {
    const std::string v4("\x05\x00\x00\x01\x7f\x00\x00\x01\x00\x15", 10);
    for (size_t n = 0; n < v4.size(); ++n) EXPECT_EQ(Connect(v4.substr(0, n)).Verdict, TVerdict::NeedMore) << n;
    EXPECT_EQ(Connect(v4).Length, 10u);
    EXPECT_EQ(Connect(v4 + "target bytes").Length, 10u);

    std::string v3 = std::string("\x05\x00\x00\x03", 4) + '\xff' + std::string(255, 'n') + std::string("\x00\x15", 2);
    EXPECT_EQ(Connect(v3.substr(0, v3.size() - 1)).Verdict, TVerdict::NeedMore);
    EXPECT_EQ(Connect(v3).Length, MaxReplyLength);
    std::string v6 = std::string("\x05\x00\x00\x04", 4) + std::string(16, '\0') + std::string("\x00\x15", 2);
    EXPECT_EQ(Connect(v6.substr(0, 21)).Verdict, TVerdict::NeedMore);
    EXPECT_EQ(Connect(v6).Length, 22u);

    EXPECT_EQ(Connect("\x04").Error, ErrVersion);
    EXPECT_EQ(Connect(std::string("\x05\x00\x00\x02", 4)).Error, ErrAddrNotSupported);
    for (int rep = 1; rep <= 8; ++rep) {
        std::string r = std::string("\x05", 1) + static_cast<char>(rep);
        EXPECT_EQ(Connect(r).Error, 20003 + rep) << rep;
    }
    TCheck c = Connect("\x05\x09");
    EXPECT_EQ(c.Error, ErrUnassigned);
    EXPECT_EQ(ErrorMessage(c.Error, c.ReplyCode), "unassigned error #9");
    EXPECT_EQ(ErrorMessage(ErrConnRefused), "connection refused");
    EXPECT_EQ(ErrorMessage(ErrTooMuchData), "too much data availaible");
    EXPECT_EQ(ErrorMessage(ErrInternal), "internal error");
}

TEST(SocketCore, SocksRequests) {
    EXPECT_EQ(MethodRequest(2), std::string("\x05\x01\x02", 3));
    EXPECT_EQ(AuthRequest("ab", ""), std::string("\x01\x02" "ab" "\x00", 5));
    EXPECT_EQ(ConnectRequest("10.20.30.40", 21), std::string("\x05\x01\x00\x03\x0b" "10.20.30.40" "\x00\x15", 18));

    const std::string s255(255, 's'), s256(256, 's');
    EXPECT_EQ(CheckRequestFields(s255, true, s255, s255), "");
    EXPECT_EQ(CheckRequestFields("h", true, "u", ""), "");
    EXPECT_EQ(CheckRequestFields("h", false, "", s256), "");  // not sent without the method
    EXPECT_NE(CheckRequestFields(s256, false, "", ""), "");
    EXPECT_NE(CheckRequestFields("", false, "", ""), "");
    EXPECT_NE(CheckRequestFields("h", true, "", "p"), "");
    EXPECT_NE(CheckRequestFields("h", true, s256, "p"), "");
    EXPECT_NE(CheckRequestFields("h", true, "u", s256), "");
}

// ---------------------------------------------------------------- texts and numbers

TEST(SocketCore, ErrorTexts) {
    EXPECT_EQ(WSocketGetErrorText(0), "No Error");
    EXPECT_EQ(WSocketGetErrorText(10061), "Connection refused");
    EXPECT_EQ(WSocketGetErrorText(10054), "Connection reset by peer");
    EXPECT_EQ(WSocketGetErrorText(11001), "Host not found");
    EXPECT_EQ(WSocketGetErrorText(12345), "Not a WinSock error");
}

TEST(SocketCore, DottedAddressesAndNumbers) {
    uint32_t a = 0;
    EXPECT_TRUE(WSocketIsDottedIP("10.0.0.1", &a));
    EXPECT_EQ(WSocketDottedText(a), "10.0.0.1");
    EXPECT_TRUE(WSocketIsDottedIP("255.255.255.255", &a));
    EXPECT_EQ(a, 0xFFFFFFFFu);
    EXPECT_TRUE(WSocketIsDottedIP("010.000.000.001", &a));
    EXPECT_EQ(WSocketDottedText(a), "10.0.0.1");
    for (const char* bad : {"", "1.2.3", "1.2.3.4.5", "256.1.1.1", "1..2.3", "a.b.c.d", "1.2.3.4 ", "1234.1.1.1"})
        EXPECT_FALSE(WSocketIsDottedIP(bad)) << bad;

    unsigned long v = 0;
    EXPECT_TRUE(WSocketLeadingNumber("21", 65535, v));
    EXPECT_EQ(v, 21u);
    EXPECT_TRUE(WSocketLeadingNumber("  8080x", 65535, v));
    EXPECT_EQ(v, 8080u);
    EXPECT_TRUE(WSocketLeadingNumber("65535", 65535, v));
    EXPECT_FALSE(WSocketLeadingNumber("65536", 65535, v));
    EXPECT_FALSE(WSocketLeadingNumber("99999999999999999999", 65535, v));
    EXPECT_FALSE(WSocketLeadingNumber("ftp", 65535, v));
    EXPECT_FALSE(WSocketLeadingNumber("", 65535, v));
}
