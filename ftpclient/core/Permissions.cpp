#include "ftpclient/core/Permissions.h"

namespace {

char Upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

}  // namespace

TPermissions TPermissions::FromString(const std::string& Permissions) {
    static const char letters[3] = {'R', 'W', 'X'};
    TPermissions p;
    for (int who = 0; who < 3; ++who) {
        // The group's characters count only when the string is long enough for them.
        if (Permissions.size() <= static_cast<size_t>(3 + who * 3)) break;
        for (int what = 0; what < 3; ++what)
            p.Flags[who][what] = Upper(Permissions[static_cast<size_t>(1 + who * 3 + what)]) == letters[what];
    }
    return p;
}

std::string TPermissions::ModeText() const {
    std::string out;
    for (int who = 0; who < 3; ++who)
        out += static_cast<char>('0' + (Flags[who][0] ? 4 : 0) + (Flags[who][1] ? 2 : 0) + (Flags[who][2] ? 1 : 0));
    return out;
}

bool TPermissions::operator==(const TPermissions& o) const {
    for (int who = 0; who < 3; ++who)
        for (int what = 0; what < 3; ++what)
            if (Flags[who][what] != o.Flags[who][what]) return false;
    return true;
}

bool HasSpecialBits(const std::string& Permissions) {
    for (size_t i : {size_t(3), size_t(6), size_t(9)}) {
        if (i >= Permissions.size()) break;
        char c = Upper(Permissions[i]);
        if (c == 'S' || c == 'T') return true;
    }
    return false;
}

std::string ChModCommand(const std::string& Name, const TPermissions& Chosen) {
    return "SITE CHMOD " + Chosen.ModeText() + " " + Name;
}

TChModPlan PlanChMod(const std::string& Name, const std::string& Permissions, const TPermissions& Chosen) {
    TChModPlan plan;
    if (Chosen == TPermissions::FromString(Permissions)) return plan;
    plan.Send = true;
    plan.Command = ChModCommand(Name, Chosen);
    if (HasSpecialBits(Permissions))
        plan.Note = "The setuid, setgid and sticky bits of \"" + Name + "\" are not kept by this change.";
    return plan;
}
