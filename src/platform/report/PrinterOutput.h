#pragma once

#include "platform/report/PageSink.h"

#include <QStringList>

#include <memory>

namespace report {

// The printer a layout prints on: the one stored with it while it exists,
// else the program's current printer.
QString printerForLayout(const QString &layoutPath);
QString printerPort(const QString &printer);
QStringList printerNames();

// A sink for the printer, or null with `code` -11 when it does not exist or
// cannot take the job (then `refusal` says why, in German).
// A printer that writes PDF files gets a PDF sink, which writes atomically.
std::unique_ptr<PageSink> printerSink(const QString &printer, const QString &documentName, int &code, QString &refusal);

}
