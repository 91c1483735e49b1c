// TCustomSocksWSocket: Connect reaches the target through a SOCKS 5 proxy when
// SocksServer is set (no authentication, or user code and password). The owner
// sees OnSessionConnected only once the proxy has connected the target, and the
// target's first bytes through the usual Receive calls. Without SocksServer
// everything passes through to TCustomWSocket. Conventions: see WSocket.h.
#pragma once

#include "WSocket.h"
#include "core/SocksProtocol.h"

enum TSocksAuthentication { socksNoAuthentication, socksAuthenticateUsercode };

enum TSocksAuthState {
    socksAuthStart = 0,        // user/password request sent
    socksAuthSuccess = 1,
    socksAuthFailure = 2,
    socksAuthNotRequired = 3,  // user/password offered, the proxy chose no authentication
};

using TSocksErrorEvent = std::function<void(TObject* Sender, int Error, const std::string& Msg)>;
using TSocksAuthStateEvent = std::function<void(TObject* Sender, TSocksAuthState AuthState)>;

class TCustomSocksWSocket : public TCustomWSocket {
public:
    explicit TCustomSocksWSocket(TComponent* AOwner = nullptr);

    // Proxy address and port; only in wsClosed, trimmed. Every close clears them.
    const std::string& SocksServer() const { return FSocksServer; }
    void SetSocksServer(const std::string& Value);
    const std::string& SocksPort() const { return FSocksPort; }
    void SetSocksPort(const std::string& Value);
    const std::string& SocksUsercode() const { return FSocksUsercode; }
    void SetSocksUsercode(const std::string& Value) { FSocksUsercode = Value; }
    const std::string& SocksPassword() const { return FSocksPassword; }
    void SetSocksPassword(const std::string& Value) { FSocksPassword = Value; }
    TSocksAuthentication SocksAuthentication() const { return FSocksAuthentication; }
    void SetSocksAuthentication(TSocksAuthentication Value) { FSocksAuthentication = Value; }

    void Connect() override;
    void Listen() override;
    int RcvdCount() override;

    // The TCP connection to the proxy stands (or failed, with Error).
    TSessionConnected OnSocksConnected;
    // A SOCKS failure; OnSessionConnected follows with the same code, then the close.
    TSocksErrorEvent OnSocksError;
    TSocksAuthStateEvent OnSocksAuthState;

protected:
    void ResetToDefaults() override;
    void TriggerSessionConnected(uint16_t Error) override;
    bool TriggerDataAvailable(uint16_t Error) override;
    void TriggerSessionClosed(uint16_t Error) override;
    int RawReceive(char* Buffer, int BufferSize, int Flags) override;

    // The proxy dialogue is under way (the layers above leave the data alone).
    bool SocksNegotiating() const { return FSocksState != 0; }
    void SocksError(int Code, const std::string& Msg);
    void TriggerSocksAuthState(TSocksAuthState AuthState);

private:
    enum { socksData = 0, socksMethod = 1, socksAuth = 2, socksConnect = 3 };

    void SetSocksText(std::string& Field, bool& Assigned, const std::string& Value, const char* Name);
    void SocksSend(const std::string& Request);
    void SocksDoAuthenticate();
    void SocksDoConnect();

    std::string FSocksServer, FSocksPort, FSocksUsercode, FSocksPassword;
    TSocksAuthentication FSocksAuthentication = socksNoAuthentication;
    bool FSocksServerAssigned = false;
    bool FSocksPortAssigned = false;
    int FSocksState = socksData;
    uint8_t FSocksMethod = SocksProtocol::MethodNone;
    uint16_t FSocksPortNum = 0;  // target port
    // Proxy replies; after the connect reply, the target bytes that came with it.
    uint8_t FRcvBuf[512] = {};
    int FRcvCnt = 0;
    int FLeftCount = 0;
    int FLeftPos = 0;
};
