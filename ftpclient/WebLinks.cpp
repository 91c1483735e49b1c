#include "WebLinks.h"

#include <windows.h>
#include <shellapi.h>

#include "AppTitle.h"
#include "ui/core/Prompter.h"

const char* const WebHostingPage = "http://www.orvane.example/hosting/";
const char* const PartnerPage = "http://shop.partner.example/";
const char* const ProductPage = "http://www.orvane.example/keelsonftp/";
const char* const WebSlogan = "Visit Orvane Software on the web: www.orvane.example";

bool OpenWebPage(const std::string& address) {
    auto r = reinterpret_cast<INT_PTR>(ShellExecuteA(nullptr, "open", address.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
    if (r > 32) return true;
    Prompter().ShowMessageBox("Please go to : \r\n" + address, AppTitle, MB_OK | MB_ICONINFORMATION);
    return false;
}
