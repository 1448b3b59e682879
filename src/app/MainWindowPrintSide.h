#pragma once

#include "app/PrintLoop.h"

#include <functional>

class TfrmPrintMan;

namespace printroad {

// The print road's view of the main window: the output buttons, printer
// lists, options and window boxes of its print tab. The current form row
// comes from whoever keeps the form list.
class MainWindowPrintSide : public PrintWindow
{
public:
    MainWindowPrintSide(TfrmPrintMan &window, std::function<FormRow()> currentFormRow);

    FormRow currentFormRow() const override;
    Output output() const override;
    QString standardPrinterText() const override;
    QString formPrinterText() const override;
    void focusStandardPrinterList() override;
    void focusFormPrinterList() override;
    bool withOptions() const override;
    int typedCopies() const override;
    bool closeAfterJob() const override;
    bool backgroundAfterJob() const override;
    void closeMainWindow() override;
    void minimizeApplication(bool hideMainWindow) override;
    QWidget *activeWindow() const override;

private:
    TfrmPrintMan &m_window;
    std::function<FormRow()> m_currentFormRow;
};

} // namespace printroad
