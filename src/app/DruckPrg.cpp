#include "app/DruckPrg.h"

#include "app/DataSetGridModel.h"
#include "app/Utils.h"
#include "app/dbmodul.h"
#include "app/mainmodul.h"
#include "platform/db/TDataSource.h"
#include "platform/db/TField.h"
#include "platform/db/TSession.h"
#include "platform/db/TTable.h"
#include "platform/os/IniFile.h"
#include "platform/os/Paths.h"
#include "platform/os/Printers.h"
#include "platform/runtime/FormatString.h"
#include "platform/ui/Application.h"

#include <QCloseEvent>
#include <QScreen>
#include <QTimer>

TfrmPrintMan *frmPrintMan = nullptr;

namespace {

const QString initSection = QStringLiteral("Init");

// The order-processing product protects some of its tables with this
// password; it is registered before any table opens.
const QString tablePassword = QStringLiteral("qzbvrwkmtsl7304");

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

}

QString PrinterDisplayText(const QString &treiber)
{
    const qsizetype firstComma = treiber.indexOf(QLatin1Char(','));
    if (firstComma < 0)
        return treiber;
    const qsizetype secondComma = treiber.indexOf(QLatin1Char(','), firstComma + 1);
    const qsizetype portStart = (secondComma < 0 ? firstComma : secondComma) + 1;
    return treiber.left(firstComma) + QStringLiteral(" an ") + treiber.mid(portStart);
}

TfrmPrintMan::TfrmPrintMan(QWidget *parent)
    : QWidget(parent)
{
    setupUi(this);
    // A fixed dialog-like window: system menu and minimise, no resizing.
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                   | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    createDataComponents();
    placeAtScreenCentre();
    connect(btnAbbruch, &QPushButton::clicked, this, &TfrmPrintMan::btnAbbruchClick);
    connect(pgcAuswahl, &QTabWidget::currentChanged, this, &TfrmPrintMan::pgcAuswahlChange);
    FormCreate();
}

TfrmPrintMan::~TfrmPrintMan()
{
    if (frmPrintMan == this)
        frmPrintMan = nullptr;
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
    m_formGrid = new DataSetGridModel(dsForm,
                                      {Column{sortKey, QStringLiteral("Sort."), 25},
                                       Column{description, description, 210},
                                       Column{QStringLiteral("Ausdrucke"), QStringLiteral("Ausdrucke"), 56,
                                              Qt::AlignRight},
                                       Column{fileName, QStringLiteral("Datei"), 115}},
                                      this);
    m_formGrid->attach(DBGrid1);
    m_emailGrid = new DataSetGridModel(dscFormular,
                                       {Column{sortKey, QStringLiteral("Sort."), 25},
                                        Column{description, description, 266},
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
        ShowError(QString(),
                  QStringLiteral("Tintlen unmöglich: Die Ini-Datei ") + iniPath + QStringLiteral(" ist nicht vorhanden!"));
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
        const QString entry = Format(QStringLiteral("%s an %s"), {printer.name, printer.port});
        lstStdDrucker->addItem(entry);
        lstFrmDrucker->addItem(entry);
        if (currentIndex < 0 && printer.name.compare(current, Qt::CaseInsensitive) == 0)
            currentIndex = lstStdDrucker->count() - 1;
    }
    lstStdDrucker->setCurrentIndex(currentIndex);
    lstFrmDrucker->setCurrentIndex(-1);
}

// The window system's activation arrives outside the message loop's own
// exception handling, so what escapes is shown here in the same way.
void TfrmPrintMan::onApplicationActivated()
{
    try {
        AppShow();
    } catch (const std::exception &error) {
        ui::showEscapedException(error);
    }
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
    pointFormTableAt(paths.DatenPfad);
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
// that an earlier activation failed to open is opened again as well.
void TfrmPrintMan::pointFormTableAt(const QString &dataPath)
{
    if (tblForm->DatabaseName() == dataPath && tblForm->Active())
        return;
    tblForm->Close();
    tblForm->SetDatabaseName(dataPath);
    tblForm->Open();
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

void TfrmPrintMan::FormClose()
{
    TIniFile ini(ProgramIniPath());
    ini.WriteString(initSection, QStringLiteral("InDenHintergrund"), yesNo(btnFensterHintergrund->isChecked()));
    ini.WriteString(initSection, QStringLiteral("Schliessen"), yesNo(btnFensterSchliessen->isChecked()));
    SaveEmailSettings();
}

void TfrmPrintMan::btnAbbruchClick()
{
    close();
}

void TfrmPrintMan::pgcAuswahlChange()
{
    const bool emailTab = pgcAuswahl->currentWidget() == tsEmail;
    btnTintlen->setText(emailTab ? QStringLiteral("E-Mail &senden") : QStringLiteral("&Tintlen"));
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
