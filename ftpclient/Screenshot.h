// Saves the pixels of a window (frame and menu included) as a .bmp.
#pragma once

#include <windows.h>

#include <string>

bool SaveWindowShot(HWND Window, const std::string& Path);
// Saves what the screen shows in Area (pop-up menus and tips included).
bool SaveScreenArea(const RECT& Area, const std::string& Path);
