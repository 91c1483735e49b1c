// Dropped HTML comes from any program: decoding and trimming it must never
// crash, and the fragment is always a part of the text.
#include <cstdlib>
#include <string>

#include "DropRules.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string html(reinterpret_cast<const char*>(data), size);
    std::u16string wide = TDropRules::Utf8ToUtf16(html);
    if (wide.size() > html.size()) abort();
    std::string narrow = TDropRules::Utf16ToLatin1(wide);
    for (uint16_t options : {uint16_t(0), dstInsertAsIs, dstHtmlFromTag, dstHtmlFragment}) {
        std::string t = TDropRules::TrimHtml(narrow, static_cast<uint16_t>(dstHtml | options));
        if (narrow.find(t) == std::string::npos) abort();
    }
    return 0;
}
