// The program's two kinds of message box.
//
// A plain message has one text, one "OK" button and the application title
// as caption; the standard error box reports a failure that ended an event
// handler, with the error icon and the full-stop rule of StandardErrorText.
// Both are modal and return once the person has pressed "OK".
#pragma once

#include <string_view>

class QWidget;

namespace enlacor {

// The application title: caption of every message box.
inline constexpr char kApplicationTitle[] = "Enlacor";

// A modal message with one "OK" button. `text` is UTF-8.
void ShowPlainMessage(QWidget* parent, std::string_view text);

// The standard error box for a failure's message (UTF-8).
void ShowStandardError(QWidget* parent, std::string_view message);

}  // namespace enlacor
