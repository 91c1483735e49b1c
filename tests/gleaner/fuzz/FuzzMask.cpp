// The mask-pattern compiler and matcher: the bytes before the first zero are a
// pattern, the rest the text. The pattern runs alone, and as root, dependent
// and link masks over the text arriving in small portions.
#include <cstring>
#include <string>

#include "InfoDocument.h"
#include "InfoMetaprocessor.h"
#include "MaskPattern.h"
#include "MaskProcessor.h"
#include "ProtocolList.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const char* p = reinterpret_cast<const char*>(data);
    const char* zero = static_cast<const char*>(memchr(p, 0, size));
    std::string pattern(p, zero ? static_cast<size_t>(zero - p) : size);
    std::string text = zero ? std::string(zero + 1, p + size) : std::string();

    MaskPattern compiled(pattern);
    InfoDocument doc;
    doc.StepBudget = 100000;
    doc.SetText(text);
    std::string cap;
    for (int i = 0; i < 32 && doc.FindNext(compiled, cap); ++i) {
    }

    // The first match over the whole text is the one that trying one start
    // position at a time finds (starts known to fail are skipped), when
    // neither search gave up.
    if (text.size() <= 256) {
        InfoDocument all, one;
        all.StepBudget = one.StepBudget = 100000;
        all.SetText(text);
        one.SetText(text);
        std::string a, b;
        const long fa = all.FindNext(compiled, a);
        long fb = 0;
        size_t start = 0;
        for (; start < text.size() && !fb; ++start) {
            one.SetPosition(start);
            fb = one.FindNext(compiled, b, start + 1);
        }
        if (all.LastError().empty() && one.LastError().empty() &&
            (fa != fb || a != b || (fa && (all.MatchStart() != start - 1 || all.Position() != one.Position()))))
            __builtin_trap();
    }

    // A search cut short at a text end, or waiting at a start that wants more text.
    InfoDocument part;
    part.StepBudget = 100000;
    part.SetText(text);
    const size_t end = text.empty() ? 0 : static_cast<unsigned char>(text[0]) % (text.size() + 1);
    for (int i = 0; i < 8 && part.FindNext(compiled, cap, SIZE_MAX, end, i % 2 == 1); ++i) {
    }

    ProtocolList protocols;
    for (const char* s : {"", "file://", "http://"}) protocols.AddProtocol(s);
    InfoMetaprocessor meta;
    meta.ParseTableText("BEGIN FORMAT HTML &amp; & END BEGIN ENCODING e x xyYzZ END");
    MaskProcessor proc;
    proc.Protocols = &protocols;
    proc.Metaprocessor = &meta;
    proc.PreloadSize = 8;
    size_t results = 0;
    proc.OnResult = [&](const InfoResult&) { ++results; };
    proc.AddMask("Root", pattern, "", 1, 0, 0, 8, 1, 0);
    proc.AddMask("After", pattern, "Root", 0, 1, 1, 4, 0, 0);
    proc.AddMask("Inside", pattern, "Root", 2, 2, 0, 4, 0, 0);
    proc.AddMask("Format", pattern, "", 0, 0, 3, 2, 0, 0);
    InfoDocument grow;
    grow.StepBudget = 100000;
    grow.Begin(InfoAddress("http://h/a/b.htm", protocols.Entries()));
    for (size_t at = 0; at < text.size(); at += 64) {
        grow.SetText(text.substr(0, at + 64));
        proc.ProcessMasks(grow);
    }
    return 0;
}
