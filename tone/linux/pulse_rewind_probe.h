#pragma once

struct pa_context;
struct pa_threaded_mainloop;

// Whether the sink that a new playback stream on `context` goes to rewinds: a short stream of
// silence writes one frame before what the sink has taken (RewindProbeFrame) and watches where the
// sink's read index goes. False, the answer that is safe to get wrong, when a stream cannot be
// opened or no probe has shown a rewind within 2.5 s. Called with the loop locked, from another
// thread than the loop's.
bool SinkRewinds(pa_threaded_mainloop* loop, pa_context* context);
