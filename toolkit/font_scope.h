#pragma once

#include "toolkit/canvas.h"

// Makes the canvas's current font bold or normal for as long as it lives, as CBoldDC does: the
// font changes only when the wish and its weight disagree (bold wished and the weight is not 700,
// or normal wished and it is exactly 700), so a weight of 600 asked for normal stays 600.
class BoldFont {
public:
    BoldFont(Canvas& canvas, bool bold) : m_canvas(canvas), m_previous(canvas.GetFont()) {
        const bool isBold = m_previous.weight == kWeightBold;
        if (bold == isBold) return;
        m_canvas.SetFont({m_previous.face, bold ? kWeightBold : kWeightNormal});
        m_changed = true;
    }
    ~BoldFont() {
        if (m_changed) m_canvas.SetFont(m_previous);
    }
    BoldFont(const BoldFont&) = delete;
    BoldFont& operator=(const BoldFont&) = delete;

private:
    Canvas& m_canvas;
    CanvasFont m_previous;
    bool m_changed = false;
};
