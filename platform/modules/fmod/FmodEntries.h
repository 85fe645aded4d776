#pragma once
// Shared by the entry files of the "fmod.dll" stand-in.
#include "platform/modules/fmod/FmodState.h"
#include <algorithm>
#include <mutex>

#define LUMO_FMOD_EXPORT extern "C" __attribute__((visibility("default")))

using Guard = std::lock_guard<std::mutex>;
