#include "searchwindow/core/MaskReports.h"

#include "searchwindow/core/DatabaseCalls.h"
#include "searchwindow/core/PropertyTable.h"

namespace {
using ValueSink = std::function<void(const std::string& value, int32_t valueId)>;

// Each record of keys that the engine still has, under a cursor of its own.
void WalkRecords(DatabaseCalls& db, const std::vector<int32_t>& keys, const std::function<void()>& progress,
                  const std::function<void(int32_t cursor)>& onRecord) {
    for (int32_t key : keys) {
        const int32_t cursor = db.FindRecordByKey(key);
        if (cursor >= 0) {
            onRecord(cursor);
            db.DestroyCursor(cursor);
        }
        if (progress) progress();
    }
}

void EachValue(DatabaseCalls& db, int32_t cursor, const std::string& name, const ValueSink& onValue) {
    const int32_t n = db.GetValueCount(cursor, name);
    for (int32_t v = 0; v < n; ++v) {
        int32_t id = -1;
        const std::string value = db.GetValue(cursor, name, v, id);
        if (id >= 0) onValue(value, id);
    }
}

bool Named(const MaskCollection& masks, int32_t maskIndex) { return maskIndex >= 1 && maskIndex <= masks.Count(); }
}  // namespace

void BuildValuesReport(DatabaseCalls& db, const std::vector<int32_t>& keys, const MaskCollection& masks,
                       int32_t maskIndex, ReportSink& report, const std::function<void()>& progress) {
    if (!Named(masks, maskIndex)) return;
    const std::string name = masks.Item(maskIndex).MaskName;
    WalkRecords(db, keys, progress, [&](int32_t cursor) {
        EachValue(db, cursor, name, [&](const std::string& value, int32_t id) {
            const int32_t row = report.AddValue(value);
            VisitDependentValues(db, cursor, masks, name, id, [&](const SearchMask& m, const std::string& sub) {
                report.AddSubValue(row, sub, m.MaskName);
            });
        });
    });
}

void BuildUniqueValuesReport(DatabaseCalls& db, const std::vector<int32_t>& keys, const MaskCollection& masks,
                             int32_t maskIndex, ReportSink& report, const std::function<void()>& progress) {
    if (!Named(masks, maskIndex)) return;
    const std::string name = masks.Item(maskIndex).MaskName;
    WalkRecords(db, keys, progress, [&](int32_t cursor) {
        EachValue(db, cursor, name, [&](const std::string& value, int32_t) {
            for (int32_t row = 1; row <= report.GetValueCount(); ++row)
                if (report.GetValue(row) == value) return;
            report.AddValue(value);
        });
    });
}
