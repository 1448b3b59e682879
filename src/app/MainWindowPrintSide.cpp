#include "app/MainWindowPrintSide.h"

#include "app/DruckPrg.h"
#include "app/Utils.h"
#include "platform/db/TField.h"
#include "platform/db/TTable.h"
#include "platform/runtime/Conversions.h"

#include <QApplication>

namespace printroad {

MainWindowPrintSide::MainWindowPrintSide(TfrmPrintMan &window) : m_window(window)
{}

FormRow MainWindowPrintSide::currentFormRow() const
{
    TTable *forms = m_window.tblForm;
    if (!forms || !forms->Active() || IsTableEmpty(forms))
        return FormRow{QString(), QString(), 1};
    return FormRow{forms->FieldByName(QStringLiteral("Bezeichnung"))->AsString(),
                   forms->FieldByName(QStringLiteral("DateiErsteSeite"))->AsString(),
                   forms->FieldByName(QStringLiteral("Ausdrucke"))->AsInteger()};
}

Output MainWindowPrintSide::output() const
{
    if (m_window.btnStandardDrucker->isChecked())
        return Output::Standarddrucker;
    if (m_window.btnFormularDrucker->isChecked())
        return Output::Formulardrucker;
    return Output::Bildschirm;
}

QString MainWindowPrintSide::standardPrinterText() const
{
    return m_window.lstStdDrucker->currentText();
}

QString MainWindowPrintSide::formPrinterText() const
{
    return m_window.lstFrmDrucker->currentText();
}

void MainWindowPrintSide::focusStandardPrinterList()
{
    m_window.lstStdDrucker->setFocus();
}

void MainWindowPrintSide::focusFormPrinterList()
{
    m_window.lstFrmDrucker->setFocus();
}

bool MainWindowPrintSide::withOptions() const
{
    return m_window.btnMitOptionen->isChecked();
}

int MainWindowPrintSide::typedCopies() const
{
    return StrToIntDef(m_window.lblAusdruckAnz->text().trimmed(), 0);
}

void MainWindowPrintSide::forgetTypedCopies()
{
    m_window.lblAusdruckAnz->clear();
    m_window.lblAusdrucke->hide();
    m_window.lblAusdruckAnz->hide();
}

bool MainWindowPrintSide::closeAfterJob() const
{
    return m_window.btnFensterSchliessen->isChecked();
}

bool MainWindowPrintSide::backgroundAfterJob() const
{
    return m_window.btnFensterHintergrund->isChecked();
}

void MainWindowPrintSide::closeMainWindow()
{
    m_window.close();
}

void MainWindowPrintSide::minimizeApplication(bool hideMainWindow)
{
    m_window.showMinimized();
    if (hideMainWindow)
        m_window.hide();
}

QWidget *MainWindowPrintSide::activeWindow() const
{
    QWidget *active = QApplication::activeWindow();
    return active ? active : &m_window;
}

} // namespace printroad
