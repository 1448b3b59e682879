#pragma once

#include <QFileDialog>

namespace report {

// The preview's "Als PDF speichern" dialog. A name typed without ".pdf"
// gets it, whatever else it holds ("Rechnung 01.10.2026"); whether to
// replace a file is asked for the file that is actually written, and
// "Nein" leaves the dialog open for another name.
class PdfSaveDialog : public QFileDialog
{
    Q_OBJECT

public:
    PdfSaveDialog(QWidget *parent, const QString &suggestedPath);

    // The file to write once the dialog was accepted.
    QString pdfPath() const { return m_pdfPath; }
    void accept() override;

private:
    QString m_pdfPath;
};

} // namespace report
