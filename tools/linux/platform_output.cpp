#include "tools/platform_output.h"

#include "tone/linux/linux_sound_output.h"

std::unique_ptr<SoundOutput> OpenPlatformOutput(std::string& why) {
    return OpenLinuxSoundOutput(why);
}
