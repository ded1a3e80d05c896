#pragma once

#include <QAccessible>
#include <QString>

// The pieces of a single line of text that a screen reader asks for by boundary: the character,
// word or sentence at an offset, and the ones before and after it. Line and paragraph boundaries
// (and none) give the whole text. An offset of -1 stands for the end of the text.
//
// Qt 6.4's own answers loop for ever at the end of the text for words and sentences, which hangs
// the program under Orca; these always end.
struct TextSegment {
    QString text;
    int start = -1;  // -1 when there is no such piece
    int end = -1;
};

TextSegment SegmentAt(const QString& text, int offset, QAccessible::TextBoundaryType boundary);
TextSegment SegmentBefore(const QString& text, int offset, QAccessible::TextBoundaryType boundary);
TextSegment SegmentAfter(const QString& text, int offset, QAccessible::TextBoundaryType boundary);
