// The edits' accessibility interface as a screen reader queries it, offscreen: pieces of text by
// boundary at every kind of offset, and the attribute run and selection of a value.
#include "toolkit/qt/accessible_line_edit.h"

#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QLineEdit>

#include "tests/support/qt/qt_test_environment.h"

namespace {

[[maybe_unused]] ::testing::Environment* const kQtEnvironment =
    AddQtTestEnvironment<QApplication>([] { InstallAccessibleLineEdits(*qApp); });

struct Piece {
    const char* text;
    int start;
    int end;
};
constexpr Piece kNone{"", -1, -1};

struct Row {
    const char* text;
    int offset;
    QAccessible::TextBoundaryType boundary;
    Piece at, before, after;
};

constexpr auto kChar = QAccessible::CharBoundary;
constexpr auto kWord = QAccessible::WordBoundary;
constexpr auto kSentence = QAccessible::SentenceBoundary;
constexpr auto kLine = QAccessible::LineBoundary;

// Qt 6.4's own interface never answers the word or sentence at the end (-1 is the end).
const Row kRows[] = {
    {"16000", 0, kChar, {"1", 0, 1}, kNone, {"6", 1, 2}},
    {"16000", 5, kChar, {"", 5, 5}, {"0", 4, 5}, kNone},
    {"16000", 2, kWord, {"16000", 0, 5}, kNone, kNone},
    {"16000", 5, kWord, {"", 5, 5}, {"16000", 0, 5}, kNone},
    {"16000", -1, kWord, {"", 5, 5}, {"16000", 0, 5}, kNone},
    {"16000 Hz", 5, kWord, {" ", 5, 6}, {"16000", 0, 5}, {"Hz", 6, 8}},
    {"16000 Hz", 8, kWord, {"", 8, 8}, {"Hz", 6, 8}, kNone},
    {"스윕 재생", 4, kWord, {"재생", 3, 5}, {" ", 2, 3}, kNone},
    {"One. Two.", 6, kSentence, {"Two.", 5, 9}, {"One. ", 0, 5}, kNone},
    {"One. Two.", -1, kSentence, {"", 9, 9}, {"Two.", 5, 9}, kNone},
    {"16000", 3, kLine, {"16000", 0, 5}, kNone, kNone},
    {"", 0, kWord, {"", 0, 0}, kNone, kNone},
    {"", 0, kSentence, {"", 0, 0}, kNone, kNone},
    {"16000", 6, kWord, kNone, kNone, kNone},
    {"  Hz", 0, kWord, {"  ", 0, 2}, kNone, {"Hz", 2, 4}},
    {"a, b", 2, kWord, {", ", 1, 3}, {"a", 0, 1}, {"b", 3, 4}},  // a boundary inside the gap
};

std::string Show(const QString& text, int start, int end) {
    return "'" + text.toStdString() + "' " + std::to_string(start) + "-" + std::to_string(end);
}
std::string Show(const Piece& p) { return Show(QString::fromUtf8(p.text), p.start, p.end); }

TEST(AccessibleLineEdit, EveryBoundaryAnswersAtTheStartMiddleAndEnd) {
    QLineEdit edit;
    QAccessibleTextInterface* text = QAccessible::queryAccessibleInterface(&edit)->textInterface();
    ASSERT_NE(text, nullptr);
    for (const Row& row : kRows) {
        edit.setText(QString::fromUtf8(row.text));
        SCOPED_TRACE(std::string(row.text) + " at " + std::to_string(row.offset) + ", boundary " +
                     std::to_string(row.boundary));
        int start = 0;
        int end = 0;
        QString got = text->textAtOffset(row.offset, row.boundary, &start, &end);
        EXPECT_EQ(Show(got, start, end), Show(row.at)) << "at";
        got = text->textBeforeOffset(row.offset, row.boundary, &start, &end);
        EXPECT_EQ(Show(got, start, end), Show(row.before)) << "before";
        got = text->textAfterOffset(row.offset, row.boundary, &start, &end);
        EXPECT_EQ(Show(got, start, end), Show(row.after)) << "after";
    }
}

// Orca reads a value by its attribute runs: a run one character short loses the last digit.
TEST(AccessibleLineEdit, ASelectedValueIsOneRunAndOneSelection) {
    QLineEdit edit("16000");
    edit.selectAll();
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(&edit);
    QAccessibleTextInterface* text = iface->textInterface();
    int start = 0;
    int end = 0;
    for (int offset = 0; offset <= 5; ++offset) {
        text->attributes(offset, &start, &end);
        EXPECT_EQ(std::make_pair(start, end), std::make_pair(0, 5)) << "offset " << offset;
    }
    ASSERT_EQ(text->selectionCount(), 1);
    text->selection(0, &start, &end);
    EXPECT_EQ(text->text(start, end), "16000");
    EXPECT_EQ(iface->text(QAccessible::Value), "16000");
    EXPECT_TRUE(iface->state().editable);
}

}  // namespace
