#pragma once

#include <memory>
#include <string>

#include "tone/sound_output.h"

// The sound server (PulseAudio, or PipeWire's Pulse server), else the sound card through ALSA;
// null, with both reasons in `why`, when neither opens.
[[nodiscard]] std::unique_ptr<SoundOutput> OpenLinuxSoundOutput(std::string& why);
