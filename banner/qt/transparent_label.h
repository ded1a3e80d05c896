#pragma once

#include <QString>
#include <QWidget>

// A label that paints only its letters, so the parent's background shows around them. It takes no
// mouse input: clicks reach the parent.
class TransparentLabel final : public QWidget {
public:
    TransparentLabel(const QString& text, unsigned style, QWidget* parent);

    QString text() const { return m_text; }
    void setText(const QString& text);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString m_text;
    unsigned m_style;
};
