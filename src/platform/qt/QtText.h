// Code page 1250 item text to and from Qt strings: the one place text crosses into Qt.
#pragma once

#include <QString>
#include <string>
#include <string_view>

#include "platform/Cp1250.h"

inline QString FromCp1250(std::string_view text) {
    return QString::fromStdString(Cp1250ToUtf8(text));
}
inline std::string ToCp1250(const QString& text) { return Utf8ToCp1250(text.toStdString()); }
