#include "tone/linux/linux_sound_output.h"

#include "tone/linux/alsa_output.h"
#include "tone/linux/pulse_output.h"

std::unique_ptr<SoundOutput> OpenLinuxSoundOutput(std::string& why) {
    // The server's reason comes first: desktops run a sound server.
    std::string alsaWhy;
    if (auto pulse = PulseOutput::Open(why)) return pulse;
    if (auto alsa = AlsaOutput::Open(alsaWhy)) return alsa;
    why += "; " + alsaWhy;
    return nullptr;
}
