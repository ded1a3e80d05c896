#include "banner/gif_splitter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string_view>

#include "tests/banner/gif_builder.h"

namespace {

using gif_test::Bytes;
using gif_test::GifBuilder;
using gif_test::kNoTable;

struct Split {
    int count = 0;
    std::vector<GifFrameStream> frames;
};

// The picture control's sequence: count, then extract until nothing comes.
Split SplitAll(std::span<const std::byte> data) {
    GifSplitter splitter;
    splitter.StartParse(data);
    Split split{splitter.CountFrames(), {}};
    splitter.ResetCursor();
    while (auto frame = splitter.ExtractNextFrame()) split.frames.push_back(std::move(*frame));
    EXPECT_FALSE(splitter.ExtractNextFrame()) << "the walk must stay ended";
    splitter.EndParse();
    return split;
}

// Header and global table of `gif`, its bytes [from, to), then a trailer.
Bytes StreamOf(const GifBuilder& gif, std::size_t head, std::size_t from, std::size_t to) {
    Bytes s(gif.bytes.begin(), gif.bytes.begin() + std::ptrdiff_t(head));
    s.insert(s.end(), gif.bytes.begin() + std::ptrdiff_t(from),
             gif.bytes.begin() + std::ptrdiff_t(to));
    s.push_back(std::byte{0x3B});
    return s;
}

TEST(GifSplitterTest, AnimatedGifSplitsIntoStandAloneFrames) {
    GifBuilder gif(7);
    gif.Looping();
    const std::size_t first = gif.size();
    gif.Control(20, 1).Image(0, 0, 300, 100, kNoTable, 1000);
    const std::size_t second = gif.size();
    gif.Control(0x8102, 1).Image(0x0101, 0x0207, 180, 51);
    const std::size_t end = gif.size();
    gif.Trailer();

    GifSplitter splitter;
    splitter.StartParse(gif.bytes);
    EXPECT_EQ(splitter.GlobalColorTableSize(), 768u);
    EXPECT_EQ(splitter.LogicalScreenWidth(), 300);
    EXPECT_EQ(splitter.LogicalScreenHeight(), 100);

    const Split split = SplitAll(gif.bytes);
    EXPECT_EQ(split.count, 2);
    ASSERT_EQ(split.frames.size(), 2u);
    const GifFrameStream& a = split.frames[0];
    EXPECT_EQ(a.stream, StreamOf(gif, 781, first, second));
    EXPECT_EQ(std::tie(a.delay, a.disposal, a.left, a.top, a.width, a.height),
              std::tuple(20u, 1u, 0, 0, 300, 100));
    const GifFrameStream& b = split.frames[1];
    EXPECT_EQ(b.stream, StreamOf(gif, 781, second, end));
    EXPECT_EQ(std::tie(b.delay, b.left, b.top, b.width, b.height),
              std::tuple(0x8102u, 0x0101, 0x0207, 180, 51));

    const std::string_view looping = "NETSCAPE2.0";
    for (const GifFrameStream& frame : split.frames) {
        const std::string_view text(reinterpret_cast<const char*>(frame.stream.data()),
                                    frame.stream.size());
        EXPECT_EQ(text.find(looping), std::string_view::npos);
    }
}

// The control extension's block-size byte is not trusted either: it is always 8 bytes long.
TEST(GifSplitterTest, DisposalIsBitsTwoToFourWhateverTheOtherBits) {
    GifBuilder gif;
    for (unsigned disposal = 0; disposal < 8; ++disposal) {
        gif.Control(0x8001 + disposal * 0x0101, disposal, 0xE3, disposal * 0x20).Image(1, 1, 1, 1);
    }
    const Split split = SplitAll(gif.bytes);
    ASSERT_EQ(split.frames.size(), 8u);
    for (unsigned disposal = 0; disposal < 8; ++disposal) {
        EXPECT_EQ(split.frames[disposal].disposal, disposal);
        EXPECT_EQ(split.frames[disposal].delay, 0x8001 + disposal * 0x0101);
    }
}

TEST(GifSplitterTest, ARunHoldsItsControlExtensionToTheEndOfItsGraphicBlock) {
    GifBuilder gif(0);
    const std::size_t commented = gif.size();
    gif.Control(7, 2).Comment(300).Image(2, 3, 4, 5);
    const std::size_t commented_end = gif.size();
    const std::size_t bare = gif.Comment(3).size();
    gif.Image(6, 7, 8, 9);
    const std::size_t text = gif.size();
    gif.Control(5, 3).Looping().PlainText();
    const std::size_t bare_text = gif.size();
    gif.PlainText();
    const std::size_t doubled = gif.size();
    gif.Control(1, 0).Control(2, 0);  // the second one stands as the graphic block
    const std::size_t end = gif.size();
    gif.Trailer();

    const Split split = SplitAll(gif.bytes);
    EXPECT_EQ(split.count, 5);
    ASSERT_EQ(split.frames.size(), 5u);
    const GifFrameStream& a = split.frames[0];
    EXPECT_EQ(a.stream, StreamOf(gif, 19, commented, commented_end));
    EXPECT_EQ(std::tie(a.delay, a.disposal, a.width), std::tuple(7u, 2u, 4));

    const GifFrameStream& b = split.frames[1];
    EXPECT_EQ(b.stream, StreamOf(gif, 19, bare, text));
    EXPECT_EQ(std::tie(b.delay, b.disposal, b.left, b.top, b.width, b.height),
              std::tuple(GifFrameStream::kNoDelay, 0u, 6, 7, 8, 9));

    const GifFrameStream& c = split.frames[2];
    EXPECT_EQ(c.stream, StreamOf(gif, 19, text, bare_text));
    EXPECT_EQ(std::tie(c.delay, c.disposal, c.left, c.top, c.width, c.height),
              std::tuple(5u, 3u, 0, 0, 0, 0));

    EXPECT_EQ(split.frames[3].stream, StreamOf(gif, 19, bare_text, doubled));
    EXPECT_EQ(split.frames[3].delay, GifFrameStream::kNoDelay);
    EXPECT_EQ(split.frames[4].stream, StreamOf(gif, 19, doubled, end));
    EXPECT_EQ(split.frames[4].delay, 1u);
}

TEST(GifSplitterTest, ColorTablesOfEverySizeAreSkippedWhole) {
    for (int bits = 0; bits < 8; ++bits) {
        SCOPED_TRACE(bits);
        GifBuilder gif(bits, "87a");
        const std::size_t head = gif.size();
        gif.Image(0, 0, 1, 1, bits, 3);
        const std::size_t second = gif.size();
        gif.Image(0, 0, 2, 2).Trailer();

        GifSplitter splitter;
        splitter.StartParse(gif.bytes);
        EXPECT_EQ(splitter.GlobalColorTableSize(), std::size_t{3} << (bits + 1));
        const Split split = SplitAll(gif.bytes);
        EXPECT_EQ(split.count, 2);
        ASSERT_EQ(split.frames.size(), 2u);
        EXPECT_EQ(split.frames[0].stream, StreamOf(gif, head, head, second));
        EXPECT_EQ(split.frames[1].width, 2);
    }
}

TEST(GifSplitterTest, NoFrameWhereTheFirstBlockCannotStartOne) {
    const GifBuilder header(1);  // 13 + 12 bytes
    const auto with = [&](std::initializer_list<unsigned> tail) {
        GifBuilder gif = header;
        for (unsigned b : tail) gif.Byte(b);
        return gif.bytes;
    };
    const std::vector<Bytes> cases = {
        {},
        Bytes(header.bytes.begin(), header.bytes.begin() + 11),
        Bytes(header.bytes.begin(), header.bytes.end() - 1),  // the table ends too soon
        header.bytes,
        with({0x3B}),
        with({0x00, 0x2C}),
        with({0x21, 0x02, 0x00}),  // an extension label nobody knows
        with({0x21}),
        with({0x21, 0xFE, 0x00}),     // a comment alone
        with({0x21, 0xF9, 4, 0, 0}),  // a control extension cut short
    };
    for (const Bytes& data : cases) {
        SCOPED_TRACE(data.size());
        const Split split = SplitAll(data);
        EXPECT_EQ(split.count, 0);
        EXPECT_TRUE(split.frames.empty());
    }
}

TEST(GifSplitterTest, TheWalkStopsAtABrokenBlockAndKeepsTheFramesBeforeIt) {
    GifBuilder good(0);
    good.Control(1, 0).Image(0, 0, 1, 1);
    const std::size_t end = good.size();
    const auto after = [&](auto&& add) {
        GifBuilder gif = good;
        add(gif);
        return gif.bytes;
    };
    const auto cut = [](Bytes data, std::size_t drop) {
        data.resize(data.size() - drop);
        return data;
    };
    const std::vector<Bytes> cases = {
        after([](GifBuilder& g) { g.Control(1, 0).Trailer(); }),
        after([](GifBuilder& g) { g.Control(1, 0).Comment(1).Byte(0x21).Byte(0x02); }),
        after([](GifBuilder& g) { g.Byte(0).Image(0, 0, 1, 1); }),
        cut(after([](GifBuilder& g) { g.Control(1, 0).Image(0, 0, 1, 1); }), 1),
        cut(after([](GifBuilder& g) { g.Image(0, 0, 1, 1, 7); }), 1 + 42 + 1),  // in the table
        // Cut before the image's packed byte.
        cut(after([](GifBuilder& g) { g.Image(0, 0, 1, 1); }), 1 + 42 + 1),
        cut(after([](GifBuilder& g) { g.Comment(600); }), 1),
        cut(after([](GifBuilder& g) { g.Looping(); }), 3),
        cut(after([](GifBuilder& g) { g.PlainText(); }), 7),
    };
    for (std::size_t i = 0; i < cases.size(); ++i) {
        SCOPED_TRACE(i);
        const Split split = SplitAll(cases[i]);
        EXPECT_EQ(split.count, 1);
        ASSERT_EQ(split.frames.size(), 1u);
        EXPECT_EQ(split.frames[0].stream, StreamOf(good, 19, 19, end));
    }
}

TEST(GifSplitterTest, BlockWalkGivesEachKindAndLength) {
    GifBuilder gif(2);
    gif.Looping().Comment(600).Control(1, 1).PlainText().Image(0, 0, 1, 1, 1, 255).Trailer();
    gif.Byte(0x21).Byte(0x2C);
    const std::vector<std::pair<GifBlockKind, std::int64_t>> expected = {
        {GifBlockKind::ApplicationExtension, 19},   {GifBlockKind::CommentExtension, 2 + 604},
        {GifBlockKind::GraphicControlExtension, 8}, {GifBlockKind::PlainTextExtension, 15 + 7},
        {GifBlockKind::Image, 11 + 12 + 257},       {GifBlockKind::Trailer, 1},
        {GifBlockKind::Unrecognised, -1},
    };
    GifSplitter splitter;
    splitter.StartParse(gif.bytes);
    EXPECT_EQ(splitter.SubBlockChainLength(13 + 24 + 14), 5u);
    for (const auto& [kind, length] : expected) {
        EXPECT_EQ(splitter.ClassifyBlock(), kind);
        EXPECT_EQ(splitter.BlockLength(), length);
        EXPECT_EQ(splitter.SkipBlock(), length > 0);
    }
    EXPECT_EQ(splitter.Cursor(), gif.size() - 2);

    gif.bytes.resize(13 + 24 + 14 + 4);  // the looping extension's chain loses its terminator
    splitter.StartParse(gif.bytes);
    EXPECT_EQ(splitter.SubBlockChainLength(13 + 24 + 14), 0u);
    EXPECT_EQ(splitter.BlockLength(), 0);
    EXPECT_FALSE(splitter.SkipBlock());
    EXPECT_EQ(splitter.Cursor(), 13u + 24u);
}

TEST(GifSplitterTest, EveryTruncationOfAValidGifGivesAPrefixOfItsFrames) {
    GifBuilder gif(1);
    gif.Looping();
    std::vector<std::size_t> frame_ends;
    gif.Control(10, 2).Comment(20).Image(1, 2, 3, 4, 0, 300);
    frame_ends.push_back(gif.size());
    gif.Comment(2).PlainText();
    frame_ends.push_back(gif.size());
    gif.Control(30, 1).Image(5, 6, 7, 8);
    frame_ends.push_back(gif.size());
    gif.Trailer();
    const Split whole = SplitAll(gif.bytes);
    ASSERT_EQ(whole.frames.size(), 3u);

    for (std::size_t length = 0; length <= gif.size(); ++length) {
        SCOPED_TRACE(length);
        // A copy of exactly `length` bytes, so that a sanitizer sees any read past its end. A cut
        // right after a graphic block keeps that frame, and the walk then ends at the data's end.
        const Bytes data(gif.bytes.begin(), gif.bytes.begin() + std::ptrdiff_t(length));
        const auto complete = std::count_if(frame_ends.begin(), frame_ends.end(),
                                            [&](std::size_t e) { return e <= length; });
        const Split split = SplitAll(data);
        EXPECT_EQ(split.count, complete);
        ASSERT_EQ(split.frames.size(), std::size_t(complete));
        for (std::size_t i = 0; i < split.frames.size(); ++i) {
            EXPECT_EQ(split.frames[i].stream, whole.frames[i].stream);
            EXPECT_EQ(split.frames[i].delay, whole.frames[i].delay);
        }
    }
}

TEST(GifSplitterTest, NothingIsFoundAfterEndParse) {
    GifBuilder gif;
    gif.Image(0, 0, 1, 1).Trailer();
    GifSplitter splitter;
    splitter.StartParse(gif.bytes);
    splitter.EndParse();
    EXPECT_EQ(splitter.CountFrames(), 0);
    EXPECT_FALSE(splitter.ExtractNextFrame());
}

TEST(GifSplitterTest, OnlyTheTwoKnownVersionsAreSplit) {
    const auto splittable = [](std::string_view s) {
        return GifSplitter::IsSplittableGif(std::as_bytes(std::span(s.data(), s.size())));
    };
    EXPECT_TRUE(splittable("GIF87a"));
    EXPECT_TRUE(splittable("GIF89a\x2c\x01"));
    EXPECT_FALSE(splittable("GIF90a\x2c\x01"));
    EXPECT_FALSE(splittable("GIF89b"));
    EXPECT_FALSE(splittable("GIF89"));
    EXPECT_FALSE(splittable("\x89PNG\r\n"));
}

}  // namespace
