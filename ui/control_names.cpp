#include "ui/control_names.h"

#include <array>

#include "ui/dialog_ids.h"

namespace control_names {
namespace {

constexpr std::array kNamings{
    Naming{ids::kFrequency1, ids::kFrequencyLabel, ids::kToLabel},
    Naming{ids::kFrequency2, ids::kToLabel, ids::kHzLabel},
    Naming{ids::kDelay, ids::kDelayLabel, 0},
    Naming{ids::kStep, ids::kStepLabel, 0},
    Naming{ids::kRunAtLogon, ids::kRunAtLogonLabel, 0},
};

std::string_view Trim(std::string_view text) {
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    return text;
}

// A label's text split into the unit in brackets it starts with, if any, and the words after it.
struct Parts {
    std::string_view unit;
    std::string_view words;
};

Parts Split(std::string_view text) {
    text = Trim(text);
    if (text.empty() || text.front() != '(') return {{}, text};
    const std::size_t close = text.find(')');
    if (close == std::string_view::npos) return {{}, text};
    return {text.substr(0, close + 1), Trim(text.substr(close + 1))};
}

}  // namespace

std::span<const Naming> Namings() { return kNamings; }

std::string NameOf(const Naming& naming, const std::function<std::string(int)>& labelText) {
    const std::string label = labelText(naming.label);
    std::string name(Split(label).words);
    if (naming.unitLabel != 0) {
        const std::string unitText = labelText(naming.unitLabel);
        const std::string_view unit = Split(unitText).unit;
        if (!unit.empty() && !name.empty()) name += ' ';
        name.append(unit);
    }
    return name;
}

}  // namespace control_names
