#include "ui/dialog_layout.h"

#include <array>

#include "ui/dialog_ids.h"
#include "ui/ui_text.h"

namespace layout {
namespace {

constexpr std::array kControls{
    Control{ids::kClose, Kind::PushButton, English(UiText::Close), 155, 115, 44, 14, true},
    Control{ids::kStart, Kind::PushButton, English(UiText::Start), 7, 115, 44, 14},
    Control{ids::kStop, Kind::PushButton, English(UiText::Stop), 55, 115, 44, 14},
    Control{ids::kDetails, Kind::PushButton, English(UiText::DetailsButton), 103, 115, 48, 14},
    Control{ids::kFrequencyLabel, Kind::Label, "Frequency", 13, 145, 34, 8},
    Control{ids::kFrequency1, Kind::Edit, "", 50, 145, 30, 12},
    Control{ids::kToLabel, Kind::Label, "(Hz) to", 83, 145, 22, 8},
    Control{ids::kFrequency2, Kind::Edit, "", 107, 145, 30, 12},
    Control{ids::kDelayLabel, Kind::Label, "Delay", 14, 161, 19, 8},
    Control{ids::kDelay, Kind::Edit, "", 50, 161, 30, 12},
    Control{ids::kStepLabel, Kind::Label, "Step", 88, 161, 16, 8},
    Control{ids::kStep, Kind::Edit, "", 107, 161, 30, 12},
    Control{ids::kSet, Kind::PushButton, English(UiText::Set), 156, 145, 44, 14, false, true},
    Control{ids::kDefault, Kind::PushButton, English(UiText::Default), 156, 163, 44, 14, false,
            true},
    Control{ids::kTestSound, Kind::PushButton, English(UiText::TestSound), 51, 194, 56, 14, false,
            true},
    Control{ids::kStopTest, Kind::PushButton, English(UiText::StopTest), 114, 194, 49, 14, false,
            true},
    Control{ids::kRunAtLogon, Kind::CheckBox, "", 11, 102, 9, 8},
    Control{ids::kHzLabel, Kind::Label, "(Hz)", 140, 145, 14, 8},
    Control{0, Kind::Bitmap, "", 8, 179, 11, 10},
    Control{ids::kNotice, Kind::Label, English(UiText::Notice), 17, 75, 183, 21},
    Control{0, Kind::GroupBox, "", 7, 66, 193, 33},
    Control{ids::kBanner, Kind::Banner, "Banner ...", 18, 2, 88, 31},
    Control{ids::kSoundSettingsLabel, Kind::Label, English(UiText::SoundSettings), 7, 134, 43, 8},
    Control{ids::kSoundTestLabel, Kind::Label, English(UiText::SoundTest), 20, 180, 77, 8},
    Control{ids::kRunAtLogonLabel, Kind::Label, English(UiText::RunAtLogon), 23, 102, 61, 8},
};

}  // namespace

std::span<const Control> Controls() { return kControls; }

const Control* FindControl(int id) {
    for (const Control& c : kControls) {
        if (c.id == id && id != 0) return &c;
    }
    return nullptr;
}

namespace {

// dlu * reference / units, rounded half away from zero as the window system's dialog-unit
// conversion rounds.
int Convert(int dlu, int reference, int units) {
    const long long twice = 2LL * dlu * reference;
    return static_cast<int>((twice + (dlu >= 0 ? units : -units)) / (2LL * units));
}

}  // namespace

int HorizontalPixels(int dlu, int reference) {
    return Convert(dlu, reference, kReferenceUnits.width);
}
int VerticalPixels(int dlu, int reference) {
    return Convert(dlu, reference, kReferenceUnits.height);
}

Rect ToPixels(const Control& c, Size reference) {
    return {HorizontalPixels(c.x, reference.width), VerticalPixels(c.y, reference.height),
            HorizontalPixels(c.x + c.width, reference.width),
            VerticalPixels(c.y + c.height, reference.height)};
}

Size ClientPixels(Size reference) {
    return {HorizontalPixels(kWidthDlu, reference.width),
            VerticalPixels(kHeightDlu, reference.height)};
}

}  // namespace layout
