// The core's messages in the user's language: the Spanish source text of
// the code, through the installed translators (context "Message"), with the
// arguments in place.
#pragma once

#include <QString>
#include <string>

#include "platform/UserMessage.h"

QString MessageText(const UserMessage& message);

// The same as UTF-8, for the tool's output.
std::string MessageTextUtf8(const UserMessage& message);
