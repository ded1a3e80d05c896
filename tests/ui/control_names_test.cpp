#include "ui/control_names.h"

#include <gtest/gtest.h>

namespace {

// An edit is named by the words of its label, less a unit in brackets the label starts with, and
// the unit that the next label starts with; spaces around either do not count.
TEST(ControlNamesTest, AnEditIsNamedByItsLabelsWordsAndTheUnitTheNextLabelStartsWith) {
    struct Case {
        const char* label;
        const char* unitLabel;  // none: the edit has no unit
        const char* name;
    };
    const Case cases[] = {
        {"Frequency", "(Hz) to", "Frequency (Hz)"},
        {" (Hz) to ", "(Hz)", "to (Hz)"},
        {"  Step  ", nullptr, "Step"},
        {"Delay (ms)", nullptr, "Delay (ms)"},
        {"(Hz", "Hz", "(Hz"},
        {"", "(Hz)", "(Hz)"},
    };
    for (const Case& c : cases) {
        const control_names::Naming naming{1, 2, c.unitLabel ? 3 : 0};
        const auto text = [&](int id) { return std::string(id == 2 ? c.label : c.unitLabel); };
        EXPECT_EQ(control_names::NameOf(naming, text), c.name) << '"' << c.label << '"';
    }
}

}  // namespace
