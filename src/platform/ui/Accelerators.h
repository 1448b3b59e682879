#pragma once

#include <QChar>
#include <QString>

namespace ui {

// The accelerator of a caption: the character after a single "&" ("&&" is a
// literal ampersand); a null QChar when there is none.
QChar acceleratorOf(const QString &caption);
// True when `key` is the caption's accelerator, without regard to case.
bool isAccelerator(QChar key, const QString &caption);

}
