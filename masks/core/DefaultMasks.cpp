#include "masks/core/DefaultMasks.h"

#include "masks/core/MaskCollection.h"

namespace {
// The frame and link patterns skip the opening quote of a quoted address and
// end an unquoted one at a blank or at the ">" that closes the tag.
constexpr const char* kTitle = R"(\w-\r-<\# TITLE\*>\w+\*\w-<\# /TITLE\*>)";
constexpr const char* kFrame =
    R"(\w-\al>:!\e<\# FRAME\*\al>!SRC\# =\# \s\c":\~\w+\*\w-"\e\d:\w+\*\w-\s\c >:\w-\e\d:\!\e\e)";
constexpr const char* kLink =
    R"(\w-\al>:!\e<\# A\*\al>!HREF\# =\# \s\c":\~\w+\*\w-"\e\d:\w+\*\w-\s\c >:\w-\e\d:\!\e\e\*>)";
constexpr const char* kLinkText = R"(\al<:\w-\e\ar>:\w+\e\*<\# /A\*>)";
constexpr const char* kLinkImage = R"(\w-<\# IMG\*SRC\# =\# "\w+\*\w-"\*>)";
constexpr const char* kFormat = R"(\w-<\# \w+HTML\w-\*>)";
constexpr const char* kEncoding = R"(\w-\r-\g-<\# META\*CONTENT\# =\# "\*CHARSET\# =\# \w+\*\w-\s\c":"\e\c : \e\d:!\e)";
}  // namespace

const DefaultMask kDefaultMasks[kDefaultMaskCount] = {
    {"Page title", 0, "", 0, 0, 2, 1, true, false, kTitle},
    {"Frame", 1, "", 0, 1, 3, -1, false, true, kFrame},
    {"Link", 1, "", 0, 1, 3, -1, false, false, kLink},
    {"Link Text", 0, "Link", 1, 2, 2, 1, true, false, kLinkText},
    {"Link Image", 2, "Link", 1, 1, 2, 1, false, false, kLinkImage},
    {"Address", 3, "", 0, 1, 1, -1, false, false, nullptr},
    {"Parent", 3, "", 0, 1, 1, -1, false, false, nullptr},
    {"Document Size", 3, "", 0, 0, 1, -1, false, false, nullptr},
    {"Format", 0, "", 0, 0, 0, 1, false, true, kFormat},
    {"Encoding", 0, "", 0, 0, 1, 1, false, true, kEncoding},
};

void AddDefaultMasks(MaskCollection& masks, InfoSearchCalls& search) {
    masks.Clear();
    for (const DefaultMask& d : kDefaultMasks) {
        masks.Add(d.MaskName, d.DependOn, d.MaskType, d.DependType, d.BrowserType, d.Priority, d.CanCompile,
                  d.Hidden, d.MaxFoundCount);
        if (d.Pattern) masks.AddValue(d.MaskName, d.Pattern);
    }
    masks.Apply(search);
}
