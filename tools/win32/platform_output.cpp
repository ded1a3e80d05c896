#include "tools/platform_output.h"

#include "tone/win32/wasapi_output.h"

std::unique_ptr<SoundOutput> OpenPlatformOutput(std::string& why) {
    return WasapiOutput::Open(why);
}
