#include "messages/MessageText.h"

#include <QCoreApplication>

#include "messages/MessageTable.h"

std::string MessageTextUtf8(const UserMessage& message) {
  const char* source = MessageSource(message.code);
  if (!*source) return {};
  // Without a translator (or a QCoreApplication) this is the source text.
  const QByteArray text = QCoreApplication::translate("Message", source).toUtf8();
  return FillArguments(std::string_view(text.constData(), static_cast<size_t>(text.size())), message.args);
}

QString MessageText(const UserMessage& message) { return QString::fromStdString(MessageTextUtf8(message)); }
