#include "app/window_options.h"

#include <algorithm>
#include <initializer_list>

WindowCommand ParseWindowArguments(std::span<const std::string_view> args) {
    const auto given = [&](std::initializer_list<std::string_view> names) {
        return std::ranges::find_first_of(args, names) != args.end();
    };
    if (given({"--help", "-h"})) return WindowCommand::Help;
    if (given({"--version"})) return WindowCommand::Version;
    return WindowCommand::Run;
}

std::string WindowUsage() {
    return "Usage: drovane [--help | --version] [Qt options]\n"
           "\n"
           "Plays a looping sweep of high-pitched tones meant to keep mosquitoes away, with a\n"
           "window and an icon in the notification area. Closing the window hides it; File >\n"
           "Exit ends the program. Starting it again brings the running copy forward.\n"
           "\n"
           "  --help       show this help and exit\n"
           "  --version    show the version and exit\n"
           "\n"
           "Qt's own options (-platform, -style and others) are passed on to Qt. The settings\n"
           "are kept in ~/.config/drovane/registry.ini; 'drovane-play settings' shows them.\n"
           "Report bugs at " DROVANE_BUGS_URL "\n";
}
