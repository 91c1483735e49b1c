#include "searchwindow/core/ToolbarCommands.h"

#include <utility>

namespace {
using Row = std::pair<const char*, WindowCommand>;

template <size_t N>
WindowCommand Find(const Row (&rows)[N], const std::string& key) {
    for (const Row& r : rows)
        if (key == r.first) return r.second;
    return WindowCommand::None;
}
}  // namespace

WindowCommand MainButtonCommand(const std::string& key) {
    static const Row rows[] = {{"New", WindowCommand::NewSearch},
                               {"Open", WindowCommand::OpenSearch},
                               {"Save", WindowCommand::SaveSearch},
                               {"View", WindowCommand::RebuildFoundList},
                               {"Sort", WindowCommand::RebuildFoundList}};
    return Find(rows, key);
}

WindowCommand MainMenuCommand(const std::string& key) {
    static const Row rows[] = {{"Large icons", WindowCommand::FoundViewLarge},
                               {"Small icons", WindowCommand::FoundViewSmall},
                               {"List", WindowCommand::FoundViewList},
                               {"Filter", WindowCommand::EditFilter},
                               {"Save as", WindowCommand::SaveSearchAs},
                               {"Merge", WindowCommand::MergeSearch}};
    return Find(rows, key);
}

WindowCommand PropertyButtonCommand(const std::string& key) {
    static const Row rows[] = {{"New", WindowCommand::NewMask},
                               {"Open", WindowCommand::OpenMask},
                               {"Save", WindowCommand::SaveMaskAs},
                               {"Cut", WindowCommand::CutMasks},
                               {"Copy", WindowCommand::CopyMasks},
                               {"Paste", WindowCommand::PasteMasks},
                               {"Large Icons", WindowCommand::MaskViewLarge},
                               {"Small Icons", WindowCommand::MaskViewSmall},
                               {"List", WindowCommand::MaskViewList},
                               {"Filter", WindowCommand::EditFilter}};
    return Find(rows, key);
}

bool RefusedWhileRunning(WindowCommand command) {
    return command == WindowCommand::NewMask || command == WindowCommand::OpenMask ||
           command == WindowCommand::CutMasks || command == WindowCommand::PasteMasks ||
           command == WindowCommand::DeleteMasks;
}

WindowCommand MaskListKeyCommand(uint16_t key, bool ctrl, bool shift) {
    switch (key) {
    case 45:  // Insert: Ctrl is tested before Shift
        if (ctrl) return WindowCommand::CopyMasks;
        return shift ? WindowCommand::PasteMasks : WindowCommand::None;
    case 46: return WindowCommand::DeleteMasks;
    case 'C': return ctrl ? WindowCommand::CopyMasks : WindowCommand::None;
    case 'V': return ctrl ? WindowCommand::PasteMasks : WindowCommand::None;
    case 'X': return ctrl ? WindowCommand::CutMasks : WindowCommand::None;
    default: return WindowCommand::None;
    }
}

WindowCommand FoundListKeyCommand(uint16_t key, bool ctrl) {
    if (!ctrl) return WindowCommand::None;
    switch (key) {
    case '1': return WindowCommand::FoundViewLarge;
    case '2': return WindowCommand::FoundViewSmall;
    case '3': return WindowCommand::FoundViewList;
    case 'C': return WindowCommand::SaveSearch;
    case 'N': return WindowCommand::NewSearch;
    case 'O': return WindowCommand::NewAndMergeSearch;
    default: return WindowCommand::None;
    }
}

namespace {
const char* const kChecked = "+  ";
const char* const kUnchecked = "    ";
}  // namespace

std::vector<DropDownEntry> SortMenuEntries(const MaskCollection& masks) {
    std::vector<DropDownEntry> entries{{std::string(kUnchecked) + "As reseaved", 0}};
    bool marked = false;
    for (int32_t i = 1; i <= masks.Count(); ++i) {
        const SearchMask& m = masks.Item(i);
        if (m.Hidden) continue;
        marked = marked || m.SortAt;
        entries.push_back({(m.SortAt ? kChecked : kUnchecked) + m.MaskName, i});
    }
    if (!marked) entries[0].Text = std::string(kChecked) + "As reseaved";
    return entries;
}

std::vector<DropDownEntry> ViewMenuEntries(const MaskCollection& masks, const std::string& captionMaskName) {
    std::vector<DropDownEntry> entries;
    for (int32_t i = 1; i <= masks.Count(); ++i) {
        const SearchMask& m = masks.Item(i);
        if (m.Hidden) continue;
        entries.push_back({(m.MaskName == captionMaskName ? kChecked : kUnchecked) + m.MaskName, masks.Count() + i});
    }
    return entries;
}

std::vector<DropDownEntry> ViewModeEntries(int16_t mode) {
    const char* const names[3] = {"Large icons", "Small icons", "List"};
    std::vector<DropDownEntry> entries;
    for (int i = 0; i < 3; ++i)
        entries.push_back({(i == mode ? kChecked : kUnchecked) + std::string(names[i]), -1, names[i]});
    return entries;
}

std::vector<DropDownEntry> MainDropDownEntries(const std::string& buttonKey, const MaskCollection& masks,
                                               const std::string& captionMaskName, int16_t foundListView) {
    if (buttonKey == "Open") return {{"Merge...", -1, "Merge"}};
    if (buttonKey == "Save") return {{"Save as...", -1, "Save as"}};
    if (buttonKey == "Sort") return SortMenuEntries(masks);
    if (buttonKey != "View") return {};
    std::vector<DropDownEntry> entries = ViewModeEntries(foundListView);
    entries.push_back({"    Filter...", -1, "Filter"});
    entries.push_back({"-", -1, "Separator"});
    for (DropDownEntry& e : ViewMenuEntries(masks, captionMaskName)) entries.push_back(std::move(e));
    return entries;
}

TagAction MenuTagAction(int32_t tag, int32_t maskCount) {
    if (tag < 0 || tag > 2 * maskCount) return {};
    if (tag <= maskCount) return {TagAction::SortAt, tag};
    return {TagAction::CaptionMask, tag - maskCount};
}
