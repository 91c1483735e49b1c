// The format-table parser and the conversion it drives.
#include <string>

#include "InfoMetaprocessor.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string text(reinterpret_cast<const char*>(data), size);
    InfoMetaprocessor m;
    m.ParseTableText(text);
    std::vector<InfoMetaprocessor::Format> f = m.Formats();
    std::vector<InfoMetaprocessor::Encoding> e = m.Encodings();
    m.SetDefaultFormatName(f.empty() ? std::string() : f.front().Name);
    m.SelectFormat(f.empty() ? std::string() : f.back().Name);
    m.SelectEncoding(e.empty() ? std::string() : e.back().Name);
    m.Convert(text);
    return 0;
}
