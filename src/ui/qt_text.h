#pragma once
// The core keeps its texts in UTF-8; the screens show QStrings.
#include <QString>
#include <string>
#include <string_view>

namespace mitoran {

inline QString qs(std::string_view utf8) {
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

inline std::string utf8(const QString& text) { return text.toStdString(); }

}  // namespace mitoran
