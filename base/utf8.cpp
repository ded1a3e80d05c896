#include "base/utf8.h"

#include <cstdint>

std::size_t Utf8SequenceLength(std::string_view text) {
    if (text.empty()) return 0;
    const auto b = [&](std::size_t i) { return static_cast<std::uint8_t>(text[i]); };
    const std::uint8_t lead = b(0);
    if (lead < 0x80) return 1;
    std::size_t length = 0;
    std::uint8_t low = 0x80, high = 0xBF;  // allowed range of the second byte
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0) low = 0xA0;
        if (lead == 0xED) high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0) low = 0x90;
        if (lead == 0xF4) high = 0x8F;
    } else {
        return 0;
    }
    if (text.size() < length) return 0;
    if (b(1) < low || b(1) > high) return 0;
    for (std::size_t i = 2; i < length; ++i) {
        if (b(i) < 0x80 || b(i) > 0xBF) return 0;
    }
    return length;
}

bool IsValidUtf8(std::string_view text) {
    while (!text.empty()) {
        const std::size_t n = Utf8SequenceLength(text);
        if (n == 0) return false;
        text.remove_prefix(n);
    }
    return true;
}

std::string_view CutUtf8(std::string_view text, std::size_t bytes) {
    if (text.size() <= bytes) return text;
    while (bytes > 0 && (static_cast<unsigned char>(text[bytes]) & 0xC0) == 0x80) --bytes;
    return text.substr(0, bytes);
}
