#pragma once

#include <atomic>
#include <future>
#include <memory>
#include <string>
#include <thread>

#include "tone/pull_output.h"

// The default audio endpoint through WASAPI in shared mode. A thread of its own, woken by the
// endpoint at every period, renders just enough to keep a little over two periods queued there, so
// that a stop is heard within that and the endpoint's latency without rewriting anything; a tone
// counts as begun once it has been rendered into the endpoint's buffer. The endpoint's COM objects
// live on that thread alone.
class WasapiOutput final : public PullOutput {
public:
    // Opens the default endpoint; null, with the reason in `why`, when there is none.
    [[nodiscard]] static std::unique_ptr<WasapiOutput> Open(std::string& why);
    ~WasapiOutput() override;

    std::string Name() const override { return "WASAPI"; }

private:
    WasapiOutput();
    // The endpoint's thread: opens it, tells `opened` how that went, then feeds it until told to
    // quit or until it fails.
    void Run(std::promise<std::string> opened);

    std::atomic<bool> m_quit{false};
    std::thread m_thread;
};
