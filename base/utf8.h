#pragma once

#include <cstddef>
#include <string_view>

// True when `text` is well-formed UTF-8: no overlong forms, no surrogates, nothing above U+10FFFF.
bool IsValidUtf8(std::string_view text);
// The length of the well-formed UTF-8 sequence that starts `text`, or 0 when there is none.
std::size_t Utf8SequenceLength(std::string_view text);
// `text` cut to at most `bytes` bytes without splitting a UTF-8 sequence: the cut moves back to
// the start of the sequence it would fall in.
std::string_view CutUtf8(std::string_view text, std::size_t bytes);
