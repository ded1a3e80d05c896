#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

// The kind of block at the splitter's cursor; the values are fixed.
enum class GifBlockKind {
    Unrecognised = 0,
    ApplicationExtension = 1,
    CommentExtension = 2,
    GraphicControlExtension = 3,
    PlainTextExtension = 4,
    Image = 5,
    Trailer = 6,
};

// One frame cut out of an animated GIF: a stand-alone GIF of that frame alone, and where and how
// long it is shown.
struct GifFrameStream {
    static constexpr std::uint32_t kNoDelay = 0xFFFFFFFF;

    // The source's header, screen descriptor and global color table, the frame's run of blocks
    // (control extension, if any, to the end of its graphic block), then a trailer.
    std::vector<std::byte> stream;
    std::uint32_t delay = kNoDelay;  // hundredths of a second; kNoDelay without a control extension
    std::uint32_t disposal = 0;      // 0..7
    std::int32_t width = 0;          // width to top stay 0 for a plain-text frame
    std::int32_t height = 0;
    std::int32_t left = 0;
    std::int32_t top = 0;
};

// Cuts a GIF87a/GIF89a file into one-frame GIF streams that a picture decoder can read one by one.
// Only the block structure is checked: color tables and image data are copied as they are. Every
// failure reads as "no frame" or false; nothing outside the data given is ever read.
class GifSplitter {
public:
    // True for data that starts with "GIF87a" or "GIF89a". Data that starts with "GIF" and another
    // version is better handed to the decoder whole: its blocks may not be the ones walked here.
    static bool IsSplittableGif(std::span<const std::byte> data);

    // Starts a walk over `data`, which must outlive it, with the cursor on the first block.
    void StartParse(std::span<const std::byte> data);
    // Forgets the data; every operation then fails until the next StartParse.
    void EndParse();
    // Puts the cursor back on the first block after the global color table.
    void ResetCursor();

    GifBlockKind ClassifyBlock() const;
    // Length of the sub-block chain at `offset`, terminator included; 0 when the data ends first.
    std::size_t SubBlockChainLength(std::size_t offset) const;
    // Length of the block at the cursor: -1 when unrecognised, 0 when it runs past the data.
    std::int64_t BlockLength() const;
    [[nodiscard]] bool SkipBlock();
    // Moves the cursor past the next frame: its control extension, if any, and its graphic block.
    [[nodiscard]] bool SkipToNextGraphic();
    // Frames from the first block on; leaves the cursor after the last one.
    int CountFrames();
    // The frame at the cursor, moving the cursor past it; nothing once the walk has ended.
    std::optional<GifFrameStream> ExtractNextFrame();

    int LogicalScreenWidth() const { return ReadU16(6); }
    int LogicalScreenHeight() const { return ReadU16(8); }
    std::size_t GlobalColorTableSize() const { return global_table_size_; }
    std::size_t Cursor() const { return cursor_; }

private:
    [[nodiscard]] bool SkipExtensionsBeforeGraphic();
    // 0 for bytes outside the data.
    std::uint8_t ByteAt(std::size_t offset) const;
    std::uint16_t ReadU16(std::size_t offset) const;

    std::span<const std::byte> data_;  // empty outside a parse
    std::size_t global_table_size_ = 0;
    std::size_t cursor_ = 0;
};
