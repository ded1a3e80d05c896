#pragma once

#include <QString>

// A widget that works as a link: a screen reader finds it as a link with a name, the address it
// leads to as its description, and a press action that opens it, as a click does.
class QtAccessibleLink {
public:
    virtual ~QtAccessibleLink() = default;
    // False while the widget is plain text (a link label whose link is off).
    virtual bool IsLinkNow() const = 0;
    virtual QString LinkName() const = 0;
    virtual QString LinkTarget() const = 0;
    virtual void OpenLink() = 0;

    // Lets Qt's accessibility find every QtAccessibleLink widget as such; any number of calls.
    static void Install();
};
