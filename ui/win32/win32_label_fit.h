#pragma once

#include <windows.h>

#include <span>

#include "toolkit/canvas.h"

// Widens each label of `dialog` named in `ids` whose text, on one line in the label's own font,
// is wider than the label, and makes it taller where that font's line is higher (as
// layout::FitToText decides), so that a font larger than the one the template was drawn for
// neither wraps the text out of sight nor cuts its descenders. The template stays as it is.
// A label does not grow into `keepClear` either (lines the dialog draws, in client coordinates).
void FitLabelsToText(HWND dialog, std::span<const int> ids, std::span<const Rect> keepClear = {});

// Where `child` lies in `dialog`'s client area.
Rect ClientRectOf(HWND child, HWND dialog);

// How many pixels those labels' texts, each on one line, need beyond their labels' widths
// together (labels that hold their text count 0): what a row of them needs to grow by.
int LabelShortfall(HWND dialog, std::span<const int> ids);
