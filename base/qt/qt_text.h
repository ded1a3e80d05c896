#pragma once

#include <QString>
#include <string>
#include <string_view>

// The program keeps its texts in UTF-8; Qt keeps them in UTF-16.
inline QString FromUtf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

inline std::string ToUtf8(const QString& text) { return text.toStdString(); }
