#include "toolkit/qt/accessible_line_edit.h"

#include <QAccessibleWidget>
#include <QApplication>
#include <QFocusEvent>
#include <QLineEdit>
#include <QTimer>
#include <QValidator>

#include "toolkit/qt/text_boundaries.h"

namespace {

class AccessibleLineEdit final : public QAccessibleWidget,
                                 public QAccessibleTextInterface,
                                 public QAccessibleEditableTextInterface {
public:
    explicit AccessibleLineEdit(QLineEdit* edit)
        : QAccessibleWidget(edit, QAccessible::EditableText) {}

    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::TextInterface) return static_cast<QAccessibleTextInterface*>(this);
        if (type == QAccessible::EditableTextInterface) {
            return static_cast<QAccessibleEditableTextInterface*>(this);
        }
        return QAccessibleWidget::interface_cast(type);
    }

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Value) return Shown();
        return QAccessibleWidget::text(t);
    }
    void setText(QAccessible::Text t, const QString& text) override {
        if (t == QAccessible::Value) {
            Change(text);
        } else {
            QAccessibleWidget::setText(t, text);
        }
    }
    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        s.editable = true;
        s.selectableText = true;
        s.readOnly = Edit()->isReadOnly();
        s.passwordEdit = Secret();
        return s;
    }

    // Text: what a screen reader reads. A hidden password reads as nothing.
    QString text(int start, int end) const override {
        if (end == -1) end = characterCount();
        return Shown().mid(start, end - start);
    }
    int characterCount() const override { return static_cast<int>(Shown().size()); }
    QString textAtOffset(int offset, QAccessible::TextBoundaryType b, int* start,
                         int* end) const override {
        return Report(SegmentAt(Shown(), Offset(offset), b), start, end);
    }
    QString textBeforeOffset(int offset, QAccessible::TextBoundaryType b, int* start,
                             int* end) const override {
        return Report(SegmentBefore(Shown(), Offset(offset), b), start, end);
    }
    QString textAfterOffset(int offset, QAccessible::TextBoundaryType b, int* start,
                            int* end) const override {
        return Report(SegmentAfter(Shown(), Offset(offset), b), start, end);
    }
    // The whole text is one run of the edit's plain attributes.
    QString attributes(int offset, int* start, int* end) const override {
        const bool inside = offset >= 0 && offset <= characterCount();
        *start = inside ? 0 : -1;
        *end = inside ? characterCount() : -1;
        return {};
    }

    int cursorPosition() const override { return Edit()->cursorPosition(); }
    void setCursorPosition(int position) override { Edit()->setCursorPosition(position); }
    int selectionCount() const override { return Edit()->hasSelectedText() ? 1 : 0; }
    void selection(int index, int* start, int* end) const override {
        *start = *end = 0;
        if (index != 0 || !Edit()->hasSelectedText()) return;
        *start = Edit()->selectionStart();
        *end = Edit()->selectionEnd();
    }
    void addSelection(int start, int end) override { setSelection(0, start, end); }
    void removeSelection(int index) override {
        if (index == 0) Edit()->deselect();
    }
    void setSelection(int index, int start, int end) override {
        if (index == 0) Edit()->setSelection(start, end - start);
    }
    void scrollToSubstring(int start, int end) override {
        // The edit scrolls to show its cursor: past the end first, then back to the start.
        Edit()->setCursorPosition(end);
        Edit()->setCursorPosition(start);
    }

    // Where a character is on the screen: measured from the caret, which Qt places.
    QRect characterRect(int offset) const override {
        const QString shown = Edit()->displayText();
        if (offset < 0 || offset >= shown.size()) return {};
        const QRect caret = Edit()->inputMethodQuery(Qt::ImCursorRectangle).toRect();
        const QFontMetrics metrics(Edit()->font());
        const int x = caret.center().x() + metrics.horizontalAdvance(shown.left(offset)) -
                      metrics.horizontalAdvance(shown.left(Edit()->cursorPosition()));
        const QRect local(x, caret.top(), metrics.horizontalAdvance(shown.mid(offset, 1)),
                          caret.height());
        return {Edit()->mapToGlobal(local.topLeft()), local.size()};
    }
    int offsetAtPoint(const QPoint& point) const override {
        return Edit()->cursorPositionAt(Edit()->mapFromGlobal(point));
    }

    // Editable text: each change goes through the edit's validator, as typing would.
    void deleteText(int start, int end) override {
        Change(Edit()->text().remove(start, end - start));
    }
    void insertText(int offset, const QString& text) override {
        Change(Edit()->text().insert(offset, text));
    }
    void replaceText(int start, int end, const QString& text) override {
        Change(Edit()->text().replace(start, end - start, text));
    }

private:
    QLineEdit* Edit() const { return static_cast<QLineEdit*>(widget()); }
    bool Secret() const { return Edit()->echoMode() != QLineEdit::Normal; }
    QString Shown() const { return Secret() ? QString() : Edit()->text(); }
    // Qt's names for two offsets: -2 is the caret; -1 (the end) the segments know.
    int Offset(int offset) const { return offset == -2 ? cursorPosition() : offset; }

    static QString Report(const TextSegment& segment, int* start, int* end) {
        *start = segment.start;
        *end = segment.end;
        return segment.text;
    }

    void Change(QString text) {
        if (Edit()->isReadOnly()) return;
        int position = 0;
        const QValidator* validator = Edit()->validator();
        if (validator && validator->validate(text, position) == QValidator::Invalid) return;
        Edit()->setText(text);
    }
};

QAccessibleInterface* LineEditFactory(const QString& className, QObject* object) {
    if (className != QLatin1String("QLineEdit") || !object || !object->isWidgetType()) {
        return nullptr;
    }
    return new AccessibleLineEdit(static_cast<QLineEdit*>(object));
}

// On Tab Qt selects an edit's text before it tells a screen reader of the focus, and Orca reads the
// selection on its own, then the edit with it: the value twice. Here the edit takes the focus as if
// by no key, and selects its text once the focus is told.
class SelectAfterFocus final : public QObject {
public:
    using QObject::QObject;

    bool eventFilter(QObject* watched, QEvent* event) override {
        // Every event of the program passes here: the cheap test first.
        if (event->type() != QEvent::FocusIn || !QAccessible::isActive()) return false;
        auto* edit = qobject_cast<QLineEdit*>(watched);
        if (!edit) return false;
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::TabFocusReason && reason != Qt::BacktabFocusReason &&
            reason != Qt::ShortcutFocusReason) {
            return false;
        }
        QFocusEvent plain(QEvent::FocusIn, Qt::OtherFocusReason);
        QCoreApplication::sendEvent(edit, &plain);
        QTimer::singleShot(0, edit, [edit] {
            if (edit->hasFocus() && !edit->hasSelectedText()) edit->selectAll();
        });
        return true;
    }
};

}  // namespace

void InstallAccessibleLineEdits(QApplication& app) {
    QAccessible::installFactory(LineEditFactory);
    app.installEventFilter(new SelectAfterFocus(&app));
}
