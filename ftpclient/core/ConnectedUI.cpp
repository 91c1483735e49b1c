#include "ftpclient/core/ConnectedUI.h"

#include "ftpclient/core/ClientUtils.h"

TConnectedUI ConnectedUIFor(bool Connected) {
    TConnectedUI ui;
    ui.Connect = !Connected;
    ui.Disconnect = ui.FolderUp = ui.NewFolder = ui.Delete = ui.Refresh = Connected;
    ui.TransferModes = ui.ProgressVisible = Connected;
    ui.ConnectedOn = Connected;
    ui.DisconnectedOn = !Connected;
    ui.ClockTimer = Connected;
    ui.ServerPane = Connected;
    ui.ServerPaneColour = Connected ? TPaneColour::Window : TPaneColour::ButtonFace;
    ui.ClearServerPane = true;
    return ui;
}

std::string ConnectionStatusText(bool Connected, double Now, double ConnectedAt) {
    if (!Connected) return "Not connected.";
    return "Connected. (" + FormatTimeOfDay(Now - ConnectedAt) + ")";
}
