#include "platform/os/SystemPrinterService.h"

#include "platform/os/IniFile.h"
#include "platform/os/Paths.h"

#include <QDir>
#include <QFileInfo>
#include <QPrinter>
#include <QPrinterInfo>
#include <QStandardPaths>

namespace os {

namespace {

const QString Section = QStringLiteral("Drucker");

QString environmentOr(const char *variable, const QString &fallback)
{
    const QString value = qEnvironmentVariable(variable);
    return value.isEmpty() ? fallback : value;
}

// Document names may hold characters a file name cannot.
QString fileNameFor(const QString &documentName)
{
    QString name = documentName.trimmed();
    for (QChar &c : name) {
        if (c == QLatin1Char('/') || c == QLatin1Char('\\') || c == QLatin1Char(':') || c.unicode() < 32)
            c = QLatin1Char('_');
    }
    return name.isEmpty() ? QStringLiteral("Dokument") : name;
}

QString unusedPdfPath(const QString &folder, const QString &baseName)
{
    QString path = folder + QLatin1Char('/') + baseName + QStringLiteral(".pdf");
    for (int n = 2; QFileInfo::exists(path); ++n)
        path = folder + QLatin1Char('/') + baseName + QStringLiteral(" (%1).pdf").arg(n);
    return path;
}

// Why the built-in PDF printer cannot write into folder; empty when it can
// (the folder is created when missing).
QString unusablePdfFolder(const QString &folder)
{
    const QString start = QStringLiteral("Der PDF-Drucker kann nicht in den Ordner \"%1\" schreiben: ").arg(folder);
    if (folder.trimmed().isEmpty())
        return QStringLiteral("Für den PDF-Drucker ist kein Ordner eingestellt.");
    const QFileInfo info(folder);
    if (info.exists() && !info.isDir())
        return start + QStringLiteral("An seiner Stelle liegt eine Datei.");
    if (!info.exists() && !QDir().mkpath(folder))
        return start + QStringLiteral("Er fehlt und kann nicht angelegt werden.");
    if (!QFileInfo(folder).isWritable())
        return start + QStringLiteral("Er ist schreibgeschützt.");
    return {};
}

QString queuePort(const QPrinterInfo &queue)
{
    return queue.location().isEmpty() ? QStringLiteral("CUPS") : queue.location();
}

} // namespace

const QString SystemPrinterService::BuiltinPdfName = QStringLiteral("Tintlen PDF");

QString SystemPrinterService::settingsPath()
{
    const QString installation = installationSettingsFile(QStringLiteral("settings.ini"));
    return environmentOr("TINTLEN_SETTINGS", !installation.isEmpty() ? installation
                                                                     : QStandardPaths::writableLocation(
                                                                           QStandardPaths::GenericConfigLocation)
                                                                           + QStringLiteral("/tintlen/settings.ini"));
}

QString SystemPrinterService::pdfFolder()
{
    const QString configured = TIniFile(settingsPath()).ReadString(Section, QStringLiteral("PdfOrdner"), QString());
    return environmentOr("TINTLEN_PDF_DIR",
                         configured.isEmpty() ? QDir::homePath() + QStringLiteral("/Tintlen PDF") : configured);
}

QList<PrinterInfo> SystemPrinterService::printers() const
{
    QList<PrinterInfo> result{{BuiltinPdfName, QStringLiteral("PDF"), true}};
    for (const QPrinterInfo &queue : QPrinterInfo::availablePrinters())
        result << PrinterInfo{queue.printerName(), queuePort(queue), false};
    return result;
}

QString SystemPrinterService::currentPrinter() const
{
    const QString stored = TIniFile(settingsPath()).ReadString(Section, QStringLiteral("Aktuell"), QString());
    if (!stored.isEmpty())
        return stored;
    const QString systemDefault = QPrinterInfo::defaultPrinterName();
    return systemDefault.isEmpty() ? BuiltinPdfName : systemDefault;
}

void SystemPrinterService::setCurrentPrinter(const QString &name)
{
    const QString path = settingsPath();
    QDir().mkpath(QFileInfo(path).absolutePath());
    TIniFile(path).WriteString(Section, QStringLiteral("Aktuell"), name);
}

bool SystemPrinterService::configure(QPrinter &printer, const QString &name, const QString &documentName,
                                     QString &refusal) const
{
    const PrinterInfo info = find(name);
    if (info.name.isNull())
        return false;
    if (info.builtinPdf)
        return configurePdfOutput(printer, pdfFolder(), documentName, refusal);
    printer.setOutputFormat(QPrinter::NativeFormat);
    printer.setPrinterName(info.name);
    printer.setDocName(documentName);
    return true;
}

bool configurePdfOutput(QPrinter &printer, const QString &folder, const QString &documentName, QString &refusal)
{
    refusal = unusablePdfFolder(folder);
    if (!refusal.isEmpty())
        return false;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(unusedPdfPath(QDir(folder).absolutePath(), fileNameFor(documentName)));
    printer.setDocName(documentName);
    return true;
}

} // namespace os
