#pragma once

#include <windows.h>

#include <span>

// Widens each label of `dialog` named in `ids` whose text, on one line in the label's own font,
// is wider than the label (as layout::WidenToText decides), so that a font wider than the one the
// template was drawn for does not wrap the text out of sight. The template stays as it is.
void WidenLabelsToText(HWND dialog, std::span<const int> ids);
