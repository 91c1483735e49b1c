// The maker's and the partner's web pages, opened in the default browser.
#pragma once

#include <string>

extern const char* const WebHostingPage;
extern const char* const PartnerPage;
extern const char* const ProductPage;
// The status bar's text while no hint is shown.
extern const char* const WebSlogan;

// Opens the address with the shell's "open" verb; when the shell cannot,
// an info box gives the address instead. False in that case.
bool OpenWebPage(const std::string& address);
