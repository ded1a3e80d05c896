#include "tone/queue_shape.h"

#include "tone/tone_synth.h"

namespace {

constexpr std::int64_t kRate = ToneSynth::kDefaultSampleRate;
// Every stream keeps 450 ms queued at the server, which asks for more once about half of it has
// played, while 240 ms or more are still to play: a program held 200 ms by a busy machine loses
// no sound.
constexpr std::int64_t kQueueFrames = 450 * kRate / 1000;
// A sink that rewinds gives back what it has taken when a stop or a start rewrites the queue, so a
// long latency costs the stop nothing and lets the sink, and the server, sleep 250 ms at a time
// (more is asked for every 100 ms). The rewrite lands 10 ms past what is heard, the margin the
// server's main loop and the sink's rewind need to make it without a click.
constexpr QueueShape kRewindingSink{kQueueFrames, 250 * kRate / 1000, 10 * kRate / 1000};
// A sink that does not rewind plays what it has taken, which a stop waits for: 512 frames
// (10.7 ms); a shorter latency would cost the server more. The rewrite lands 7 ms past the first
// frame the sink has not taken, the margin it needs to make it without a click.
constexpr QueueShape kPlainSink{kQueueFrames, 512, 7 * kRate / 1000};
// PipeWire's Pulse server takes the sink latency asked for as the cycle of its processing graph,
// for every program on the machine; the session's usual cycle of 1024 frames (21.3 ms) leaves the
// others' cycle as the session chose it. A power of two, as PipeWire's cycles are.
constexpr QueueShape kPipeWire{kQueueFrames, 1024, 4 * kRate / 1000};

}  // namespace

QueueShape RewindingSinkShape() { return kRewindingSink; }

QueueChoice ChooseQueue(std::string_view serverName,
                        const std::function<RewindProbeVerdict(const QueueShape&)>& probe) {
    QueueChoice choice{kPlainSink, {}, false};
    if (serverName.find("PipeWire") != std::string_view::npos) {
        choice.shape = kPipeWire;
    } else {
        switch (probe(kRewindingSink)) {
            case RewindProbeVerdict::kRewinds:
                choice.shape = kRewindingSink;
                choice.latency.sinkRewinds = true;
                break;
            case RewindProbeVerdict::kKeeps:
                break;
            // The short latency suits every sink; on one that rewinds it only costs more wake-ups.
            case RewindProbeVerdict::kUnsure:
                choice.unsure = true;
                break;
        }
    }
    // PipeWire's Pulse server reports no sink latency; the margin is then sized from what we ask.
    choice.latency.requested = choice.shape.sinkLatencyFrames;
    return choice;
}
