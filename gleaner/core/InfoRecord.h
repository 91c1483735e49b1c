// The database model: records with ordered properties of ordered values.
// Strings are UTF-16 and may be null (an automation string that is absent).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

using BStr = std::optional<std::u16string>;

struct InfoValue {
    BStr Value;
    int32_t ValueID = 0;
    int32_t DependID = -1;
};

struct InfoProperty {
    BStr Name;
    BStr DependName;
    int32_t PropertyType = -1;
    int32_t Flags = 0;  // the Hidden argument
    std::vector<InfoValue> Values;
};

struct InfoRecord {
    int32_t Key = 0;
    int32_t Source = 0;
    int32_t Level = 0;
    int32_t Status = 0;   // 0 not yet handed to a channel, 1 handed
    int32_t Type = 0;     // document type given to Add; not stored in a search file
    BStr Value;           // the record's address
    BStr Parent;
    std::vector<InfoProperty> Properties;
    int32_t Reserved1 = -1;
    int32_t Reserved2 = -1;
    BStr Reserved3;
    uint64_t Seq = 0;     // insertion order inside the database
};
