// A socket going through a SOCKS 5 proxy, with every event it raises logged.
#pragma once

#include <string>
#include <vector>

#include "SocketTestSupport.h"
#include "TestSupport.h"

namespace sockettest {

template <class TSock = TWSocket>
struct TSocksClient {
    TSock Sock;
    std::vector<std::string> Log;
    std::string Data;
    std::string FirstRead;  // what the first Receive returned
    int ConnectedError = -1;

    TSocksClient() {
        Sock.OnSocksConnected = [this](TObject*, uint16_t e) { Log.push_back("tcp " + std::to_string(e)); };
        Sock.OnSocksAuthState = [this](TObject*, TSocksAuthState s) {
            static const char* names[] = {"auth start", "auth success", "auth failure", "auth not required"};
            Log.push_back(names[s]);
        };
        Sock.OnSocksError = [this](TObject*, int e, const std::string& m) {
            Log.push_back("error " + std::to_string(e) + " " + m);
        };
        Sock.OnSessionConnected = [this](TObject*, uint16_t e) {
            Log.push_back("connected " + std::to_string(e));
            if (ConnectedError < 0) ConnectedError = e;
        };
        Sock.OnDataAvailable = [this](TObject*, uint16_t) {
            std::string s = Sock.ReceiveText();
            if (s.empty()) return;
            if (Data.empty()) {
                FirstRead = s;
                Log.push_back("data");
            }
            Data += s;
        };
        Sock.OnSessionClosed = [this](TObject*, uint16_t e) { Log.push_back("closed " + std::to_string(e)); };
    }

    // Through the proxy at ProxyPort to Host:TargetPort.
    void Go(int ProxyPort, const std::string& Host, int TargetPort) {
        Sock.SetSocksServer("127.0.0.1");
        Sock.SetSocksPort(std::to_string(ProxyPort));
        Sock.SetAddr(Host);
        Sock.SetPort(std::to_string(TargetPort));
        Sock.Connect();
    }
    void UserPass(const std::string& User, const std::string& Pass) {
        Sock.SetSocksAuthentication(socksAuthenticateUsercode);
        Sock.SetSocksUsercode(User);
        Sock.SetSocksPassword(Pass);
    }
    bool WaitConnected() {
        return qftest::PumpUntil([&] { return ConnectedError >= 0; });
    }
    bool WaitData(const std::string& Expected) {
        return qftest::PumpUntil([&] { return Data.size() >= Expected.size(); }) && Data == Expected;
    }
};

}  // namespace sockettest
