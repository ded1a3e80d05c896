#include "ui/menu_model.h"

#include <array>

#include "ui/dialog_ids.h"

namespace {

constexpr MenuItem kSeparator{};

constexpr std::array kFileItems{
    MenuItem{ids::kStart, "&Start"},         MenuItem{ids::kStop, "S&top"},         kSeparator,
    MenuItem{ids::kTestSound, "Test Sound"}, MenuItem{ids::kStopTest, "Stop Test"}, kSeparator,
    MenuItem{ids::kExit, "E&xit"},
};
constexpr std::array kHelpItems{MenuItem{ids::kAbout, "&About Drovane..."}};
constexpr std::array kMenuBar{
    MenuPopup{"&File", kFileItems},
    MenuPopup{"&Help", kHelpItems},
};

constexpr std::array kTrayItems{
    MenuItem{ids::kOpen, "&Open"},
    MenuItem{ids::kAbout, "&About Drovane..."},
    kSeparator,
    MenuItem{ids::kStart, "&Start"},
    MenuItem{ids::kStop, "S&top"},
    kSeparator,
    MenuItem{ids::kTestSound, "Test Sound"},
    MenuItem{ids::kStopTest, "Stop Test"},
    kSeparator,
    MenuItem{ids::kExit, "E&xit"},
};
constexpr std::array kTrayMenu{MenuPopup{"", kTrayItems}};

}  // namespace

std::span<const MenuPopup> FindMenu(int id) {
    if (id == ids::kMenuBar) return kMenuBar;
    if (id == ids::kTrayMenu) return kTrayMenu;
    return {};
}
