#include <gtest/gtest.h>

#include "ftpclient/core/ConnectedUI.h"
#include "ftpclient/core/MainLayout.h"

TEST(ConnectedUI, ControlsByState) {
    const struct {
        const char* control;
        bool TConnectedUI::*field;
        bool whenConnected;
        bool whenNot;
    } cases[] = {
        {"tb97Connect", &TConnectedUI::Connect, false, true},
        {"tb97Disconnect", &TConnectedUI::Disconnect, true, false},
        {"tb97FolderUp", &TConnectedUI::FolderUp, true, false},
        {"tb97NewFolder", &TConnectedUI::NewFolder, true, false},
        {"tb97Delete", &TConnectedUI::Delete, true, false},
        {"tb97Refresh", &TConnectedUI::Refresh, true, false},
        {"transfer-mode buttons", &TConnectedUI::TransferModes, true, false},
        {"pbTransferStatus visible", &TConnectedUI::ProgressVisible, true, false},
        {"imgConnectedOn visible", &TConnectedUI::ConnectedOn, true, false},
        {"imgDisconnectedOn visible", &TConnectedUI::DisconnectedOn, false, true},
        {"tmrUpdateConnectionTime", &TConnectedUI::ClockTimer, true, false},
        {"cbServerDir and lvServerFiles", &TConnectedUI::ServerPane, true, false},
        {"server pane cleared", &TConnectedUI::ClearServerPane, true, true},
    };
    TConnectedUI on = ConnectedUIFor(true), off = ConnectedUIFor(false);
    for (auto& c : cases) {
        EXPECT_EQ(on.*c.field, c.whenConnected) << c.control;
        EXPECT_EQ(off.*c.field, c.whenNot) << c.control;
    }
    EXPECT_EQ(on.ServerPaneColour, TPaneColour::Window);
    EXPECT_EQ(off.ServerPaneColour, TPaneColour::ButtonFace);
}

TEST(ConnectedUI, StatusBarClock) {
    const double second = 1.0 / 86400;
    const double at = 46000.5;  // a date-time with a time of day
    EXPECT_EQ(ConnectionStatusText(false, at + 5 * second, at), "Not connected.");
    EXPECT_EQ(ConnectionStatusText(true, at, at), "Connected. (00:00:00)");
    EXPECT_EQ(ConnectionStatusText(true, at + 3725 * second, at), "Connected. (01:02:05)");
    EXPECT_EQ(ConnectionStatusText(true, at + 1 + 7 * second, at), "Connected. (00:00:07)");
}

// The local folder list and the file list below it share the room of a short pane.
TEST(MainLayout, FolderListGivesWayInAShortPaneAsATable) {
    const struct {
        int room, designed, folder;
    } cases[] = {
        {400, 150, 150},  // roomy: as designed
        {250, 150, 150},  // the file list keeps exactly 100
        {249, 150, 149},
        {180, 150, 90},   // halves once 100 would be more than half
        {150, 150, 75},
        {1, 150, 0},
        {0, 150, 0},
        {-40, 150, 0},    // no room at all
    };
    for (const auto& c : cases) EXPECT_EQ(SharedListHeight(c.room, c.designed), c.folder) << c.room;
}
