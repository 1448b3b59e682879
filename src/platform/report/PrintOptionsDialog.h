#pragma once

#include <QDialog>
#include <QStringList>

class QComboBox;
class QSpinBox;

namespace report {

struct PrintOptions
{
    QString printer;
    QStringList printers;
    int copies = 1;
    int firstPage = 1;
    int lastPage = 9999;
};

// Printer, copies and page range before a job prints.
class PrintOptionsDialog : public QDialog
{
    Q_OBJECT
public:
    PrintOptionsDialog(const PrintOptions &options, QWidget *parent, const QString &title);

    PrintOptions options() const;
    // Prints only when every number shown is one the dialog takes; otherwise
    // the user is told which and what it takes, and the text stays.
    void accept() override;
    QComboBox *printerBox() const { return m_printer; }
    QSpinBox *copiesBox() const { return m_copies; }
    QSpinBox *firstPageBox() const { return m_first; }
    QSpinBox *lastPageBox() const { return m_last; }

private:
    QString refusal(QSpinBox *box) const;

    PrintOptions m_options;
    QComboBox *m_printer;
    QSpinBox *m_copies;
    QSpinBox *m_first;
    QSpinBox *m_last;
};

// Shows the dialog; false when the user cancelled.
bool askPrintOptions(PrintOptions &options, QWidget *parent, const QString &title);

}
