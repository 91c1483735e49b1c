#include "components/PlayerWave.h"

#include <mmsystem.h>

namespace {

TPlaySoundFunc& PlayFunc() {
    static TPlaySoundFunc f = [](LPCSTR s, HMODULE m, DWORD fl) { return PlaySoundA(s, m, fl); };
    return f;
}

}  // namespace

TPlaySoundFunc SetPlaySoundFunc(TPlaySoundFunc f) {
    TPlaySoundFunc old = PlayFunc();
    if (!f) f = [](LPCSTR s, HMODULE m, DWORD fl) { return PlaySoundA(s, m, fl); };
    PlayFunc() = std::move(f);
    return old;
}

DWORD TPlayerWave::PlayFlags() const {
    DWORD flags = WhereWave == wwInFile ? SND_FILENAME : WhereWave == wwInResource ? SND_RESOURCE : SND_MEMORY;
    if (Loop) flags |= SND_LOOP | SND_ASYNC;
    if (Async) flags |= SND_ASYNC;
    return flags;
}

bool TPlayerWave::Play() {
    const LPCSTR sound = WhereWave == wwInRAM ? static_cast<LPCSTR>(WaveMemory) : WaveName.c_str();
    // A resource is looked up in the program's own module.
    const HMODULE module = WhereWave == wwInResource ? GetModuleHandleA(nullptr) : nullptr;
    return PlayFunc()(sound, module, PlayFlags()) != FALSE;
}
