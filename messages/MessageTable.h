// The program's texts for the core's messages, and the filling of their
// %1, %2, ... without Qt: the Spanish source texts that the translations
// start from, for logs, for the tests of the core and for MessageText.
#pragma once

#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "platform/UserMessage.h"

// The Spanish source text of `code`, with %1..%n where its arguments go;
// "" for MessageCode::None and for no code at all.
const char* MessageSource(MessageCode code);

// `text` with %1..%9 replaced by args[0..8] in one pass (an argument that
// itself holds "%1" stays as it is); a % without an argument stays.
std::string FillArguments(std::string_view text, const std::vector<std::string>& args);

// The message in Spanish, untranslated.
std::string SpanishText(const UserMessage& message);

// Test failures and logs print the Spanish text.
std::ostream& operator<<(std::ostream& out, const UserMessage& message);
