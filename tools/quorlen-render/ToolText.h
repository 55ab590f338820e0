// The tool's own messages and help in the language installed at start: the
// Spanish source texts go through Tool::tr, the arguments in one pass (a
// file name holding "%1" stays as it is), the result as UTF-8. In a
// function that returns std::string lupdate cannot place Tool::tr: there
// QCoreApplication::translate("Tool", ...) says the same.
#pragma once

#include <QCoreApplication>
#include <QString>

#include <string>
#include <type_traits>

class Tool {
  Q_DECLARE_TR_FUNCTIONS(Tool)
};

namespace tool_text {
inline QString Arg(const std::string& s) { return QString::fromStdString(s); }
inline QString Arg(const char* s) { return QString::fromUtf8(s); }
inline QString Arg(const QString& s) { return s; }
template <class N>
  requires std::is_integral_v<N>
QString Arg(N n) {
  return QString::number(n);
}
}  // namespace tool_text

template <class... Args>
std::string Say(const QString& text, const Args&... args) {
  if constexpr (sizeof...(Args) == 0)
    return text.toStdString();
  else
    return text.arg(tool_text::Arg(args)...).toStdString();
}
