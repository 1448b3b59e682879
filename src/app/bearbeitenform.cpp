#include "app/bearbeitenform.h"

#include "app/DirDlg.h"
#include "app/Kopieren.h"
#include "app/PrintRequest.h"
#include "app/Utils.h"
#include "app/dbmodul.h"
#include "app/mainmodul.h"
#include "platform/db/TDataLink.h"
#include "platform/db/TDataSource.h"
#include "platform/db/TTable.h"
#include "platform/os/FileMask.h"
#include "platform/os/Paths.h"
#include "platform/runtime/Conversions.h"
#include "platform/ui/Application.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QScopedValueRollback>

#include <algorithm>

namespace {

const QString fieldSortierung = QStringLiteral("Sortierung");
const QString fieldDatei = QStringLiteral("DateiErsteSeite");
const QString fieldBezeichnung = QStringLiteral("Bezeichnung");
const QString fieldBemerkung = QStringLiteral("Bemerkung");
const QString fieldAusdrucke = QStringLiteral("Ausdrucke");
const QStringList editedFields = {fieldBezeichnung, fieldDatei, fieldBemerkung, fieldSortierung, fieldAusdrucke};

const QString invalidFileName = QStringLiteral("Bitte einen gültigen Dateinamen angeben");

// No exception may cross Qt's event loop: a failing handler reports like the
// application object does, and the dialog stays as the failure left it.
template <class Handler>
void guarded(Handler handler)
{
    try {
        handler();
    } catch (const std::exception &error) {
        ui::showEscapedException(error);
    }
}

// Walking the table must not repaint every row it passes.
class ControlsDisabled
{
public:
    explicit ControlsDisabled(TDataSet *dataSet) : m_dataSet(dataSet) { m_dataSet->DisableControls(); }
    ~ControlsDisabled() { m_dataSet->EnableControls(); }
    ControlsDisabled(const ControlsDisabled &) = delete;
    ControlsDisabled &operator=(const ControlsDisabled &) = delete;

private:
    TDataSet *m_dataSet;
};

// Names resolve without regard to case, so "RECHNUNG" names "rechnung" again.
bool samePath(const QString &left, const QString &right)
{
    auto comparable = [](const QString &path) {
        return QDir::cleanPath(os::resolvePath(os::excludeTrailingSeparator(path)));
    };
    return comparable(left).compare(comparable(right), Qt::CaseInsensitive) == 0;
}

// A text field holds no more than its size.
QString textFits(const QString &caption, const QString &text, const TField &field)
{
    if (field.DataType() != ftString || field.Size() <= 0 || text.size() <= field.Size())
        return QString();
    return QStringLiteral("Bitte bei \"%1\" höchstens %2 Zeichen eingeben.").arg(caption).arg(field.Size());
}

// An empty count prints once; any other is typed in digits and held by the
// field.
QString copiesFit(const QString &caption, const QString &text, const TField &)
{
    const bool digits = std::all_of(text.cbegin(), text.cend(), [](QChar character) { return IsDigit(character); });
    int copies = 0;
    if (text.isEmpty() || (digits && TryStrToInt(text, copies) && copies >= 1 && copies <= TfrmBearbeiten::MaxCopies))
        return QString();
    return QStringLiteral("Bitte bei \"%1\" eine ganze Zahl von 1 bis %2 eingeben.")
        .arg(caption)
        .arg(TfrmBearbeiten::MaxCopies);
}

void runConnected(const std::function<void()> &routine, const QString &missingMessage)
{
    if (routine)
        routine();
    else
        ShowPlainMessage(missingMessage);
}

}

// A line edit showing one field of the data source; what the user types goes
// into the field at once, so that the designer, the copy and the checks all
// see the row as it is on screen. A text the field cannot hold stays in the
// edit, unstored, with the reason to tell the user.
class TfrmBearbeiten::FieldEdit
{
public:
    using Normaliser = std::function<QString(const QString &)>;
    // The reason, in the words of the field's label, why `text` does not
    // fit the field; empty when it fits.
    using Check = std::function<QString(const QString &caption, const QString &text, const TField &field)>;

    FieldEdit(QLineEdit *edit, const QLabel *label, const QString &fieldName, Check check, Normaliser normaliser = {})
        : m_edit(edit), m_caption(label->text().remove(QLatin1Char('&'))), m_check(std::move(check)),
          m_normaliser(std::move(normaliser))
    {
        m_link.SetFieldName(fieldName);
        m_link.OnDataChange = [this] { showField(); };
        QObject::connect(edit, &QLineEdit::textEdited, edit,
                         [this](const QString &text) { guarded([&] { type(text); }); });
    }

    void bind(TDataSource *source) { m_link.SetDataSource(source); }
    void unbind() { m_link.SetDataSource(nullptr); }
    QLineEdit *edit() const { return m_edit; }
    // Why the text shown is not stored; empty when it is.
    const QString &refusal() const { return m_refusal; }

    // Takes a text as if the user had typed it.
    void type(const QString &text)
    {
        const QString value = m_normaliser ? m_normaliser(text) : text;
        if (value != text)
            m_edit->setText(value);
        if (!m_link.Field() || !m_link.Edit()) {
            showField();
            return;
        }
        m_refusal = m_check(m_caption, value, *m_link.Field());
        if (!m_refusal.isEmpty())
            return;
        const QScopedValueRollback<bool> writing(m_writing, true);
        m_link.Field()->SetAsString(value);
    }

private:
    void showField()
    {
        if (m_writing)
            return;
        m_refusal.clear();
        const TField *field = m_link.Field();
        const QString text = field ? field->AsString() : QString();
        if (m_edit->text() != text)
            m_edit->setText(text);
    }

    QLineEdit *m_edit;
    QString m_caption;
    Check m_check;
    Normaliser m_normaliser;
    TFieldDataLink m_link;
    QString m_refusal;
    bool m_writing = false;
};

TfrmBearbeiten *frmBearbeiten = nullptr;

QString &EmailDefaultDecimals()
{
    static QString decimals;
    return decimals;
}

struct TfrmBearbeiten::KeptRow
{
    QString description;
    QString fileName;
    QString remark;
    QVariant copies;
};

TfrmBearbeiten::TfrmBearbeiten(QWidget *parent) : QDialog(parent)
{
    setupUi(this);
    auto add = [this](QLineEdit *edit, const QLabel *label, const QString &field, FieldEdit::Check check,
                      FieldEdit::Normaliser normaliser = {}) {
        m_fieldEdits.push_back(
            std::make_unique<FieldEdit>(edit, label, field, std::move(check), std::move(normaliser)));
        return m_fieldEdits.back().get();
    };
    add(dbedtBez, lblBez, fieldBezeichnung, textFits);
    m_fileEdit = add(dbedtDatei, lblDatei, fieldDatei, textFits, FormFileNamePart);
    add(dbEdtBem, lblBem, fieldBemerkung, textFits);
    add(dbedtSort, lblSort, fieldSortierung, textFits);
    m_copiesEdit = add(dbEdtAusdr, lblAusdr, fieldAusdrucke, copiesFit);
    connectButtons();
    frmBearbeiten = this;
}

TfrmBearbeiten::~TfrmBearbeiten()
{
    if (frmBearbeiten == this)
        frmBearbeiten = nullptr;
}

void TfrmBearbeiten::connectButtons()
{
    const QList<QPair<QAbstractButton *, void (TfrmBearbeiten::*)()>> handlers = {
        {btnOk, &TfrmBearbeiten::btnOkClick},
        {btnBearbeiten, &TfrmBearbeiten::btnBearbeitenClick},
        {btnNeu, &TfrmBearbeiten::btnNeuClick},
        {btnDelete, &TfrmBearbeiten::btnDeleteClick},
        {btnCopy, &TfrmBearbeiten::btnCopyClick},
        {SpeedButton1, &TfrmBearbeiten::SpeedButton1Click},
        {spbtnAusdrUp, &TfrmBearbeiten::spbtnAusdrUpClick},
        {spbtnAusdrDown, &TfrmBearbeiten::spbtnAusdrDownClick},
        {btnAnlagepfad, &TfrmBearbeiten::btnAnlagepfadClick},
        {btnHilfe, &TfrmBearbeiten::btnHilfeClick},
    };
    for (const auto &[button, handler] : handlers)
        connect(button, &QAbstractButton::clicked, this,
                [this, handler = handler] { guarded([&] { (this->*handler)(); }); });
    connect(btnAbbruch, &QPushButton::clicked, this, &QDialog::reject);
    InstallHelpKey(this, HelpContext, FallbackHelpContext);
}

bool TfrmBearbeiten::EditJob(TTable *table, TDataSource *dataSource, int mode)
{
    m_table = table;
    m_dataSource = dataSource;
    m_mode = mode;
    const TEmailState &settings = EmailState();
    (settings.Outbox && settings.KuvertaliaInstalled ? rbMailProgram : rbStandardClient)->setChecked(true);
    rgbClient->setEnabled(settings.KuvertaliaInstalled);
    edtAnlagepfad->setText(settings.Anlagenpfad);
    if (m_table->IsEmpty())
        newRow();
    else
        m_table->Edit();
    for (const auto &edit : m_fieldEdits)
        edit->bind(dataSource);
    showMode(settings.KuvertaliaInstalled);
    const bool confirmed = RunModal(*this) == QDialog::Accepted;
    if (!confirmed)
        cancelRow();
    for (const auto &edit : m_fieldEdits)
        edit->unbind();
    return confirmed;
}

void TfrmBearbeiten::showMode(bool mailProgramInstalled)
{
    const bool email = m_mode == ModeEmail;
    for (QWidget *copiesControl : {static_cast<QWidget *>(lblAusdr), static_cast<QWidget *>(dbEdtAusdr), spbtnAusdr})
        copiesControl->setVisible(!email);
    pgcBearbeiten->setTabVisible(pgcBearbeiten->indexOf(tsEmail), email);
    pgcBearbeiten->setTabVisible(pgcBearbeiten->indexOf(tsQRB), email && mailProgramInstalled);
    pgcBearbeiten->setCurrentWidget(tsVerwaltung);
    dbedtBez->setFocus();
    layOutAfresh();
}

// A control that changes while the dialog is hidden tells no layout of its
// new size, and the tab bar keeps the tabs it showed last: laid out afresh,
// the dialog opens with every caption whole. Setting the elide mode (tab
// captions are never shortened) is what makes the tab bar measure its tabs
// again.
void TfrmBearbeiten::layOutAfresh()
{
    pgcBearbeiten->setElideMode(Qt::ElideNone);
    for (QWidget *container : {tsVerwaltung, tsEmail, tsQRB, static_cast<QWidget *>(this)}) {
        container->layout()->invalidate();
        container->layout()->activate();
    }
}

void TfrmBearbeiten::btnOkClick()
{
    if (!fileNameValid(invalidFileName) || !typedTextsFit())
        return;
    if (!confirmEmailPages())
        return;
    postRow();
    TEmailState &settings = EmailState();
    if (pgcBearbeiten->isTabVisible(pgcBearbeiten->indexOf(tsEmail)))
        EmailDefaultDecimals() = edtFormat->text();
    if (pgcBearbeiten->isTabVisible(pgcBearbeiten->indexOf(tsQRB)))
        settings.Anlagenpfad = edtAnlagepfad->text();
    settings.Outbox = rbMailProgram->isChecked();
    accept();
}

// The settings change only together with the row, once every check passed.
bool TfrmBearbeiten::confirmEmailPages()
{
    if (pgcBearbeiten->isTabVisible(pgcBearbeiten->indexOf(tsEmail))) {
        int decimals = 0;
        const QString refusal = decimalPlacesRefusal(decimals);
        if (!refusal.isEmpty()) {
            refuse(tsEmail, edtFormat, refusal);
            return false;
        }
        edtFormat->setText(QString::number(decimals));
    }
    if (pgcBearbeiten->isTabVisible(pgcBearbeiten->indexOf(tsQRB))) {
        const QString folder = os::excludeTrailingSeparator(edtAnlagepfad->text());
        if (!os::directoryExists(folder)) {
            refuse(tsQRB, edtAnlagepfad, QStringLiteral("Bitte ein gültiges Verzeichnis angeben"));
            return false;
        }
        edtAnlagepfad->setText(folder);
    }
    return true;
}

// A negative count or more decimals than a number carries is no setting the
// e-mail texts could be formatted with; a whole number out of that range is
// refused with the range, named as the user sees the field.
QString TfrmBearbeiten::decimalPlacesRefusal(int &decimals)
{
    if (!TryStrToInt(edtFormat->text().trimmed(), decimals))
        return QStringLiteral("Bitte einen gültigen numerischen Wert eingeben");
    if (decimals >= 0 && decimals <= MaxDecimals)
        return QString();
    return QStringLiteral("Bitte bei \"%1\" eine Zahl von 0 bis %2 eingeben.")
        .arg(lblFormat->text().remove(QLatin1Char('&')))
        .arg(MaxDecimals);
}

bool TfrmBearbeiten::fileNameValid(const QString &message)
{
    const QString name = dbedtDatei->text();
    if (!name.isEmpty() && !name.startsWith(QLatin1Char('.')) && !name.endsWith(QLatin1Char('.')))
        return true;
    refuse(tsVerwaltung, dbedtDatei, message);
    return false;
}

// The row is stored only with what the user sees in its edits.
bool TfrmBearbeiten::typedTextsFit()
{
    for (const auto &edit : m_fieldEdits) {
        if (!edit->refusal().isEmpty()) {
            refuse(tsVerwaltung, edit->edit(), edit->refusal());
            return false;
        }
    }
    return true;
}

void TfrmBearbeiten::refuse(QWidget *page, QWidget *control, const QString &message)
{
    pgcBearbeiten->setCurrentWidget(page);
    control->setFocus();
    ShowPlainMessage(message);
}

void TfrmBearbeiten::btnBearbeitenClick()
{
    if (!fileNameValid(QStringLiteral("Sie müssen einen gültigen Dateinamen angeben.")))
        return;
    if (m_mode == ModeEmail)
        runConnected(EditJobForm, QStringLiteral("Der Editor für E-Mail-Formulare ist noch nicht verfügbar. "
                                                 "Das Formular kann hier noch nicht bearbeitet werden."));
    else
        runConnected(Layout, QStringLiteral("Der Layout-Designer ist noch nicht verfügbar."));
}

void TfrmBearbeiten::btnNeuClick()
{
    if (!fileNameValid(invalidFileName) || !typedTextsFit())
        return;
    postRow();
    newRow();
}

// What was typed into the row is neither stored by the deletion nor lost when
// the main window's delete event refuses it: the row then stays in editing
// with the typed values, and cancelling the dialog still restores it.
void TfrmBearbeiten::btnDeleteClick()
{
    QVariantList typed;
    if (m_table->State() == dsEdit) {
        for (const QString &field : editedFields)
            typed << m_table->FieldByName(field)->Value();
        m_table->Cancel();
    }
    try {
        m_table->Delete();
    } catch (...) {
        editCurrentRow();
        for (qsizetype index = 0; index < typed.size(); ++index)
            m_table->FieldByName(editedFields.at(index))->SetValue(typed.at(index));
        throw;
    }
    if (!m_table->IsEmpty()) {
        m_table->Edit();
        return;
    }
    newRow();
    ShowPlainMessage(QStringLiteral("Da keine weiteren Datensätze mehr vorhanden waren, \r"
                                    "wurde ein neuer angelegt.\r"
                                    "Sie können diesen Datensatz löschen, in dem Sie das \r"
                                    "Bearbeiten-Fenster durch Abbruch verlassen."));
}

void TfrmBearbeiten::btnCopyClick()
{
    if (!fileNameValid(invalidFileName) || !typedTextsFit())
        return;
    const KeptRow kept{fieldText(fieldBezeichnung), dbedtDatei->text(), fieldText(fieldBemerkung),
                       m_mode == ModeEmail ? QVariant(0) : m_table->FieldByName(fieldAusdrucke)->Value()};
    TfrmKopieren *dialog = copyDialog();
    // The new name must fit the row that will name the copied files.
    const int nameSize = m_table->FieldByName(fieldDatei)->Size();
    if (nameSize > 0)
        dialog->edtNeuername->setMaxLength(nameSize);
    if (!dialog->Execute(kept.fileName, [&](const QString &name) { return copyTarget(kept.fileName, name); }))
        return;
    postRow();
    copyForm(kept, dialog->NewName());
}

void TfrmBearbeiten::copyForm(const KeptRow &kept, const QString &newName)
{
    for (const QString &source : os::findFiles(copyMask(kept.fileName))) {
        if (!m_copyUndo.prepare(formPath() + newName + os::fileExtension(source))) {
            m_copyUndo.undo();
            return;
        }
    }
    if (CopyFiles(copyMask(kept.fileName), formPath(), newName) > 0)
        ShowPlainMessage(QStringLiteral("Formular wurde erfolgreich kopiert!"));
    else
        ShowError(QString(), QStringLiteral("Kopieren der Formulardatei ist fehlgeschlagen!"));
    newRow();
    m_table->FieldByName(fieldBezeichnung)->SetAsString(kept.description);
    m_table->FieldByName(fieldBemerkung)->SetAsString(kept.remark);
    m_table->FieldByName(fieldAusdrucke)->SetValue(kept.copies);
    m_table->FieldByName(fieldDatei)->SetAsString(newName);
}

// A stored name with a folder is used as it stands; a bare name lives in the
// form folder. Either way the mask comes from the file name's own extension,
// never from a point in a folder name.
QString TfrmBearbeiten::sourceBase(const QString &storedName) const
{
    const QString base = WithoutFormExtension(storedName);
    return HasFolderPart(base) ? base : formPath() + base;
}

QString TfrmBearbeiten::copyMask(const QString &storedName) const
{
    return sourceBase(storedName) + (m_mode == ModeEmail ? QStringLiteral(".frm") : QStringLiteral(".l*"));
}

TCopyTarget TfrmBearbeiten::copyTarget(const QString &storedName, const QString &newName) const
{
    if (samePath(sourceBase(storedName), formPath() + newName))
        return TCopyTarget::Original;
    for (const QString &source : os::findFiles(copyMask(storedName))) {
        if (os::fileExists(formPath() + newName + os::fileExtension(source)))
            return TCopyTarget::Existing;
    }
    return TCopyTarget::Free;
}

void TfrmBearbeiten::SpeedButton1Click()
{
    QFileDialog dialog(this, QStringLiteral("Öffnen"), formPath(), browseFilter());
    dialog.setFileMode(QFileDialog::ExistingFile);
    if (RunModal(dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    const QFileInfo chosen(dialog.selectedFiles().constFirst());
    m_fileEdit->type(chosen.fileName());
    const QString folder = os::includeTrailingSeparator(chosen.absolutePath());
    if (samePath(folder, formPath()))
        return;
    ShowError(QString(), QStringLiteral("Der gewählte Pfad  ") + folder + QStringLiteral("\r\nentspricht nicht ")
                             + QStringLiteral("dem voreingestellten Formularpfad  ") + formPath()
                             + QStringLiteral("\r\n\r\n")
                             + QStringLiteral("Geben Sie den gewählten Pfad im Menü \"Installation\" ein, um ")
                             + QStringLiteral("mit den Formularen aus diesem Verzeichnis zu arbeiten!"));
}

QString TfrmBearbeiten::browseFilter() const
{
    if (m_mode == ModeEmail)
        return QStringLiteral("Formulare (*.frm)");
    if (PrintRequest().FormTyp == QLatin1String("L"))
        return QStringLiteral("Listen (*.lst)");
    return QStringLiteral("Etiketten (*.lbl)");
}

void TfrmBearbeiten::spbtnAusdrUpClick()
{
    changeCopies(1);
}

void TfrmBearbeiten::spbtnAusdrDownClick()
{
    changeCopies(-1);
}

// Counting on from a typed count the field cannot hold would throw away
// what the user sees.
void TfrmBearbeiten::changeCopies(int step)
{
    if (!m_copiesEdit->refusal().isEmpty()) {
        refuse(tsVerwaltung, dbEdtAusdr, m_copiesEdit->refusal());
        return;
    }
    TField *copies = m_table->FieldByName(fieldAusdrucke);
    const int value = copies->AsInteger();
    if ((step < 0 && value < 2) || (step > 0 && value >= MaxCopies))
        return;
    m_dataSource->Edit();
    copies->SetAsInteger(value + step);
}

void TfrmBearbeiten::btnAnlagepfadClick()
{
    TDirDlg dialog;
    dialog.Title = QStringLiteral("Bitte geben Sie den Pfad für die Anlagen an.");
    if (dialog.Execute())
        edtAnlagepfad->setText(dialog.GetDirectory());
}

void TfrmBearbeiten::btnHilfeClick()
{
    ShowDialogHelp(HelpContext, FallbackHelpContext);
}

void TfrmBearbeiten::editCurrentRow()
{
    if (m_table->State() == dsBrowse && !m_table->IsEmpty())
        m_table->Edit();
}

void TfrmBearbeiten::postRow()
{
    if (m_table->State() == dsEdit || m_table->State() == dsInsert)
        m_table->Post();
    m_copyUndo.keep();
}

void TfrmBearbeiten::cancelRow()
{
    if (m_table->State() == dsEdit || m_table->State() == dsInsert)
        m_table->Cancel();
    m_copyUndo.undo();
}

// The next sort key follows the highest numeric one of the range; keys of
// letters, and numbers with blanks inside, are no numbers to count on.
void TfrmBearbeiten::newRow()
{
    const int next = highestSortNumber() + 1;
    m_table->Append();
    const TPrintRequest &request = PrintRequest();
    m_table->FieldByName(QStringLiteral("Modul"))->SetAsString(request.Modul);
    m_table->FieldByName(QStringLiteral("Typ"))
        ->SetAsString(m_mode == ModeEmail ? request.FormFilterTyp + QStringLiteral("-eMail") : request.FormFilterTyp);
    m_table->FieldByName(fieldSortierung)->SetAsString(IntToStr(next));
}

int TfrmBearbeiten::highestSortNumber()
{
    const ControlsDisabled quiet(m_table);
    int highest = 0;
    for (m_table->First(); !m_table->Eof(); m_table->Next()) {
        const QString key = m_table->FieldByName(fieldSortierung)->AsString();
        int number = 0;
        if (IsNumeric(key) && TryStrToInt(key.trimmed(), number))
            highest = std::max(highest, number);
    }
    return highest;
}

// Both sides read the same setting; each keeps its own copy of it.
QString TfrmBearbeiten::formPath() const
{
    return os::includeTrailingSeparator(m_mode == ModeEmail ? EmailPaths().FormularPfad : ProgramPaths().FormularPfad);
}

// The program creates the copy dialog at start; without it the dialog makes
// its own.
TfrmKopieren *TfrmBearbeiten::copyDialog()
{
    if (!frmKopieren)
        m_ownCopyDialog = std::make_unique<TfrmKopieren>(this);
    return frmKopieren;
}

QString TfrmBearbeiten::fieldText(const QString &fieldName) const
{
    return m_table->FieldByName(fieldName)->AsString();
}
