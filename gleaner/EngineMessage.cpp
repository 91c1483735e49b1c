#include "EngineMessage.h"

#include <windows.h>

bool EngineMessage(const std::string& text, const std::string& caption, bool retryCancel) {
    UINT type = retryCancel ? (MB_RETRYCANCEL | MB_ICONERROR) : MB_OK;
    return MessageBoxA(nullptr, text.c_str(), caption.c_str(), type | MB_TASKMODAL) == IDRETRY;
}
