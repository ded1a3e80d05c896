// Feeds arbitrary bytes to the GIF splitter the way the picture control drives it, and checks what
// every frame stream must be: the source's header, a run of source bytes that ends where the
// cursor stopped, and a trailer; a stream that splits again into itself alone.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "banner/gif_splitter.h"

namespace {

void Require(bool condition) {
    if (!condition) std::abort();
}

std::uint32_t ReadU16(std::span<const std::byte> s, std::size_t at) {
    return std::to_integer<std::uint32_t>(s[at]) | std::to_integer<std::uint32_t>(s[at + 1]) << 8;
}

// A frame stream is a GIF of one frame: splitting it gives that frame back, byte for byte.
void CheckSplitsIntoItself(const GifFrameStream& frame) {
    GifSplitter again;
    again.StartParse(frame.stream);
    Require(again.CountFrames() == 1);
    again.ResetCursor();
    const auto copy = again.ExtractNextFrame();
    Require(copy.has_value() && !again.ExtractNextFrame());
    Require(copy->stream == frame.stream && copy->delay == frame.delay &&
            copy->disposal == frame.disposal && copy->width == frame.width &&
            copy->height == frame.height && copy->left == frame.left && copy->top == frame.top);
}

// The block walk never leaves the data, and a length it accepts fits in what is left.
void CheckBlockWalk(std::span<const std::byte> data) {
    GifSplitter splitter;
    splitter.StartParse(data);
    while (true) {
        const std::size_t at = splitter.Cursor();
        const std::int64_t length = splitter.BlockLength();
        Require(length >= -1);
        Require((length == -1) == (splitter.ClassifyBlock() == GifBlockKind::Unrecognised));
        const bool skipped = splitter.SkipBlock();
        Require(skipped == (length > 0));
        if (!skipped) break;
        Require(splitter.Cursor() == at + static_cast<std::size_t>(length));
        Require(splitter.Cursor() <= data.size());
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    const auto data = std::as_bytes(std::span(bytes, size));
    CheckBlockWalk(data);

    GifSplitter splitter;
    splitter.StartParse(data);
    const std::size_t head = 13 + splitter.GlobalColorTableSize();
    const int count = splitter.CountFrames();
    Require(count == 0 || head <= size);
    splitter.ResetCursor();

    int extracted = 0;
    std::size_t run_floor = head;  // runs follow one another without overlap
    while (const auto frame = splitter.ExtractNextFrame()) {
        ++extracted;
        const std::span<const std::byte> stream = frame->stream;
        const std::size_t end = splitter.Cursor();
        Require(stream.size() >= head + 1 + 8 && end <= size);
        const std::size_t run_length = stream.size() - head - 1;
        Require(end >= run_floor + run_length);
        const auto run = data.subspan(end - run_length, run_length);

        Require(std::ranges::equal(stream.first(head), data.first(head)));
        Require(std::ranges::equal(stream.subspan(head, run_length), run));
        Require(stream.back() == std::byte{0x3B});
        Require(run[0] == std::byte{0x21} || run[0] == std::byte{0x2C});

        Require(frame->disposal <= 7);
        if (frame->delay == GifFrameStream::kNoDelay) {
            // Without a control extension the run is the graphic block alone.
            Require(frame->disposal == 0);
            Require(run[0] == std::byte{0x2C} || run[1] == std::byte{0x01});
        } else {
            Require(run[1] == std::byte{0xF9} && frame->delay == ReadU16(run, 4));
            Require(frame->disposal == (std::to_integer<std::uint32_t>(run[3]) >> 2 & 7));
        }
        for (const std::int32_t v : {frame->width, frame->height, frame->left, frame->top}) {
            Require(v >= 0 && v <= 0xFFFF);
        }
        CheckSplitsIntoItself(*frame);
        run_floor = end;
    }
    // Counting and extraction take the same walk; once it ends it stays ended.
    Require(extracted == count);
    Require(!splitter.ExtractNextFrame());

    splitter.EndParse();
    Require(splitter.CountFrames() == 0);
    return 0;
}
