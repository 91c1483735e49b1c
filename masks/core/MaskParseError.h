// The one failure of every reader of masks: a mask string, a sequence of
// them, or a mask file that is malformed. Readers throw it before they change
// anything, so a caller that catches it has lost nothing.
#pragma once

#include <stdexcept>
#include <string>

class MaskParseError : public std::runtime_error {
public:
    explicit MaskParseError(const std::string& what) : std::runtime_error(what) {}
};
