// The window in each language: every text of its menus, panel and dialogs
// in English is the translation of the Spanish one, a change of language
// sets them again at once (open windows included), and a window built in
// English shows the same texts.
#include <QAbstractButton>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileIconProvider>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QRegularExpression>
#include <QXmlStreamReader>
#include <QtTest>

#include "AppTestSupport.h"
#include "app/About.h"
#include "app/LanguageMenu.h"

namespace {

struct ShownText {
  QString where, text;
  bool operator==(const ShownText&) const = default;
};

// Every text a user can read on `root` and its children, in a fixed order.
QList<ShownText> TextsOf(QWidget* root) {
  QList<ShownText> out;
  auto add = [&out](const QObject* o, const char* what, const QString& text) {
    out.append({QStringLiteral("%1 %2 %3").arg(o->metaObject()->className(), o->objectName(), what), text});
  };
  QList<QObject*> objects{root};
  objects += root->findChildren<QObject*>();
  for (QObject* o : objects) {
    // Inside a file dialog or a button box the texts are the toolkit's own
    // translation.
    bool toolkits = false;
    for (QObject* p = o->parent(); p && !toolkits; p = p->parent())
      toolkits = qobject_cast<QDialogButtonBox*>(p) || qobject_cast<QFileDialog*>(p);
    if (toolkits) continue;
    // An action's tool tip is its text unless set; none is set.
    if (auto* a = qobject_cast<QAction*>(o)) {
      if (!a->isSeparator()) add(a, "text", a->text());
    } else if (auto* m = qobject_cast<QMenu*>(o)) {
      add(m, "title", m->title());
    } else if (auto* l = qobject_cast<QLabel*>(o)) {
      add(l, "text", l->text());
    } else if (auto* b = qobject_cast<QAbstractButton*>(o)) {
      add(b, "text", b->text());
    } else if (auto* g = qobject_cast<QGroupBox*>(o)) {
      add(g, "title", g->title());
    } else if (auto* c = qobject_cast<QComboBox*>(o)) {
      for (int k = 0; k < c->count(); ++k) add(c, "item", c->itemText(k));
    } else if (auto* h = qobject_cast<QHeaderView*>(o)) {
      for (int k = 0; k < h->count(); ++k)
        add(h, "header", h->model()->headerData(k, h->orientation()).toString());
    }
    if (auto* w = qobject_cast<QWidget*>(o)) {
      if (w->isWindow()) add(w, "windowTitle", w->windowTitle());
      if (!qobject_cast<QAction*>(o)) add(w, "toolTip", w->toolTip());
    }
  }
  return out;
}

}  // namespace

class LanguageTest : public QObject {
  Q_OBJECT
  std::unique_ptr<TestForm> f;
  // Each Spanish source text of the English file and its translations.
  QHash<QString, QSet<QString>> english_;

  void Choose(const char* code) { f->languages->Choose(QString::fromLatin1(code)); }

  // The English texts are the Spanish ones translated; a Spanish text with
  // words that the English file does not hold was left out of it.
  void ExpectTranslated(const QList<ShownText>& spanish, const QList<ShownText>& english) {
    QCOMPARE(english.size(), spanish.size());
    static const QRegularExpression word(QStringLiteral("[A-Za-zÁÉÍÓÚáéíóúñ]{3,}"));
    for (int k = 0; k < spanish.size(); ++k) {
      const QString& s = spanish[k].text;
      const QString& e = english[k].text;
      const QString where = spanish[k].where + QStringLiteral(": \"%1\" / \"%2\"").arg(s, e);
      QCOMPARE(english[k].where, spanish[k].where);
      if (spanish[k].where.contains(QRegularExpression(QStringLiteral(" language_[a-z][a-z] "))))  // by its own name
        QVERIFY2(s == e, qPrintable(where));
      else if (english_.contains(s))
        QVERIFY2(english_[s].contains(e), qPrintable(where));
      else
        QVERIFY2(s == e && (!s.contains(word) || s == QLatin1String("Quorlen")),
                 qPrintable(QStringLiteral("not translatable: ") + where));
    }
  }

 private slots:
  void initTestCase() {
    StartTestApplication();
    QFile ts(QStringLiteral(QUORLEN_TRANSLATIONS_DIR "/quorlen_en.ts"));
    QVERIFY(ts.open(QIODevice::ReadOnly));
    QXmlStreamReader xml(&ts);
    QString source;
    while (!xml.atEnd()) {
      xml.readNext();
      if (!xml.isStartElement()) continue;
      if (xml.name() == QLatin1String("source"))
        source = xml.readElementText();
      else if (xml.name() == QLatin1String("translation"))
        english_[source].insert(xml.readElementText());
    }
    QVERIFY2(english_.size() > 250, qPrintable(QString::number(english_.size())));
  }
  void init() {
    QSettings(QStringLiteral("Quorlen"), QStringLiteral("Quorlen")).clear();
    InstallLanguage(QStringLiteral("es"));
    f = NewForm();
  }
  void cleanup() {
    f.reset();
    InstallLanguage(QStringLiteral("es"));
  }

  // Menus and panel in English, alike whether the window was built in
  // English or changed to it; the about box and the umbilics' window open
  // while the language changes; and back to Spanish to the last character.
  void theWindowAndItsOpenWindowsInEachLanguage() {
    const QList<ShownText> plain = TextsOf(f.get());
    Choose("en");
    QVERIFY(f->findChild<QAction*>(QStringLiteral("language_en"))->isChecked());
    ExpectTranslated(plain, TextsOf(f.get()));
    QVERIFY(TextsOf(NewForm().get()) == TextsOf(f.get()));
    Choose("es");
    QTest::mouseClick(f->StopButton, Qt::LeftButton);  // a picture, for the umbilics
    f->aboutAction->trigger();
    f->umbilics->umbilicsAction->trigger();
    QTRY_VERIFY(f->umbilics->umbilicWindow && f->umbilics->umbilicWindow->isVisible());
    QVERIFY(f->findChild<TFormAbout*>());
    const QList<ShownText> spanish = TextsOf(f.get());
    Choose("en");
    ExpectTranslated(spanish, TextsOf(f.get()));
    Choose("es");
    QVERIFY(TextsOf(f.get()) == spanish);
  }

  // Dialogs built when asked for: each shows in the language installed.
  void dialogsInEachLanguage() {
    QTest::mouseClick(f->StopButton, Qt::LeftButton);
    f->analysis->analysisItems[2]->trigger();  // a map, for "Escala..."
    const std::function<void()> opens[] = {
        [this] { f->analysis->scaleAction->trigger(); },
        [this] {
          f->analysis->reflectionLinesAction->trigger();
          f->analysis->scaleAction->trigger();
        },
        [this] { f->exports->pngAction->trigger(); },
    };
    for (const auto& open : opens) {
      QList<ShownText> texts[2];
      for (int language = 0; language < 2; ++language) {
        Choose(language == 0 ? "es" : "en");
        WhenModal([&texts, language](QWidget* d) {
          texts[language] = TextsOf(d);
          d->close();
        });
        open();
        QTRY_VERIFY(!texts[language].isEmpty());
        f->analysis->analysisItems[2]->trigger();
      }
      ExpectTranslated(texts[0], texts[1]);
    }
  }

  // The toolkit's own texts in the file dialogs and message boxes, and its
  // dates, in the language chosen.
  void theToolkitsTextsInEachLanguage() {
    const struct {
      const char *code, *folder, *cancel;
      QLocale::Language dates;
    } cases[] = {{"es", "Carpeta", "Cancelar", QLocale::Spanish}, {"en", "Folder", "Cancel", QLocale::English}};
    for (const auto& c : cases) {
      Choose(c.code);
      QCOMPARE(QFileIconProvider().type(QFileInfo(QDir::tempPath())), QString::fromUtf8(c.folder));
      QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"), QString::fromUtf8(c.cancel));
      QCOMPARE(QLocale().language(), c.dates);
    }
  }
};

QTEST_MAIN(LanguageTest)
#include "tst_language.moc"
