#include "banner/qt/qt_accessible_link.h"

#include <QAccessibleWidget>
#include <QWidget>

namespace {

class LinkInterface final : public QAccessibleWidget {
public:
    LinkInterface(QWidget* widget, QtAccessibleLink& link)
        : QAccessibleWidget(widget, QAccessible::Link), m_link(link) {}

    QAccessible::Role role() const override {
        return m_link.IsLinkNow() ? QAccessible::Link : QAccessible::StaticText;
    }
    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name) return m_link.LinkName();
        if (t == QAccessible::Description) return m_link.IsLinkNow() ? m_link.LinkTarget() : "";
        return QAccessibleWidget::text(t);
    }
    QStringList actionNames() const override {
        QStringList names = QAccessibleWidget::actionNames();
        if (m_link.IsLinkNow()) names.prepend(pressAction());
        return names;
    }
    void doAction(const QString& name) override {
        if (name == pressAction() && m_link.IsLinkNow()) {
            m_link.OpenLink();
        } else {
            QAccessibleWidget::doAction(name);
        }
    }

private:
    QtAccessibleLink& m_link;
};

QAccessibleInterface* LinkFactory(const QString&, QObject* object) {
    auto* widget = qobject_cast<QWidget*>(object);
    auto* link = dynamic_cast<QtAccessibleLink*>(object);
    return widget && link ? new LinkInterface(widget, *link) : nullptr;
}

}  // namespace

void QtAccessibleLink::Install() {
    static const bool installed = [] {
        QAccessible::installFactory(LinkFactory);
        return true;
    }();
    static_cast<void>(installed);
}
