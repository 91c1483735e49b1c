// The window's state string and the search user data that a search file
// carries: the state string, then the masks as mask strings. Reading parses
// everything first, so malformed user data changes nothing.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "masks/core/FilterBlock.h"
#include "masks/core/MaskCollection.h"

struct WindowState {
    std::string SearchFolder, MasksFolder, StartPageFolder, ReportFolder;
    std::string StartAddress, CaptionMaskName, FormatTableAddress;
    int16_t SortAt = 0;
    int16_t FoundListView = 0, MaskListView = 0, PropertyListView = 0;
    int16_t ChannelCount = 0;  // channels attached, not wanted
    int16_t MaxLevel = -1, MaxFound = -1, ReadBlock = 512;
    int16_t ThreadPriority = 0;
    int16_t ProcessExternalLinks = 0;  // 1 or 0
    // file, http, ftp, mail, gopher: the order of the string.
    bool ProtocolOn[5] = {true, true, true, true, true};
    std::vector<FilterBlock> Filters;
};

std::string PutState(const WindowState& state);
// Reads one state string from the reader. Malformed: MaskParseError.
WindowState ParseState(MaskTokenReader& reader);

struct SearchUserData {
    WindowState State;
    MaskCollection Masks;
};

// The state string as a string token, the mask count, the mask strings.
std::string PutUserData(const WindowState& state, const MaskCollection& masks);
// The whole user data, of any length. Malformed: MaskParseError.
SearchUserData ParseUserData(const std::string& userData);
