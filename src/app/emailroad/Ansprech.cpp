#include "app/emailroad/Ansprech.h"

#include "app/DirDlg.h"
#include "app/DruckPrg.h"
#include "app/Utils.h"
#include "app/dbmodul.h"
#include "app/mainmodul.h"
#include "mail/EmailText.h"
#include "mail/NCTable.h"
#include "platform/db/TField.h"
#include "platform/db/TTable.h"
#include "platform/runtime/Exceptions.h"

#include <QScopeGuard>
#include <QScreen>
#include <QScrollBar>

#include <array>

namespace {

constexpr int AddressColumn = 2;
// The designed widths: the least each column gets.
constexpr std::array<int, 4> designedWidths{125, 60, 150, 100};

QString fieldText(const TDataSet &table, const char *name)
{
    return table.FieldByName(QLatin1String(name))->AsString();
}

// Whether a contact's owner is the document's partner or representative.
bool ownedByDocument(const QString &kind, const QString &number)
{
    const TEmailState &state = EmailState();
    const bool sales = EmailRequest().IstAuftrag;
    const auto isCurrent = [&number](TNCTable *table) {
        return table && table->Active() && !table->IsEmpty() && fieldText(*table, "Nr") == number;
    };
    if (kind == QLatin1String("K"))
        return sales && isCurrent(state.Partner);
    if (kind == QLatin1String("L"))
        return !sales && isCurrent(state.Partner);
    if (kind == QLatin1String("M"))
        return sales && isCurrent(state.Mitarb);
    return false;
}

}

TfrmAnsprech *frmAnsprech = nullptr;

TfrmAnsprech::TfrmAnsprech(QWidget *parent) : QDialog(parent)
{
    setupUi(this);
    connect(btnOk, &QPushButton::clicked, this, &QDialog::accept);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(lvwAdressen, &QTreeWidget::itemDoubleClicked, this, &QDialog::accept);
    if (!frmAnsprech)
        frmAnsprech = this;
}

TfrmAnsprech::~TfrmAnsprech()
{
    if (frmAnsprech == this)
        frmAnsprech = nullptr;
}

bool TfrmAnsprech::fillList()
{
    if (!OpenDocumentTables())
        return false;
    const auto close = qScopeGuard([] { CloseDocumentTables(); });
    std::unique_ptr<TTable> contacts;
    try {
        contacts = std::make_unique<TTable>();
        contacts->SetDatabaseName(EmailPaths().DatenPfad);
        contacts->SetTableName(QStringLiteral("Ansprech.db"));
        contacts->Open();
    } catch (const EDatabaseError &error) {
        ShowPlainMessage(QStringLiteral("Datenbankfehler: ") + error.Message());
        return false;
    }
    const TEmailState &state = EmailState();
    const TEmailRequest &request = EmailRequest();
    if (request.Einzeln && !state.Kopf->FindKey({request.Datensatz}))
        return false;
    PositionOnKey(*state.Partner, fieldText(*state.Kopf, "Kundennr"));
    if (request.IstAuftrag)
        PositionOnKey(*state.Mitarb, fieldText(*state.Kopf, "Vertreternr"));
    for (contacts->First(); !contacts->Eof(); contacts->Next()) {
        const QString address = fieldText(*contacts, "eMail");
        const QString kind = fieldText(*contacts, "Art").left(1);
        if (address.isEmpty() || kind.isEmpty() || !ownedByDocument(kind, fieldText(*contacts, "Nr")))
            continue;
        new QTreeWidgetItem(lvwAdressen, {fieldText(*contacts, "Name"), fieldText(*contacts, "Vorname"), address,
                                          fieldText(*contacts, "Abteilung")});
    }
    contacts->Close();
    return true;
}

// An empty list to choose from would leave the user guessing why nothing
// can be picked.
QString TfrmAnsprech::SelectAddress()
{
    lvwAdressen->clear();
    if (!fillList())
        return QString();
    if (lvwAdressen->topLevelItemCount() == 0) {
        ShowPlainMessage(QStringLiteral("Zu diesem Beleg gibt es keinen Ansprechpartner mit E-Mail-Adresse."));
        return QString();
    }
    fitColumns();
    if (RunModal(*this) != QDialog::Accepted || !lvwAdressen->currentItem())
        return QString();
    return lvwAdressen->currentItem()->text(AddressColumn);
}

// Names and addresses are read whole: a column is as wide as its longest
// text, and the list as wide as its columns as far as the screen allows;
// beyond that it scrolls sideways.
void TfrmAnsprech::fitColumns()
{
    int wanted = 2 * lvwAdressen->frameWidth() + lvwAdressen->verticalScrollBar()->sizeHint().width();
    for (int column = 0; column < int(designedWidths.size()); ++column) {
        lvwAdressen->resizeColumnToContents(column);
        lvwAdressen->setColumnWidth(column, qMax(designedWidths[column], lvwAdressen->columnWidth(column)));
        wanted += lvwAdressen->columnWidth(column);
    }
    const QMargins margins = layout()->contentsMargins();
    const int frame = frameGeometry().width() - width();
    const int room = screen()->availableGeometry().width() - margins.left() - margins.right() - frame;
    lvwAdressen->setMinimumWidth(qMin(wanted, room));
}

TfrmAnsprech &ContactPicker()
{
    if (!frmAnsprech)
        new TfrmAnsprech(frmPrintMan);
    return *frmAnsprech;
}

QString WithAddedAddress(const QString &text, const QString &address, const QString &placeholder)
{
    if (text.isEmpty() || (!placeholder.isEmpty() && text == placeholder))
        return address;
    return text + QLatin1Char(',') + address;
}
