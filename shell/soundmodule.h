#pragma once

#include "shell/tilesound.h"

// The tile sound's player is a module of its own beside the program: the first sound loads it
// and makes the player through its one entry point.
namespace shell
{

inline constexpr char kSoundModule[] = "liblozetta_sound.so";
inline constexpr char kSoundEntry[] = "lozetta_sound_player";
using SoundEntry = SoundService* (*)();

} // namespace shell

extern "C" shell::SoundService* lozetta_sound_player();
