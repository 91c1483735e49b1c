#include "WebLinks.h"

const char* const WebHostingPage = "http://www.orvane.example/hosting/";
const char* const PartnerPage = "http://shop.partner.example/";
const char* const ProductPage = "http://www.orvane.example/keelsonftp/";
const char* const WebSlogan = "Visit Orvane Software on the web: www.orvane.example";
const char* const ProductAdvert =
    "To Edit HTML on the server, View Images on the Server, and Backup your entire Web Site, Download and Install "
    "Keelson FTP.\r\nGet your copy of Keelson FTP at http://www.orvane.example/keelsonftp/";
