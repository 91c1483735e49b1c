#include "WindowClass.h"

#include <map>
#include <mutex>

#include "Control.h"
#include "runtime/core/SysUtils.h"

WNDPROC TWindowClassRegistry::Ensure(const TCreateParams& params, WNDPROC proc) {
    static std::mutex lock;
    static std::map<std::string, WNDPROC> baseProcs;
    std::lock_guard<std::mutex> guard(lock);
    auto found = baseProcs.find(params.WinClassName);
    if (found != baseProcs.end()) return found->second;

    HINSTANCE inst = GetModuleHandleA(nullptr);
    WNDCLASSA wc{};
    WNDPROC base = DefWindowProcA;
    if (!params.BaseClass.empty()) {
        if (!GetClassInfoA(nullptr, params.BaseClass.c_str(), &wc))
            throw Exception("Window class not found: " + params.BaseClass);
        base = wc.lpfnWndProc;
        wc.style &= ~static_cast<UINT>(CS_GLOBALCLASS);
        wc.style |= params.ClassStyle;
    } else {
        wc.style = params.ClassStyle;
        wc.hCursor = params.Cursor ? params.Cursor : LoadCursor(nullptr, IDC_ARROW);
        wc.hbrBackground = params.Background;
    }
    wc.lpfnWndProc = proc;
    wc.hInstance = inst;
    wc.lpszClassName = params.WinClassName.c_str();
    if (!RegisterClassA(&wc)) throw Exception("Cannot register window class " + params.WinClassName);
    baseProcs[params.WinClassName] = base;
    return base;
}
