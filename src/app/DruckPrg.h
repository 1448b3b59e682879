#pragma once

#include "platform/os/Printers.h"
#include "ui_TfrmPrintMan.h"

#include <QWidget>

#include <functional>
#include <memory>

class DataSetGridModel;
class QLineEdit;
class QRadioButton;
class TDataSource;
class TField;
class TIniFile;
class TTable;
class TfrmBearbeiten;
class TqkFilterDialog;

namespace printroad {
class MainWindowPrintSide;
struct PrintRoad;
}

// Keeps a gate closed for the lifetime of the object and opens it again on
// every way out, an exception included, unless the holder decides that it
// stays closed.
class ClosedGate
{
public:
    explicit ClosedGate(bool &gate) : m_gate(gate) { m_gate = false; }
    ~ClosedGate()
    {
        if (m_reopen)
            m_gate = true;
    }
    ClosedGate(const ClosedGate &) = delete;
    ClosedGate &operator=(const ClosedGate &) = delete;

    void keepClosed() { m_reopen = false; }
    void openNow()
    {
        m_gate = true;
        m_reopen = false;
    }

private:
    bool &m_gate;
    bool m_reopen = true;
};

// The print manager's main window; its controls are public so that the
// handlers and dialogs working on it reach them by their names.
class TfrmPrintMan : public QWidget, public Ui::TfrmPrintMan
{
    Q_OBJECT

public:
    explicit TfrmPrintMan(QWidget *parent = nullptr);
    ~TfrmPrintMan() override;

    // The form table's print view and the e-mail view, with their sources.
    TTable *tblForm = nullptr;
    TDataSource *dsForm = nullptr;
    TTable *tblFormular = nullptr;
    TDataSource *dscFormular = nullptr;
    // The stored filter criteria of a request are applied through these to
    // the job's main table.
    TDataSource *dsTCmain = nullptr;
    TqkFilterDialog *fltTCMain = nullptr;

    // AppShow handles a request only while this gate is open; print and
    // e-mail jobs and dialogs close it, so the activations they cause are
    // ignored. A return from another program meanwhile is answered once the
    // gate opens again.
    bool ActivationOpen = true;
    // Closed while the chosen form printer is stored into the form row.
    bool PrinterDisplayOpen = true;

    // A value of the program's ini file (empty when missing).
    QString GetDruckPara(const QString &section, const QString &key) const;
    // True once FormShow found the ini file and took the activations.
    bool HandlesActivation() const { return m_handlesActivation; }

    // The print road behind the print tab: driver, print loop and designer.
    printroad::PrintRoad &PrintRoad() { return *m_printRoad; }

    // The window sees every key before the control it goes to; a key it
    // takes is set to 0.
    void FormKeyDown(QWidget *receiver, int &key, Qt::KeyboardModifiers modifiers);

public slots:
    void FormShow();
    void AppShow();
    void btnAbbruchClick();
    void pgcAuswahlChange();
    void dsFormDataChange(TField *field);

    void btnTintlenClick();
    void btnBearbClick();
    void btnBearbMouseDown(Qt::MouseButton button);
    void btnHilfeClick();
    void DBGrid1DblClick();
    void dbgEFormularDblClick();
    void btnStandardDruckerClick();
    void btnFormularDruckerClick();
    void btnBildschirmClick();
    void lstStdDruckerEnter();
    void lstFrmDruckerEnter();
    void lstFrmDruckerExit();
    void lstStdDruckerChange();
    void tblFormBeforeDelete();
    void tblFormularBeforeDelete();
    void tblFormularAfterScroll();
    void btnSendaddClick();
    void btnCCaddClick();
    void btnBCCaddClick();
    void edtSendToExit();
    void edtSendToChange();
    void edtCCChange(QLineEdit *sender);
    void cbxAnlageClick();
    void edtAnlageChange();

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void FormCreate();
    void FormClose();
    void createDataComponents();
    void fillPrinterLists();
    void onApplicationActivated();
    void runWithActivationClosed(const std::function<void()> &work);
    void answerReturnWhileClosed();
    void readWindowBehaviour(const TIniFile &ini);
    void refuseRequest(ClosedGate &gate, const QString &message);
    QString pointFormTableAt(const QString &dataPath);
    void showRequestedForms();
    void showFormPrinter();
    void showOutputChoice();
    void placeAtScreenCentre();
    void keepPlacesOfOptionalFields();
    void createPrintRoad();
    void connectHandlers();
    void watchControls();
    bool isPrintTab() const;
    void printSortKey(QChar character);
    void showTypedCopies(QChar digit);
    void storeOutputChoice(const QRadioButton *button, const QString &code);
    void storeFormPrinter();
    void checkPrinterButton(QRadioButton *button);
    void postFormField(const QString &fieldName, const QString &value);
    bool deleteGridRow(QObject *grid);
    bool typeIntoAddressEdit(QLineEdit *edit, const QString &typed);
    void addPickedContact(QLineEdit *edit, const QString &placeholder);
    TfrmBearbeiten &formEntryDialog();

    DataSetGridModel *m_formGrid = nullptr;
    DataSetGridModel *m_emailGrid = nullptr;
    bool m_handlesActivation = false;
    bool m_returnWhileClosed = false;
    std::unique_ptr<printroad::MainWindowPrintSide> m_printSide;
    std::unique_ptr<printroad::PrintRoad> m_printRoad;
    std::unique_ptr<QObject> m_keyPreview;
    std::unique_ptr<TfrmBearbeiten> m_ownFormEntryDialog;
};

// The program's main window while it exists.
extern TfrmPrintMan *frmPrintMan;

// The form printer as the printer lists show it: "name an port". A stored
// "name,driver,port" gives the part before the first comma and the part
// after the second one (after the first when there is no second). The
// built-in PDF printer shows its name alone, however it was stored.
QString PrinterDisplayText(const QString &treiber);
// A printer's entry in the printer lists: "name an port", the built-in PDF
// printer by its name alone.
QString PrinterEntryText(const os::PrinterInfo &printer);
