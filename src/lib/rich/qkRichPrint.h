#pragma once

#include "lib/rich/qkPrintMargins.h"

#include <QDialog>
#include <QPageSize>
#include <QRect>

class QComboBox;
class QDoubleSpinBox;
class QPrinter;
class QRadioButton;
class QTextDocument;
class TqkCustomRichEdit;

namespace richPrint {

// The paper of a Windows paper-size code as the stored settings name it.
QPageSize paperSize(int code);
QList<int> paperCodes();

// The text's rectangle on the physical page in printer pixels: the margins
// from the page edges, each clamped to the page.
QRect formattingRectangle(const QSize &pagePixels, int dotsPerInch, const TqkPrintMargins &margins,
                          TqkMeasurementUnits units);

// Lays the document out in pages of the rectangle and prints them one
// after the other, the whole run `copies` times in one job; the number of
// pages printed.
int printDocument(const QTextDocument &document, QPrinter &printer, const QRect &rectangle, int copies = 1);

// The paper the control's text prints on: its own in printer width, else
// the current printer's.
QPageSize printingPaper(const TqkCustomRichEdit &richEdit);

} // namespace richPrint

// Page set-up of our own: paper (shown always, chosen only in printer
// width), orientation and the four margins in the control's unit.
class TqkPageSetupDialog : public QDialog
{
    Q_OBJECT

public:
    explicit TqkPageSetupDialog(TqkCustomRichEdit &richEdit, QWidget *parent = nullptr);
    // Shows the control's settings, runs the dialog and takes them back on
    // OK; a cancel leaves margins, paper and orientation unchanged.
    bool Execute();

private:
    void load();
    void showPaper(const QPageSize &paper);
    void apply();

    TqkCustomRichEdit &m_richEdit;
    QComboBox *m_paper;
    QRadioButton *m_portrait;
    QRadioButton *m_landscape;
    QDoubleSpinBox *m_top;
    QDoubleSpinBox *m_bottom;
    QDoubleSpinBox *m_left;
    QDoubleSpinBox *m_right;
};
