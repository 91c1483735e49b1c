// What the client makes of a setting read back through the registry value
// component: the value comes as stored (a number kept as text is text), and
// the caller converts it as the framework's variants convert. No platform headers.
#pragma once

#include <string>

#include "components/core/RegistryValue.h"

// A whole number, or a text holding one (blanks around it allowed); else Default.
int StoredInt(const TRegVariant& Value, int Default);
// A number (not 0 is true), "True"/"False" in any case, or a text holding a number; else Default.
bool StoredBool(const TRegVariant& Value, bool Default);
// A text, or a whole number as decimal text; else Default.
std::string StoredText(const TRegVariant& Value, const std::string& Default);
