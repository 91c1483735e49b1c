// Shared by the stream fuzzers: load arbitrary bytes; a load that succeeds must
// save a stream that loads again to the same object.
#pragma once

#include <cstdint>

#include "../StreamCompare.h"
#include "SysUtils.h"

template <class T>
void LoadSaveLoad(const uint8_t* data, size_t size) {
    TMemoryStream in;
    if (size) in.WriteBuffer(data, static_cast<int32_t>(size));
    in.SetPosition(0);
    T a;
    try {
        a.LoadFromStream(in);
    } catch (const Exception&) {
        return;
    }
    TMemoryStream saved;
    a.SaveToStream(saved);
    saved.SetPosition(0);
    T b;
    b.LoadFromStream(saved);
    if (!SameStream(a, b)) __builtin_trap();
}
