#include "OleSysError.h"

std::string HResultText(HRESULT hr) {
    char* text = nullptr;
    DWORD n = FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                 FORMAT_MESSAGE_IGNORE_INSERTS,
                             nullptr, static_cast<DWORD>(hr), 0, reinterpret_cast<char*>(&text), 0, nullptr);
    std::string s = Format("HRESULT 0x%08lX", static_cast<unsigned long>(hr));
    if (n && text) {
        std::string msg = Trim(std::string(text, n));
        if (!msg.empty()) s += ": " + msg;
    }
    if (text) LocalFree(text);
    return s;
}

HRESULT OleCheck(HRESULT hr, const std::string& context) {
    if (FAILED(hr)) {
        throw EOleSysError(context.empty() ? HResultText(hr) : context + ": " + HResultText(hr), hr);
    }
    return hr;
}
