#include "app/LanguageMenu.h"

#include <QAction>
#include <QActionGroup>
#include <QCoreApplication>
#include <QMenu>

#include "app/Retranslation.h"
#include "messages/Language.h"

LanguageMenu::LanguageMenu(QMenu* parent, std::function<void()> afterChange)
    : afterChange_(std::move(afterChange)) {
  menu = parent->addMenu(QString());
  menu->setObjectName(QStringLiteral("languageMenu"));
  KeepTranslated(menu, "title", "LanguageMenu", QT_TRANSLATE_NOOP("LanguageMenu", "Idioma"));
  group_ = new QActionGroup(this);
  const QString stored = StoredLanguageChoice();
  auto add = [&](const QString& choice, const QString& name) {
    QAction* a = menu->addAction(name);
    a->setObjectName(QStringLiteral("language_") + (choice.isEmpty() ? QStringLiteral("system") : choice));
    a->setCheckable(true);
    a->setData(choice);
    a->setChecked(choice == stored || (stored.isEmpty() && choice.isEmpty()));
    group_->addAction(a);
    connect(a, &QAction::triggered, this, [this, choice] { Choose(choice); });
    return a;
  };
  // Each language by its own name, whatever the language on show.
  for (const QString& code : AvailableLanguages()) add(code, LanguageName(code));
  menu->addSeparator();
  QAction* system = add(QString(), QString());
  KeepTranslated(system, "text", "LanguageMenu", QT_TRANSLATE_NOOP("LanguageMenu", "Idioma del sistema"));
  if (!group_->checkedAction()) system->setChecked(true);
}

void LanguageMenu::Choose(const QString& choice) {
  for (QAction* a : group_->actions())
    if (a->data().toString() == choice) a->setChecked(true);
  StoreLanguageChoice(choice);
  const QString code = ResolveLanguageChoice(choice);
  if (code == InstalledLanguage()) return;
  InstallLanguage(code);
  // The toolkit's widgets re-set their own texts on the change's posted
  // events (a button box's "OK"); ours come after, so that they stay.
  QCoreApplication::sendPostedEvents(nullptr, QEvent::LanguageChange);
  RetranslateWindowTexts();
  if (afterChange_) afterChange_();
}
