// The message-driven socket: lookups, connect, listen/accept/Dup, the send
// queue, closing, and the faults of the receive and close paths.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "Application.h"
#include "SocketTestSupport.h"
#include "TestSupport.h"

using namespace sockettest;
using qftest::PumpUntil;

namespace {

// Dispatches what is waiting now, without waiting for more.
void Drain() { Application->ProcessMessages(); }

std::string ErrorOf(const std::function<void()>& f) {
    try {
        f();
    } catch (const ESocketException& e) {
        return e.Message();
    }
    return "(no error)";
}

// Connects Sock to the server and waits until both ends stand.
bool ConnectTo(TWSocket& Sock, TTestServer& Server) {
    bool connected = false;
    Sock.OnSessionConnected = [&](TObject*, uint16_t e) { connected = e == 0; };
    size_t before = Server.Conns.size();
    Target(Sock, Server.Port());
    Sock.Connect();
    bool ok = PumpUntil([&] { return connected && Server.Conns.size() > before; });
    Sock.OnSessionConnected = nullptr;
    return ok;
}

// A connected client and the server side of its connection.
struct TPair {
    TTestServer Server;
    TWSocket Client;
    int ClientClosed = 0;
    int ClientCloseError = -1;
    bool Connected = false;

    explicit TPair(const std::function<void(TPair&)>& Before = nullptr) {
        Client.OnSessionConnected = [this](TObject*, uint16_t e) { Connected = e == 0; };
        Client.OnSessionClosed = [this](TObject*, uint16_t e) {
            ++ClientClosed;
            ClientCloseError = e;
        };
        if (Before) Before(*this);
        Target(Client, Server.Port());
        Client.Connect();
        EXPECT_TRUE(PumpUntil([&] { return Connected && Server.HasConn(); }));
    }
    TPeerConn& Peer() { return Server.Conn(); }
};

}  // namespace

// ---------------------------------------------------------------- name lookups

TEST(WSocket, DnsLookupOfDottedAddressAnswersBeforeReturning) {
    TWSocket s;
    int done = -1;
    s.OnDnsLookupDone = [&](TObject* Sender, uint16_t e) {
        EXPECT_EQ(Sender, &s);
        done = e;
    };
    s.DnsLookup("10.0.0.1");
    EXPECT_EQ(done, 0);
    EXPECT_EQ(s.DnsResult(), "10.0.0.1");
}

TEST(WSocket, DnsLookupOfLocalhostComesFromTheMessageLoop) {
    TWSocket s;
    int done = -1;
    s.OnDnsLookupDone = [&](TObject*, uint16_t e) { done = e; };
    s.DnsLookup("localhost");
    EXPECT_EQ(done, -1);
    ASSERT_TRUE(PumpUntil([&] { return done >= 0; }));
    EXPECT_EQ(done, 0);
    EXPECT_EQ(s.DnsResult(), "127.0.0.1");
    ASSERT_GE(s.DnsResultList().Count(), 1);
    EXPECT_EQ(s.DnsResultList().Strings(0), "127.0.0.1");
}

TEST(WSocket, DnsLookupOfEmptyHostIsRefused) {
    TWSocket s;
    int done = -1;
    s.OnDnsLookupDone = [&](TObject*, uint16_t e) { done = e; };
    EXPECT_EQ(ErrorOf([&] { s.DnsLookup(""); }), "DNS lookup: invalid host name.");

    // With OnError the error is told there, and the lookup ends with 10022.
    int errors = 0;
    s.OnError = [&](TObject*) { ++errors; };
    s.DnsLookup("  ");
    EXPECT_EQ(errors, 1);
    EXPECT_EQ(done, 10022);
}

TEST(WSocket, AddressLookupAndCancel) {
    TWSocket s;
    std::vector<int> done;
    s.OnDnsLookupDone = [&](TObject*, uint16_t e) { done.push_back(e); };
    s.AddressLookup("127.0.0.1");
    ASSERT_TRUE(PumpUntil([&] { return !done.empty(); }));
    EXPECT_EQ(done[0], 0);
    EXPECT_FALSE(s.DnsResult().empty());

    done.clear();
    s.DnsLookup("localhost");
    s.CancelLookup();
    ASSERT_EQ(done.size(), 1u);
    EXPECT_EQ(done[0], 10004);
    // A result that was already on its way is not reported any more.
    PumpUntil([] { return false; }, 100);
    EXPECT_EQ(done.size(), 1u);
}

TEST(WSocket, Resolvers) {
    EXPECT_EQ(WSocketResolveHost("127.0.0.1"), htonl(INADDR_LOOPBACK));
    EXPECT_EQ(WSocketResolveHost(" localhost "), htonl(INADDR_LOOPBACK));
    EXPECT_EQ(WSocketResolveHost("255.255.255.255"), INADDR_BROADCAST);
    EXPECT_EQ(ErrorOf([] { WSocketResolveHost(""); }), "WSocketResolveHost: Invalid Hostname.");
    EXPECT_EQ(ErrorOf([] { WSocketResolveHost(std::string(257, 'a')); }), "WSocketResolveHost: Invalid Hostname.");
    EXPECT_EQ(ErrorOf([] { WSocketResolveHost("no-such-host.invalid"); }),
              "WSocketResolveHost: Cannot convert host address 'no-such-host.invalid'");

    EXPECT_EQ(WSocketResolvePort("21", "tcp"), 21);
    EXPECT_EQ(WSocketResolvePort("ftp", "tcp"), 21);
    EXPECT_EQ(WSocketResolvePort("65535", "tcp"), 65535);
    for (const char* bad : {"65536", "70000", "99999999999"})
        EXPECT_EQ(ErrorOf([&] { WSocketResolvePort(bad, "tcp"); }), "WSocketResolvePort: Invalid Port.") << bad;
    EXPECT_EQ(ErrorOf([] { WSocketResolvePort("", "tcp"); }), "WSocketResolvePort: Invalid Port.");
    EXPECT_EQ(ErrorOf([] { WSocketResolvePort("no-such-service", "tcp"); }),
              "WSocketResolvePort: Cannot convert port 'no-such-service'");

    EXPECT_EQ(WSocketResolveProto("tcp"), 6);
    EXPECT_EQ(WSocketResolveProto("udp"), 17);
    EXPECT_EQ(WSocketResolveProto("6"), 6);
    EXPECT_EQ(ErrorOf([] { WSocketResolveProto(""); }), "WSocketResolveProto: Invalid Protocol.");
    EXPECT_EQ(ErrorOf([] { WSocketResolveProto("no-such-proto"); }),
              "WSocketResolveProto: Cannot convert protocol 'no-such-proto'");
}

// ---------------------------------------------------------------- connect

TEST(WSocket, RefusedConnectReports10061) {
    TWSocket s;
    std::vector<std::string> events;
    s.OnSessionConnected = [&](TObject*, uint16_t e) { events.push_back("connected " + std::to_string(e)); };
    s.OnSessionClosed = [&](TObject*, uint16_t e) { events.push_back("closed " + std::to_string(e)); };
    Target(s, FreePort());
    s.Connect();
    EXPECT_EQ(s.State(), wsConnecting);
    ASSERT_TRUE(PumpUntil([&] { return s.State() == wsClosed; }));
    ASSERT_FALSE(events.empty());
    EXPECT_EQ(events[0], "connected 10061");
    PumpUntil([] { return false; }, 50);
    EXPECT_LE(events.size(), 2u);
}

TEST(WSocket, ConnectNeedsItsArguments) {
    TWSocket s;
    EXPECT_EQ(ErrorOf([&] { s.Connect(); }), "Connect: No Port Specified");
    s.SetPort("21");
    EXPECT_EQ(ErrorOf([&] { s.Connect(); }), "Connect: No IP Address Specified");
    s.SetAddr("127.0.0.1");
    s.SetProto("");
    EXPECT_EQ(ErrorOf([&] { s.Connect(); }), "Connect: No Protocol Specified");
    s.SetProto("tcp");
    // A port that does not fit in 16 bits is refused, not wrapped to another one.
    s.SetPort("65557");
    EXPECT_EQ(ErrorOf([&] { s.Connect(); }), "connect: WSocketResolvePort: Invalid Port.");
    EXPECT_EQ(s.State(), wsClosed);
    EXPECT_EQ(s.HSocket(), INVALID_SOCKET);
}

TEST(WSocket, PortCannotChangeWhileConnected) {
    TPair p;
    std::string port = std::to_string(p.Server.Port());
    EXPECT_NO_THROW(p.Client.SetPort(port));  // the same value: nothing happens
    EXPECT_EQ(ErrorOf([&] { p.Client.SetPort("21"); }), "Cannot change Port if not closed");
    EXPECT_EQ(ErrorOf([&] { p.Client.SetAddr("10.0.0.1"); }), "Cannot change Addr if not closed");
    EXPECT_EQ(ErrorOf([&] { p.Client.Connect(); }), "Connect: Socket already in use");
    EXPECT_EQ(p.Client.Port(), port);
}

// ---------------------------------------------------------------- listen, accept, Dup

TEST(WSocket, ListenAcceptDupAndTalk) {
    TWSocket listener, served, client;
    std::map<char, std::vector<std::string>> states;
    auto track = [&](char who) {
        return [&states, who](TObject*, TSocketState o, TSocketState n) {
            states[who].push_back(std::to_string(o) + ">" + std::to_string(n));
        };
    };
    listener.OnChangeState = track('L');
    served.OnChangeState = track('S');
    client.OnChangeState = track('C');
    listener.SetAddr("127.0.0.1");
    listener.SetPort("0");
    listener.OnSessionAvailable = [&](TObject*, uint16_t e) {
        ASSERT_EQ(e, 0);
        served.Dup(listener.Accept());
        served.SendText("hello\r\n");
    };
    listener.Listen();
    EXPECT_EQ(listener.State(), wsListening);
    std::string port = listener.LocalPortText();
    ASSERT_NE(port, "error");

    std::string got;
    client.OnDataAvailable = [&](TObject*, uint16_t) { got += client.ReceiveText(); };
    client.SetAddr("localhost");
    client.SetPort(port);
    client.Connect();
    ASSERT_TRUE(PumpUntil([&] { return got == "hello\r\n"; }));
    EXPECT_EQ(served.State(), wsConnected);
    EXPECT_EQ(served.PeerAddressText(), "127.0.0.1");
    EXPECT_EQ(client.PeerAddressText(), "127.0.0.1");
    EXPECT_EQ(served.LocalPortText(), port);
    EXPECT_EQ(client.ReadCount(), 7);
    EXPECT_EQ(listener.PeerAddressText(), "error");

    // Every state change goes through the setter, each one told.
    using V = std::vector<std::string>;
    EXPECT_EQ(states['L'], (V{"7>2", "2>6"}));
    EXPECT_EQ(states['C'], (V{"7>1", "1>3", "3>4"}));
    EXPECT_EQ(states['S'], (V{"7>4"}));
}

// The data connection's way: one object listens, accepts and takes the accepted
// handle over. The accepted handle reports through the same window, so the
// peer's bytes and close may already be announced when Dup closes the listener:
// neither may be lost.
TEST(WSocket, DupOfTheAcceptedHandleKeepsItsQueuedNotifications) {
    TWSocket data, client;
    std::string got;
    int closed = 0;
    data.OnSessionClosed = [&](TObject*, uint16_t) { ++closed; };
    data.SetAddr("127.0.0.1");
    data.SetPort("0");
    data.OnDataAvailable = [&](TObject*, uint16_t) { got += data.ReceiveText(); };
    data.OnSessionAvailable = [&](TObject*, uint16_t e) {
        ASSERT_EQ(e, 0);
        TSocket h = data.Accept();
        // Let the system announce the peer's bytes for h before the take-over.
        MSG m;
        for (int i = 0; i < 200 && !PeekMessageA(&m, data.Handle(), 1025, 1025, PM_NOREMOVE); ++i) Sleep(5);
        Sleep(100);
        data.Dup(h);
    };
    data.Listen();
    std::string port = data.LocalPortText();
    // A short listing: the peer sends and closes at once.
    client.OnSessionConnected = [&](TObject*, uint16_t) {
        client.SendText("early bytes");
        client.Close();
    };
    client.SetAddr("127.0.0.1");
    client.SetPort(port);
    client.Connect();
    EXPECT_TRUE(PumpUntil([&] { return got == "early bytes" && closed == 1; }, 3000))
        << "got: " << got << ", closed " << closed;
}

TEST(WSocket, AcceptAndDupRefuseBadUse) {
    TWSocket s;
    EXPECT_EQ(ErrorOf([&] { s.Accept(); }), "Error 10022 in function not a listening socket\r\nInvalid argument");
    EXPECT_EQ(ErrorOf([&] { s.Dup(INVALID_SOCKET); }), "Error 10022 in function Dup\r\nInvalid argument");
    EXPECT_EQ(ErrorOf([&] { s.Listen(); }), "Error 10022 in function listen: port not assigned\r\nInvalid argument");
}

// ---------------------------------------------------------------- closing

TEST(WSocket, SessionClosedComesOnceOnEachSide) {
    TPair p;
    p.Client.Close();
    EXPECT_EQ(p.ClientClosed, 1);  // inside Close
    EXPECT_EQ(p.ClientCloseError, 0);
    EXPECT_EQ(p.Client.State(), wsClosed);
    ASSERT_TRUE(PumpUntil([&] { return p.Peer().ClosedCount > 0; }));
    PumpUntil([] { return false; }, 100);
    EXPECT_EQ(p.ClientClosed, 1);
    EXPECT_EQ(p.Peer().ClosedCount, 1);
    EXPECT_EQ(p.Peer().CloseError, 0);
    // The defaults are back: Addr and Port must be given again.
    EXPECT_EQ(ErrorOf([&] { p.Client.Connect(); }), "Connect: No Port Specified");
}

TEST(WSocket, CloseRacingThePeersCloseIsToldOnce) {
    TPair p;
    p.Peer().Sock.Close();
    // The peer's close has reached the client; its notification waits in the queue.
    ASSERT_TRUE(WaitReadable(p.Client));
    p.Client.Close();
    EXPECT_EQ(p.ClientClosed, 1);
    qftest::PumpFor(100);
    EXPECT_EQ(p.ClientClosed, 1);
    EXPECT_EQ(p.Peer().ClosedCount, 1);
}

TEST(WSocket, ListenerSurvivesAConnectionGoneBeforeAccept) {
    TTestServer server;
    {
        TWSocket gone;
        Target(gone, server.Port());
        gone.Connect();
        gone.Abort();
    }
    qftest::PumpFor(50);
    EXPECT_EQ(server.Listener.State(), wsListening);
    TWSocket c;
    EXPECT_TRUE(ConnectTo(c, server));
}

TEST(WSocket, CloseSendsWhatIsQueuedThenEndsGracefully) {
    const std::string data = qftest::PatternBytes(1 << 20, 7);
    TPair p([](TPair& q) { q.Server.OnAccept = [](TPeerConn& c) { c.ReadChunk = 4096; }; });
    SetSendBuffer(p.Client.HSocket(), 16384);
    ASSERT_EQ(p.Client.Send(data.data(), static_cast<int>(data.size())), static_cast<int>(data.size()));
    ASSERT_FALSE(p.Client.AllSent());  // the queue is in use
    // The default linger (on, 0 s) used to reset here and lose the queue.
    p.Client.Close();
    EXPECT_EQ(p.ClientClosed, 1);
    ASSERT_TRUE(PumpUntil([&] { return p.Peer().ClosedCount > 0; }));
    EXPECT_EQ(p.Peer().Received.size(), data.size());
    EXPECT_TRUE(p.Peer().Received == data);
    EXPECT_EQ(p.Peer().CloseError, 0);
}

TEST(WSocket, AbortResetsAndDropsTheQueue) {
    const std::string data = qftest::PatternBytes(1 << 20, 8);
    TPair p;
    SetSendBuffer(p.Client.HSocket(), 16384);
    p.Client.Send(data.data(), static_cast<int>(data.size()));
    ASSERT_FALSE(p.Client.AllSent());
    p.Client.Abort();
    EXPECT_EQ(p.ClientClosed, 1);
    ASSERT_TRUE(PumpUntil([&] { return p.Peer().ClosedCount > 0; }));
    EXPECT_LT(p.Peer().Received.size(), data.size());
    EXPECT_EQ(p.Peer().ClosedCount, 1);
}

TEST(WSocket, CloseGivesUpFlushingAfterFlushTimeout) {
    const std::string data = qftest::PatternBytes(1 << 20, 9);
    TPair p;
    SetSendBuffer(p.Client.HSocket(), 16384);
    p.Peer().Sock.Pause();  // a peer that reads nothing
    p.Client.Send(data.data(), static_cast<int>(data.size()));
    p.Client.SetFlushTimeout(1);
    DWORD start = GetTickCount();
    p.Client.Close();
    DWORD took = GetTickCount() - start;
    EXPECT_GE(took, 900u);
    EXPECT_LT(took, 3000u);
    EXPECT_EQ(p.ClientClosed, 1);
    EXPECT_EQ(p.Client.State(), wsClosed);
}

// ---------------------------------------------------------------- sending

TEST(WSocket, MegabyteToSlowReaderArrivesWholeAndInOrder) {
    const std::string data = qftest::PatternBytes(1 << 20, 3);
    TPair p([](TPair& q) { q.Server.OnAccept = [](TPeerConn& c) { c.ReadChunk = 4096; }; });
    SetSendBuffer(p.Client.HSocket(), 16384);
    Drain();
    int sent = 0;
    size_t receivedAtSent = 0;
    p.Client.OnDataSent = [&](TObject*, uint16_t e) {
        EXPECT_EQ(e, 0);
        ++sent;
        receivedAtSent = p.Peer().Received.size();
    };
    p.Peer().Sock.Pause();
    p.Client.Send(data.data(), static_cast<int>(data.size()));
    ASSERT_FALSE(p.Client.AllSent());
    PumpUntil([] { return false; }, 20);
    p.Peer().Sock.Resume();
    ASSERT_TRUE(PumpUntil([&] { return p.Peer().Received.size() >= data.size(); }, 20000));
    ASSERT_TRUE(PumpUntil([&] { return sent > 0; }));
    EXPECT_EQ(qftest::Sha256Hex(p.Peer().Received), qftest::Sha256Hex(data));
    EXPECT_EQ(sent, 1);  // once, when the queue ran empty
    EXPECT_GT(receivedAtSent, 0u);
    p.Client.Close();
    ASSERT_TRUE(PumpUntil([&] { return p.Peer().ClosedCount > 0; }));
    EXPECT_EQ(p.Peer().ClosedCount, 1);
}

namespace {
// A link that takes nothing until it is opened, as a full network would.
class TSlowLinkSocket : public TWSocket {
public:
    bool Blocked = true;
    int Written = 0;
    int Blocks() const { return SendQueueBlocks(); }

protected:
    int RawSend(const char* Data, int Len) override {
        if (Blocked) {
            WSASetLastError(WSAEWOULDBLOCK);
            return -1;
        }
        int r = TWSocket::RawSend(Data, Len);
        if (r > 0) Written += r;
        return r;
    }
};
}  // namespace

TEST(WSocket, SendQueueAccounting) {
    TTestServer server;
    TSlowLinkSocket s;
    ASSERT_TRUE(ConnectTo(s, server));
    Drain();
    std::vector<int> writtenAtSent;
    s.OnDataSent = [&](TObject*, uint16_t) { writtenAtSent.push_back(s.Written); };

    const std::string data = qftest::PatternBytes(4000, 5);
    EXPECT_EQ(s.SendText(data), 4000);
    EXPECT_EQ(s.Blocks(), 3);  // 1514 + 1514 + 972
    EXPECT_FALSE(s.AllSent());
    Drain();
    EXPECT_TRUE(writtenAtSent.empty());

    s.Blocked = false;
    PostMessageA(s.Handle(), WM_SOCKET_NOTIFY, s.HSocket(), WSAMAKESELECTREPLY(FD_WRITE, 0));
    ASSERT_TRUE(PumpUntil([&] { return server.Conn().Received.size() == 4000 && !writtenAtSent.empty(); }));
    Drain();
    EXPECT_EQ(writtenAtSent, std::vector<int>{4000});
    EXPECT_TRUE(s.AllSent());
    EXPECT_EQ(s.Blocks(), 1);  // the last block stays for the next bytes
    EXPECT_TRUE(server.Conn().Received == data);
}

namespace {
// A network that takes at most 100 bytes per call.
class TNarrowLinkSocket : public TWSocket {
protected:
    int RawSend(const char* Data, int Len) override { return TWSocket::RawSend(Data, std::min(Len, 100)); }
};
}  // namespace

TEST(WSocket, PartialSendsGoOnWithoutWaiting) {
    TTestServer server;
    TNarrowLinkSocket s;
    ASSERT_TRUE(ConnectTo(s, server));
    const std::string data = qftest::PatternBytes(4000, 6);
    s.SendText(data);
    // No write notification follows a partial send; the rest must not wait for one.
    EXPECT_TRUE(s.AllSent());
    ASSERT_TRUE(PumpUntil([&] { return server.Conn().Received.size() == data.size(); }));
    EXPECT_TRUE(server.Conn().Received == data);
}

TEST(WSocket, SendWhileConnectingReportsTheCloseOnce) {
    TTestServer server;
    TWSocket s;
    std::vector<int> closed;
    s.OnSessionClosed = [&](TObject*, uint16_t e) { closed.push_back(e); };
    Target(s, server.Port());
    s.Connect();
    ASSERT_EQ(s.State(), wsConnecting);
    // 10057 closes the socket; the owner used to hear nothing of it.
    EXPECT_EQ(ErrorOf([&] { s.SendText("x"); }), "Error 10057 in function Send\r\nSocket is not connected");
    EXPECT_EQ(s.State(), wsClosed);
    EXPECT_EQ(s.LastError(), 10057);
    EXPECT_EQ(closed, std::vector<int>{10057});
    PumpUntil([] { return false; }, 100);
    EXPECT_EQ(closed.size(), 1u);
}

TEST(WSocket, PeerResetWhileSendingReportsTheCloseOnce) {
    TPair p;
    p.Peer().Sock.Abort();
    // Wait for the reset to reach the client, without handling its notification.
    ASSERT_TRUE(WaitReadable(p.Client));
    p.Client.SendText("late bytes");
    ASSERT_TRUE(PumpUntil([&] { return p.ClientClosed > 0; }));
    PumpUntil([] { return false; }, 100);
    EXPECT_EQ(p.ClientClosed, 1);
    EXPECT_NE(p.ClientCloseError, 0);
    EXPECT_EQ(p.Client.State(), wsClosed);
}

// ---------------------------------------------------------------- receiving

TEST(WSocket, ReceivePassStopsWhenTheHandlerReadsNothing) {
    TPair p;
    int calls = 0;
    p.Client.OnDataAvailable = [&](TObject*, uint16_t) { ++calls; };
    p.Peer().Sock.SendText("hello");
    ASSERT_TRUE(PumpUntil([&] { return calls > 0; }));
    PumpUntil([] { return false; }, 50);
    EXPECT_EQ(calls, 1);
    // The bytes are still there for a later Receive.
    EXPECT_EQ(p.Client.ReceiveText(), "hello");
}

TEST(WSocket, PauseHoldsEventsUntilResume) {
    TPair p;
    p.Client.Pause();
    std::string got;
    p.Client.OnDataAvailable = [&](TObject*, uint16_t) { got += p.Client.ReceiveText(); };
    p.Peer().Sock.SendText("held");
    ASSERT_TRUE(WaitArrived(p.Client, 4));
    PumpUntil([] { return false; }, 50);
    EXPECT_EQ(got, "");
    p.Client.Resume();
    ASSERT_TRUE(PumpUntil([&] { return got == "held"; }));
}

TEST(WSocket, UdpDatagramsBothWays) {
    TWSocket a, b;
    a.SetProto("udp");
    a.SetAddr("127.0.0.1");
    a.SetPort("0");
    int aConnected = -1;
    a.OnSessionConnected = [&](TObject*, uint16_t e) { aConnected = e; };
    std::string got;
    sockaddr_in from{};
    a.OnDataAvailable = [&](TObject*, uint16_t) {
        char buf[100];
        int n = a.ReceiveDatagram(buf, sizeof buf, from);
        if (n > 0) got.assign(buf, static_cast<size_t>(n));
    };
    a.Listen();
    EXPECT_EQ(aConnected, 0);
    EXPECT_EQ(a.State(), wsConnected);

    b.SetProto("udp");
    Target(b, std::stoi(a.LocalPortText()));
    int bConnected = -1;
    b.OnSessionConnected = [&](TObject*, uint16_t e) { bConnected = e; };
    b.Connect();
    EXPECT_EQ(bConnected, 0);  // at once, inside Connect
    b.SendText("ping");
    ASSERT_TRUE(PumpUntil([&] { return got == "ping"; }));
    EXPECT_EQ(std::to_string(ntohs(from.sin_port)), b.LocalPortText());
}

// ---------------------------------------------------------------- waits

namespace {
class TTimedSocket : public TWSocket {
public:
    void SetWaitTime(int Ms) { FTimeout = Ms; }
};
}  // namespace

TEST(WSocket, WaitEndsOnTheFlagOnQuitAndOnTime) {
    TTestServer server;
    server.Banner = "220 ready\r\n";
    TTimedSocket s;
    bool connected = false, got = false;
    s.OnSessionConnected = [&](TObject*, uint16_t) { connected = true; };
    s.OnDataAvailable = [&](TObject*, uint16_t) {
        if (s.ReceiveText() == "220 ready\r\n") got = true;
    };
    Target(s, server.Port());
    EXPECT_EQ(s.Synchronize([&] { s.Connect(); }, connected), 0);
    EXPECT_EQ(s.Wait(got), 0);

    bool never = false;
    s.SetWaitTime(100);
    DWORD start = GetTickCount();
    EXPECT_EQ(s.Wait(never), 12001);
    EXPECT_GE(GetTickCount() - start, 90u);

    s.SetWaitTime(0);
    s.SetMultiThreaded(true);
    PostQuitMessage(0);
    EXPECT_EQ(s.Wait(never), 12001);
    MSG msg;
    EXPECT_TRUE(PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));  // left for the real loop
}
