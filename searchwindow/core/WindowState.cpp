#include "searchwindow/core/WindowState.h"

#include "masks/core/MaskParseError.h"

std::string PutState(const WindowState& s) {
    std::string t;
    for (const std::string* f : {&s.SearchFolder, &s.MasksFolder, &s.StartPageFolder, &s.ReportFolder,
                                 &s.StartAddress, &s.CaptionMaskName, &s.FormatTableAddress})
        PutString(*f, t);
    for (int16_t v : {s.SortAt, s.FoundListView, s.MaskListView, s.PropertyListView, s.ChannelCount, s.MaxLevel,
                      s.MaxFound, s.ReadBlock, s.ThreadPriority, s.ProcessExternalLinks})
        PutInt(v, t);
    for (bool on : s.ProtocolOn) PutInt(on ? 1 : 0, t);
    PutInt(static_cast<int32_t>(s.Filters.size()), t);
    for (const FilterBlock& b : s.Filters) {
        PutInt(b.Count(), t);
        for (const FilterItem& item : b) {
            PutInt(item.Index, t);
            PutString(item.Name, t);
            PutInt(item.FlagNot ? -1 : 0, t);
        }
    }
    return t;
}

WindowState ParseState(MaskTokenReader& reader) {
    // Every token of a state string is there: one missing is a cut text.
    struct Strict {
        MaskTokenReader& r;
        void Check() {
            if (r.AtEnd()) throw MaskParseError("state string ends early");
        }
        int16_t GetInt() { Check(); return r.GetInt(); }
        std::string GetString() { Check(); return r.GetString(); }
    } r{reader};
    WindowState s;
    for (std::string* f : {&s.SearchFolder, &s.MasksFolder, &s.StartPageFolder, &s.ReportFolder, &s.StartAddress,
                           &s.CaptionMaskName, &s.FormatTableAddress})
        *f = r.GetString();
    for (int16_t* v : {&s.SortAt, &s.FoundListView, &s.MaskListView, &s.PropertyListView, &s.ChannelCount,
                       &s.MaxLevel, &s.MaxFound, &s.ReadBlock, &s.ThreadPriority, &s.ProcessExternalLinks})
        *v = r.GetInt();
    for (bool& on : s.ProtocolOn) on = r.GetInt() != 0;
    const int16_t blocks = r.GetInt();
    if (blocks < 0) throw MaskParseError("negative filter block count");
    for (int16_t i = 0; i < blocks; ++i) {
        FilterBlock b;
        const int16_t items = r.GetInt();
        if (items < 0) throw MaskParseError("negative filter item count");
        for (int16_t j = 0; j < items; ++j) {
            const int16_t index = r.GetInt();
            std::string name = r.GetString();
            const bool flagNot = r.GetInt() != 0;
            b.Add(index, name, flagNot);
        }
        s.Filters.push_back(std::move(b));
    }
    return s;
}

std::string PutUserData(const WindowState& state, const MaskCollection& masks) {
    std::string t;
    PutString(PutState(state), t);
    std::vector<int32_t> all;
    for (int32_t i = 1; i <= masks.Count(); ++i) all.push_back(i);
    t += masks.PutMasks(all);
    return t;
}

SearchUserData ParseUserData(const std::string& userData) {
    MaskTokenReader outer(userData);
    const std::string state = outer.GetString();
    MaskTokenReader inner(state);
    SearchUserData d;
    d.State = ParseState(inner);
    std::string rest = outer.Rest();
    const int16_t declared = MaskTokenReader(rest).GetInt();
    if (declared < 0 || d.Masks.RestoreMasks(rest) != declared)
        throw MaskParseError("user data holds fewer masks than it says");
    return d;
}
