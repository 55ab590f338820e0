// The language the program speaks: Spanish, its source texts, or one of the
// translations built into it (translations/quorlen_<code>.ts), with the
// toolkit's own texts (dialog buttons, file dialogs) in the same language.
#pragma once

#include <QString>
#include <QStringList>

// The Spanish of the source texts.
inline constexpr char kSourceLanguage[] = "es";

// "es" first, then the code of every translation built in ("en").
QStringList AvailableLanguages();

// The language's own name for itself ("Español", "English"): the
// translation of "Español" in that language.
QString LanguageName(const QString& code);

// The language the environment asks for, as gettext reads it: LANGUAGE (a
// list, ignored under the C locale), else LC_ALL, LC_MESSAGES, LANG. The
// first entry the program speaks wins; Spanish when none does.
QString LanguageFromEnvironment(const QStringList& available, const QString& language, const QString& lcAll,
                                const QString& lcMessages, const QString& lang);
QString SystemLanguage();

// Replaces the program's and the toolkit's translators by those of `code`
// (an application object must exist). False, with Spanish installed, when
// `code` is not one of AvailableLanguages().
bool InstallLanguage(const QString& code);
QString InstalledLanguage();

// The stored choice: "" for the system's language, or a code.
QString StoredLanguageChoice();
void StoreLanguageChoice(const QString& choice);
// The language a stored choice stands for (the system's for "" or a code
// no longer built in).
QString ResolveLanguageChoice(const QString& choice);
