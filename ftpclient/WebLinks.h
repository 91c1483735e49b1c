// The maker's and the partner's web pages (opened by OpenWebAddress) and texts that name them.
#pragma once

extern const char* const WebHostingPage;
extern const char* const PartnerPage;
extern const char* const ProductPage;
// The status bar's text while no hint is shown.
extern const char* const WebSlogan;
// The advertising label's text: what the product does, then where to get it.
extern const char* const ProductAdvert;
