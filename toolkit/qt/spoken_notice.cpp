#include "toolkit/qt/spoken_notice.h"

#include <QAccessibleObject>
#include <QApplication>
#include <QWidget>

namespace {

class NoticeInterface final : public QAccessibleObject {
public:
    explicit NoticeInterface(SpokenNotice* notice) : QAccessibleObject(notice), m_notice(notice) {}

    // The application's, not the window's: a screen reader would read the whole window first.
    QAccessibleInterface* parent() const override {
        return QAccessible::queryAccessibleInterface(qApp);
    }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QString text(QAccessible::Text t) const override {
        return t == QAccessible::Name ? m_notice->Message() : QString();
    }
    QAccessible::Role role() const override { return QAccessible::Notification; }
    QAccessible::State state() const override {
        QAccessible::State s;
        s.readOnly = true;
        return s;
    }

private:
    SpokenNotice* m_notice;
};

}  // namespace

SpokenNotice::SpokenNotice(QWidget* window) : QObject(window) {}

void SpokenNotice::Say(const QString& message) {
    m_message = message;
    if (!QAccessible::isActive()) return;
    if (!m_registered) {
        // Qt's cache owns the interface from here and drops it with this object.
        QAccessible::registerAccessibleInterface(new NoticeInterface(this));
        m_registered = true;
    }
    // The new name first: a screen reader keeps the name it last read until told it changed, and
    // would speak that one on the show event (Orca 48 does).
    QAccessibleEvent renamed(this, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&renamed);
    QAccessibleEvent shown(this, QAccessible::ObjectShow);
    QAccessible::updateAccessibility(&shown);
}
