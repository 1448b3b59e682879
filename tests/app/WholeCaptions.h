#pragma once

#include <QString>

class QWidget;

// Expects every visible button with a text, every visible label and every
// tab bar inside `window` to be at least as wide and as tall as its text
// needs. Saves a picture of the window as `name`.png into the folder named
// by TINTLEN_SCREENSHOTS, when that is set, for a person to look at.
void expectCaptionsWhole(const QWidget &window, const QString &name);
