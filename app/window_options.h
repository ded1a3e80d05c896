#pragma once

#include <span>
#include <string>
#include <string_view>

// The command line of drovane: --help and --version print and end the program before it opens a
// window; every other argument is left to the toolkit (Qt's -platform, -style and the like).
enum class WindowCommand { Run, Help, Version };

WindowCommand ParseWindowArguments(std::span<const std::string_view> args);

std::string WindowUsage();
