#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// Compares `actual` with tests/app/printroad/golden/<name>.txt; with TINTLEN_WRITE_GOLDEN
// set the file is written instead.
void expectGoldenText(const QString &name, const QString &actual);
// The lines of tests/app/printroad/golden/<name>.txt, each split at its tabs.
QList<QStringList> dataRows(const QString &name);
