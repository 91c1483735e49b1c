// Which controls of the main window are enabled, visible and coloured how,
// connected or not; and the status bar's connection text. No platform headers.
#pragma once

#include <string>

enum class TPaneColour { Window, ButtonFace };

struct TConnectedUI {
    bool Connect = false;           // tb97Connect enabled
    bool Disconnect = false;        // tb97Disconnect
    bool FolderUp = false;          // tb97FolderUp
    bool NewFolder = false;         // tb97NewFolder
    bool Delete = false;            // tb97Delete
    bool Refresh = false;           // tb97Refresh
    bool TransferModes = false;     // tb97TransferBin, tb97TransferAsc, tb97TransferAuto
    bool ProgressVisible = false;   // pbTransferStatus
    bool ConnectedOn = false;       // imgConnectedOn visible (imgConnectedOff the opposite)
    bool DisconnectedOn = false;    // imgDisconnectedOn visible (imgDisconnectedOff the opposite)
    bool ClockTimer = false;        // tmrUpdateConnectionTime enabled
    bool ServerPane = false;        // cbServerDir and lvServerFiles enabled
    TPaneColour ServerPaneColour = TPaneColour::ButtonFace;
    bool ClearServerPane = true;    // folder box text and list rows cleared, both ways
};

TConnectedUI ConnectedUIFor(bool Connected);

// "Connected. (HH:NN:SS)" with the time since ConnectedAt, or "Not connected.".
// Times are date-times in days.
std::string ConnectionStatusText(bool Connected, double Now, double ConnectedAt);
