#include "tone/win32/system_beep.h"

#include <windows.h>

#include <memory>

namespace {

// Queued only to end an alertable wait; there is nothing to do in it.
void CALLBACK WakeUp(ULONG_PTR) {}

}  // namespace

void SystemBeep(std::uint32_t hz, std::uint32_t ms) {
    // A tone the platform refuses simply takes no time; there is nothing to report.
    static_cast<void>(::Beep(hz, ms));
}

BeepToneSink::WakeFunction SystemBeepWaker() {
    HANDLE thread = ::OpenThread(THREAD_SET_CONTEXT, FALSE, ::GetCurrentThreadId());
    if (!thread) return [] {};
    std::shared_ptr<void> handle(thread, ::CloseHandle);
    return [handle] { static_cast<void>(::QueueUserAPC(WakeUp, handle.get(), 0)); };
}
