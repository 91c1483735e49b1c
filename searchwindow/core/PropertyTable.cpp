#include "searchwindow/core/PropertyTable.h"

#include <cmath>
#include <set>

#include "searchwindow/core/DatabaseCalls.h"

namespace {
void Visit(DatabaseCalls& db, int32_t cursor, const MaskCollection& masks, const std::string& parentName,
           int32_t parentId, const DependentValueSink& onValue, const DependentMaskSink& onMask,
           std::set<std::string>& path) {
    path.insert(parentName);
    for (int32_t i = 1; i <= masks.Count(); ++i) {
        const SearchMask& m = masks.Item(i);
        if (m.DependOn != parentName || path.count(m.MaskName)) continue;
        if (!m.Hidden && onMask) onMask(m);
        const int32_t n = db.GetValueCount(cursor, m.MaskName);
        for (int32_t j = 0; j < n; ++j) {
            int32_t id = -1, depend = -1;
            const std::string v = db.GetValue(cursor, m.MaskName, j, id, depend);
            if (id < 0 || depend != parentId) continue;
            if (!m.Hidden) onValue(m, v);
            Visit(db, cursor, masks, m.MaskName, id, onValue, onMask, path);
        }
    }
    path.erase(parentName);
}
}  // namespace

void VisitDependentValues(DatabaseCalls& db, int32_t cursor, const MaskCollection& masks,
                          const std::string& parentName, int32_t parentId, const DependentValueSink& onValue,
                          const DependentMaskSink& onMask) {
    std::set<std::string> path;
    Visit(db, cursor, masks, parentName, parentId, onValue, onMask, path);
}

PropertyTable BuildPropertyTable(DatabaseCalls& db, int32_t cursor, const MaskCollection& masks, int32_t maskIndex) {
    PropertyTable t;
    if (maskIndex < 1 || maskIndex > masks.Count()) return t;
    const std::string name = masks.Item(maskIndex).MaskName;
    t.Columns.push_back(name);
    for (int32_t j = 0;; ++j) {
        int32_t id = -1;
        const std::string v = db.GetValue(cursor, name, j, id);
        if (id < 0) break;
        PropertyRow row;
        row.ValueNumber = j;
        row.Cells.push_back(v);
        // A dependent template gets its column when the walk comes to it,
        // whether or not this row holds a value of it.
        auto column = [&](const std::string& maskName) {
            size_t col = 0;
            while (col < t.Columns.size() && t.Columns[col] != maskName) ++col;
            if (col == t.Columns.size()) t.Columns.push_back(maskName);
            return col;
        };
        VisitDependentValues(
            db, cursor, masks, name, id,
            [&](const SearchMask& m, const std::string& value) {
                const size_t col = column(m.MaskName);
                if (row.Cells.size() <= col) row.Cells.resize(col + 1);
                if (row.Cells[col].empty()) row.Cells[col] = value;  // the first value keeps the cell
            },
            [&](const SearchMask& m) { column(m.MaskName); });
        row.Cells.resize(t.Columns.size());
        t.Rows.push_back(std::move(row));
    }
    for (PropertyRow& r : t.Rows) r.Cells.resize(t.Columns.size());
    return t;
}

float PropertyFirstColumnWidth(float tableWidth, const std::vector<float>& otherWidths) {
    float total = 0;
    for (float w : otherWidths) total = std::round(total + w);
    const float w = tableWidth - total - 80;
    return w > 1500 ? w : -1;
}
