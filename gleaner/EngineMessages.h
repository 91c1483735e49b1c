// The engine's own message boxes (shown only while the object's Silent is 0)
// and their texts.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

extern const char kErrorCaption[];            // "Error"
extern const char kCanNotInitializeThread[];  // "Can not initialize thread"

void ShowEngineMessage(const std::string& text, const std::string& caption, UINT icon = 0);
// The same box, shown on a thread of its own: the caller waits until it is
// answered or until stopped() holds, and then closes it. A box that nobody
// answers (a server has no one at its screen) thus never holds a task.
void ShowEngineMessageUntil(const std::string& text, const std::string& caption, const std::function<bool()>& stopped);
