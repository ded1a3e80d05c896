#include "banner/gif_splitter.h"

#include <algorithm>

namespace {

constexpr std::size_t kHeaderSize = 13;  // signature, version and logical screen descriptor
constexpr std::uint8_t kExtensionIntroducer = 0x21;
constexpr std::uint8_t kImageSeparator = 0x2C;
constexpr std::uint8_t kTrailer = 0x3B;

// Size in bytes of a color table whose packed byte is `packed`: bit 7 says there is one,
// bits 0-2 give 2^(N+1) entries of 3 bytes.
std::size_t ColorTableSize(std::uint8_t packed) {
    return (packed & 0x80) ? std::size_t{3} << ((packed & 0x07) + 1) : 0;
}

bool IsSkippedBeforeGraphic(GifBlockKind kind) {
    return kind == GifBlockKind::ApplicationExtension || kind == GifBlockKind::CommentExtension;
}

bool EndsWalk(GifBlockKind kind) {
    return kind == GifBlockKind::Unrecognised || kind == GifBlockKind::Trailer;
}

}  // namespace

bool GifSplitter::IsSplittableGif(std::span<const std::byte> data) {
    static constexpr char k87a[] = "GIF87a";
    static constexpr char k89a[] = "GIF89a";
    if (data.size() < 6) return false;
    const auto matches = [&](const char* signature) {
        return std::equal(data.begin(), data.begin() + 6, signature,
                          [](std::byte b, char c) { return b == static_cast<std::byte>(c); });
    };
    return matches(k87a) || matches(k89a);
}

void GifSplitter::StartParse(std::span<const std::byte> data) {
    data_ = data;
    global_table_size_ = ColorTableSize(ByteAt(10));
    ResetCursor();
}

// Without data every walk ends at once.
void GifSplitter::EndParse() { data_ = {}; }

void GifSplitter::ResetCursor() { cursor_ = kHeaderSize + global_table_size_; }

std::uint8_t GifSplitter::ByteAt(std::size_t offset) const {
    return offset < data_.size() ? std::to_integer<std::uint8_t>(data_[offset]) : 0;
}

std::uint16_t GifSplitter::ReadU16(std::size_t offset) const {
    return static_cast<std::uint16_t>(ByteAt(offset) | ByteAt(offset + 1) << 8);
}

GifBlockKind GifSplitter::ClassifyBlock() const {
    if (cursor_ >= data_.size()) return GifBlockKind::Unrecognised;
    switch (ByteAt(cursor_)) {
        case kImageSeparator:
            return GifBlockKind::Image;
        case kTrailer:
            return GifBlockKind::Trailer;
        case kExtensionIntroducer:
            // An introducer in the last byte has no label: nothing to recognise.
            if (cursor_ + 1 >= data_.size()) return GifBlockKind::Unrecognised;
            switch (ByteAt(cursor_ + 1)) {
                case 0x01:
                    return GifBlockKind::PlainTextExtension;
                case 0xF9:
                    return GifBlockKind::GraphicControlExtension;
                case 0xFE:
                    return GifBlockKind::CommentExtension;
                case 0xFF:
                    return GifBlockKind::ApplicationExtension;
            }
            break;
    }
    return GifBlockKind::Unrecognised;
}

std::size_t GifSplitter::SubBlockChainLength(std::size_t offset) const {
    // Each step lands on the next length byte, at most 256 bytes further: no size_t wrap for any
    // span that can exist.
    for (std::size_t at = offset; at < data_.size(); at += std::size_t{ByteAt(at)} + 1) {
        if (ByteAt(at) == 0) return at + 1 - offset;
    }
    return 0;
}

std::int64_t GifSplitter::BlockLength() const {
    const std::size_t left = cursor_ < data_.size() ? data_.size() - cursor_ : 0;
    // A fixed part, then a chain; 0 when either does not fit in the data.
    const auto with_chain = [&](std::size_t fixed) -> std::int64_t {
        if (fixed >= left) return 0;
        const std::size_t chain = SubBlockChainLength(cursor_ + fixed);
        return chain == 0 ? 0 : static_cast<std::int64_t>(fixed + chain);
    };
    switch (ClassifyBlock()) {
        case GifBlockKind::Unrecognised:
            return -1;
        case GifBlockKind::ApplicationExtension:
            return with_chain(14);
        case GifBlockKind::CommentExtension:
            return with_chain(2);
        case GifBlockKind::GraphicControlExtension:
            // Fixed size: its block-size byte is not trusted.
            return left >= 8 ? 8 : 0;
        case GifBlockKind::PlainTextExtension:
            return with_chain(15);
        case GifBlockKind::Image:
            // The packed byte at offset 9 must be there before the local table's size is known.
            if (left < 10) return 0;
            return with_chain(11 + ColorTableSize(ByteAt(cursor_ + 9)));
        case GifBlockKind::Trailer:
            return 1;
    }
    return -1;
}

bool GifSplitter::SkipBlock() {
    const std::int64_t length = BlockLength();
    if (length <= 0) return false;
    const auto size = static_cast<std::size_t>(length);
    // BlockLength keeps blocks inside the data; the cursor is checked again as it moves.
    if (cursor_ > data_.size() || size > data_.size() - cursor_) return false;
    cursor_ += size;
    return true;
}

// Leaves the cursor on the first block that is neither an application nor a comment extension.
bool GifSplitter::SkipExtensionsBeforeGraphic() {
    while (IsSkippedBeforeGraphic(ClassifyBlock())) {
        if (!SkipBlock()) return false;
    }
    return true;
}

bool GifSplitter::SkipToNextGraphic() {
    if (!SkipExtensionsBeforeGraphic() || EndsWalk(ClassifyBlock())) return false;
    if (ClassifyBlock() == GifBlockKind::GraphicControlExtension) {
        if (!SkipBlock() || !SkipExtensionsBeforeGraphic() || EndsWalk(ClassifyBlock())) {
            return false;
        }
    }
    // Whatever follows is the graphic block: a second control extension in a row stands as one,
    // here and in ExtractNextFrame alike, so counting and extraction always agree.
    return SkipBlock();
}

int GifSplitter::CountFrames() {
    ResetCursor();
    int count = 0;
    while (SkipToNextGraphic()) ++count;
    return count;
}

std::optional<GifFrameStream> GifSplitter::ExtractNextFrame() {
    if (!SkipExtensionsBeforeGraphic() || EndsWalk(ClassifyBlock())) {
        return std::nullopt;
    }
    GifFrameStream frame;
    const std::size_t run_start = cursor_;
    if (ClassifyBlock() == GifBlockKind::GraphicControlExtension) {
        if (!SkipBlock()) return std::nullopt;
        // Read only once the skip has shown the whole extension to be in the data.
        frame.disposal = (ByteAt(run_start + 3) >> 2) & 0x07u;
        frame.delay = ReadU16(run_start + 4);
        if (!SkipExtensionsBeforeGraphic() || EndsWalk(ClassifyBlock())) return std::nullopt;
    }
    const std::size_t graphic_start = cursor_;
    const bool is_image = ClassifyBlock() == GifBlockKind::Image;
    if (!SkipBlock()) return std::nullopt;
    if (is_image) {
        frame.left = ReadU16(graphic_start + 1);
        frame.top = ReadU16(graphic_start + 3);
        frame.width = ReadU16(graphic_start + 5);
        frame.height = ReadU16(graphic_start + 7);
    }

    // The run lies inside the data, so the header and table before it do too.
    const std::size_t head = kHeaderSize + global_table_size_;
    const auto source = data_.first(head);
    const auto run = data_.subspan(run_start, cursor_ - run_start);
    frame.stream.reserve(head + run.size() + 1);
    frame.stream.insert(frame.stream.end(), source.begin(), source.end());
    frame.stream.insert(frame.stream.end(), run.begin(), run.end());
    frame.stream.push_back(std::byte{kTrailer});
    return frame;
}
