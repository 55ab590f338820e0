// Texts, colours and small helpers shared by the main window's files.
#pragma once

#include <QAction>
#include <QCoreApplication>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPixmap>
#include <QPushButton>
#include <QStatusBar>
#include <QTextEdit>
#include <QTimer>
#include <QString>
#include <cstdint>
#include <exception>
#include <string>

#include "messages/MessageText.h"
#include "platform/RunChecks.h"

namespace win {

// A text of the main window kept as its Spanish source: read, it is the
// translation in the language installed at that moment.
struct WindowText {
  const char* source;
  QString operator()() const { return QCoreApplication::translate("MainWindow", source); }
  operator QString() const { return (*this)(); }
  friend bool operator==(const QString& shown, const WindowText& t) { return shown == t(); }
};

inline constexpr WindowText kDrawCaption{QT_TRANSLATE_NOOP("MainWindow", "Dibújala")};
inline constexpr WindowText kStopCaption{QT_TRANSLATE_NOOP("MainWindow", "Parar")};
inline constexpr WindowText kDragHint{QT_TRANSLATE_NOOP(
    "MainWindow", "Arrastrar nodos con el ratón. Si, además, UpArrow, el nodo se acerca; si DownArrow, se aleja")};
inline constexpr WindowText kBadNumber{QT_TRANSLATE_NOOP("MainWindow", "Hay un número mal escrito")};

constexpr uint32_t kAqua = 0xFFFF00;
constexpr uint32_t kSilver = 0xC0C0C0;
constexpr uint32_t kRed = 0x0000FF;
constexpr uint32_t kMagenta = 0xFF00FF;
constexpr uint32_t kTickIdle = 0xFFFFFF;
constexpr uint32_t kTickDragged = 0x00AAFF;  // orange

inline QString Text(const std::string& s) { return QString::fromStdString(s); }
inline std::string Std(const QString& s) { return s.toStdString(); }

// Whether the fourth character from the end is the dot of a three-letter
// extension.
inline bool HasThreeLetterExtension(const QString& name) {
  return name.size() >= 4 && name[name.size() - 4] == '.';
}

// An error in the user's language: the core's run-time errors by their
// message; any other (the window's own) by its text.
inline QString ErrorText(const std::exception& e) {
  const auto* run = dynamic_cast<const qchk::RunError*>(&e);
  return run && !run->message.empty() ? MessageText(run->message) : QString::fromUtf8(e.what());
}

inline QColor ColourOf(uint32_t bgr) { return QColor(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF); }

inline QPixmap FilledPixmap(int w, int h, uint32_t colour) {
  QPixmap p(w, h);
  p.fill(ColourOf(colour));
  return p;
}

}  // namespace win
