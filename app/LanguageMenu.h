// "General" -> "Idioma": Spanish, each built-in translation, or the
// system's language. The choice is kept in the settings and applies at
// once to the window's texts.
#pragma once

#include <QObject>
#include <functional>

class QActionGroup;
class QMenu;

class LanguageMenu : public QObject {
  Q_OBJECT
 public:
  // `afterChange` runs once the new language is installed and the window's
  // kept texts are set again.
  LanguageMenu(QMenu* parent, std::function<void()> afterChange);
  QMenu* menu;

  // As if the user chose it: "" for the system's language, or a code.
  void Choose(const QString& choice);

 private:
  QActionGroup* group_;
  std::function<void()> afterChange_;
};
