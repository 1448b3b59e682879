#pragma once

#include "app/printroad/PrintLoop.h"

class TfrmPrintMan;

namespace printroad {

// The print road's view of the main window: the current row of its form
// table and the output buttons, printer lists, options and window boxes of
// its print tab.
class MainWindowPrintSide : public PrintWindow
{
public:
    explicit MainWindowPrintSide(TfrmPrintMan &window);

    FormRow currentFormRow() const override;
    Output output() const override;
    QString standardPrinterText() const override;
    QString formPrinterText() const override;
    void focusStandardPrinterList() override;
    void focusFormPrinterList() override;
    bool withOptions() const override;
    int typedCopies() const override;
    void forgetTypedCopies() override;
    bool closeAfterJob() const override;
    bool backgroundAfterJob() const override;
    void closeMainWindow() override;
    void minimizeApplication(bool hideMainWindow) override;
    QWidget *activeWindow() const override;

private:
    TfrmPrintMan &m_window;
};

} // namespace printroad
