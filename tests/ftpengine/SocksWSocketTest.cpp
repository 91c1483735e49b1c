// The SOCKS 5 layer against a scripted proxy inside the test: odd but legal
// replies, broken ones, and requests that must not go out at all.
#include <gtest/gtest.h>

#include "SocksTestSupport.h"

using namespace sockettest;
using qftest::PumpUntil;
using V = std::vector<std::string>;
using E = TScriptStep;

namespace {

const std::string kMethodNone("\x05\x00", 2);
const std::string kMethodUserPass("\x05\x02", 2);
// Success with a bound IPv4 address.
const std::string kReplyV4("\x05\x00\x00\x01\x7f\x00\x00\x01\x12\x34", 10);

// Bytes of the connect request for Host.
size_t ConnectRequestSize(const std::string& Host) { return 4 + 1 + Host.size() + 2; }

}  // namespace

TEST(SocksWSocket, ReplyAndTargetBytesInOneRead) {
    TScriptedPeer proxy({{3, kMethodNone}, {3 + ConnectRequestSize("127.0.0.1"), kReplyV4 + "220 hi\r\n"}});
    TSocksClient<> c;
    c.Go(proxy.Port(), "127.0.0.1", 21);
    ASSERT_TRUE(c.WaitData("220 hi\r\n"));
    EXPECT_EQ(c.Log, (V{"tcp 0", "connected 0", "data"}));
    EXPECT_EQ(c.FirstRead, "220 hi\r\n");  // the target's bytes, nothing of the reply
    EXPECT_EQ(c.Sock.ReadCount(), 8);
}

TEST(SocksWSocket, ReplyWithLongestNameAndWithIPv6Address) {
    std::string name(255, 'n');
    std::string type3 = std::string("\x05\x00\x00\x03", 4) + '\xff' + name + std::string("\x00\x15", 2);
    std::string type4 = std::string("\x05\x00\x00\x04", 4) + std::string(16, '\x01') + std::string("\x00\x15", 2);
    for (const std::string& reply : {type3, type4}) {
        SCOPED_TRACE(reply.size());
        TScriptedPeer proxy({{3, kMethodNone}, {3 + ConnectRequestSize("127.0.0.1"), reply + "banner"}});
        TSocksClient<> c;
        c.Go(proxy.Port(), "127.0.0.1", 21);
        ASSERT_TRUE(c.WaitData("banner"));
        EXPECT_EQ(c.ConnectedError, 0);
        EXPECT_EQ(c.FirstRead, "banner");
    }
}

TEST(SocksWSocket, AddressGoesAsDomainNameEvenWhenDotted) {
    // User and password offered, the proxy picks no authentication.
    const std::string host = "10.20.30.40";  // 11 characters
    TScriptedPeer proxy({{3, kMethodNone}, {3 + ConnectRequestSize(host), kReplyV4}});
    TSocksClient<> c;
    c.UserPass("someone", "secret");
    c.Go(proxy.Port(), host, 0x1234);
    ASSERT_TRUE(c.WaitConnected());
    EXPECT_EQ(c.Log, (V{"tcp 0", "auth not required", "connected 0"}));
    std::string expected = std::string("\x05\x01\x02", 3) + std::string("\x05\x01\x00\x03\x0b", 5) + host + "\x12\x34";
    EXPECT_EQ(proxy.Received(), expected);
}

TEST(SocksWSocket, UserPasswordRequestAndRefusal) {
    TScriptedPeer proxy({{3, kMethodUserPass}, {3 + 3 + 7 + 6, std::string("\x01\x01", 2)}});
    TSocksClient<> c;
    c.UserPass("someone", "secret");
    c.Go(proxy.Port(), "127.0.0.1", 21);
    ASSERT_TRUE(c.WaitConnected());
    EXPECT_EQ(c.Log, (V{"tcp 0", "auth start", "auth failure", "error 20015 socks authentication failed",
                        "connected 20015", "closed 20015"}));
    EXPECT_EQ(proxy.Received(), std::string("\x05\x01\x02\x01\x07someone\x06secret", 3 + 3 + 7 + 6));
    EXPECT_EQ(c.Sock.State(), wsClosed);
}

TEST(SocksWSocket, BadRepliesFailTheConnect) {
    struct Case {
        const char* Name;
        bool UserPass;
        std::vector<TScriptStep> Steps;
        int Error;
    };
    size_t req = 3 + ConnectRequestSize("127.0.0.1");
    const Case cases[] = {
        {"method not offered", false, {{3, kMethodUserPass}}, 20003},
        {"no acceptable method", false, {{3, std::string("\x05\xff", 2)}}, 20003},
        {"wrong version", false, {{3, std::string("\x04\x00", 2)}}, 20002},
        {"too much data", false, {{3, std::string("\x05\x00\x00", 3)}}, 20001},
        {"connect refused by ruleset", false, {{3, kMethodNone}, {req, std::string("\x05\x02\x00\x01", 4)}}, 20005},
        {"unassigned reply", false, {{3, kMethodNone}, {req, std::string("\x05\x09", 2)}}, 20012},
        {"unknown address type", false, {{3, kMethodNone}, {req, std::string("\x05\x00\x00\x07", 4)}}, 20011},
        {"auth reply version", true, {{3, kMethodUserPass}, {3 + 3 + 1 + 1, std::string("\x05\x00", 2)}}, 20002},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.Name);
        TScriptedPeer proxy(k.Steps);
        TSocksClient<> c;
        if (k.UserPass) c.UserPass("u", "p");
        c.Go(proxy.Port(), "127.0.0.1", 21);
        ASSERT_TRUE(c.WaitConnected());
        EXPECT_EQ(c.ConnectedError, k.Error);
        ASSERT_GE(c.Log.size(), 3u);
        EXPECT_EQ(c.Log[c.Log.size() - 3].substr(0, 12), "error " + std::to_string(k.Error) + " ");
        EXPECT_EQ(c.Log.back(), "closed " + std::to_string(k.Error));
    }
}

TEST(SocksWSocket, ProxyClosingMidwayFailsTheConnect) {
    TScriptedPeer proxy({{3, kMethodNone, E::Close}});
    TSocksClient<> c;
    c.Go(proxy.Port(), "127.0.0.1", 21);
    ASSERT_TRUE(c.WaitConnected());
    EXPECT_NE(c.ConnectedError, 0);
    ASSERT_TRUE(PumpUntil([&] { return c.Sock.State() == wsClosed; }));
}

namespace {
// Its second send fails the way a broken network does.
class TFailingSendSocket : public TWSocket {
protected:
    int RawSend(const char* Data, int Len) override {
        if (++sends_ > 1) {
            WSASetLastError(WSAENOBUFS);
            return -1;
        }
        return TWSocket::RawSend(Data, Len);
    }

private:
    int sends_ = 0;
};
}  // namespace

TEST(SocksWSocket, FailedRequestSendFailsTheConnect) {
    TScriptedPeer proxy({{3, kMethodNone}});
    TSocksClient<TFailingSendSocket> c;
    c.Go(proxy.Port(), "127.0.0.1", 21);
    // It used to be swallowed, leaving the connect waiting for a reply that never comes.
    ASSERT_TRUE(c.WaitConnected());
    EXPECT_EQ(c.Log, (V{"tcp 0", "error 10055 data send error", "connected 10055", "closed 10055"}));
}

TEST(SocksWSocket, RequestsThatCannotBeEncodedAreRefusedBeforeAnythingIsSent) {
    struct Case {
        const char* Name;
        std::string Host, User, Pass;
        bool UserPass;
        const char* Error;
    };
    const std::string long256(256, 'x');
    const Case cases[] = {
        {"host", long256, "", "", false, "connect: SOCKS target host name longer than 255 bytes"},
        {"user", "127.0.0.1", long256, "p", true, "connect: SOCKS user code longer than 255 bytes"},
        {"empty user", "127.0.0.1", "", "p", true, "connect: SOCKS user code is empty"},
        {"password", "127.0.0.1", "u", long256, true, "connect: SOCKS password longer than 255 bytes"},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.Name);
        TScriptedPeer proxy({});
        TSocksClient<> c;
        if (k.UserPass) c.UserPass(k.User, k.Pass);
        std::string error;
        try {
            c.Go(proxy.Port(), k.Host, 21);
        } catch (const ESocketException& e) {
            error = e.Message();
        }
        EXPECT_EQ(error, k.Error);
        EXPECT_EQ(c.Sock.State(), wsClosed);
        qftest::PumpFor(30);
        EXPECT_FALSE(proxy.Accepted());
    }
    // 255 bytes still go.
    TScriptedPeer proxy({{3, kMethodUserPass}});
    TSocksClient<> c;
    c.UserPass(std::string(255, 'u'), std::string(255, 'p'));
    c.Go(proxy.Port(), std::string(255, 'h'), 21);
    ASSERT_TRUE(PumpUntil([&] { return proxy.Received().size() == 3 + 3 + 255 + 255; }));
}

TEST(SocksWSocket, WhatTheProxyCannotDo) {
    TSocksClient<> c;
    c.Sock.SetSocksServer("127.0.0.1");
    c.Sock.SetSocksPort("1080");
    c.Sock.SetAddr("127.0.0.1");
    c.Sock.SetPort("0");
    EXPECT_THROW(c.Sock.Listen(), ESocketException);
    c.Sock.SetProto("udp");
    try {
        c.Sock.Connect();
        ADD_FAILURE() << "udp went through the proxy";
    } catch (const ESocketException& e) {
        EXPECT_EQ(e.Message(), "tcp is the only protocol supported thru socks server");
    }
}
