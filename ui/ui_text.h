#pragma once

#include <array>
#include <string_view>

// The main window's texts that follow the user's language. The program is written with the
// English ones, which every other language falls back to; each platform gives them in the user's
// language through its own translations: Qt's translator, keyed by the English text, and the
// Windows resource script, whose dialog templates and string table (keyed by `stringId`) are in
// English and Korean. The menus, messages and field labels are English in every language.
enum class UiText {
    Caption,
    Close,
    Start,
    Stop,
    DetailsButton,  // the template's caption, before the first fold
    Details,        // once the settings are folded away
    Less,           // once they are shown
    Set,
    Default,
    TestSound,
    StopTest,
    Notice,
    SoundSettings,
    SoundTest,
    RunAtLogon,
    // What a screen reader is told when the sound changes; not on the screen.
    SweepPlaying,
    Stopped,
    TestPlaying,
};

struct UiTextEntry {
    UiText id;
    std::string_view english;
    int stringId;  // in the Windows string table; 0 for texts only the dialog template holds
};

inline constexpr std::array kUiTexts{
    UiTextEntry{UiText::Caption, "Mosquito Repeller v1.0", 0},
    UiTextEntry{UiText::Close, "Close", 0},
    UiTextEntry{UiText::Start, "Start", 0},
    UiTextEntry{UiText::Stop, "Stop", 0},
    UiTextEntry{UiText::DetailsButton, "Details>>", 0},
    UiTextEntry{UiText::Details, "Details >>", 201},
    UiTextEntry{UiText::Less, "Less <<", 202},
    UiTextEntry{UiText::Set, "Set", 0},
    UiTextEntry{UiText::Default, "Default", 0},
    UiTextEntry{UiText::TestSound, "Test Sound", 0},
    UiTextEntry{UiText::StopTest, "Stop Test", 0},
    UiTextEntry{UiText::Notice,
                "This free mosquito repeller is offered by Corvell, the portal for documents and "
                "forms.",
                0},
    UiTextEntry{UiText::SoundSettings, "Sound settings", 0},
    UiTextEntry{UiText::SoundTest, "Speaker test", 0},
    UiTextEntry{UiText::RunAtLogon, "Start at logon", 0},
    UiTextEntry{UiText::SweepPlaying, "sweep playing", 0},
    UiTextEntry{UiText::Stopped, "stopped", 0},
    UiTextEntry{UiText::TestPlaying, "test sound playing", 0},
};

constexpr const UiTextEntry& Entry(UiText id) {
    for (const UiTextEntry& entry : kUiTexts) {
        if (entry.id == id) return entry;
    }
    return kUiTexts.front();
}

constexpr std::string_view English(UiText id) { return Entry(id).english; }

// The languages the program speaks.
enum class UiLanguage { English, Korean };

// The language for a locale or language name ("ko", "ko_KR.UTF-8", "ko-KR"): Korean for Korean,
// English for any other.
constexpr UiLanguage LanguageOf(std::string_view locale) {
    const bool korean = locale.substr(0, 2) == "ko" && (locale.size() == 2 || locale[2] == '_' ||
                                                        locale[2] == '-' || locale[2] == '.');
    return korean ? UiLanguage::Korean : UiLanguage::English;
}
