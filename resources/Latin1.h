#pragma once

#include <QString>

#include <string>
#include <string_view>

// The program keeps its texts as single-byte Latin-1; these convert them to
// and from Qt's strings (characters outside Latin-1 become '?').
namespace vostrel {

inline QString FromLatin1(std::string_view text)
{
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

inline std::string ToLatin1(const QString& text)
{
    return text.toLatin1().toStdString();
}

} // namespace vostrel
