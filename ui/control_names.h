#pragma once

#include <functional>
#include <span>
#include <string>
#include <string_view>

// How the main window's labels name its controls for a screen reader: each edit and the check box
// by the label before it, an edit with a unit by that unit too ("Frequency (Hz)"). A label's text
// may hold the unit of the control before it and the name of the one after it ("(Hz) to").
namespace control_names {

struct Naming {
    int control = 0;
    int label = 0;      // the label before the control, which names it
    int unitLabel = 0;  // the label after it that holds its unit, or 0
};

// Every control that a label names, in template order.
std::span<const Naming> Namings();

// The name of `naming.control`, from the labels' texts as the window shows them.
std::string NameOf(const Naming& naming, const std::function<std::string(int)>& labelText);

}  // namespace control_names
