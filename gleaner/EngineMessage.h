// The engine's message boxes (the downloader's "Out of memory" and kin).
#pragma once

#include <string>

// Shows text under caption: OK only, or Retry and Cancel with the error icon.
// Returns true when Retry was chosen.
bool EngineMessage(const std::string& text, const std::string& caption, bool retryCancel);
