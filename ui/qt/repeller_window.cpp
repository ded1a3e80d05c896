#include "ui/qt/repeller_window.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QRegion>
#include <QRegularExpressionValidator>
#include <QSystemTrayIcon>
#include <algorithm>

#include "banner/qt/transparent_label.h"
#include "base/qt/qt_text.h"
#include "toolkit/qt/qt_canvas.h"
#include "ui/dialog_ids.h"
#include "ui/dialog_layout.h"
#include "ui/dialog_painter.h"
#include "ui/menu_model.h"
#include "ui/qt/qt_menu.h"
#include "ui/repeller_dialog.h"

namespace {

QRect ToQRect(const Rect& r) { return QRect(r.left, r.top, r.Width(), r.Height()); }

// The client area: paints the gradient behind the (unclipped, transparent) labels and reports
// clicks that no control takes.
class DialogClient final : public QWidget {
public:
    DialogClient(QWidget* parent, std::function<void(Point)> clicked)
        : QWidget(parent), m_clicked(std::move(clicked)) {}

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        QtCanvas canvas(painter);
        dialog_painter::PaintBackground(canvas, width());
    }
    void mousePressEvent(QMouseEvent* event) override {
        if (event->button() == Qt::LeftButton) {
            const QPoint p = event->position().toPoint();
            m_clicked({p.x(), p.y()});
        }
        QWidget::mousePressEvent(event);
    }

private:
    std::function<void(Point)> m_clicked;
};

}  // namespace

RepellerWindow::RepellerWindow(QIcon icon, QPixmap speaker, QWidget* parent)
    : QDialog(parent), m_icon(std::move(icon)) {
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    setWindowTitle(FromUtf8(layout::kCaption));
    setObjectName("RepellerWindow");
    BuildMenuBar();
    m_client = new DialogClient(this, [this](Point p) {
        if (m_logic) m_logic->OnLButtonDown(p);
    });
    const Size client = layout::ClientPixels();
    const int menuHeight = m_menuBar->sizeHint().height();
    m_menuBar->setGeometry(0, 0, client.width, menuHeight);
    m_client->setGeometry(0, menuHeight, client.width, client.height);
    BuildControls(speaker);
    setFixedSize(client.width, menuHeight + client.height);
}

void RepellerWindow::BuildMenuBar() {
    m_menuBar = new QMenuBar(this);
    m_menuBar->setNativeMenuBar(false);
    for (const MenuPopup& popup : FindMenu(ids::kMenuBar)) {
        QMenu* menu = m_menuBar->addMenu(FromUtf8(popup.title));
        qt_menu::Fill(*menu, popup, [this](int command) { Command(command); });
        connect(menu, &QMenu::aboutToShow, this, [this, menu] { UpdateMenu(menu); });
    }
}

void RepellerWindow::UpdateMenu(QMenu* menu) {
    if (!m_logic) return;
    qt_menu::UpdateChecks(*menu, [this](int command) { return m_logic->OnUpdateCommand(command); });
}

void RepellerWindow::BuildControls(const QPixmap& speaker) {
    QFont font = QApplication::font();
    for (const layout::Control& c : layout::Controls()) {
        const QRect rect = ToQRect(layout::ToPixels(c));
        const QString text = FromUtf8(c.text);
        QWidget* widget = nullptr;
        switch (c.kind) {
            case layout::Kind::PushButton: {
                auto* button = new QPushButton(text, m_client);
                button->setDefault(c.isDefault);
                const int id = c.id;
                connect(button, &QPushButton::clicked, this, [this, id] { Command(id); });
                widget = button;
                break;
            }
            case layout::Kind::Edit: {
                auto* edit = new QLineEdit(m_client);
                edit->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
                edit->setValidator(
                    new QRegularExpressionValidator(QRegularExpression("[0-9]*"), edit));
                edit->setTextMargins(0, 0, 0, 0);
                widget = edit;
                break;
            }
            case layout::Kind::CheckBox: {
                auto* box = new QCheckBox(m_client);
                const int id = c.id;
                connect(box, &QCheckBox::clicked, this, [this, id] { Command(id); });
                widget = box;
                break;
            }
            case layout::Kind::Label: {
                widget = new TransparentLabel(text, 0, m_client);
                // One-line labels were sized for a narrower font: let their text run on rather
                // than wrap out of sight.
                if (c.height <= 8) {
                    const int needed = QFontMetrics(font).horizontalAdvance(text) + 1;
                    widget->setFont(font);
                    widget->setGeometry(rect.adjusted(0, 0, std::max(0, needed - rect.width()), 0));
                    if (c.id != 0) {
                        widget->setObjectName(QString("item%1").arg(c.id));
                        m_items.insert(c.id, widget);
                    }
                    continue;
                }
                break;
            }
            case layout::Kind::Bitmap: {
                auto* picture = new QLabel(m_client);
                picture->setPixmap(speaker);
                picture->setAttribute(Qt::WA_TransparentForMouseEvents);
                picture->setGeometry(rect.x(), rect.y(), speaker.width(), speaker.height());
                continue;
            }
            case layout::Kind::GroupBox: {
                auto* group = new QGroupBox(m_client);
                group->setAttribute(Qt::WA_TransparentForMouseEvents);
                widget = group;
                break;
            }
            case layout::Kind::Banner:
                // The banner's area stays empty; its clicks reach the client area.
                continue;
        }
        widget->setFont(font);
        widget->setGeometry(rect);
        if (c.hidden) widget->hide();
        if (c.id != 0) {
            widget->setObjectName(QString("item%1").arg(c.id));
            m_items.insert(c.id, widget);
        }
    }
}

void RepellerWindow::Command(int id) {
    if (m_logic) m_logic->OnCommand(id);
}

std::string RepellerWindow::GetItemText(int id) {
    QWidget* w = m_items.value(id);
    QString text;
    if (auto* edit = qobject_cast<QLineEdit*>(w)) {
        text = edit->text();
    } else if (auto* button = qobject_cast<QAbstractButton*>(w)) {
        text = button->text();
    } else if (auto* label = dynamic_cast<TransparentLabel*>(w)) {
        text = label->text();
    }
    return text.toStdString();
}

void RepellerWindow::SetItemText(int id, std::string_view text) {
    QWidget* w = m_items.value(id);
    if (auto* edit = qobject_cast<QLineEdit*>(w)) {
        edit->setText(FromUtf8(text));
    } else if (auto* button = qobject_cast<QAbstractButton*>(w)) {
        button->setText(FromUtf8(text));
    } else if (auto* label = dynamic_cast<TransparentLabel*>(w)) {
        label->setText(FromUtf8(text));
    }
}

int RepellerWindow::GetCheck(int id) {
    auto* box = qobject_cast<QCheckBox*>(m_items.value(id));
    return box && box->isChecked() ? 1 : 0;
}

void RepellerWindow::SetCheck(int id, int state) {
    if (auto* box = qobject_cast<QCheckBox*>(m_items.value(id))) box->setChecked(state != 0);
}

void RepellerWindow::ShowItem(int id, bool show) {
    if (QWidget* w = m_items.value(id)) w->setVisible(show);
}

void RepellerWindow::FocusItem(int id) {
    QWidget* w = m_items.value(id);
    if (!w) return;
    w->setFocus(Qt::OtherFocusReason);
    if (auto* edit = qobject_cast<QLineEdit*>(w)) edit->selectAll();
}

Rect RepellerWindow::GetItemRect(int id) {
    QWidget* w = m_items.value(id);
    if (!w) return {};
    const QRect r = w->geometry();
    return {r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
}

Size RepellerWindow::GetWindowSize() { return {width(), height()}; }

void RepellerWindow::SetWindowSize(Size size) { setFixedSize(size.width, size.height); }

void RepellerWindow::SetWindowRegion(const Rect& region) { setMask(QRegion(ToQRect(region))); }

void RepellerWindow::ShowWindow(WindowShow how) {
    switch (how) {
        case WindowShow::Hide:
            hide();
            break;
        case WindowShow::Normal:
            showNormal();
            break;
        case WindowShow::Minimize:
            showMinimized();
            break;
    }
}

void RepellerWindow::BringToFront() {
    raise();
    activateWindow();
}

void RepellerWindow::Raise() {
    showNormal();
    BringToFront();
    // A message box or other modal pop-up of ours goes in front of the window.
    if (QWidget* modal = QApplication::activeModalWidget(); modal && modal != this) {
        modal->show();
        modal->raise();
        modal->activateWindow();
    }
}

void RepellerWindow::SetIcons() { setWindowIcon(m_icon); }

void RepellerWindow::MarkRunningCopy() {
    if (m_marked) m_marked();
}

void RepellerWindow::DestroyWindow() {
    m_destroyed = true;
    hide();
    QCoreApplication::exit(0);
}

bool RepellerWindow::IsTrayAvailable() { return QSystemTrayIcon::isSystemTrayAvailable(); }

void RepellerWindow::reject() {
    if (m_logic) m_logic->OnCancel();
}

void RepellerWindow::closeEvent(QCloseEvent* event) {
    if (m_destroyed || !m_logic) {
        event->accept();
        return;
    }
    event->ignore();
    m_logic->OnClose();
}
