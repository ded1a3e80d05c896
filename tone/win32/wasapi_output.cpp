#include "tone/win32/wasapi_output.h"

#include <windows.h>
// Windows headers after windows.h.
#include <audioclient.h>
#include <avrt.h>
#include <mmdeviceapi.h>
#include <wrl/client.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <optional>
#include <vector>

#include "base/win32/com_apartment.h"
#include "tone/win32/default_endpoint_watch.h"

using Microsoft::WRL::ComPtr;

namespace {

// A wait this long for the endpoint's period means it stopped playing: a device unplugged or a
// driver that hung.
constexpr DWORD kStallMs = 2000;
// Queued beyond two periods, so that a late wake-up of our thread does not starve the endpoint.
// Two, not one: Wine's Pulse driver counts the first period of a stream as not yet played, so its
// server holds a period less than the padding says; with one period queued it runs dry whenever a
// thread wakes a few ms late, and Wine fills each gap with silence.
constexpr REFERENCE_TIME kMarginHns = 50000;  // 5 ms

// Periods of silence a new stream plays before a tone may start.
constexpr int kSettlingPeriods = 10;

enum class SampleKind { Float32, Int16, Int32 };

std::string Failure(const char* what, HRESULT hr) {
    char text[96];
    std::snprintf(text, sizeof text, "WASAPI: %s (0x%08lx)", what, static_cast<unsigned long>(hr));
    return text;
}

// The subtypes of WAVE_FORMAT_EXTENSIBLE carry the old format tag in their first field.
bool IsSubtype(const GUID& subtype, WORD tag) {
    static constexpr unsigned char kTail[8] = {0x80, 0x00, 0x00, 0xaa, 0x00, 0x38, 0x9b, 0x71};
    return subtype.Data1 == tag && subtype.Data2 == 0 && subtype.Data3 == 0x10 &&
           std::equal(std::begin(kTail), std::end(kTail), subtype.Data4);
}

std::optional<SampleKind> KindOf(const WAVEFORMATEX& format) {
    const bool extensible = format.wFormatTag == WAVE_FORMAT_EXTENSIBLE && format.cbSize >= 22;
    const GUID subtype =
        extensible ? reinterpret_cast<const WAVEFORMATEXTENSIBLE&>(format).SubFormat : GUID{};
    const auto is = [&](WORD tag) {
        return format.wFormatTag == tag || (extensible && IsSubtype(subtype, tag));
    };
    if (is(WAVE_FORMAT_IEEE_FLOAT) && format.wBitsPerSample == 32) return SampleKind::Float32;
    if (is(WAVE_FORMAT_PCM) && format.wBitsPerSample == 16) return SampleKind::Int16;
    // Also 24 valid bits in 32: the low byte is ignored.
    if (is(WAVE_FORMAT_PCM) && format.wBitsPerSample == 32) return SampleKind::Int32;
    return std::nullopt;
}

// Writes the same sample to every channel of each frame, in the endpoint's sample format.
void Spread(const float* mono, std::uint32_t frames, unsigned channels, SampleKind kind,
            BYTE* out) {
    for (std::uint32_t frame = 0; frame < frames; ++frame) {
        const double sample = std::clamp(static_cast<double>(mono[frame]), -1.0, 1.0);
        for (unsigned channel = 0; channel < channels; ++channel) {
            switch (kind) {
                case SampleKind::Float32:
                    reinterpret_cast<float*>(out)[frame * channels + channel] =
                        static_cast<float>(sample);
                    break;
                case SampleKind::Int16:
                    reinterpret_cast<std::int16_t*>(out)[frame * channels + channel] =
                        static_cast<std::int16_t>(std::lround(sample * 32767.0));
                    break;
                case SampleKind::Int32:
                    reinterpret_cast<std::int32_t*>(out)[frame * channels + channel] =
                        static_cast<std::int32_t>(std::llround(sample * 2147483647.0));
                    break;
            }
        }
    }
}

// The default endpoint, opened for a shared-mode stream that signals an event at every period.
struct Endpoint {
    ComPtr<IMMDeviceEnumerator> devices;
    ComPtr<IAudioClient> client;
    ComPtr<IAudioRenderClient> render;
    HANDLE period = nullptr;
    unsigned rate = 0;
    unsigned channels = 0;
    SampleKind kind = SampleKind::Float32;
    std::uint32_t bufferFrames = 0;
    std::uint32_t leadFrames = 0;     // kept queued
    std::uint32_t latencyFrames = 0;  // the endpoint's own, past what is queued

    ~Endpoint() {
        if (period) CloseHandle(period);
    }

    // Empty when opened, else the reason.
    std::string Open() {
        // In-process only: where the enumerator cannot be made, asking for a local or remote
        // server too makes COM try to start one, which took 3 to 10 s under Wine.
        HRESULT hr = CoCreateInstance(__uuidof(MMDeviceEnumerator), nullptr, CLSCTX_INPROC_SERVER,
                                      IID_PPV_ARGS(&devices));
        if (FAILED(hr)) return Failure("no audio device enumerator", hr);
        ComPtr<IMMDevice> device;
        hr = devices->GetDefaultAudioEndpoint(eRender, eConsole, &device);
        if (FAILED(hr)) return Failure("no default audio endpoint", hr);
        hr = device->Activate(__uuidof(IAudioClient), CLSCTX_ALL, nullptr, &client);
        if (FAILED(hr)) return Failure("the endpoint cannot be activated", hr);
        WAVEFORMATEX* mix = nullptr;
        hr = client->GetMixFormat(&mix);
        if (FAILED(hr)) return Failure("no mix format", hr);
        const std::unique_ptr<WAVEFORMATEX, decltype(&CoTaskMemFree)> mixOwner(mix, CoTaskMemFree);
        const std::optional<SampleKind> mixKind = KindOf(*mix);
        if (!mixKind) return Failure("a mix format of no known sample type", mix->wFormatTag);
        kind = *mixKind;
        rate = mix->nSamplesPerSec;
        channels = mix->nChannels;
        REFERENCE_TIME defaultPeriod = 0, minimumPeriod = 0;
        hr = client->GetDevicePeriod(&defaultPeriod, &minimumPeriod);
        if (FAILED(hr)) return Failure("no device period", hr);
        const REFERENCE_TIME lead = 2 * defaultPeriod + kMarginHns;
        hr = client->Initialize(AUDCLNT_SHAREMODE_SHARED, AUDCLNT_STREAMFLAGS_EVENTCALLBACK,
                                2 * lead, 0, mix, nullptr);
        if (FAILED(hr)) return Failure("the stream cannot be initialised", hr);
        period = CreateEventW(nullptr, FALSE, FALSE, nullptr);
        if (!period) return Failure("no event", HRESULT_FROM_WIN32(GetLastError()));
        hr = client->SetEventHandle(period);
        if (FAILED(hr)) return Failure("the period cannot signal", hr);
        UINT32 size = 0;
        hr = client->GetBufferSize(&size);
        if (FAILED(hr)) return Failure("no buffer size", hr);
        hr = client->GetService(IID_PPV_ARGS(&render));
        if (FAILED(hr)) return Failure("no render service", hr);
        REFERENCE_TIME latency = 0;
        if (FAILED(client->GetStreamLatency(&latency))) latency = defaultPeriod;
        const auto frames = [this](REFERENCE_TIME hns) {
            return static_cast<std::uint32_t>(hns * rate / 10'000'000);
        };
        bufferFrames = size;
        leadFrames = std::min(size, frames(lead));
        latencyFrames = frames(latency);
        return {};
    }
};

// Multimedia class scheduling: the endpoint's thread keeps its period on a busy machine. Where the
// service is missing the thread simply runs at normal priority.
class ProAudioThread {
public:
    ProAudioThread() : m_task(AvSetMmThreadCharacteristicsW(L"Pro Audio", &m_index)) {}
    ~ProAudioThread() {
        if (m_task) AvRevertMmThreadCharacteristics(m_task);
    }

private:
    DWORD m_index = 0;
    HANDLE m_task;
};

}  // namespace

// The rate and the delay are the endpoint's, known once it is open.
WasapiOutput::WasapiOutput() : PullOutput(ToneSynth::kDefaultSampleRate, 0) {}

std::unique_ptr<WasapiOutput> WasapiOutput::Open(std::string& why) {
    std::unique_ptr<WasapiOutput> output(new WasapiOutput());
    std::promise<std::string> opened;
    std::future<std::string> result = opened.get_future();
    output->m_thread = std::thread(&WasapiOutput::Run, output.get(), std::move(opened));
    why = result.get();
    if (why.empty()) return output;
    output->m_thread.join();
    return nullptr;
}

WasapiOutput::~WasapiOutput() {
    // A stream closed while it sounds ends with a click: fade out first.
    if (m_thread.joinable() && !Failed()) {
        Silence();
        Drain(std::chrono::milliseconds(200));
    }
    m_quit.store(true);
    if (m_thread.joinable()) m_thread.join();
}

void WasapiOutput::Run(std::promise<std::string> opened) {
    const ComApartment com(ComApartment::Threading::Multi);
    Endpoint endpoint;
    if (std::string why = endpoint.Open(); !why.empty()) return opened.set_value(std::move(why));
    // A sample is heard once what is kept queued after it, and the endpoint's latency, has played.
    Reset(endpoint.rate, endpoint.leadFrames + endpoint.latencyFrames);

    const ProAudioThread priority;
    std::vector<float> mono(endpoint.bufferFrames);
    // Fills what is free of the lead; false when the endpoint is gone.
    const auto feed = [&] {
        UINT32 padding = 0;
        if (FAILED(endpoint.client->GetCurrentPadding(&padding))) return false;
        if (padding >= endpoint.leadFrames) return true;
        const std::uint32_t frames = endpoint.leadFrames - padding;
        BYTE* data = nullptr;
        if (FAILED(endpoint.render->GetBuffer(frames, &data))) return false;
        Render(mono.data(), frames);
        Spread(mono.data(), frames, endpoint.channels, endpoint.kind, data);
        return SUCCEEDED(endpoint.render->ReleaseBuffer(frames, 0));
    };
    const auto nextPeriod = [&] {
        return WaitForSingleObject(endpoint.period, kStallMs) == WAIT_OBJECT_0 && feed();
    };
    if (!feed() || FAILED(endpoint.client->Start())) {
        return opened.set_value("WASAPI: the stream does not start");
    }
    // The output counts as open once the stream has played a little silence: Wine's Pulse driver
    // runs dry once or twice as a stream starts, which a first tone would hear as gaps.
    for (int i = 0; i < kSettlingPeriods; ++i) {
        if (!nextPeriod()) {
            endpoint.client->Stop();
            return opened.set_value("WASAPI: the stream stalled as it started");
        }
    }
    opened.set_value({});
    // A new default device ends this output as a failure does; the sink then opens the new one.
    DefaultEndpointWatch watch([this] { Fail(); });
    const bool watching = SUCCEEDED(endpoint.devices->RegisterEndpointNotificationCallback(&watch));
    while (!m_quit.load() && !Failed()) {
        if (!nextPeriod()) Fail();
    }
    endpoint.client->Stop();
    if (watching) endpoint.devices->UnregisterEndpointNotificationCallback(&watch);
}
