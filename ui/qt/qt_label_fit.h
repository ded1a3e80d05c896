#pragma once

#include <QString>
#include <QWidget>

// Makes `label` wide and tall enough for one line of `text` in the font it draws with, underline
// included, as far as its parent's other children and edges allow; its top-left corner stays.
void FitLabelToText(QWidget& label, const QString& text);
