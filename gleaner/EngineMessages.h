// The engine's own message boxes (shown only while the object's Silent is 0)
// and their texts.
#pragma once

#include <windows.h>

#include <string>

extern const char kErrorCaption[];            // "Error"
extern const char kCanNotInitializeThread[];  // "Can not initialize thread"

void ShowEngineMessage(const std::string& text, const std::string& caption, UINT icon = 0);
