// The built-in scanning routines a scheme names by number (10..20): each reads
// from the stream's position, steps over what it accepts, adds the characters
// to length and answers whether it accepted. No platform headers.
#pragma once

#include <cstdint>

#include "EdStream.h"
#include "SyntaxMemoTypes.h"

enum TScanRoutine : int {
    srIdentifier = 10, srNumberOrFP, srPascalString, srCString, srCChar, srCNumberOrFPSigned, srNumber,
    srMailUrl, srHtmlString, srJsLineComment, srCStringSQ,
};

bool IsScanRoutine(int routine);
// The characters at which a %%tokens entry naming the routine is installed.
TCharSet RoutineStartChars(int routine);
// False (and the stream where it was) for a number that names no routine.
bool RunScanRoutine(int routine, TEdStream& stream, int32_t& length);
