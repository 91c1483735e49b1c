// Failed COM calls as exceptions, and the guard that turns exceptions back
// into HRESULTs where COM calls us: no C++ exception may cross a COM method.
#pragma once

#include <windows.h>

#include <new>
#include <string>

#include "core/SysUtils.h"

class EOleSysError : public Exception {
public:
    EOleSysError(const std::string& message, HRESULT code) : Exception(message), ErrorCode(code) {}
    HRESULT ErrorCode;
};

// Text of an HRESULT, from the system's message table when it has one.
std::string HResultText(HRESULT hr);

// Throws EOleSysError (context + the code's text) when hr is a failure; returns hr.
HRESULT OleCheck(HRESULT hr, const std::string& context = std::string());

// Runs f (which returns an HRESULT) at a COM method boundary: an exception
// becomes E_OUTOFMEMORY, the EOleSysError's own code, or E_FAIL.
template <class F>
HRESULT ComGuard(F&& f) noexcept {
    try {
        return f();
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    } catch (const EOleSysError& e) {
        return FAILED(e.ErrorCode) ? e.ErrorCode : E_FAIL;
    } catch (...) {
        return E_FAIL;
    }
}
