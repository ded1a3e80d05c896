#pragma once

#include <string>
#include <string_view>

// The program keeps its texts in UTF-8; Windows' wide calls take UTF-16. Malformed input becomes
// U+FFFD rather than being dropped.
std::wstring Widen(std::string_view utf8);
std::string Narrow(std::wstring_view utf16);
