#pragma once

#include <QString>
#include <QVariantList>

// The framework's Format: "%" [index ":"] ["-"] [width] ["." precision]
// type, with width and precision also as "*" taken from the arguments.
// Types: d u x (integers; precision = minimum digits), f n m e g (numbers;
// n and m group thousands, m adds the currency after FormatSettings()),
// s (text; precision = maximum length) and "%%". Numbers round decimally,
// half away from zero. A mismatch raises EConvertError.
QString Format(const QString &format, const QVariantList &args);
