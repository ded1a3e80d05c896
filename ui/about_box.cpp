#include "ui/about_box.h"

#include <array>

#include "banner/link_static.h"

namespace {

using layout::Control;
using layout::Kind;

constexpr std::array kControls{
    Control{0, Kind::Bitmap, "", 1, 1, 55, 51},
    Control{CAboutDialog::kVersionLine, Kind::Label, "Drovane Version 1.0", 66, 8, 81, 8},
    Control{CAboutDialog::kNoticeLine, Kind::Label, "Copyright © 2026", 66, 18, 61, 8},
    Control{CAboutDialog::kOk, Kind::PushButton, "OK", 71, 38, 41, 13, true},
    Control{CAboutDialog::kMakerName, Kind::Label, "Corvell Co LTD", 130, 18, 46, 8},
};

}  // namespace

CAboutDialog::CAboutDialog(AboutView& view, std::string makerPage)
    : m_view(view), m_makerPage(std::move(makerPage)) {}

std::span<const layout::Control> CAboutDialog::Controls() { return kControls; }

bool CAboutDialog::OnInitDialog(const CardLook& look) {
    m_view.Link(kMakerName)
        .SetLinkAddress(true, m_makerPage)
        .SetUnderline(true)
        .SetHoverCursor(kHandCursor);
    m_view.Link(kVersionLine).BlinkText(true);
    ApplyLook(look);
    return true;
}

void CAboutDialog::ApplyLook(const CardLook& look) {
    m_card = look.card;
    m_view.Link(kMakerName).SetForeColor(look.link).SetBackColor(look.card);
    m_view.Link(kVersionLine).SetForeColor(look.accent).SetBackColor(look.card);
    m_view.Link(kNoticeLine).SetForeColor(look.text).SetBackColor(look.card);
}

void CAboutDialog::OnPaint(Canvas& canvas) {
    const Size size = m_view.GetWindowSize();
    m_view.SetWindowRegion({1, 1, size.width - 1, size.height - 1});
    canvas.FillSolidRect({0, 0, size.width, size.height}, m_card);
}
