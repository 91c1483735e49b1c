#include "searchwindow/core/FoundList.h"

#include "searchwindow/core/DatabaseCalls.h"

namespace {
std::string FirstValue(DatabaseCalls& db, int32_t cursor, const std::string& name, int32_t& id) {
    id = -1;
    return db.GetValue(cursor, name, 0, id);
}
}  // namespace

int32_t FoundList::IndexOfKey(int32_t key) const {
    for (size_t i = 0; i < items_.size(); ++i)
        if (items_[i].Key == key) return static_cast<int32_t>(i);
    return -1;
}

int32_t FoundList::IndexOfRecord(int32_t record) const {
    for (size_t i = 0; i < items_.size(); ++i)
        if (items_[i].Record == record) return static_cast<int32_t>(i);
    return -1;
}

void FoundList::Clear() {
    items_.clear();
    if (sink_) sink_->FoundCleared();
}

void FoundList::Changed(int32_t at) {
    if (sink_) sink_->FoundChanged(at, items_[at]);
}

int32_t FoundList::OpenRecord(DatabaseCalls& db, int32_t record) {
    if (record < 0) return DatabaseCalls::kNoCursor;
    const int32_t c = db.CreateCursor();
    for (int32_t i = 0; i < record && db.TestCursor(c); ++i) db.NextRecord(c);
    if (db.TestCursor(c)) return c;
    db.DestroyCursor(c);
    return DatabaseCalls::kNoCursor;
}

int32_t FoundList::SortedPosition(DatabaseCalls& db, int32_t cursor, const std::string& S) const {
    const int32_t end = static_cast<int32_t>(items_.size());
    const int32_t N = db.GetValueCount(cursor, S);
    int32_t id;
    const std::string A = N > 0 ? FirstValue(db, cursor, S, id) : "";
    if (N <= 0 || A.empty()) return end;
    for (int32_t k = 0; k < end; ++k) {
        const int32_t c = db.FindRecordByKey(items_[k].Key);
        if (c < 0) continue;
        const int32_t M = db.GetValueCount(c, S);
        const std::string B = M > 0 ? FirstValue(db, c, S, id) : "";
        db.DestroyCursor(c);
        if (M < N) return k;
        if (M > N) continue;
        if (A.size() != B.size()) {
            if (A.size() > B.size()) return k;
            continue;
        }
        if (B <= A) return k;
    }
    return end;
}

FoundListEvents FoundList::AddFoundRecord(DatabaseCalls& db, int32_t cursor, int32_t record,
                                          const MaskCollection& masks,
                                          const std::vector<FilterBlock>& filters) {
    FoundListEvents ev;
    bool changed = false;
    std::string caption;
    int32_t id;
    if (db.Reserved1(cursor) <= 0) {
        const std::string v = FirstValue(db, cursor, CaptionMaskName, id);
        if (v.size() >= 2 && id >= 0) {
            caption = v;
            db.SetReserved1(cursor, 1);
            changed = true;
        }
    }
    if (db.Reserved1(cursor) < 0) {
        const std::string v = FirstValue(db, cursor, "Display", id);
        if (v.size() < 2 || id < 0) {
            caption = FirstValue(db, cursor, "Address", id);
        } else {
            caption = v;
            db.SetReserved1(cursor, 0);
        }
        changed = true;
    }
    const int32_t key = db.Key(cursor);
    auto markModified = [&] {
        if (!SearchModified) ev.Modified = SearchModified = true;
    };
    if (changed && db.Reserved2(cursor) < 0) {
        auto count = [&](const std::string& name) { return db.GetValueCount(cursor, name); };
        if (FilterPasses(filters, masks, count)) {
            // A SortAt that no longer names a mask sorts nothing.
            const int16_t sortAt = masks.SortAt();
            const bool sorted = sortAt >= 1 && sortAt <= masks.Count();
            const int32_t pos = sorted ? SortedPosition(db, cursor, masks.Item(sortAt).MaskName)
                                       : static_cast<int32_t>(items_.size());
            db.SetReserved2(cursor, pos + 1);
            items_.insert(items_.begin() + pos, FoundItem{key, caption, 1, record});
            if (sink_) sink_->FoundInserted(pos, items_[pos]);
            markModified();
            if (FirstFoundPending) {
                FirstFoundPending = false;
                ev.FirstSelected = true;
                ev.SelectedKey = key;
                ev.SelectedRecord = record;
            }
            const int32_t n = db.Size();
            if (n != ShownFoundCount) {
                ShownFoundCount = n;
                ev.CountChanged = true;
            }
            ev.StatusText = "Got object - " + db.Value(cursor);
        }
    } else if (changed) {
        const int32_t at = IndexOfRecord(record);
        if (at >= 0) {
            markModified();
            if (items_[at].Text != caption) {
                items_[at].Text = caption;
                Changed(at);
            }
        }
    }
    if (db.Reserved3(cursor).size() < 2) {
        const std::string v = FirstValue(db, cursor, "Connect status", id);
        if (id >= 0) {
            const bool ok = v.compare(0, 4, "true") == 0;
            db.SetReserved3(cursor, ok ? "true" : "false");
            const int32_t at = db.Reserved2(cursor) >= 0 ? IndexOfRecord(record) : -1;
            if (at >= 0 && items_[at].Icon != (ok ? 2 : 3)) {
                items_[at].Icon = ok ? 2 : 3;
                Changed(at);
            }
        }
    }
    return ev;
}

FoundListEvents FoundList::FillFoundList(DatabaseCalls& db, const MaskCollection& masks,
                                         const std::vector<FilterBlock>& filters) {
    FoundListEvents all;
    const int32_t c = db.CreateCursor();
    for (int32_t record = 0; db.TestCursor(c); db.NextRecord(c), ++record) {
        FoundListEvents ev = AddFoundRecord(db, c, record, masks, filters);
        all.Modified |= ev.Modified;
        all.CountChanged |= ev.CountChanged;
        if (ev.FirstSelected) {
            all.FirstSelected = true;
            all.SelectedKey = ev.SelectedKey;
            all.SelectedRecord = ev.SelectedRecord;
        }
        if (!ev.StatusText.empty()) all.StatusText = ev.StatusText;
    }
    db.DestroyCursor(c);
    return all;
}

void FoundList::ClearRecordMarks(DatabaseCalls& db) {
    const int32_t c = db.CreateCursor();
    for (; db.TestCursor(c); db.NextRecord(c)) {
        db.SetReserved1(c, -1);
        db.SetReserved2(c, -1);
        db.SetReserved3(c, "");
    }
    db.DestroyCursor(c);
}

void FoundList::ClearRecordListMarks(DatabaseCalls& db) {
    const int32_t c = db.CreateCursor();
    for (; db.TestCursor(c); db.NextRecord(c)) {
        db.SetReserved1(c, -1);
        db.SetReserved3(c, "");
    }
    db.DestroyCursor(c);
}
