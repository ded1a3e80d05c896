#pragma once

// Resource id of the test melody: little-endian 16-bit pairs (frequency in Hz, length in 10 ms).
inline constexpr int IDR_TEST_MELODY = 139;
