// Helpers of the window tests: texts, the caption of an element, modal
// windows answered from inside their event loop, and screenshots.
#pragma once

#include <functional>
#include <ostream>
#include <string>

#include <QObject>
#include <QString>

class QWidget;

// The natural caption of an element: a button's or check box's text, a
// label's text, a group box's title, an action's text; for any other widget
// the text of its caption label (<name>Caption).
QString captionOf(const QObject* element);
// The tool tip of a widget or an action.
QString hintOf(const QObject* element);

QString q(const char16_t* text);

// Shows QStrings readably in failed assertions.
void PrintTo(const QString& text, std::ostream* out);

// Runs the step on the next modal window once it is shown (from inside its
// own event loop); the step is expected to close it.
void onNextModal(std::function<void(QWidget*)> step);

// Saves the widget's picture as <build>/screenshots/<name>.png; returns the path.
QString saveScreenshot(QWidget* widget, const QString& name);
