#pragma once

struct pa_context;
struct pa_threaded_mainloop;

// Whether the sink that a new playback stream on `context` goes to rewinds: a short stream of
// silence writes one frame before what the sink has taken (RewindProbeFrame) and watches where the
// sink's read index goes. False when the stream cannot be opened or the answer does not come
// within a second. Called with the loop locked, from another thread than the loop's.
bool SinkRewinds(pa_threaded_mainloop* loop, pa_context* context);
