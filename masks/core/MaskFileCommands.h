// What the window's mask Open and Save-as commands do once the user has
// picked a file: the file opened, read or written whole, closed. Each returns
// "" on success, else the message to show in a box titled "Error".
#pragma once

#include <cstdint>
#include <string>

class InfoSearchCalls;
class MaskCollection;
class SearchMask;
class TextFile;

// Reads the mask into a new mask first: a file that does not open or does not
// read as a mask leaves the masks as they were and gives
// "Can not open mask - " + fileName. A mask read is appended and handed to
// the engine with Apply.
std::string OpenMaskFile(MaskCollection& masks, TextFile& file, InfoSearchCalls& search, const std::string& fileName);

// The letter the file name of a mask of this type ends in ("t", "l", "a",
// "g"), "" for other types.
std::string MaskFileLetter(int32_t MaskType);

// Refuses a mask the file could not give back (a line break in a name or a
// value) before the file is made: "Can not save mask - " + fileName, as for a
// file that does not open or take the text.
std::string SaveMaskFile(const SearchMask& mask, TextFile& file, const std::string& fileName);
