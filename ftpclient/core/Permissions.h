// The nine permission boxes of a remote file and the SITE CHMOD they send.
// No platform headers.
#pragma once

#include <string>

struct TPermissions {
    // User, group, world; read, write, execute.
    bool Flags[3][3] = {{false, false, false}, {false, false, false}, {false, false, false}};

    // From a listing's permission string ("-rwxr-x--x"): a box is checked
    // when its character is r, w or x (any case). "s" or "t" in an execute
    // place leaves that box unchecked.
    static TPermissions FromString(const std::string& Permissions);

    // Always three digits ("044", "000"): servers refuse shorter modes.
    std::string ModeText() const;

    bool operator==(const TPermissions& o) const;
    bool operator!=(const TPermissions& o) const { return !(*this == o); }
};

// setuid, setgid or sticky in a permission string (s, S, t or T).
bool HasSpecialBits(const std::string& Permissions);

// "SITE CHMOD 751 name".
std::string ChModCommand(const std::string& Name, const TPermissions& Chosen);

// What OK in the permission dialog sends: nothing when no box changed, so
// that special bits the boxes cannot show are not stripped by a mere OK.
struct TChModPlan {
    bool Send = false;
    std::string Command;
    std::string Note;  // for the user when special bits will not be kept
};
TChModPlan PlanChMod(const std::string& Name, const std::string& Permissions, const TPermissions& Chosen);
