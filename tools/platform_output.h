#pragma once

#include <memory>
#include <string>

#include "tone/sound_output.h"

// The platform's sound output, as the program opens it; null, with the reason in `why`.
[[nodiscard]] std::unique_ptr<SoundOutput> OpenPlatformOutput(std::string& why);
