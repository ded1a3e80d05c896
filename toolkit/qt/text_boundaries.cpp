#include "toolkit/qt/text_boundaries.h"

#include <QTextBoundaryFinder>
#include <optional>

namespace {

std::optional<QTextBoundaryFinder::BoundaryType> FinderType(QAccessible::TextBoundaryType b) {
    switch (b) {
        case QAccessible::CharBoundary:
            return QTextBoundaryFinder::Grapheme;
        case QAccessible::WordBoundary:
            return QTextBoundaryFinder::Word;
        case QAccessible::SentenceBoundary:
            return QTextBoundaryFinder::Sentence;
        default:
            return std::nullopt;
    }
}

// A boundary that starts or ends a piece: for words, the edges of words and of the gaps between.
bool IsEdge(const QTextBoundaryFinder& finder) {
    return finder.boundaryReasons() &
           (QTextBoundaryFinder::StartOfItem | QTextBoundaryFinder::EndOfItem);
}

TextSegment Piece(const QString& text, int start, int end) {
    return {text.mid(start, end - start), start, end};
}

}  // namespace

TextSegment SegmentAt(const QString& text, int offset, QAccessible::TextBoundaryType boundary) {
    const int length = static_cast<int>(text.size());
    if (offset == -1) offset = length;
    if (offset < 0 || offset > length) return {};
    const auto type = FinderType(boundary);
    if (!type) return Piece(text, 0, length);
    if (offset == length) return {QString(), length, length};

    QTextBoundaryFinder finder(*type, text);
    // The last edge at or before the offset (the text's start is one), then the first after it.
    finder.setPosition(offset);
    while (finder.position() > 0 && !(finder.isAtBoundary() && IsEdge(finder))) {
        finder.toPreviousBoundary();
    }
    const int start = finder.position();
    int end = finder.toNextBoundary();
    while (end != -1 && end < length && !IsEdge(finder)) end = finder.toNextBoundary();
    return Piece(text, start, end == -1 ? length : end);
}

TextSegment SegmentBefore(const QString& text, int offset, QAccessible::TextBoundaryType boundary) {
    const TextSegment at = SegmentAt(text, offset, boundary);
    if (at.start <= 0) return {};
    return SegmentAt(text, at.start - 1, boundary);
}

TextSegment SegmentAfter(const QString& text, int offset, QAccessible::TextBoundaryType boundary) {
    const TextSegment at = SegmentAt(text, offset, boundary);
    if (at.start == -1 || at.end >= static_cast<int>(text.size())) return {};
    return SegmentAt(text, at.end, boundary);
}
