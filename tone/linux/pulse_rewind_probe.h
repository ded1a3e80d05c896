#pragma once

#include "tone/linux/pulse_stream_io.h"

// Whether the sink that a new playback stream on `context` goes to rewinds: a short stream of
// silence, queued as `shape` asks (the shape the program plays with on such a sink), writes one
// frame before what the sink has taken (RewindProbeFrame) and watches where the sink's read index
// goes. False, the answer that is safe to get wrong, when a stream cannot be opened or no probe has
// shown a rewind within 2.5 s. Called with the loop locked, from another thread than the loop's.
bool SinkRewinds(pa_threaded_mainloop* loop, pa_context* context, const PulseQueueShape& shape);
