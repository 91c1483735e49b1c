#include "components/core/HookList.h"

#include <utility>

THookSet HooksForKinds(THookKinds kinds) {
    THookSet s = 0;
    if (kinds & (HookKindBit(hkActivateApp) | HookKindBit(hkWindowPosChanged))) s |= 1;
    if (kinds & HookKindBit(hkActivate)) s |= 2;
    if (kinds & HookKindBit(hkMouseMove)) s |= 4;
    return s;
}

THookList::~THookList() {
    RemoveThreadHooks(1 | 2 | 4, true);
    for (Registration* r : list_) delete r;
}

void THookList::RegisterHookProc(THookProc proc, THookKinds kinds, bool designing) {
    bool found = false;
    for (Registration* r : list_)
        if (r->Proc == proc) {
            ++r->RefCount;  // the kinds of the first registration stay
            found = true;
            break;
        }
    if (!found) list_.push_back(new Registration{proc, 1, kinds});
    if (!designing) InstallThreadHooks(HooksForKinds(kinds));
}

void THookList::UnregisterHookProc(THookProc proc) {
    for (size_t i = 0; i < list_.size(); ++i) {
        Registration* r = list_[i];
        if (r->Proc != proc) continue;
        // The record may be freed just below: take its kinds first.
        const THookKinds kinds = r->Kinds;
        if (--r->RefCount == 0) {
            list_.erase(list_.begin() + static_cast<std::ptrdiff_t>(i));
            delete r;
        }
        RemoveThreadHooks(HooksForKinds(kinds), false);
        break;
    }
    if (list_.empty()) list_.shrink_to_fit();
}

void THookList::InstallThreadHooks(THookSet hooks) {
    for (int h = 0; h < kHookCount; ++h) {
        if (!(hooks & (1u << h))) continue;
        ++counts_[h];
        if (handles_[h] == 0) handles_[h] = installer_.Install(h);
    }
}

void THookList::RemoveThreadHooks(THookSet hooks, bool force) {
    for (int h = 0; h < kHookCount; ++h) {
        if (!(hooks & (1u << h))) continue;
        if (counts_[h] > 0) --counts_[h];
        if ((force || counts_[h] == 0) && handles_[h] != 0) {
            installer_.Remove(h, handles_[h]);
            handles_[h] = 0;
        }
    }
}

int THookList::Dispatch(THookKind kind, uintptr_t wnd, uintptr_t wp, intptr_t lp) {
    int called = 0;
    const size_t n = list_.size();  // the count at the start
    for (size_t i = 0; i < n && i < list_.size(); ++i) {
        Registration* r = list_[i];
        if (!(r->Kinds & HookKindBit(kind))) continue;
        ++called;
        try {
            r->Proc(kind, wnd, wp, lp);
        } catch (...) {
            // One faulty callback must not keep the others from the event.
        }
    }
    return called;
}

namespace {

void QuickSort(std::vector<void*>& list, int lo, int hi, TListSortCompare compare, void* data) {
    while (lo < hi) {
        int i = lo, j = hi;
        void* pivot = list[static_cast<size_t>((lo + hi) / 2)];
        do {
            while (compare(list[static_cast<size_t>(i)], pivot, data) < 0) ++i;
            while (compare(list[static_cast<size_t>(j)], pivot, data) > 0) --j;
            if (i <= j) {
                std::swap(list[static_cast<size_t>(i)], list[static_cast<size_t>(j)]);
                ++i;
                --j;
            }
        } while (i <= j);
        if (lo < j) QuickSort(list, lo, j, compare, data);
        lo = i;
    }
}

}  // namespace

void SortListWith(std::vector<void*>& list, TListSortCompare compare, void* data) {
    if (list.size() < 2) return;
    QuickSort(list, 0, static_cast<int>(list.size()) - 1, compare, data);
}
