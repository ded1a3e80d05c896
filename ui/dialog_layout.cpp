#include "ui/dialog_layout.h"

#include <array>

#include "ui/dialog_ids.h"

namespace layout {
namespace {

constexpr std::array kControls{
    Control{ids::kClose, Kind::PushButton, "닫기", 155, 115, 44, 14, true},
    Control{ids::kStart, Kind::PushButton, "시작", 7, 115, 44, 14},
    Control{ids::kStop, Kind::PushButton, "멈춤", 55, 115, 44, 14},
    Control{ids::kDetails, Kind::PushButton, "상세보기>>", 103, 115, 48, 14},
    Control{ids::kFrequencyLabel, Kind::Label, "Frequency", 13, 145, 34, 8},
    Control{ids::kFrequency1, Kind::Edit, "", 50, 145, 30, 12},
    Control{ids::kToLabel, Kind::Label, "(Hz) to", 83, 145, 22, 8},
    Control{ids::kFrequency2, Kind::Edit, "", 107, 145, 30, 12},
    Control{ids::kDelayLabel, Kind::Label, "Delay", 14, 161, 19, 8},
    Control{ids::kDelay, Kind::Edit, "", 50, 161, 30, 12},
    Control{ids::kStepLabel, Kind::Label, "Step", 88, 161, 16, 8},
    Control{ids::kStep, Kind::Edit, "", 107, 161, 30, 12},
    Control{ids::kSet, Kind::PushButton, "설정", 156, 145, 44, 14, false, true},
    Control{ids::kDefault, Kind::PushButton, "기본값", 156, 163, 44, 14, false, true},
    Control{ids::kTestSound, Kind::PushButton, "사운드 테스트", 51, 194, 56, 14, false, true},
    Control{ids::kStopTest, Kind::PushButton, "사운드 멈춤", 114, 194, 49, 14, false, true},
    Control{ids::kRunAtLogon, Kind::CheckBox, "", 11, 102, 9, 8},
    Control{ids::kHzLabel, Kind::Label, "(Hz)", 140, 145, 14, 8},
    Control{0, Kind::Bitmap, "", 8, 179, 11, 10},
    Control{ids::kNotice, Kind::Label,
            "본 프로그램은 모기퇴치용 무료 프로그램으로 문서/서식 포탈사이트 코르벨에서 "
            "제공합니다.",
            17, 75, 183, 21},
    Control{0, Kind::GroupBox, "", 7, 66, 193, 33},
    Control{ids::kBanner, Kind::Banner, "Banner ...", 18, 2, 88, 31},
    Control{ids::kSoundSettingsLabel, Kind::Label, "사운드 설정", 7, 134, 43, 8},
    Control{ids::kSoundTestLabel, Kind::Label, "컴퓨터 사운드 테스트", 20, 180, 77, 8},
    Control{ids::kRunAtLogonLabel, Kind::Label, "시작 시 실행하기", 23, 102, 61, 8},
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
