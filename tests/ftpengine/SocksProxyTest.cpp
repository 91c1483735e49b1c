// The SOCKS 5 layer against a real proxy (microsocks, started by the test run)
// reaching a target that listens inside the test.
#include <gtest/gtest.h>

#include "SocksTestSupport.h"

using namespace sockettest;
using V = std::vector<std::string>;

namespace {
const std::string kBanner = "220 target ready\r\n";
}

TEST(SocksProxy, NoAuthenticationReadsTheBanner) {
    TTestServer target;
    target.Banner = kBanner;
    TSocksClient<> c;
    c.Go(qftest::PeerPort("QF_SOCKS_PORT"), "127.0.0.1", target.Port());
    ASSERT_TRUE(c.WaitData(kBanner));
    EXPECT_EQ(c.Log, (V{"tcp 0", "connected 0", "data"}));
    // And the other way: bytes sent now reach the target.
    c.Sock.SendText("USER x\r\n");
    ASSERT_TRUE(qftest::PumpUntil([&] { return target.Conn().Received == "USER x\r\n"; }));
    c.Sock.Close();
    ASSERT_TRUE(qftest::PumpUntil([&] { return target.Conn().ClosedCount > 0; }));
}

TEST(SocksProxy, UserAndPasswordAccepted) {
    TTestServer target;
    target.Banner = kBanner;
    TSocksClient<> c;
    c.UserPass(qftest::Env("QF_SOCKS_USER"), qftest::Env("QF_SOCKS_PASS"));
    c.Go(qftest::PeerPort("QF_SOCKS_AUTH_PORT"), "127.0.0.1", target.Port());
    ASSERT_TRUE(c.WaitData(kBanner));
    EXPECT_EQ(c.Log, (V{"tcp 0", "auth start", "auth success", "connected 0", "data"}));
}

TEST(SocksProxy, WrongPasswordRefused) {
    TTestServer target;
    TSocksClient<> c;
    c.UserPass(qftest::Env("QF_SOCKS_USER"), "wrong");
    c.Go(qftest::PeerPort("QF_SOCKS_AUTH_PORT"), "127.0.0.1", target.Port());
    ASSERT_TRUE(c.WaitConnected());
    EXPECT_EQ(c.Log, (V{"tcp 0", "auth start", "auth failure", "error 20015 socks authentication failed",
                        "connected 20015", "closed 20015"}));
    EXPECT_FALSE(target.HasConn());
}

TEST(SocksProxy, NoAuthenticationOfferedWhereItIsRequired) {
    TTestServer target;
    TSocksClient<> c;
    c.Go(qftest::PeerPort("QF_SOCKS_AUTH_PORT"), "127.0.0.1", target.Port());
    ASSERT_TRUE(c.WaitConnected());
    EXPECT_EQ(c.ConnectedError, 20003);
    EXPECT_EQ(c.Log[1], "error 20003 authentification method not acceptable");
}

TEST(SocksProxy, RefusedTarget) {
    TSocksClient<> c;
    c.Go(qftest::PeerPort("QF_SOCKS_PORT"), "127.0.0.1", FreePort());
    ASSERT_TRUE(c.WaitConnected());
    EXPECT_EQ(c.Log, (V{"tcp 0", "error 20008 connection refused", "connected 20008", "closed 20008"}));
    EXPECT_EQ(c.Sock.State(), wsClosed);
}
