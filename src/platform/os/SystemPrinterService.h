#pragma once

#include "platform/os/Printers.h"

namespace os {

// The system's print queues (through Qt, that is CUPS) and the built-in
// printer "Tintlen PDF", which writes each job as a PDF file so that a
// machine without queues can print too.
//
// Settings live in the program's own settings file, $TINTLEN_SETTINGS,
// else settings.ini beside the program when the installation keeps it
// there, else ~/.config/tintlen/settings.ini, section "Drucker":
//   Aktuell=<name>      the program's current default printer; when it is
//                       missing, the system's default queue, else
//                       "Tintlen PDF".
//   PdfOrdner=<folder>  where "Tintlen PDF" writes; $TINTLEN_PDF_DIR
//                       overrides it; default ~/Tintlen PDF.
// Each job becomes "<folder>/<document name>.pdf", with " (2)", " (3)", ...
// added rather than overwriting an earlier file.
class SystemPrinterService : public PrinterService
{
public:
    static const QString BuiltinPdfName;

    static QString settingsPath();
    static QString pdfFolder();

    QList<PrinterInfo> printers() const override;
    QString currentPrinter() const override;
    void setCurrentPrinter(const QString &name) override;
    bool configure(QPrinter &printer, const QString &name, const QString &documentName,
                   QString &refusal) const override;
};

// Sets the printer up to write a new PDF file for the document in folder,
// creating the folder when needed; false, with the reason in refusal, when
// the folder cannot take the file.
bool configurePdfOutput(QPrinter &printer, const QString &folder, const QString &documentName, QString &refusal);

} // namespace os
