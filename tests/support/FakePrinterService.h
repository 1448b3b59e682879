#pragma once

#include "platform/os/Printers.h"

#include <QStringList>

namespace os {

// A printer list for tests: the given names (by default "Tintlen PDF",
// "Laserdrucker Buchhaltung" and "Etikettendrucker"), the current printer
// kept in memory, and every printer configured to write a real PDF file
// into outputFolder (by default the temporary folder). It records each change of the current printer and
// each configured job.
class FakePrinterService : public PrinterService
{
public:
    struct Job
    {
        QString printer;
        QString documentName;
        QString outputFile;
    };

    explicit FakePrinterService(const QString &outputFolder = QString(),
                                QStringList names = {QStringLiteral("Tintlen PDF"),
                                                     QStringLiteral("Laserdrucker Buchhaltung"),
                                                     QStringLiteral("Etikettendrucker")});

    QList<PrinterInfo> printers() const override;
    QString currentPrinter() const override { return m_current; }
    void setCurrentPrinter(const QString &name) override;
    bool configure(QPrinter &printer, const QString &name, const QString &documentName,
                   QString &refusal) const override;

    const QStringList &currentPrinterHistory() const { return m_history; }
    const QList<Job> &jobs() const { return m_jobs; }

private:
    QString m_outputFolder;
    QStringList m_names;
    QString m_current;
    QStringList m_history;
    mutable QList<Job> m_jobs;
};

} // namespace os
