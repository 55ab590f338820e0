// Window texts that follow the chosen language. Each text is set through a
// function kept with the object showing it; after a change of language
// every kept function runs again. Texts drawn into a picture are not kept:
// they change at the next drawing.
#pragma once

#include <QObject>
#include <functional>

// Runs `apply` now and after every change of language, while `owner` lives.
void KeepTranslated(QObject* owner, std::function<void()> apply);

// Sets the Qt property (text, title, windowTitle, toolTip...) of `target`
// to the translation of `source` in `context`, now and after every change
// of language. Mark the source with QT_TRANSLATE_NOOP(context, ...).
void KeepTranslated(QObject* target, const char* property, const char* context, const char* source);

// After a change of language: runs every kept function of a live owner.
void RetranslateWindowTexts();
