// The connecting box against a server that takes the connection and never
// says a word: Cancel, Escape and the close box each stop the connect.
#include <winsock2.h>

#include <gtest/gtest.h>

#include <algorithm>

#include "MainWindowSupport.h"
#include "ScriptedModalRunner.h"
#include "components/Label3D.h"
#include "runtime/Application.h"
#include "ui/ComCtrls.h"

using namespace qfclient;

namespace {

// A port on 127.0.0.1 whose listen queue completes connections that nobody accepts.
class SilentPort {
public:
    SilentPort() {
        WSADATA wsa;
        WSAStartup(MAKEWORD(2, 2), &wsa);
        s_ = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        bind(s_, reinterpret_cast<sockaddr*>(&a), sizeof a);
        listen(s_, 4);
        int len = sizeof a;
        getsockname(s_, reinterpret_cast<sockaddr*>(&a), &len);
        port_ = ntohs(a.sin_port);
    }
    ~SilentPort() {
        closesocket(s_);
        WSACleanup();
    }
    std::string Port() const { return std::to_string(port_); }

private:
    SOCKET s_;
    int port_ = 0;
};

enum class Way { CancelButton, EscapeOnTheButton, EscapeOnTheBox, CloseBox, Nothing };

// What the timer saw of the box while the connect waited, and did to it.
struct Watch {
    TfrmMain* main = nullptr;
    Way way = Way::CancelButton;
    DWORD shownAt = 0;
    bool acted = false, animating = false;
    std::string name, address, lastLine, caption;
    HWND box = nullptr, owner = nullptr;
};
Watch g_watch;

void CALLBACK OnTick(HWND, UINT, UINT_PTR, DWORD) {
    Watch& w = g_watch;
    TfrmServerConnect* box = w.main->ConnectingBox();
    if (w.acted || w.way == Way::Nothing || !box || !box->HandleAllocated() || !IsWindowVisible(box->Handle())) return;
    if (!w.shownAt) w.shownAt = GetTickCount();
    if (GetTickCount() - w.shownAt < 400) return;  // well inside the wait for the greeting
    w.acted = true;
    w.animating = box->animFind->Active();
    w.name = box->lblServerName->Caption();
    w.address = box->lblServerAddress->Caption();
    w.lastLine = box->lblProgress3->Caption();
    w.caption = box->Caption();
    w.box = box->Handle();
    w.owner = GetWindow(box->Handle(), GW_OWNER);
    if (w.way == Way::CancelButton) MaybeSaveShot(box->Handle(), "connecting-box");
    switch (w.way) {
        case Way::CancelButton: SendMessageA(box->btnCancel->Handle(), BM_CLICK, 0, 0); break;
        case Way::EscapeOnTheButton: SendMessageA(box->btnCancel->Handle(), WM_KEYDOWN, VK_ESCAPE, 1); break;
        case Way::EscapeOnTheBox: SendMessageA(box->Handle(), WM_KEYDOWN, VK_ESCAPE, 1); break;
        case Way::CloseBox: SendMessageA(box->Handle(), WM_CLOSE, 0, 0); break;
        case Way::Nothing: break;
    }
}

}  // namespace

// A refused connect, where nobody listens, ends the same way: one message, no box.
TEST(ConnectingBox, CancelEscapeAndCloseBoxStopTheConnect) {
    const struct {
        const char* name;
        Way way;
    } rows[] = {{"Cancel", Way::CancelButton},
                {"Escape on the button", Way::EscapeOnTheButton},
                {"Escape on the box", Way::EscapeOnTheBox},
                {"close box", Way::CloseBox},
                {"refused", Way::Nothing}};
    for (auto& r : rows) {
        SCOPED_TRACE(r.name);
        std::unique_ptr<SilentPort> silent = std::make_unique<SilentPort>();
        const std::string port = silent->Port();
        if (r.way == Way::Nothing) silent.reset();  // taken and given back: nobody listens there now
        Program prog;
        WriteSiteFile(prog, {"silent", port, "", "anonymous", "guest@"}, true);
        TfrmMain m(prog.Settings());
        m.Show();
        // Long enough that only the box can end the wait.
        m.frmOptions->sedtTimeOut->SetValue(60);
        TScriptedModalRunner runner;
        std::vector<std::string> shown;
        auto answer = [&](TForm& f) {
            shown.push_back(static_cast<TfrmMessage&>(f).lblDesc->Caption());
            f.SetModalResult(mrOk);
        };
        runner.Expect("frmMessage", answer);
        g_watch = Watch();
        g_watch.main = &m;
        g_watch.way = r.way;
        UINT_PTR timer = SetTimer(nullptr, 0, 50, OnTick);
        ConnectFromMenu(m);
        KillTimer(nullptr, timer);
        Application->ProcessMessages();

        if (r.way != Way::Nothing) {
            ASSERT_TRUE(g_watch.acted) << "the box was never seen";
            EXPECT_EQ(g_watch.caption, "Connect to FTP server");
            EXPECT_EQ(g_watch.name, "Test silent");
            EXPECT_EQ(g_watch.address, "127.0.0.1 on port " + port);
            EXPECT_FALSE(g_watch.lastLine.empty());
            EXPECT_TRUE(g_watch.animating);
            EXPECT_EQ(g_watch.owner, nullptr);  // a window of its own on the desktop
        }
        // The connect ended by the box, not by the time-out; one message, nothing after it.
        ASSERT_EQ(shown.size(), 1u);
        EXPECT_EQ(shown[0].find("Timeout"), std::string::npos) << shown[0];
        EXPECT_FALSE(m.FTP->IsConnected());
        EXPECT_FALSE(m.ConnectedUI());
        EXPECT_FALSE(m.Connecting);
        EXPECT_FALSE(m.Busy);
        EXPECT_EQ(m.QueueLength(), 0);
        EXPECT_EQ(m.ConnectingBox(), nullptr);
        EXPECT_TRUE(!g_watch.box || !IsWindow(g_watch.box));
    }
}

TEST(ConnectingBox, TickerKeepsTheLastThreeLinesInTheirColours) {
    TfrmServerConnect box(nullptr);
    EXPECT_EQ(box.lblServerName->Caption(), "Untitled");
    EXPECT_EQ(box.lblServerAddress->Caption(), "Unknown");
    box.AddProgressLine("one", clRed);
    box.AddProgressLine("two", clWindowText);
    EXPECT_EQ(box.lblProgress1->Caption(), "");
    EXPECT_EQ(box.lblProgress2->Caption(), "one");
    EXPECT_EQ(box.lblProgress2->Font().Color(), clRed);
    box.AddProgressLine("three", static_cast<TColor>(11));
    box.AddProgressLine("four", clBlue);
    EXPECT_EQ(box.lblProgress1->Caption(), "two");
    EXPECT_EQ(box.lblProgress1->Font().Color(), clWindowText);
    EXPECT_EQ(box.lblProgress2->Caption(), "three");
    EXPECT_EQ(box.lblProgress2->Font().Color(), static_cast<TColor>(11));
    EXPECT_EQ(box.lblProgress3->Caption(), "four");
    EXPECT_EQ(box.lblProgress3->Font().Color(), clBlue);
}

TEST(ConnectingBox, TheSiteNameIsCentredAndBold) {
    TfrmServerConnect box(nullptr);
    box.lblServerName->SetCaption("Site");
    box.Show();
    EXPECT_TRUE(box.lblServerName->Font().Style() & fsBold);
    HWND h = box.lblServerName->Handle();
    RedrawWindow(h, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    RECT r;
    GetClientRect(h, &r);
    TBitmap shot(r.right, r.bottom);
    HDC dc = GetDC(h);
    BitBlt(shot.Canvas().Handle(), 0, 0, r.right, r.bottom, dc, 0, 0, SRCCOPY);
    ReleaseDC(h, dc);
    // The columns that hold ink other than the label's background.
    const uint32_t back = shot.PixelRGB(0, 0);
    int left = r.right, right = -1;
    for (int y = 0; y < r.bottom; ++y)
        for (int x = 0; x < r.right; ++x)
            if (shot.PixelRGB(x, y) != back) {
                left = std::min(left, x);
                right = std::max(right, x);
            }
    ASSERT_GE(right, 0) << "the caption was drawn";
    EXPECT_NEAR((left + right) / 2.0, r.right / 2.0, 3) << "ink from " << left << " to " << right;
}
