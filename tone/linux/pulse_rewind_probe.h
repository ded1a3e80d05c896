#pragma once

#include "tone/linux/pulse_stream_io.h"
#include "tone/rewind_probe_verdict.h"

// Whether the sink that a new playback stream on `context` goes to rewinds: a short stream of
// silence, queued as `shape` asks (the shape the program plays with on such a sink), writes one
// frame before what the sink has taken (RewindProbeFrame) and watches where the sink's read index
// goes (ReadRewindProbe). A probe whose write may have come too late is made again on a new
// stream, within 2.5 s in all; unsure when none was sure, or a stream could not be opened. Called
// with the loop locked, from another thread than the loop's.
RewindProbeVerdict ProbeRewinds(pa_threaded_mainloop* loop, pa_context* context,
                                const QueueShape& shape);
