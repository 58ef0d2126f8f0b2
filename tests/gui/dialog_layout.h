#pragma once
// What a user would see wrong in a dialog of another process: two visible controls on
// top of each other, or a label or box whose text does not fit its control.
#include <windows.h>

#include <string>
#include <vector>

namespace gui {

// One line per fault, naming the controls by ID and text; empty when none.
std::vector<std::string> LayoutFaults(HWND dialog);
// True when `text` would show whole in the label `control`.
bool LabelHolds(HWND control, const std::string& text);

}  // namespace gui
