// Plays one wave sound from a file, a resource or memory.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "runtime/core/Component.h"

enum TWhereWave { wwInFile, wwInResource, wwInRAM };

// The platform's PlaySoundA by default; tests put a recorder in its place.
using TPlaySoundFunc = std::function<BOOL(LPCSTR sound, HMODULE module, DWORD flags)>;
TPlaySoundFunc SetPlaySoundFunc(TPlaySoundFunc f);

class TPlayerWave : public TComponent {
public:
    using TComponent::TComponent;
    std::string WaveName;
    const void* WaveMemory = nullptr;
    TWhereWave WhereWave = wwInFile;
    bool Loop = false;
    bool Async = false;
    // True when the platform accepted the sound.
    bool Play();
    // The flags Play passes (SND_LOOP always with SND_ASYNC: the platform refuses it alone).
    DWORD PlayFlags() const;
};
