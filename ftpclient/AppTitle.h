#pragma once
// The application's title: message boxes and the main window's caption.
constexpr const char* AppTitle = "Velmora Larch FTP";
// Registry keys below HKEY_CURRENT_USER.
constexpr const char* RegRoot = "Software\\Orvane Software\\Larch FTP\\";
