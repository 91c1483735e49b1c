// A crawl that runs by itself, for a look at the window where nobody can
// sit at it: scripts/run.sh, without a display, starts the program with
// QF_SCREENSHOT (a .bmp path) and SBF_START_ADDRESS.
#pragma once

#include <string>

class TSearchWindow;

// Crawls the window's start address to its end, then saves a picture of
// the window with the found list ("<shot>") and one with the first record
// on the Results panel ("<shot without .bmp>-results.bmp"). False when the
// crawl did not end in time or a picture could not be written.
bool RunScriptedCrawl(TSearchWindow& window, const std::string& shot);
