#include "ui/qt/maximise_undo.h"

#include <QEvent>
#include <QGuiApplication>
#include <QStringList>
#include <QTimer>
#include <QWidget>
#include <QWindow>

namespace {

class MaximiseUndo final : public QObject {
public:
    MaximiseUndo(QWidget* window, bool compositorRefuses)
        : QObject(window), m_window(window), m_compositorRefuses(compositorRefuses) {
        window->installEventFilter(this);
    }

    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Show && !m_watching && m_window->windowHandle()) {
            m_watching = true;
            connect(m_window->windowHandle(), &QWindow::windowStateChanged, this,
                    [this](Qt::WindowState state) { OnState(state); });
        } else if (event->type() == QEvent::Resize && m_undoing && m_window->size() == m_fixed &&
                   !(m_window->windowHandle()->windowStates() & Qt::WindowMaximized)) {
            m_window->setFixedSize(m_fixed);
            m_undoing = false;
        }
        return false;
    }

private:
    void OnState(Qt::WindowState state) {
        if (state != Qt::WindowMaximized) return;
        if (!m_compositorRefuses && !m_undoing) {
            // The request is on its way: the size the compositor answers with must be taken.
            m_undoing = true;
            m_fixed = m_window->size();
            m_window->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
            return;
        }
        // The compositor maximised the window, and only now is there something to restore; or it
        // kept the window at its size, and only the maximised state (drawn as a restore button)
        // goes back.
        QTimer::singleShot(
            0, this, [this] { m_window->windowHandle()->setWindowStates(Qt::WindowNoState); });
    }

    QWidget* m_window;
    const bool m_compositorRefuses;
    bool m_watching = false;
    bool m_undoing = false;
    QSize m_fixed;
};

}  // namespace

void UndoMaximiseOnWayland(QWidget* window) {
    if (QGuiApplication::platformName().startsWith(QLatin1String("wayland"))) {
        const QStringList desktops = qEnvironmentVariable("XDG_CURRENT_DESKTOP").split(u':');
        new MaximiseUndo(window, desktops.contains(QLatin1String("GNOME"), Qt::CaseInsensitive));
    }
}
