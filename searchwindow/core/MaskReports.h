// The two reports of the main window over the found list's records: every
// value of one mask with the values that descend from it beside it, or each
// distinct value once. The rows go into a report window through ReportSink.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "masks/core/MaskCollection.h"

class DatabaseCalls;

class ReportSink {
public:
    virtual ~ReportSink() = default;
    virtual int32_t AddValue(const std::string& text) = 0;  // the new row's number, from 1
    virtual void AddSubValue(int32_t row, const std::string& value, const std::string& header) = 0;
    virtual int32_t GetValueCount() const = 0;
    virtual const std::string& GetValue(int32_t row) const = 0;
};

// Walks the records of keys (the found list's order); progress runs once per
// key, found or not. A mask index that names no mask gives no rows.
void BuildValuesReport(DatabaseCalls& db, const std::vector<int32_t>& keys, const MaskCollection& masks,
                       int32_t maskIndex, ReportSink& report, const std::function<void()>& progress);
// Only values no row holds yet (whole text, letter case counting); no dependents.
void BuildUniqueValuesReport(DatabaseCalls& db, const std::vector<int32_t>& keys, const MaskCollection& masks,
                             int32_t maskIndex, ReportSink& report, const std::function<void()>& progress);
