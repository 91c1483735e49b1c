// Path pieces and the overwrite question that the mask and report save
// dialogs share.
#pragma once

#include <string>

// The part of a path up to and including its last "/" or "\"; "" when it has neither.
std::string GetFileDir(const std::string& path);
// The name without its folder.
std::string GetFileTitle(const std::string& path);
// File "<title>" already exists. Owerright it?
std::string OverwriteQuestion(const std::string& path);
