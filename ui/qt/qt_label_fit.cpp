#include "ui/qt/qt_label_fit.h"

#include <QFontMetrics>
#include <vector>

#include "toolkit/qt/qt_geometry.h"
#include "ui/label_fit.h"

void FitLabelToText(QWidget& label, const QString& text) {
    QWidget* parent = label.parentWidget();
    if (!parent) return;
    std::vector<Rect> others;
    for (QWidget* sibling : parent->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (sibling != &label) others.push_back(FromQRect(sibling->geometry()));
    }
    const QFontMetrics metrics(label.font());
    // Qt draws an underline's rows from a pixel below the position its metrics give.
    const layout::TextLine line{
        metrics.height(), metrics.ascent() + metrics.underlinePos() + metrics.lineWidth() + 1};
    // A pixel past the text's advance, for a last letter that reaches beyond it ("s", "g").
    const int width = metrics.horizontalAdvance(text) + 1;
    const Rect fitted = layout::FitToText(FromQRect(label.geometry()), width, line, others,
                                          {parent->width(), parent->height()});
    label.setGeometry(fitted.left, fitted.top, fitted.Width(), fitted.Height());
}
