// The property view of one record: the values of the chosen template, one
// row each, and in further columns the values of the templates that depend
// on it, at any depth. A template that depends on itself, or a cycle of
// templates, is not descended into again on the same path.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "masks/core/MaskCollection.h"

class DatabaseCalls;

struct PropertyRow {
    int32_t ValueNumber = 0;
    std::vector<std::string> Cells;  // one per column; "" where nothing landed
};

struct PropertyTable {
    std::vector<std::string> Columns;  // the chosen template's name first
    std::vector<PropertyRow> Rows;
};

PropertyTable BuildPropertyTable(DatabaseCalls& db, int32_t cursor, const MaskCollection& masks, int32_t maskIndex);

// The walk under one value, as the reports use it too: onValue for every
// dependent value whose template is not hidden, depth first.
// onMask, when given, for every template not hidden that the walk comes to,
// before its values.
using DependentValueSink = std::function<void(const SearchMask& mask, const std::string& value)>;
using DependentMaskSink = std::function<void(const SearchMask& mask)>;
void VisitDependentValues(DatabaseCalls& db, int32_t cursor, const MaskCollection& masks,
                          const std::string& parentName, int32_t parentId, const DependentValueSink& onValue,
                          const DependentMaskSink& onMask = nullptr);

// Column 1's width (twips) when the others take otherWidths of a table
// tableWidth wide: what they leave less 80, or keep (-1) when that is not
// above 1500.
float PropertyFirstColumnWidth(float tableWidth, const std::vector<float>& otherWidths);
