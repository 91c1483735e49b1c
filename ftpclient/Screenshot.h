// Saves the pixels of a window (frame and menu included) as a .bmp.
#pragma once

#include <windows.h>

#include <string>

bool SaveWindowShot(HWND Window, const std::string& Path);
