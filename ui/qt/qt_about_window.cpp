#include "ui/qt/qt_about_window.h"

#include <QEvent>
#include <QLabel>
#include <QPainter>

#include "base/qt/qt_text.h"
#include "toolkit/qt/qt_canvas.h"
#include "toolkit/qt/qt_geometry.h"
#include "toolkit/qt/qt_system_colors.h"
#include "toolkit/qt/qt_xp_button.h"
#include "ui/dialog_layout.h"
#include "ui/qt/maximise_undo.h"
#include "ui/qt/qt_label_fit.h"

QtAboutWindow::QtAboutWindow(const QPixmap& picture, Shell& shell,
                             const QtLinkStatic::CursorLoader& cursors, std::string makerPage,
                             QWidget* parent)
    : QDialog(parent), m_logic(*this, std::move(makerPage)) {
    setObjectName("QtAboutWindow");
    setWindowTitle(FromUtf8(CAboutDialog::kCaption));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    for (const layout::Control& c : CAboutDialog::Controls()) {
        const QRect rect = ToQRect(layout::ToPixels(c));
        switch (c.kind) {
            case layout::Kind::Bitmap: {
                auto* label = new QLabel(this);
                label->setPixmap(picture);
                label->setGeometry(QRect(rect.topLeft(), picture.deviceIndependentSize().toSize()));
                break;
            }
            case layout::Kind::PushButton: {
                auto* button = new QtXPButton(FromUtf8(c.text), this);
                button->setObjectName(QString("item%1").arg(c.id));
                button->setGeometry(rect);
                button->setDefault(c.isDefault);
                connect(button, &QPushButton::clicked, this, &QDialog::accept);
                break;
            }
            default: {
                auto* label = new QtLinkStatic(FromUtf8(c.text), shell, cursors, this);
                label->setObjectName(QString("item%1").arg(c.id));
                label->setGeometry(rect);
                m_links.insert(c.id, label);
                break;
            }
        }
    }
    setFixedSize(layout::HorizontalPixels(CAboutDialog::kWidthDlu),
                 layout::VerticalPixels(CAboutDialog::kHeightDlu));
    for (QtLinkStatic* label : std::as_const(m_links)) FitLabelToText(*label, label->text());
    UndoMaximiseOnWayland(this);
    m_logic.OnInitDialog(QtFlatLook(palette()).card);
}

CLinkStatic& QtAboutWindow::Link(int id) { return m_links.value(id)->Logic(); }

Size QtAboutWindow::GetWindowSize() { return {width(), height()}; }

void QtAboutWindow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    QtCanvas canvas(painter);
    m_logic.OnPaint(canvas);
}

void QtAboutWindow::changeEvent(QEvent* event) {
    if (event->type() == QEvent::PaletteChange) {
        m_logic.ApplyLook(QtFlatLook(palette()).card);
        for (QtLinkStatic* label : std::as_const(m_links)) label->update();
    }
    QDialog::changeEvent(event);
}
