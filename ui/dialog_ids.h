#pragma once

// Control and command identifiers of the main window, shared by every platform's window.
namespace ids {
// Buttons, which send their own id as command.
inline constexpr int kClose = 1007;
inline constexpr int kStart = 131;
inline constexpr int kStop = 132;
inline constexpr int kDetails = 133;
inline constexpr int kSet = 6;
inline constexpr int kDefault = 7;
inline constexpr int kTestSound = 3;
inline constexpr int kStopTest = 4;
// Edits.
inline constexpr int kFrequency1 = 1002;
inline constexpr int kFrequency2 = 1003;
inline constexpr int kDelay = 1004;
inline constexpr int kStep = 1005;
inline constexpr int kRunAtLogon = 1006;
// Labels.
inline constexpr int kBanner = 1010;
inline constexpr int kNotice = 1011;
inline constexpr int kFrequencyLabel = 1014;
inline constexpr int kToLabel = 1015;
inline constexpr int kHzLabel = 1016;
inline constexpr int kDelayLabel = 1017;
inline constexpr int kStepLabel = 1018;
inline constexpr int kRunAtLogonLabel = 1019;
inline constexpr int kSoundSettingsLabel = 1020;
inline constexpr int kSoundTestLabel = 1021;
// Menu-only commands.
inline constexpr int kExit = 32778;
inline constexpr int kOpen = 32779;
inline constexpr int kAbout = 57664;
// Resources.
inline constexpr int kMainDialog = 102;
inline constexpr int kMenuBar = 129;
inline constexpr int kTrayMenu = 149;
inline constexpr int kDialogIcon = 128;
inline constexpr int kTrayIcon = 165;
inline constexpr int kSpeakerBitmap = 148;
}  // namespace ids
