#pragma once

#include <QString>

namespace report {

// Object name of the notice window, for whoever looks for it.
inline const QString PassingNoticeName = QStringLiteral("Hinweis");

// Shows a short text in a small window at the bottom right of the screen
// that closes by itself after some seconds and needs no click; a notice
// still up takes the new text. Does nothing without a widget application.
void showPassingNotice(const QString &text);

}
