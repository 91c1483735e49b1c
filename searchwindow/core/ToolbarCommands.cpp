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
           command == WindowCommand::CutMasks || command == WindowCommand::PasteMasks;
}

TagAction MenuTagAction(int32_t tag, int32_t maskCount) {
    if (tag < 0 || tag > 2 * maskCount) return {};
    if (tag <= maskCount) return {TagAction::SortAt, tag};
    return {TagAction::CaptionMask, tag - maskCount};
}
