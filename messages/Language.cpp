#include "messages/Language.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QLocale>
#include <QSettings>
#include <QTranslator>
#include <memory>

namespace {

const QString kTranslationsFolder = QStringLiteral(":/i18n");

// Owned here, not by the application: tests build and drop applications.
std::unique_ptr<QTranslator> programTranslator, toolkitTranslator, toolkitAdditions;
QString installed = QString::fromLatin1(kSourceLanguage);

QString CodeOf(const QString& fileName) {
  // quorlen_en.qm -> en
  return fileName.mid(8, fileName.size() - 8 - 3);
}

// "en_GB.UTF-8@euro" -> "en"
QString LanguagePart(const QString& locale) {
  QString s = locale;
  for (QChar stop : {QChar(u'.'), QChar(u'@'), QChar(u'_'), QChar(u'-')}) {
    const qsizetype at = s.indexOf(stop);
    if (at >= 0) s.truncate(at);
  }
  return s.toLower();
}

QSettings Settings() { return QSettings(QStringLiteral("Quorlen"), QStringLiteral("Quorlen")); }
// Not in a group "general": the settings file keeps such keys under
// "General", and they would not be found again at the next start.
const QString kLanguageKey = QStringLiteral("opciones/idioma");

}  // namespace

QStringList AvailableLanguages() {
  QStringList codes{QString::fromLatin1(kSourceLanguage)};
  const QStringList files =
      QDir(kTranslationsFolder).entryList({QStringLiteral("quorlen_*.qm")}, QDir::Files, QDir::Name);
  for (const QString& f : files) codes.append(CodeOf(f));
  return codes;
}

QString LanguageName(const QString& code) {
  const char* own = QT_TRANSLATE_NOOP("Language", "Español");
  if (code == QLatin1String(kSourceLanguage)) return QString::fromUtf8(own);
  QTranslator t;
  if (!t.load(QStringLiteral("quorlen_") + code, kTranslationsFolder)) return code;
  const QString name = t.translate("Language", own);
  return name.isEmpty() ? code : name;
}

QString LanguageFromEnvironment(const QStringList& available, const QString& language, const QString& lcAll,
                                const QString& lcMessages, const QString& lang) {
  const QString locale = !lcAll.isEmpty() ? lcAll : !lcMessages.isEmpty() ? lcMessages : lang;
  const bool plainC = locale.isEmpty() || locale == QLatin1String("C") || locale.startsWith(QLatin1String("C.")) ||
                      locale == QLatin1String("POSIX");
  QStringList wanted;
  if (!plainC && !language.isEmpty()) wanted = language.split(u':', Qt::SkipEmptyParts);
  wanted.append(locale);
  for (const QString& w : wanted) {
    const QString code = LanguagePart(w);
    if (available.contains(code)) return code;
  }
  return QString::fromLatin1(kSourceLanguage);
}

QString SystemLanguage() {
  auto env = [](const char* name) { return qEnvironmentVariable(name); };
  return LanguageFromEnvironment(AvailableLanguages(), env("LANGUAGE"), env("LC_ALL"), env("LC_MESSAGES"),
                                 env("LANG"));
}

bool InstallLanguage(const QString& code) {
  for (auto* t : {&programTranslator, &toolkitTranslator, &toolkitAdditions}) {
    if (*t) QCoreApplication::removeTranslator(t->get());
    t->reset();
  }
  installed = QString::fromLatin1(kSourceLanguage);
  const bool known = AvailableLanguages().contains(code);
  const QString chosen = known ? code : installed;
  if (chosen != QLatin1String(kSourceLanguage)) {
    programTranslator = std::make_unique<QTranslator>();
    if (!programTranslator->load(QStringLiteral("quorlen_") + chosen, kTranslationsFolder)) {
      programTranslator.reset();
      return false;
    }
    QCoreApplication::installTranslator(programTranslator.get());
  }
  installed = chosen;
  // Dates and file types in the toolkit's dialogs ("9 dic", "Carpeta")
  // follow the default locale. Numbers the program shows never read it.
  QLocale::setDefault(QLocale(chosen));
  // The toolkit's own texts; where they are missing its English stays.
  toolkitTranslator = std::make_unique<QTranslator>();
  if (toolkitTranslator->load(QStringLiteral("qtbase_") + chosen, QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
    QCoreApplication::installTranslator(toolkitTranslator.get());
  else
    toolkitTranslator.reset();
  // The window's own additions to them (file types in the file dialog).
  toolkitAdditions = std::make_unique<QTranslator>();
  if (toolkitAdditions->load(QStringLiteral("toolkit_") + chosen, kTranslationsFolder))
    QCoreApplication::installTranslator(toolkitAdditions.get());
  else
    toolkitAdditions.reset();
  return known;
}

QString InstalledLanguage() { return installed; }

QString StoredLanguageChoice() { return Settings().value(kLanguageKey).toString(); }

void StoreLanguageChoice(const QString& choice) {
  QSettings s = Settings();
  if (choice.isEmpty())
    s.remove(kLanguageKey);
  else
    s.setValue(kLanguageKey, choice);
}

QString ResolveLanguageChoice(const QString& choice) {
  return AvailableLanguages().contains(choice) ? choice : SystemLanguage();
}
