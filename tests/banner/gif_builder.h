#pragma once

#include <algorithm>
#include <cstddef>
#include <string_view>
#include <vector>

// Builds GIFs block by block for the banner's tests. The logical screen is 300 x 100 unless set.
namespace gif_test {

using Bytes = std::vector<std::byte>;
constexpr int kNoTable = -1;

// Writes a GIF block by block. Color tables are all zero, so a walk that lands inside one finds
// an unrecognised block; sub-block data holds bytes that look like block starts.
class GifBuilder {
public:
    explicit GifBuilder(int global_bits = kNoTable, std::string_view version = "89a") {
        Text("GIF");
        Text(version);
        U16(300).U16(100).Table(global_bits, 0).Byte(0).Byte(0);
        if (global_bits != kNoTable) Zeros(std::size_t{3} << (global_bits + 1));
    }
    // Sets the logical screen's size.
    GifBuilder& Screen(unsigned width, unsigned height) {
        bytes[6] = static_cast<std::byte>(width & 0xFF);
        bytes[7] = static_cast<std::byte>(width >> 8 & 0xFF);
        bytes[8] = static_cast<std::byte>(height & 0xFF);
        bytes[9] = static_cast<std::byte>(height >> 8 & 0xFF);
        return *this;
    }
    GifBuilder& Looping() {
        Byte(0x21).Byte(0xFF).Byte(11).Text("NETSCAPE2.0");
        return Byte(3).Byte(1).U16(0).Byte(0);
    }
    GifBuilder& Comment(std::size_t length) { return Byte(0x21).Byte(0xFE).Chain(length); }
    GifBuilder& Control(unsigned delay, unsigned disposal, unsigned other_bits = 0,
                        unsigned block_size = 4) {
        Byte(0x21).Byte(0xF9).Byte(block_size).Byte(disposal << 2 | other_bits);
        return U16(delay).Byte(0).Byte(0);
    }
    GifBuilder& Image(unsigned left, unsigned top, unsigned width, unsigned height,
                      int local_bits = kNoTable, std::size_t data_length = 40) {
        Byte(0x2C).U16(left).U16(top).U16(width).U16(height).Table(local_bits, 0x40);
        if (local_bits != kNoTable) Zeros(std::size_t{3} << (local_bits + 1));
        return Byte(8).Chain(data_length);
    }
    // Sets entry `index` of the global color table.
    GifBuilder& GlobalColor(std::size_t index, unsigned red, unsigned green, unsigned blue) {
        bytes[13 + 3 * index] = static_cast<std::byte>(red);
        bytes[13 + 3 * index + 1] = static_cast<std::byte>(green);
        bytes[13 + 3 * index + 2] = static_cast<std::byte>(blue);
        return *this;
    }
    // An image that decoders can read: `indices` (0..3, row by row) as LZW data with a minimum
    // code size of 2, where a clear code before every second pixel keeps all codes 3 bits wide.
    GifBuilder& PixelImage(unsigned left, unsigned top, unsigned width, unsigned height,
                           const std::vector<unsigned>& indices) {
        Byte(0x2C).U16(left).U16(top).U16(width).U16(height).Byte(0).Byte(2);
        std::vector<unsigned> data;
        unsigned bits = 0;
        int count = 0;
        const auto code = [&](unsigned c) {
            bits |= c << count;
            count += 3;
            for (; count >= 8; count -= 8, bits >>= 8) data.push_back(bits & 0xFF);
        };
        for (std::size_t i = 0; i < indices.size(); ++i) {
            if (i % 2 == 0) code(4);  // clear
            code(indices[i]);
        }
        code(5);  // end of information
        if (count > 0) data.push_back(bits & 0xFF);
        for (std::size_t i = 0; i < data.size(); i += 255) {
            const std::size_t n = std::min<std::size_t>(255, data.size() - i);
            Byte(unsigned(n));
            for (std::size_t j = i; j < i + n; ++j) Byte(data[j]);
        }
        return Byte(0);
    }
    GifBuilder& PlainText() {
        Byte(0x21).Byte(0x01).Byte(12);
        for (int i = 0; i < 12; ++i) Byte(1);
        return Chain(5);
    }
    GifBuilder& Trailer() { return Byte(0x3B); }
    GifBuilder& Byte(unsigned b) {
        bytes.push_back(static_cast<std::byte>(b));
        return *this;
    }
    std::size_t size() const { return bytes.size(); }

    Bytes bytes;

private:
    GifBuilder& Text(std::string_view s) {
        for (char c : s) Byte(static_cast<unsigned char>(c));
        return *this;
    }
    GifBuilder& U16(unsigned v) { return Byte(v & 0xFF).Byte(v >> 8 & 0xFF); }
    GifBuilder& Table(int bits, unsigned other_bits) {
        return Byte(bits == kNoTable ? other_bits : 0x80 | other_bits | unsigned(bits));
    }
    GifBuilder& Zeros(std::size_t n) {
        bytes.resize(bytes.size() + n);
        return *this;
    }
    // Sub-blocks of at most 255 bytes, then the terminator.
    GifBuilder& Chain(std::size_t length) {
        static constexpr unsigned kLookAlikes[] = {0x00, 0x21, 0x2C, 0x3B, 0xF9, 0xFF};
        for (std::size_t i = 0; i < length; ++i) {
            if (i % 255 == 0) Byte(unsigned(std::min<std::size_t>(255, length - i)));
            Byte(kLookAlikes[i % 6]);
        }
        return Byte(0);
    }
};

}  // namespace gif_test
