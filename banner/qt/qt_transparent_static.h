#pragma once

#include <QLabel>
#include <QString>

// A label that paints only its letters, so the parent's background shows around them. It takes no
// mouse input: clicks reach the parent. Being a QLabel, it is a label to a screen reader, and its
// buddy is the control it names.
class QtTransparentStatic final : public QLabel {
public:
    QtTransparentStatic(const QString& text, unsigned style, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    unsigned m_style;
};
