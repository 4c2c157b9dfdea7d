#pragma once

class SoundOutput;

// The sound module is a shared library beside the program that holds the real audio output and
// everything it links (Qt Multimedia and the sound server's client libraries). Its one entry point
// creates the output; the caller owns it.
namespace SoundModule {

using CreateOutput = SoundOutput *(*)();

inline constexpr char CreateOutputSymbol[] = "porukanoCreateSoundOutput";

} // namespace SoundModule
