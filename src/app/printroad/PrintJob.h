#pragma once

#include <QString>
#include <QStringList>

namespace printroad {

class PrintLoop;
class PrintWindow;
class ReportFields;

// The program's current default printer: its name, driver and port; false
// (and said so) when there is none.
bool GetDefaultPrinter(QString &name, QString &driver, QString &port);
// Makes the named printer the program's default printer; false (and said
// so) when it cannot.
bool SetCurrentPrinter(const QString &name);
// The printer name of a printer list entry ("name an port").
QString PrinterNameOf(const QString &listText);

// The print driver: turns the current form row and request into one or more
// report jobs on the chosen printer.
class PrintJob
{
public:
    PrintJob(PrintLoop &loop, ReportFields &fields, PrintWindow &window);

    bool Tintlen();
    // The default-printer list's choice made the default at once.
    void lstStdDruckerChange();

private:
    bool checkOutput(QString &restorePrinter);
    void printLists();
    void printEachDocument();
    void printEachCustomer();
    QStringList documentKeys(const QString &range);
    QStringList customerKeys();
    void printJobsFor(const QStringList &keys);

    PrintLoop &m_loop;
    ReportFields &m_fields;
    PrintWindow &m_window;
    bool m_running = false;
};

} // namespace printroad
