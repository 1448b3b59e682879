#include "app/DruckPrg.h"

#include "app/DataSetGridModel.h"
#include "app/FormFiles.h"
#include "app/FormListKeys.h"
#include "app/Kopieren.h"
#include "app/MainWindowPrintSide.h"
#include "app/StoredCriteria.h"
#include "app/Utils.h"
#include "app/bearbeitenform.h"
#include "app/dbmodul.h"
#include "app/emailroad/Ansprech.h"
#include "app/emailroad/EmailDriver.h"
#include "app/emailroad/EmailTab.h"
#include "app/mainmodul.h"
#include "app/printroad/PrintJob.h"
#include "app/printroad/PrintRoad.h"
#include "app/printroad/ReportModules.h"
#include "lib/data/Qkfltdlg.h"
#include "platform/db/TDataSource.h"
#include "platform/db/TField.h"
#include "platform/db/TSession.h"
#include "platform/db/TTable.h"
#include "platform/help/ApplicationHelp.h"
#include "platform/help/OnlHelp.h"
#include "platform/os/IniFile.h"
#include "platform/os/Paths.h"
#include "platform/os/Printers.h"
#include "platform/runtime/Exceptions.h"
#include "platform/runtime/FormatString.h"
#include "platform/ui/Application.h"
#include "platform/ui/UiServices.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScreen>
#include <QTimer>

#include <utility>

TfrmPrintMan *frmPrintMan = nullptr;

namespace {

const QString initSection = QStringLiteral("Init");

// The order-processing product protects some of its tables with this
// password; it is registered before any table opens.
const QString tablePassword = QStringLiteral("qzbvrwkmtsl7304");

// The first field of the form table that the windows and the print road
// read and `table` lacks; empty when it has them all.
QString missingFormField(const TDataSet &table)
{
    for (const char *field : {"Modul", "Typ", "Sortierung", "Bezeichnung", "Ausdrucke", "Treiber", "EtikettListe",
                              "DateiErsteSeite", "Bemerkung"})
        if (!table.FindField(QString::fromLatin1(field)))
            return QString::fromLatin1(field);
    return {};
}

QString yesNo(bool value)
{
    return value ? QStringLiteral("ja") : QStringLiteral("nein");
}

bool isSwitchedOn(const TIniFile &ini, const QString &key)
{
    return ini.ReadString(initSection, key, QString()).toUpper() == QLatin1String("JA");
}

bool isEditing(const TTable *table)
{
    return table->State() == dsEdit || table->State() == dsInsert;
}

// Runs a handler that the window's own event filter calls: what escapes is
// shown as the message loop shows it, and the event goes on.
template <class Handler>
void runHandler(Handler handler)
{
    try {
        handler();
    } catch (const std::exception &error) {
        ui::showEscapedException(error);
    }
}

// The window's key preview: every key pressed in one of its controls
// reaches FormKeyDown first.
class KeyPreview : public QObject
{
public:
    explicit KeyPreview(TfrmPrintMan &window) : m_window(window) {}

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::KeyPress || !belongsToWindow(watched))
            return false;
        const auto *keyEvent = static_cast<QKeyEvent *>(event);
        int key = keyEvent->key();
        auto *receiver = static_cast<QWidget *>(watched);
        runHandler([&] { m_window.FormKeyDown(receiver, key, keyEvent->modifiers()); });
        // A key that started a job is spent even when the job failed: passed
        // on, each parent would run the same job again.
        return key == 0;
    }

private:
    bool belongsToWindow(QObject *watched) const
    {
        const auto *widget = qobject_cast<QWidget *>(watched);
        return widget && widget->window() == &m_window;
    }

    TfrmPrintMan &m_window;
};

QIcon buttonImage(const QString &themeName, QStyle::StandardPixmap fallback, const QWidget *widget)
{
    return QIcon::fromTheme(themeName, widget->style()->standardIcon(fallback));
}

}

QString PrinterDisplayText(const QString &treiber)
{
    const qsizetype firstComma = treiber.indexOf(QLatin1Char(','));
    const qsizetype secondComma = treiber.indexOf(QLatin1Char(','), firstComma + 1);
    const qsizetype portStart = (secondComma < 0 ? firstComma : secondComma) + 1;
    const QString display =
        firstComma < 0 ? treiber : treiber.left(firstComma) + QStringLiteral(" an ") + treiber.mid(portStart);
    // Stored by others, or by us before, with a port; our own printer has none.
    const QString name = printroad::PrinterNameOf(display);
    return name.compare(os::SystemPrinterService::BuiltinPdfName, Qt::CaseInsensitive) == 0 ? name : display;
}

QString PrinterEntryText(const os::PrinterInfo &printer)
{
    // The Windows "printer on port" wording is for the system's printers.
    return printer.builtinPdf ? printer.name : Format(QStringLiteral("%s an %s"), {printer.name, printer.port});
}

TfrmPrintMan::TfrmPrintMan(QWidget *parent) : QWidget(parent)
{
    setupUi(this);
    // A fixed dialog-like window: system menu and minimise, no resizing.
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint
                   | Qt::WindowCloseButtonHint);
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    keepPlacesOfOptionalFields();
    createDataComponents();
    placeAtScreenCentre();
    connect(btnAbbruch, &QPushButton::clicked, this, &TfrmPrintMan::btnAbbruchClick);
    connect(pgcAuswahl, &QTabWidget::currentChanged, this, &TfrmPrintMan::pgcAuswahlChange);
    createPrintRoad();
    connectHandlers();
    watchControls();
    FormCreate();
}

TfrmPrintMan::~TfrmPrintMan()
{
    if (frmPrintMan == this)
        frmPrintMan = nullptr;
}

// The copies typed with Alt and a digit and the attachment name come and go;
// their places stay reserved, so no button or list the user aims at moves.
void TfrmPrintMan::keepPlacesOfOptionalFields()
{
    for (QWidget *field : std::initializer_list<QWidget *>{lblAusdrucke, lblAusdruckAnz, lblAnlage, edtAnlage}) {
        QSizePolicy policy = field->sizePolicy();
        policy.setRetainSizeWhenHidden(true);
        field->setSizePolicy(policy);
    }
}

void TfrmPrintMan::createPrintRoad()
{
    m_printSide = std::make_unique<printroad::MainWindowPrintSide>(*this);
    m_printRoad = std::make_unique<printroad::PrintRoad>(*m_printSide, printroad::ReportModuleBranches());
    dsTCmain = new TDataSource(this);
    fltTCMain = new TqkFilterDialog(this);
    m_printRoad->data.setStoredCriteriaStep([this](TTable *table) {
        return ApplyStoredCriteria(dsTCmain, fltTCMain, table, PrintRequest().FilterDefinition);
    });
}

void TfrmPrintMan::connectHandlers()
{
    connect(btnTintlen, &QPushButton::clicked, this, &TfrmPrintMan::btnTintlenClick);
    connect(btnBearb, &QPushButton::clicked, this, &TfrmPrintMan::btnBearbClick);
    connect(btnHilfe, &QPushButton::clicked, this, &TfrmPrintMan::btnHilfeClick);
    InstallHelpKey(this, 2000, 200);
    connect(DBGrid1, &QAbstractItemView::doubleClicked, this, &TfrmPrintMan::DBGrid1DblClick);
    connect(dbgEFormular, &QAbstractItemView::doubleClicked, this, &TfrmPrintMan::dbgEFormularDblClick);
    connect(btnStandardDrucker, &QRadioButton::clicked, this, &TfrmPrintMan::btnStandardDruckerClick);
    connect(btnFormularDrucker, &QRadioButton::clicked, this, &TfrmPrintMan::btnFormularDruckerClick);
    connect(btnBildschirm, &QRadioButton::clicked, this, &TfrmPrintMan::btnBildschirmClick);
    connect(lstStdDrucker, &QComboBox::activated, this, &TfrmPrintMan::lstStdDruckerChange);
    connect(btnSendadd, &QToolButton::clicked, this, &TfrmPrintMan::btnSendaddClick);
    connect(btnCCadd, &QToolButton::clicked, this, &TfrmPrintMan::btnCCaddClick);
    connect(btnBCCadd, &QToolButton::clicked, this, &TfrmPrintMan::btnBCCaddClick);
    connect(edtSendTo, &QLineEdit::textChanged, this, &TfrmPrintMan::edtSendToChange);
    connect(edtCC, &QLineEdit::textChanged, this, [this] { edtCCChange(edtCC); });
    connect(edtBCC, &QLineEdit::textChanged, this, [this] { edtCCChange(edtBCC); });
    connect(cbxAnlage, &QCheckBox::clicked, this, &TfrmPrintMan::cbxAnlageClick);
    connect(edtAnlage, &QLineEdit::textChanged, this, &TfrmPrintMan::edtAnlageChange);
    tblForm->SetBeforeDelete([this](TDataSet *) { tblFormBeforeDelete(); });
    tblFormular->SetBeforeDelete([this](TDataSet *) { tblFormularBeforeDelete(); });
    tblFormular->SetAfterScroll([this](TDataSet *) { tblFormularAfterScroll(); });
}

void TfrmPrintMan::watchControls()
{
    m_keyPreview = std::make_unique<KeyPreview>(*this);
    qApp->installEventFilter(m_keyPreview.get());
    for (QWidget *control : std::initializer_list<QWidget *>{btnBearb, DBGrid1, dbgEFormular, lstStdDrucker,
                                                             lstFrmDrucker, edtSendTo, edtCC, edtBCC})
        control->installEventFilter(this);
}

// The controls whose mouse, focus and typing events the window handles.
bool TfrmPrintMan::eventFilter(QObject *watched, QEvent *event)
{
    bool taken = false;
    runHandler([&] {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
            if (watched == btnBearb)
                btnBearbMouseDown(static_cast<QMouseEvent *>(event)->button());
            break;
        case QEvent::FocusIn:
            if (static_cast<QFocusEvent *>(event)->reason() == Qt::PopupFocusReason)
                break;
            if (watched == lstStdDrucker)
                lstStdDruckerEnter();
            else if (watched == lstFrmDrucker)
                lstFrmDruckerEnter();
            break;
        case QEvent::FocusOut:
            if (static_cast<QFocusEvent *>(event)->reason() == Qt::PopupFocusReason)
                break;
            if (watched == lstFrmDrucker)
                lstFrmDruckerExit();
            else if (watched == edtSendTo)
                edtSendToExit();
            break;
        case QEvent::KeyPress: {
            const auto *key = static_cast<QKeyEvent *>(event);
            if (key->key() == Qt::Key_Delete && key->modifiers() == Qt::ControlModifier)
                taken = deleteGridRow(watched);
            else if (auto *edit = qobject_cast<QLineEdit *>(watched))
                taken = typeIntoAddressEdit(edit, key->text());
            break;
        }
        default:
            break;
        }
    });
    return taken || QWidget::eventFilter(watched, event);
}

void TfrmPrintMan::createDataComponents()
{
    tblForm = new TTable(this);
    tblForm->setObjectName(QStringLiteral("tblForm"));
    tblForm->SetDatabaseName(QStringLiteral("zvdb"));
    tblForm->SetTableName(QStringLiteral("FORMULAR.DB"));
    dsForm = new TDataSource(this);
    dsForm->SetDataSet(tblForm);
    dsForm->SetOnDataChange([this](QObject *, TField *field) { dsFormDataChange(field); });

    tblFormular = new TTable(this);
    tblFormular->setObjectName(QStringLiteral("tblFormular"));
    dscFormular = new TDataSource(this);
    dscFormular->SetDataSet(tblFormular);

    using Column = DataSetGridModel::Column;
    const QString sortKey = QStringLiteral("Sortierung");
    const QString description = QStringLiteral("Bezeichnung");
    const QString fileName = QStringLiteral("DateiErsteSeite");
    m_formGrid =
        new DataSetGridModel(dsForm,
                             {Column{sortKey, QStringLiteral("Sort."), 25}, Column{description, description, 210},
                              Column{QStringLiteral("Ausdrucke"), QStringLiteral("Ausdrucke"), 56, Qt::AlignRight},
                              Column{fileName, QStringLiteral("Datei"), 115}},
                             this);
    m_formGrid->attach(DBGrid1);
    m_emailGrid =
        new DataSetGridModel(dscFormular,
                             {Column{sortKey, QStringLiteral("Sort."), 25}, Column{description, description, 266},
                              Column{fileName, QStringLiteral("Datei"), 115}},
                             this);
    m_emailGrid->attach(dbgEFormular);
}

void TfrmPrintMan::FormCreate()
{
    frmPrintMan = this;
    ActivationOpen = true;
    PrinterDisplayOpen = true;
    Session()->AddPassword(tablePassword);
    InitEmailModule();
}

void TfrmPrintMan::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TfrmPrintMan::closeEvent(QCloseEvent *event)
{
    FormClose();
    event->accept();
}

void TfrmPrintMan::FormShow()
{
    const QString iniPath = ProgramIniPath();
    if (os::fileExists(iniPath)) {
        if (ui::Application *application = ui::Application::instance())
            connect(application, &ui::Application::activated, this, &TfrmPrintMan::onApplicationActivated,
                    Qt::UniqueConnection);
        m_handlesActivation = true;
    } else {
        ShowError(QString(), QStringLiteral("Tintlen unmöglich: Die Ini-Datei ") + iniPath
                                 + QStringLiteral(" ist nicht vorhanden!"));
        // Closing from inside the showing would leave a half-shown window.
        QTimer::singleShot(0, this, &QWidget::close);
    }
    fillPrinterLists();
}

void TfrmPrintMan::fillPrinterLists()
{
    const os::PrinterService &service = os::PrinterService::instance();
    const QList<os::PrinterInfo> printers = service.printers();
    const QString current = service.currentPrinter();
    lstStdDrucker->clear();
    lstFrmDrucker->clear();
    int currentIndex = -1;
    for (const os::PrinterInfo &printer : printers) {
        const QString entry = PrinterEntryText(printer);
        lstStdDrucker->addItem(entry);
        lstFrmDrucker->addItem(entry);
        if (currentIndex < 0 && printer.name.compare(current, Qt::CaseInsensitive) == 0)
            currentIndex = lstStdDrucker->count() - 1;
    }
    lstStdDrucker->setCurrentIndex(currentIndex);
    lstFrmDrucker->setCurrentIndex(-1);
}

// The window system's activation arrives outside the message loop's own
// exception handling, so what escapes is shown here in the same way. The
// application reports only real returns to the program; one that comes
// while a job or dialog holds the gate closed is the user's next request
// and must not be lost, but nothing is read under the running job.
void TfrmPrintMan::onApplicationActivated()
{
    if (!ActivationOpen) {
        m_returnWhileClosed = true;
        return;
    }
    m_returnWhileClosed = false;
    runHandler([this] { AppShow(); });
    // The user may have gone away and back while a box of AppShow was up.
    answerReturnWhileClosed();
}

// What escapes the work is shown while the gate is still closed, so a
// return during that box is not lost either.
void TfrmPrintMan::runWithActivationClosed(const std::function<void()> &work)
{
    if (!ActivationOpen)
        return;
    {
        ClosedGate gate(ActivationOpen);
        runHandler(work);
    }
    answerReturnWhileClosed();
}

// However many returns came meanwhile, the request is read once, before the
// user's next job. A window that the job closed or sent to the background
// reads it when the user brings it back.
void TfrmPrintMan::answerReturnWhileClosed()
{
    if (!std::exchange(m_returnWhileClosed, false) || !ActivationOpen)
        return;
    if (isVisible() && !isMinimized())
        onApplicationActivated();
}

void TfrmPrintMan::AppShow()
{
    if (!ActivationOpen)
        return;
    // Reopened on every way out but the refusals that close the program, so
    // a failure never leaves the program deaf to the next request.
    ClosedGate gate(ActivationOpen);
    const TIniFile ini(ProgramIniPath());
    readWindowBehaviour(ini);
    TProgramPaths paths = ReadProgramPaths(ini);
    ProgramPaths() = paths;
    if (const QString failure = CheckProgramPaths(paths); !failure.isEmpty())
        return refuseRequest(gate, failure);
    if (const QString failure = pointFormTableAt(paths.DatenPfad); !failure.isEmpty())
        return refuseRequest(gate, failure);
    AddPathSeparators(paths);
    ProgramPaths() = paths;

    TPrintRequest request = ReadRequestSection(ini);
    if (const QString failure = CheckPrintRequest(request); !failure.isEmpty())
        return refuseRequest(gate, failure);
    NormalizePrintRequest(request);
    PrintRequest() = request;

    setWindowTitle(QStringLiteral("Tintlen"));
    showRequestedForms();
    SetupDocumentTables();
    gate.openNow();
    dsFormDataChange(nullptr);
}

// A switch that is not "ja" leaves its box as the last request left it.
void TfrmPrintMan::readWindowBehaviour(const TIniFile &ini)
{
    if (isSwitchedOn(ini, QStringLiteral("Schliessen")))
        btnFensterSchliessen->setChecked(true);
    if (isSwitchedOn(ini, QStringLiteral("InDenHintergrund")))
        btnFensterHintergrund->setChecked(true);
}

void TfrmPrintMan::refuseRequest(ClosedGate &gate, const QString &message)
{
    gate.keepClosed();
    ShowError(QString(), message);
    close();
}

// The form table follows the data path as the ini file writes it. A table
// that an earlier activation failed to open is opened again as well. A form
// table that cannot be read ends the program like a missing one: without it
// there is nothing to choose, and every later activation would fail alike.
QString TfrmPrintMan::pointFormTableAt(const QString &dataPath)
{
    if (tblForm->DatabaseName() == dataPath && tblForm->Active())
        return {};
    tblForm->Close();
    tblForm->SetDatabaseName(dataPath);
    try {
        tblForm->Open();
    } catch (const EDatabaseError &error) {
        tblForm->Close();
        return error.Message();
    }
    const QString missing = missingFormField(*tblForm);
    if (missing.isEmpty())
        return {};
    tblForm->Close();
    return QStringLiteral("Formular.db im Verzeichnis %1 ist keine Formulartabelle: Das Feld \"%2\" fehlt.")
        .arg(dataPath, missing);
}

void TfrmPrintMan::showRequestedForms()
{
    const TPrintRequest &request = PrintRequest();
    const QVariantList key{request.Modul, request.FormFilterTyp};
    tblForm->SetRange(key, key);
    if (!IsTableEmpty(tblForm))
        return;
    ShowError(QString(), QStringLiteral("Es wird jetzt ein neuer leerer Formulareintrag angelegt, da noch keiner "
                                        "für diesen Druckbereich vorhanden ist!"));
    tblForm->Insert();
    try {
        tblForm->FieldByName(QStringLiteral("Modul"))->SetAsString(request.Modul);
        tblForm->FieldByName(QStringLiteral("Typ"))->SetAsString(request.FormFilterTyp);
        tblForm->FieldByName(QStringLiteral("Sortierung"))->SetAsString(QStringLiteral("1"));
        tblForm->Post();
    } catch (...) {
        // A row that cannot be stored must not keep the table in insert mode.
        tblForm->Cancel();
        throw;
    }
}

// The settings go back only into a request file that is there: one made up
// of settings alone would make the next start miss the real cause.
void TfrmPrintMan::FormClose()
{
    if (os::fileExists(ProgramIniPath())) {
        TIniFile ini(ProgramIniPath());
        ini.WriteString(initSection, QStringLiteral("InDenHintergrund"), yesNo(btnFensterHintergrund->isChecked()));
        ini.WriteString(initSection, QStringLiteral("Schliessen"), yesNo(btnFensterSchliessen->isChecked()));
    }
    SaveEmailSettings();
}

void TfrmPrintMan::btnAbbruchClick()
{
    close();
}

void TfrmPrintMan::pgcAuswahlChange()
{
    const bool emailTab = !isPrintTab();
    btnTintlen->setText(emailTab ? QStringLiteral("E-Mail &senden") : QStringLiteral("&Tintlen"));
    btnTintlen->setIcon(emailTab ? buttonImage(QStringLiteral("mail-send"), QStyle::SP_ArrowRight, this)
                                 : buttonImage(QStringLiteral("document-print"), QStyle::SP_FileIcon, this));
    if (emailTab)
        ShowEmailHeader();
}

bool TfrmPrintMan::isPrintTab() const
{
    return pgcAuswahl->currentWidget() != tsEmail;
}

void TfrmPrintMan::dsFormDataChange(TField *field)
{
    if (!ActivationOpen || !PrinterDisplayOpen || !tblForm->Active())
        return;
    showFormPrinter();
    if (!field && !isEditing(tblForm))
        showOutputChoice();
}

QString TfrmPrintMan::GetDruckPara(const QString &section, const QString &key) const
{
    return TIniFile(ProgramIniPath()).ReadString(section, key, QString());
}

void TfrmPrintMan::showFormPrinter()
{
    const QString entry = PrinterDisplayText(tblForm->FieldByName(QStringLiteral("Treiber"))->AsString());
    lstFrmDrucker->setCurrentIndex(entry.isEmpty() ? -1 : lstFrmDrucker->findText(entry));
}

void TfrmPrintMan::showOutputChoice()
{
    const QString output = tblForm->FieldByName(QStringLiteral("EtikettListe"))->AsString();
    if (output == QLatin1String("B"))
        btnBildschirm->setChecked(true);
    else if (output == QLatin1String("F"))
        btnFormularDrucker->setChecked(true);
    else if (!btnStandardDrucker->isChecked() && !IsTableEmpty(tblForm))
        btnStandardDrucker->setChecked(true);
}

void TfrmPrintMan::placeAtScreenCentre()
{
    const QScreen *screen = this->screen();
    if (!screen)
        return;
    adjustSize();
    QRect frame = geometry();
    frame.moveCenter(screen->availableGeometry().center());
    move(frame.topLeft());
}

// A job's progress and error boxes keep the window's loop running; a click
// that reaches the buttons meanwhile must neither start a second job over the
// tables the first one holds nor open the gate under it.
void TfrmPrintMan::btnTintlenClick()
{
    runWithActivationClosed([this] {
        if (!isPrintTab()) {
            SendEmail();
            return;
        }
        // Leaving a printer list stores its choice before the job reads the row.
        btnTintlen->setFocus();
        m_printRoad->job.Tintlen();
    });
}

void TfrmPrintMan::btnBearbClick()
{
    runWithActivationClosed([this] {
        TfrmBearbeiten &dialog = formEntryDialog();
        if (isPrintTab()) {
            dialog.EditJob(tblForm, dsForm, TfrmBearbeiten::ModePrint);
            return;
        }
        dialog.EditJob(tblFormular, dscFormular, TfrmBearbeiten::ModeEmail);
        if (!IsTableEmpty(tblFormular))
            ShowEmailHeader();
    });
}

// The program's form-entry dialog, or one of the window's own when the
// program block made none; either way its designer and template-editor
// buttons lead to this window's.
TfrmBearbeiten &TfrmPrintMan::formEntryDialog()
{
    TfrmBearbeiten *dialog = frmBearbeiten;
    if (!dialog) {
        m_ownFormEntryDialog = std::make_unique<TfrmBearbeiten>();
        dialog = m_ownFormEntryDialog.get();
    }
    dialog->Layout = [this] { m_printRoad->loop.Layout(); };
    dialog->EditJobForm = [] { EditJobForm(); };
    return *dialog;
}

void TfrmPrintMan::btnBearbMouseDown(Qt::MouseButton button)
{
    if (button != Qt::RightButton)
        return;
    if (isPrintTab())
        m_printRoad->loop.Layout();
    else
        EditJobForm();
}

void TfrmPrintMan::btnHilfeClick()
{
    ShowDialogHelp(2000, 200);
}

void TfrmPrintMan::FormKeyDown(QWidget *receiver, int &key, Qt::KeyboardModifiers modifiers)
{
    // A key that an edit or list passed on to its parents was still typed there.
    const QWidget *focus = QApplication::focusWidget();
    const bool typing = TakesTypedKeys(receiver) || (focus && focus->window() == this && TakesTypedKeys(focus));
    const FormKeyMeaning meaning = FormKeyMeaningOf(key, modifiers, isPrintTab(), typing);
    switch (meaning.action) {
    case FormKeyAction::Layout:
        key = 0;
        m_printRoad->loop.Layout();
        return;
    case FormKeyAction::Copies:
        key = 0;
        showTypedCopies(meaning.character);
        return;
    case FormKeyAction::SortKey:
        if (!tblForm->Active()
            || !FindSortKeyRow(*tblForm, PrintRequest().Modul, PrintRequest().FormFilterTyp, meaning.character))
            return;
        key = 0;
        btnTintlen->click();
        return;
    case FormKeyAction::None:
        break;
    }
}

void TfrmPrintMan::showTypedCopies(QChar digit)
{
    lblAusdruckAnz->setText(QString(digit));
    lblAusdrucke->show();
    lblAusdruckAnz->show();
}

void TfrmPrintMan::DBGrid1DblClick()
{
    btnTintlen->click();
}

void TfrmPrintMan::dbgEFormularDblClick()
{
    btnTintlen->click();
}

void TfrmPrintMan::btnStandardDruckerClick()
{
    storeOutputChoice(btnStandardDrucker, QStringLiteral("S"));
}

void TfrmPrintMan::btnFormularDruckerClick()
{
    storeOutputChoice(btnFormularDrucker, QStringLiteral("F"));
    if (lstFrmDrucker->currentText().isEmpty() && !lstStdDrucker->currentText().isEmpty()) {
        lstFrmDrucker->setCurrentIndex(lstFrmDrucker->findText(lstStdDrucker->currentText()));
        storeFormPrinter();
    }
}

void TfrmPrintMan::btnBildschirmClick()
{
    storeOutputChoice(btnBildschirm, QStringLiteral("B"));
}

// An empty view has no row to keep the choice in.
void TfrmPrintMan::storeOutputChoice(const QRadioButton *button, const QString &code)
{
    if (!tblForm->Active() || IsTableEmpty(tblForm))
        return;
    postFormField(QStringLiteral("EtikettListe"), button->isChecked() ? code : QString());
}

void TfrmPrintMan::postFormField(const QString &fieldName, const QString &value)
{
    tblForm->Edit();
    try {
        tblForm->FieldByName(fieldName)->SetAsString(value);
        tblForm->Post();
    } catch (...) {
        tblForm->Cancel();
        throw;
    }
}

// Entering a printer list chooses its output, as a click on the button would.
void TfrmPrintMan::checkPrinterButton(QRadioButton *button)
{
    if (button->isChecked())
        return;
    button->setChecked(true);
    if (button == btnStandardDrucker)
        btnStandardDruckerClick();
    else
        btnFormularDruckerClick();
}

void TfrmPrintMan::lstStdDruckerEnter()
{
    checkPrinterButton(btnStandardDrucker);
}

void TfrmPrintMan::lstFrmDruckerEnter()
{
    checkPrinterButton(btnFormularDrucker);
}

void TfrmPrintMan::lstFrmDruckerExit()
{
    storeFormPrinter();
}

// Leaving the list with nothing chosen changes nothing: no edit is left
// open on the row.
void TfrmPrintMan::storeFormPrinter()
{
    if (lstFrmDrucker->currentIndex() < 0 || !tblForm->Active() || IsTableEmpty(tblForm))
        return;
    ClosedGate gate(PrinterDisplayOpen);
    postFormField(QStringLiteral("Treiber"), lstFrmDrucker->currentText());
}

void TfrmPrintMan::lstStdDruckerChange()
{
    m_printRoad->job.lstStdDruckerChange();
}

void TfrmPrintMan::tblFormBeforeDelete()
{
    const bool labels = PrintRequest().FormTyp == QLatin1String("E");
    ConfirmFormRowDelete(*tblForm, TFormFileSide{ProgramPaths().FormularPfad,
                                                 labels ? QStringLiteral(".lbl") : QStringLiteral(".lst"),
                                                 QStringLiteral(".l*"), false});
}

void TfrmPrintMan::tblFormularBeforeDelete()
{
    ConfirmFormRowDelete(
        *tblFormular, TFormFileSide{EmailPaths().FormularPfad, QStringLiteral(".frm"), QStringLiteral(".frm"), true});
}

// The grids' own delete: Ctrl+Del asks, then the view's before-delete event
// has its say.
bool TfrmPrintMan::deleteGridRow(QObject *grid)
{
    TTable *table = grid == DBGrid1 ? tblForm : (grid == dbgEFormular ? tblFormular : nullptr);
    if (!table || !table->Active() || IsTableEmpty(table))
        return false;
    if (ui::services().messageBox(QStringLiteral("Datensatz löschen?"), QStringLiteral("Bestätigen"),
                                  ui::MsgIcon::Question, ui::MsgButtons::OkCancel)
        == ui::IDOK)
        table->Delete();
    return true;
}

void TfrmPrintMan::tblFormularAfterScroll()
{
    ShowEmailHeader();
}

void TfrmPrintMan::btnSendaddClick()
{
    addPickedContact(edtSendTo, EmailAddressPlaceholder);
}

void TfrmPrintMan::btnCCaddClick()
{
    addPickedContact(edtCC, QString());
}

void TfrmPrintMan::btnBCCaddClick()
{
    addPickedContact(edtBCC, QString());
}

void TfrmPrintMan::addPickedContact(QLineEdit *edit, const QString &placeholder)
{
    const QString address = ContactPicker().SelectAddress();
    if (!address.isEmpty())
        edit->setText(WithAddedAddress(edit->text(), address, placeholder));
}

// The recipient edit loses its placeholder at the first key; a ";" typed
// into any address edit becomes the "," the address lists are split at.
bool TfrmPrintMan::typeIntoAddressEdit(QLineEdit *edit, const QString &typed)
{
    if (edit != edtSendTo && edit != edtCC && edit != edtBCC)
        return false;
    if (edit == edtSendTo && !typed.isEmpty() && edtSendTo->text() == EmailAddressPlaceholder)
        edtSendTo->clear();
    if (typed != QLatin1String(";"))
        return false;
    edit->insert(QStringLiteral(","));
    return true;
}

void TfrmPrintMan::edtSendToExit()
{
    if (edtSendTo->text().isEmpty())
        edtSendTo->setText(EmailAddressPlaceholder);
}

void TfrmPrintMan::edtSendToChange()
{
    if (edtSendTo->text() != EmailAddressPlaceholder)
        edtCCChange(edtSendTo);
}

void TfrmPrintMan::edtCCChange(QLineEdit *sender)
{
    QPalette palette = sender->palette();
    const QColor normal = QApplication::palette(sender).color(QPalette::Text);
    palette.setColor(QPalette::Text, AddressTextShowsValid(sender->text()) ? normal : QColor(Qt::red));
    sender->setPalette(palette);
}

void TfrmPrintMan::cbxAnlageClick()
{
    const bool attached = cbxAnlage->isChecked();
    edtAnlage->setVisible(attached);
    lblAnlage->setVisible(attached);
    if (attached)
        edtAnlage->setText(EmailRequest().Modul + QStringLiteral(".txt"));
}

void TfrmPrintMan::edtAnlageChange()
{
    const QString fileName = AttachmentFileName(edtAnlage->text());
    if (fileName != edtAnlage->text())
        edtAnlage->setText(fileName);
}
