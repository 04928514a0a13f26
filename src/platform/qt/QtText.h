#pragma once

#include "platform/Cp932.h"

#include <QString>

#include <string>
#include <string_view>

// Text at the Qt edge. Inside the program text is cp932 bytes (stored data)
// or UTF-8 (program literals, desktop messages); widgets take QString.
namespace zorbe {

// cp932 bytes as shown on screen.
inline QString toQString(std::string_view cp932Text)
{
    const std::string utf8 = cp932::toUtf8(cp932Text);
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

// Typed or chosen text back to cp932 bytes (characters without a cp932 code
// become "？").
inline std::string fromQString(const QString &text)
{
    return cp932::fromUtf8(text.toStdString());
}

// UTF-8 program text (messages, titles) as a QString.
inline QString fromUtf8Text(std::string_view utf8)
{
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

} // namespace zorbe
