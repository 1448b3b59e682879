#include "app/emailroad/EmailEditor.h"

#include "app/DirDlg.h"
#include "app/DruckPrg.h"
#include "app/Kopieren.h"
#include "app/dbmodul.h"
#include "app/emailroad/EmailDriver.h"
#include "app/emailroad/EmailTab.h"
#include "app/mainmodul.h"
#include "mail/NCTable.h"
#include "mail/formularmodul.h"
#include "mail/parsermodul.h"
#include "platform/os/IniFile.h"
#include "platform/ui/Application.h"
#include "platform/ui/ScreenPlacement.h"
#include "platform/ui/UiServices.h"

#include <QDir>
#include <QHeaderView>
#include <QScopeGuard>
#include <QTextBlock>

namespace {

constexpr int EditorHelpContext = 250;
constexpr int EntryRole = Qt::UserRole;
const QString positionSection = QStringLiteral("Editorpos");
const QString sentFolder = QStringLiteral("Gesendet");

int sectionPage(int section)
{
    switch (section) {
    case fsDokumentanfang:
    case fsDokumentende:
        return 1;
    case fsKopfzeile:
    case fsFormularanfang:
        return 2;
    case fsTabellenkopf:
    case fsTabelleneintrag:
    case fsTabellenfuss:
        return 3;
    case fsFormularende:
    case fsFusszeile:
        return 4;
    default:
        return 0;
    }
}

TFormular &editedTemplate()
{
    return *EmailState().Formular;
}

}

TfrmEdit *frmEdit = nullptr;

TfrmEdit::TfrmEdit(QWidget *parent) : QDialog(parent)
{
    setupUi(this);
    const QFont fixed(QStringLiteral("Courier New"));
    for (const auto &[memo, tag] : sectionMemos()) {
        memo->setFont(fixed);
        m_tags.insert(memo, tag);
    }
    memAnlage->setFont(fixed);
    m_tags.insert(memAnlage, 0);
    for (QLineEdit *edit : {edtSendTo, edtCC, edtBCC})
        m_tags.insert(edit, 1);
    m_tags.insert(edtBetreff, 2);
    connectEditing();
    if (!frmEdit)
        frmEdit = this;
}

TfrmEdit::~TfrmEdit()
{
    if (frmEdit == this)
        frmEdit = nullptr;
}

// Sections 0 to 9 in order with their bit in the vocabulary's area mask.
QList<QPair<QPlainTextEdit *, int>> TfrmEdit::sectionMemos() const
{
    return {{memVorgabe, 1}, {memDocanf, 2},   {memKopfzeile, 4},  {memFormanf, 8},     {memTabkopf, 16},
            {memTab, 32},    {memTabfuss, 64}, {memFormende, 128}, {memFusszeile, 256}, {memDocende, 512}};
}

void TfrmEdit::connectEditing()
{
    const auto modified = [this] {
        if (!m_filling)
            m_modified = true;
    };
    for (QPlainTextEdit *memo : findChildren<QPlainTextEdit *>()) {
        connect(memo, &QPlainTextEdit::textChanged, this, modified);
        memo->installEventFilter(this);
    }
    for (QLineEdit *edit : findChildren<QLineEdit *>()) {
        connect(edit, &QLineEdit::textChanged, this, modified);
        edit->installEventFilter(this);
    }
    for (QLineEdit *edit : {edtSendTo, edtCC, edtBCC})
        connect(edit, &QLineEdit::textChanged, this, [this, edit] { checkAddressText(edit); });
    connect(edtSpeicherninOrdner, &QLineEdit::textChanged, this, [this](const QString &text) {
        if (text.contains(QLatin1Char('/')))
            edtSpeicherninOrdner->setText(QString(text).replace(QLatin1Char('/'), QLatin1Char('\\')));
    });
    for (QCheckBox *box : {cbxAnlage, cbxMaxtabellenzeilen, cbxZwischensumme})
        connect(box, &QCheckBox::toggled, this, [this, modified] {
            modified();
            showDependentControls();
        });
    connect(comSpeicherninOrdner, &QComboBox::currentIndexChanged, this, [this, modified] {
        modified();
        showDependentControls();
    });
    connect(tvwFelder, &QTreeWidget::itemDoubleClicked, this, [this] { InsertSelectedEntry(); });
    // Long names scroll sideways instead of being cut.
    tvwFelder->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    tvwFelder->header()->setStretchLastSection(false);
    tvwFelder->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    connect(btnFeldInsert, &QPushButton::clicked, this, [this] { InsertSelectedEntry(); });
    connect(btnOk, &QPushButton::clicked, this, &TfrmEdit::saveAndAccept);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(btnHilfe, &QPushButton::clicked, this, [] { ShowDialogHelp(EditorHelpContext, EditorHelpContext); });
}

// Typed ";" become "," in the address edits and every address is checked;
// a text with "#" is a template expression and stays uncoloured.
void TfrmEdit::checkAddressText(QLineEdit *edit)
{
    if (edit->text().contains(QLatin1Char(';'))) {
        edit->setText(edit->text().replace(QLatin1Char(';'), QLatin1Char(',')));
        return;
    }
    QPalette colours = edit->palette();
    colours.setColor(QPalette::Text,
                     AddressTextShowsValid(edit->text()) ? palette().color(QPalette::Text) : QColor(255, 0, 0));
    edit->setPalette(colours);
}

bool TfrmEdit::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    if (type == QEvent::FocusIn || type == QEvent::MouseButtonPress || type == QEvent::KeyPress) {
        if (auto *widget = qobject_cast<QWidget *>(watched)) {
            m_insertTarget = widget;
            if (qobject_cast<QLineEdit *>(widget) && type != QEvent::KeyPress)
                edtAnlage->setText(AttachmentFileName(edtAnlage->text()));
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TfrmEdit::showDependentControls()
{
    edtAnlage->setVisible(cbxAnlage->isChecked());
    lblAnlage->setVisible(cbxAnlage->isChecked());
    edtMaxtabellenzeilen->setVisible(cbxMaxtabellenzeilen->isChecked());
    lblMaxtabellenzeilen->setVisible(cbxMaxtabellenzeilen->isChecked());
    // Only the mail program keeps sent mails in sub-folders, and only when
    // the mails go into its outbox.
    const bool showSubFolder = comSpeicherninOrdner->currentText() == sentFolder && OutboxRoadChosen();
    edtSpeicherninOrdner->setVisible(showSubFolder);
    lblBackslash->setVisible(showSubFolder);
}

void TfrmEdit::fillHeader()
{
    const TFormular &formular = editedTemplate();
    edtSendTo->setText(formular.SendTo);
    edtCC->setText(formular.CC);
    edtBCC->setText(formular.BCC);
    edtBetreff->setText(formular.Betreff);
    cbxAnlage->setChecked(formular.AlsAnlageSenden);
    edtAnlage->setText(formular.Anlagename);
    cbxMaxtabellenzeilen->setChecked(formular.MaxTabellenzeilen > 0);
    edtMaxtabellenzeilen->setText(QString::number(formular.MaxTabellenzeilen));
    cbxZwischensumme->setChecked(formular.Zwischensumme);
    comSpeicherninOrdner->setCurrentIndex(formular.SpeichernInGesendet ? 0 : 1);
    edtSpeicherninOrdner->setText(formular.NachrichtSpeichernIn);
    showDependentControls();
}

void TfrmEdit::fillMemos()
{
    const TFormular &formular = editedTemplate();
    memAnlage->setPlainText(formular.Section(fsAnlage).join(QLatin1Char('\n')));
    const auto memos = sectionMemos();
    for (int section = 0; section < memos.size(); ++section)
        memos[section].first->setPlainText(formular.Section(section).join(QLatin1Char('\n')));
}

namespace {

// The memo's lines as they stand: a memo's plain text turns no-break spaces
// into blanks. An empty memo shows an empty section and a section of one
// empty line alike; that line stays when the section held it.
QStringList sectionLines(const QPlainTextEdit &memo, const QStringList &before)
{
    QStringList lines;
    for (QTextBlock block = memo.document()->begin(); block.isValid(); block = block.next())
        lines << block.text();
    const bool blank = lines == QStringList{QString()};
    return blank && before != lines ? QStringList() : lines;
}

}

void TfrmEdit::writeBack(TFormular &formular) const
{
    formular.SendTo = edtSendTo->text();
    formular.CC = edtCC->text();
    formular.BCC = edtBCC->text();
    formular.Betreff = edtBetreff->text();
    formular.AlsAnlageSenden = cbxAnlage->isChecked();
    formular.Anlagename = edtAnlage->text();
    bool number = false;
    const int maxLines = edtMaxtabellenzeilen->text().trimmed().toInt(&number);
    formular.MaxTabellenzeilen = cbxMaxtabellenzeilen->isChecked() && number ? maxLines : 0;
    formular.Zwischensumme = cbxZwischensumme->isChecked();
    formular.SpeichernInGesendet = comSpeicherninOrdner->currentText() == sentFolder;
    formular.NachrichtSpeichernIn = edtSpeicherninOrdner->text();
    formular.Section(fsAnlage) = sectionLines(*memAnlage, formular.Section(fsAnlage));
    const auto memos = sectionMemos();
    for (int section = 0; section < memos.size(); ++section)
        formular.Section(section) = sectionLines(*memos[section].first, formular.Section(section));
}

// The file is written while the window is still open: a line the file
// cannot keep, or a folder that refuses the file, is told and every edit
// stays for the user to mend.
void TfrmEdit::saveAndAccept()
{
    TFormular edited = editedTemplate();
    writeBack(edited);
    try {
        edited.SaveToFile(m_fileName);
    } catch (const Exception &error) {
        ui::showEscapedException(error);
        return;
    }
    editedTemplate() = edited;
    accept();
}

namespace {

// Stored paths keep the suite's "\"; the user reads the system's separator.
QString displayedPath(const QString &storedPath)
{
    return QDir::toNativeSeparators(QString(storedPath).replace(QLatin1Char('\\'), QLatin1Char('/')));
}

}

void TfrmEdit::fillTree()
{
    tvwFelder->clear();
    auto *commands = new QTreeWidgetItem(tvwFelder, {QStringLiteral("Befehle")});
    auto *fields = new QTreeWidgetItem(tvwFelder, {QStringLiteral("Felder")});
    auto *variables = new QTreeWidgetItem(tvwFelder, {QStringLiteral("Variablen")});
    const TFormatlist &vocabulary = *EmailState().Formatlist;
    QTreeWidgetItem *group = nullptr;
    QString groupPrefix;
    for (int i = 0; i < vocabulary.Count(); ++i) {
        const TFormatlistItem *entry = vocabulary.GetItem(i);
        QTreeWidgetItem *parent = nullptr;
        if (entry->Kind == fikCommand) {
            parent = commands;
        } else if (entry->Kind == fikField) {
            const QString prefix = entry->Table ? entry->Table->Prefix : QString();
            if (!group || prefix != groupPrefix) {
                group = new QTreeWidgetItem(fields, {prefix});
                groupPrefix = prefix;
            }
            parent = group;
        } else if (entry->Kind == fikVariable && !entry->Text.isEmpty()) {
            parent = variables;
        }
        if (!parent)
            continue;
        auto *node = new QTreeWidgetItem(parent, {entry->Text});
        node->setData(0, EntryRole, i);
        node->setToolTip(0, entry->Text);
    }
    fields->setExpanded(true);
}

void TfrmEdit::InsertSelectedEntry()
{
    const QTreeWidgetItem *node = tvwFelder->currentItem();
    if (!node || !node->data(0, EntryRole).isValid())
        return;
    const TFormatlistItem &entry = *EmailState().Formatlist->GetItem(node->data(0, EntryRole).toInt());
    if (auto *memo = qobject_cast<QPlainTextEdit *>(m_insertTarget))
        insertIntoMemo(memo, entry);
    else
        insertIntoHeaderEdit(qobject_cast<QLineEdit *>(m_insertTarget), entry);
}

void TfrmEdit::insertIntoMemo(QPlainTextEdit *memo, const TFormatlistItem &entry)
{
    if ((entry.Areas & m_tags.value(memo)) == 0) {
        ui::services().messageBox(QStringLiteral("Feldtyp ist nicht in diesem Bereich einfügbar"), windowTitle(),
                                  ui::MsgIcon::Warning, ui::MsgButtons::Ok);
        return;
    }
    const QChar mark = entry.Kind == fikCommand ? QLatin1Char('!') : QLatin1Char('#');
    memo->insertPlainText(mark + entry.QualifiedName);
    memo->setFocus();
    m_modified = true;
}

void TfrmEdit::insertIntoHeaderEdit(QLineEdit *edit, const TFormatlistItem &entry)
{
    const int tag = edit ? m_tags.value(edit) : 0;
    if (tag == 0 || (entry.Areas & 1) == 0) {
        ui::services().messageBox(QStringLiteral("Feldtyp ist nicht in diesem Eingabefeld einfügbar"), windowTitle(),
                                  ui::MsgIcon::Warning, ui::MsgButtons::Ok);
        return;
    }
    if (entry.Kind == fikCommand) {
        ui::services().messageBox(QStringLiteral("Befehle lassen sich nicht in eimen Eingabefeld verwenden"),
                                  windowTitle(), ui::MsgIcon::Warning, ui::MsgButtons::Ok);
        return;
    }
    const QString placeholder = QLatin1Char('#') + entry.QualifiedName;
    const QString separator = tag == 1 ? QStringLiteral(",") : QStringLiteral(" ");
    edit->setText(edit->text().isEmpty() ? placeholder : edit->text() + separator + placeholder);
}

bool TfrmEdit::confirmDiscard()
{
    if (!m_modified)
        return true;
    return ui::services().messageBox(QStringLiteral("Wollen Sie wirklich Abbrechen?\rDas Formular wird dann nicht "
                                                    "gespeichert!"),
                                     QStringLiteral("Bestätigen"), ui::MsgIcon::Question, ui::MsgButtons::YesNo)
           == ui::IDYES;
}

// The cancel button, Escape and closing the window all end here, so each
// of them asks before the edits are dropped.
void TfrmEdit::reject()
{
    if (confirmDiscard())
        QDialog::reject();
}

void TfrmEdit::goToError(int section, int line)
{
    QPlainTextEdit *memo = section == fsAnlage ? memAnlage : sectionMemos().value(section).first;
    if (!memo)
        return;
    pgcFormular->setCurrentIndex(sectionPage(section));
    m_insertTarget = memo;
    QTextCursor cursor(memo->document()->findBlockByNumber(qMax(0, line - 1)));
    memo->setTextCursor(cursor);
    memo->setFocus();
}

void TfrmEdit::EditFormular(const QString &fileName, const QString &title, int errorSection, int errorLine)
{
    if (!OpenDocumentTables())
        return;
    const auto finish = qScopeGuard([this] {
        CloseDocumentTables();
        SavePosition();
        if (EmailState().SetupPending)
            SetupDocumentTables();
    });
    TEmailState &state = EmailState();
    m_filling = true;
    state.Formular->WerbungAus = state.WerbungAus;
    state.Formular->LoadFromFile(fileName);
    fillHeader();
    fillMemos();
    state.Formatlist->ClearValuesAndVariables();
    state.Formatlist->RegisterSetupVariables(EmailPaths().DatenPfad, *state.Kopf);
    setWindowTitle(QStringLiteral("Formular bearbeiten \"") + title + QStringLiteral("\" - ")
                   + displayedPath(fileName));
    LoadPosition();
    m_filling = false;
    m_modified = false;
    pgcFormular->setCurrentIndex(0);
    m_insertTarget = edtSendTo;
    if (errorSection >= 0)
        goToError(errorSection, errorLine);
    fillTree();
    m_fileName = fileName;
    RunModal(*this);
}

void TfrmEdit::SavePosition() const
{
    TIniFile ini(ProgramIniPath());
    const auto write = [&](const char *key, int value) {
        ini.WriteInteger(positionSection, QLatin1String(key), value);
    };
    const QPoint frame = ui::framePosition(this);
    write("Left", frame.x());
    write("Top", frame.y());
    write("Width", width());
    write("Height", height());
    write("VerSplit", splVer->sizes().value(1));
    write("AnlageSplit", splVorgaben->sizes().value(0));
    write("KopfzSplit", splFormularanfang->sizes().value(0));
    write("TKopfSplit", splTabelle->sizes().value(0));
    write("TFussSplit", splTabelle->sizes().value(2));
    write("FusszSplit", splFormularende->sizes().value(1));
    write("DocanfSplit", splDokument->sizes().value(0));
}

void TfrmEdit::LoadPosition()
{
    const TIniFile ini(ProgramIniPath());
    const auto read = [&](const char *key, int fallback) {
        return ini.ReadInteger(positionSection, QLatin1String(key), fallback);
    };
    // Left and Top are where the frame stands, as they are stored.
    ui::placeInsideScreen(this, {read("Left", ui::framePosition(this).x()), read("Top", ui::framePosition(this).y())},
                          {read("Width", width()), read("Height", height())});
    const int total = qMax(400, width());
    const int tree = read("VerSplit", 175);
    splVer->setSizes({total - tree, tree});
    splVorgaben->setSizes({read("AnlageSplit", 65), 400});
    splFormularanfang->setSizes({read("KopfzSplit", 90), 400});
    splTabelle->setSizes({read("TKopfSplit", 100), 300, read("TFussSplit", 100)});
    splFormularende->setSizes({400, read("FusszSplit", 90)});
    splDokument->setSizes({read("DocanfSplit", 150), 300});
}

TfrmEdit &TemplateEditor()
{
    if (!frmEdit)
        new TfrmEdit(frmPrintMan);
    return *frmEdit;
}
