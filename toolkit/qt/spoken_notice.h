#pragma once

#include <QObject>
#include <QString>

class QWidget;

// A short message for a screen reader, such as a change of what the program plays, that has no
// place on the screen: it shows to assistive technologies as a notification of the program that
// appears each time it is said (Orca speaks "notification" and the message). It lives as long as
// `window`.
class SpokenNotice final : public QObject {
public:
    explicit SpokenNotice(QWidget* window);

    void Say(const QString& message);
    const QString& Message() const { return m_message; }

private:
    QString m_message;
    bool m_registered = false;
};
