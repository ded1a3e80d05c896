#pragma once

#include <cstdint>

#include "tone/beep_tone_sink.h"

// kernel32 Beep: blocks the calling thread for the tone in an alertable wait.
void SystemBeep(std::uint32_t hz, std::uint32_t ms);
// Wakes the calling thread out of Beep's wait with an empty APC (QueueUserAPC).
BeepToneSink::WakeFunction SystemBeepWaker();
