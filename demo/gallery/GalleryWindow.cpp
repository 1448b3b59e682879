#include "demo/gallery/GalleryWindow.h"

#include "demo/gallery/GermanCaptions.h"
#include "demo/tables/DemoTables.h"
#include "lib/data/Qkfltdlg.h"
#include "lib/data/Qktable.h"
#include "lib/edit/Qkdbcomb.h"
#include "lib/edit/qkKeyAdapter.h"
#include "lib/edit/qkdbdatetimepicker.h"
#include "lib/edit/qkdbedit.h"
#include "lib/edit/qkmonthcalendar.h"
#include "lib/filterdlg/TqkFilterDialogView.h"
#include "lib/filterdlg/TqkFilterDlg.h"
#include "lib/grid/qkDBGrid.h"
#include "lib/grid/qkImageList.h"
#include "lib/rich/qkRichEditForm.h"
#include "lib/rich/qkRichParagraphDialog.h"
#include "lib/rich/qkRichTabDialog.h"
#include "lib/rich/qkriched.h"
#include "platform/db/FieldClasses.h"
#include "platform/db/TField.h"
#include "platform/runtime/Exceptions.h"
#include "platform/ui/Application.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

namespace gallery {

namespace {

std::unique_ptr<GalleryTable> openTable(const QString &folder, const QString &name)
{
    demo::writeTable(name + QStringLiteral(".db"), folder);
    auto table = std::make_unique<GalleryTable>();
    table->SetDatabaseName(folder);
    table->SetTableName(name);
    table->Open();
    return table;
}

TqkDBEdit *boundEdit(TDataSource *source, const QString &field)
{
    auto *edit = new TqkDBEdit;
    edit->SetDataSource(source);
    edit->SetDataField(field);
    return edit;
}

QGroupBox *group(const QString &title, QFormLayout *form)
{
    auto *box = new QGroupBox(title);
    box->setLayout(form);
    return box;
}

}

GalleryWindow::GalleryWindow(const QString &dataFolder)
    : m_customers(openTable(dataFolder, QStringLiteral("Kunden"))),
      m_orders(openTable(dataFolder, QStringLiteral("Auftrag"))), m_customerSource(std::make_unique<TqkDataSource>()),
      m_orderSource(std::make_unique<TqkDataSource>()), m_positions(std::make_unique<TqkTable>()),
      m_positionSource(std::make_unique<TqkDataSource>()), m_filter(std::make_unique<TqkFilterDialog>())
{
    useGermanCaptions();
    qkInstallFilterDlg();
    openPositions(dataFolder);
    setWindowTitle(QStringLiteral("Tintlen – Eingabefelder der Komponentenbibliothek"));
    // The customer table keeps its own pictures of these fields, which stand
    // over the masks written here; the lines give them their flags.
    m_customers->PictureMasks = {QStringLiteral("plz\t#####\tT\tF"), QStringLiteral("Telefon\t{+,0}*{#, ,-}\tF\tF")};
    m_customerSource->SetDataSet(m_customers.get());
    m_orderSource->SetDataSet(m_orders.get());
    auto *columns = new QHBoxLayout;
    auto *left = new QVBoxLayout;
    left->addWidget(customerGroup());
    left->addWidget(navigation(m_customers.get(), QStringLiteral("Kunde")));
    left->addWidget(searchButton());
    left->addWidget(orderGroup());
    left->addWidget(navigation(m_orders.get(), QStringLiteral("Auftrag")));
    left->addStretch();
    columns->addLayout(left);
    auto *right = new QVBoxLayout;
    right->addWidget(unboundGroup());
    right->addWidget(positionGroup(), 1);
    columns->addLayout(right);
    setLayout(columns);
}

GalleryWindow::~GalleryWindow() = default;

// What was typed is stored, as any form of a program keeps it; a record that
// cannot be stored keeps the window open with the reason shown.
void GalleryWindow::closeEvent(QCloseEvent *event)
{
    const bool stored = qkRunShowingErrors([this] {
        for (TDataSet *dataSet :
             std::initializer_list<TDataSet *>{m_customers.get(), m_orders.get(), m_positions.get()})
            if (dataSet->Active())
                dataSet->CheckBrowseMode();
    });
    if (!stored) {
        event->ignore();
        return;
    }
    event->accept();
    // The library's application stays on after its last window; the gallery is its only one.
    QCoreApplication::exit(0);
}

int showGallery(const QStringList &arguments)
{
    QTemporaryDir data;
    GalleryWindow window(data.path());
    window.show();
    const int screenshot = int(arguments.indexOf(QStringLiteral("--screenshot")));
    if (screenshot > 0 && screenshot + 1 < arguments.size()) {
        QApplication::processEvents();
        window.saveScreenshots(arguments.at(screenshot + 1));
        return 0;
    }
    return QApplication::exec();
}

// The positions with a calculated price class for the grid's picture column
// and a few position texts in rich text.
void GalleryWindow::openPositions(const QString &dataFolder)
{
    demo::writePositionTable(dataFolder, 200);
    m_positions->SetDatabaseName(dataFolder);
    m_positions->SetTableName(QStringLiteral("atrpos"));
    m_positions->SetControlType({QStringLiteral("posdruck;CheckBox;1;0"), QStringLiteral("Preisklasse;ImageIndex"),
                                 QStringLiteral("Einheit;Combo;einheitCombo"),
                                 QStringLiteral("kundennr;LookupCombo;kundeCombo"),
                                 QStringLiteral("Text;RichEdit;textRich")});
    m_positions->AddField(CreateField(m_positions.get(), QStringLiteral("Preisklasse"), ftInteger, 0, fkCalculated));
    m_positions->SetOnCalcFields([](TDataSet *dataSet) {
        const double amount = dataSet->FieldByName(QStringLiteral("gpreis"))->AsFloat();
        dataSet->FieldByName(QStringLiteral("Preisklasse"))->SetAsInteger(amount < 100 ? 0 : amount < 1000 ? 1 : 2);
    });
    m_positions->Open();
    for (const char *name : {"epreis", "gpreis"})
        m_positions->FieldByName(QLatin1String(name))->SetDisplayFormat(QStringLiteral("#,##0.00"));
    const QString rich = QStringLiteral("{\\rtf1\\ansi {\\b Achtung:} Lieferung nur {\\i nach Absprache}.}");
    for (int record = 0; record < 3 && !m_positions->Eof(); ++record, m_positions->Next()) {
        m_positions->Edit();
        m_positions->FieldByName(QStringLiteral("Text"))->SetAsString(rich);
        m_positions->Post();
    }
    m_positions->First();
    m_positionSource->SetDataSet(m_positions.get());
}

QWidget *GalleryWindow::positionGroup()
{
    auto *box = new QGroupBox(QStringLiteral("Auftragspositionen (atrpos.db)"));
    m_priceClasses = new TImageList(12, 12, box);
    for (const QColor &colour : {QColor(0x3a, 0xa5, 0x5d), QColor(0xe8, 0xb4, 0x2c), QColor(0xc8, 0x3c, 0x32)}) {
        QImage dot(12, 12, QImage::Format_ARGB32_Premultiplied);
        dot.fill(Qt::transparent);
        QPainter painter(&dot);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setBrush(colour);
        painter.setPen(Qt::NoPen);
        painter.drawEllipse(1, 1, 10, 10);
        painter.end();
        m_priceClasses->Add(dot);
    }
    auto *units = new TqkDBComboBox(box);
    units->setObjectName(QStringLiteral("einheitCombo"));
    units->SetItems(
        {QStringLiteral("Stück"), QStringLiteral("Paket"), QStringLiteral("Meter"), QStringLiteral("Liter")});
    auto *customers = new TqkDBComboBox(box);
    customers->setObjectName(QStringLiteral("kundeCombo"));
    customers->SetMapList(true);
    customers->SetStyle(csDropDownList);
    QStringList customerItems;
    for (m_customers->First(); !m_customers->Eof(); m_customers->Next())
        customerItems.append(m_customers->FieldByName(QStringLiteral("Name"))->Text() + QLatin1Char('\t')
                             + m_customers->FieldByName(QStringLiteral("nr"))->Text());
    m_customers->First();
    customers->SetItems(customerItems);
    // The column is narrower than the longer names: the list shows them whole.
    int widest = 0;
    for (const QString &item : customerItems)
        widest = qMax(widest, customers->fontMetrics().horizontalAdvance(qkItemDisplayPart(item)));
    customers->DropDownWidth = widest + customers->style()->pixelMetric(QStyle::PM_ScrollBarExtent) + 16;
    auto *texts = new TqkDBRichEdit(box);
    texts->setObjectName(QStringLiteral("textRich"));
    texts->EditorCaption = QStringLiteral("Positionstext bearbeiten");
    texts->hide();
    for (QWidget *control : std::initializer_list<QWidget *>{units, customers})
        control->hide();

    auto *grid = new TqkDBGrid(box);
    grid->setObjectName(QStringLiteral("positionGrid"));
    grid->SetOptions(grid->Options() | dgShowFooter | dgMultiSelect);
    grid->SetMultiSelectOptions(msoShiftSelect);
    grid->SetImageList(m_priceClasses);
    grid->SetUseTFields(false);
    grid->SetSelected({QStringLiteral("posnr\t4\tPos."), QStringLiteral("Preisklasse\t3\tKl."),
                       QStringLiteral("Artikelnr\t7\tArtikel"), QStringLiteral("Bezeichnung\t22\tBezeichnung"),
                       QStringLiteral("menge\t6\tMenge"), QStringLiteral("Einheit\t7\tEinheit"),
                       QStringLiteral("epreis\t9\tEinzelpreis"), QStringLiteral("gpreis\t10\tGesamtpreis"),
                       QStringLiteral("posdruck\t5\tDruck"), QStringLiteral("kundennr\t18\tKunde"),
                       QStringLiteral("Text\t28\tPositionstext")});
    grid->SetDataSource(m_positionSource.get());
    grid->setMinimumSize(520, 260);
    auto *layout = new QVBoxLayout(box);
    layout->addWidget(grid);
    return box;
}

QWidget *GalleryWindow::customerGroup()
{
    auto *form = new QFormLayout;
    TDataSource *source = m_customerSource.get();
    form->addRow(QStringLiteral("Kundennummer:"), boundEdit(source, QStringLiteral("nr")));
    form->addRow(QStringLiteral("Name:"), boundEdit(source, QStringLiteral("Name")));
    auto *salutation = new TqkDBComboBox;
    salutation->SetItems({QStringLiteral("Firma"), QStringLiteral("Frau"), QStringLiteral("Herrn")});
    salutation->SetStyle(csDropDownList);
    salutation->SetDataSource(source);
    salutation->SetDataField(QStringLiteral("Anrede"));
    form->addRow(QStringLiteral("Anrede (Auswahlliste):"), salutation);
    form->addRow(QStringLiteral("PLZ (Bildmaske der Tabelle):"), boundEdit(source, QStringLiteral("plz")));
    form->addRow(QStringLiteral("Telefon (Bildmaske der Tabelle):"), boundEdit(source, QStringLiteral("Telefon")));
    form->itemAt(form->rowCount() - 2, QFormLayout::FieldRole)->widget()->setObjectName(QStringLiteral("plz"));
    form->itemAt(form->rowCount() - 1, QFormLayout::FieldRole)->widget()->setObjectName(QStringLiteral("telefon"));
    m_country = new TqkDBComboBox;
    m_country->SetItems({QStringLiteral("Deutschland\tD"), QStringLiteral("Österreich\tA"),
                         QStringLiteral("Schweiz\tCH"), QStringLiteral("Niederlande\tNL")});
    m_country->SetMapList(true);
    m_country->SetStyle(csDropDownList);
    m_country->SetDataSource(source);
    m_country->SetDataField(QStringLiteral("Land"));
    form->addRow(QStringLiteral("Land (gespeichert als Kürzel):"), m_country);
    m_founded = new TqkDBDateTimePicker;
    m_founded->SetDataSource(source);
    m_founded->SetDataField(QStringLiteral("Gruendungsdatum"));
    form->addRow(QStringLiteral("Gründungsdatum:"), m_founded);
    m_remark = new TqkDBRichEdit;
    m_remark->setObjectName(QStringLiteral("bemerkung"));
    m_remark->SetMeasurementUnits(muCentimeters);
    m_remark->EditorCaption = QStringLiteral("Bemerkung bearbeiten");
    m_remark->SetDataSource(source);
    m_remark->SetDataField(QStringLiteral("Bemerkung"));
    m_remark->setFixedHeight(60);
    form->addRow(QStringLiteral("Bemerkung (F2: Texteditor):"), m_remark);
    return group(QStringLiteral("Kunden (Kunden.db)"), form);
}

QWidget *GalleryWindow::orderGroup()
{
    auto *form = new QFormLayout;
    TDataSource *source = m_orderSource.get();
    form->addRow(QStringLiteral("Auftragsnummer:"), boundEdit(source, QStringLiteral("auftragnr")));
    auto *date = new TqkDBDateTimePicker;
    date->SetDataSource(source);
    date->SetDataField(QStringLiteral("Datum"));
    form->addRow(QStringLiteral("Datum (Auswahl):"), date);
    form->addRow(QStringLiteral("Lieferdatum (Leertaste ergänzt):"), boundEdit(source, QStringLiteral("Lieferdatum")));
    auto *kind = new TqkDBComboBox;
    kind->SetItems({QStringLiteral("Angebot\t1"), QStringLiteral("Auftragsbestätigung\t2"),
                    QStringLiteral("Lieferschein\t3"), QStringLiteral("Rechnung\t4"), QStringLiteral("Barrechnung\t5"),
                    QStringLiteral("Gutschrift\t6")});
    kind->SetMapList(true);
    kind->ShowMatchText = true;
    kind->SetDataSource(source);
    kind->SetDataField(QStringLiteral("AuftragArt"));
    form->addRow(QStringLiteral("Belegart:"), kind);
    auto *headText = boundEdit(source, QStringLiteral("Kopftext"));
    headText->setObjectName(QStringLiteral("kopftext"));
    headText->SetWordWrap(true);
    headText->SetWantReturns(true);
    headText->SetShowVertScrollBar(true);
    headText->setFixedHeight(4 * headText->fontMetrics().height() + 8);
    form->addRow(QStringLiteral("Kopftext (mehrzeilig,\nEingabetaste: neue Zeile):"), headText);
    return group(QStringLiteral("Aufträge (Auftrag.db)"), form);
}

QWidget *GalleryWindow::unboundGroup()
{
    auto *form = new QFormLayout;
    auto *date = new TqkDBEdit;
    date->SetUnboundDataType(qkEdtDateTime);
    date->SetReadOnly(false);
    form->addRow(QStringLiteral("Datum und Uhrzeit (Leertaste):"), date);
    auto *time = new TqkDBDateTimePicker;
    time->SetUnboundDataType(qkDTEdtTime);
    form->addRow(QStringLiteral("Uhrzeit:"), time);
    auto *longDate = new TqkDBDateTimePicker;
    longDate->SetUnboundDataType(qkDTEdtDate);
    longDate->SetDateFormat(dfLong);
    longDate->SetDate(::Date());
    form->addRow(QStringLiteral("Langes Datum:"), longDate);
    form->addRow(QStringLiteral("Markierung (selbst gezeichnet):"), markerCombo());
    m_calendar = new TqkMonthCalendar;
    m_calendar->PopupYearOptions.ShowEditYear = true;
    m_calendar->OnCalcBoldDay = [](QObject *, TDateTime day, int, int, int, bool &accept) {
        accept = DayOfWeek(day) == 1;
    };
    m_calendar->SetOptions(mdoDayState | mdoWeekNumbers);
    m_calendar->SetMinDate(EncodeDate(2000, 1, 1));
    form->addRow(QStringLiteral("Monatskalender\n(Sonntage fett):"), m_calendar);
    return group(QStringLiteral("Ohne Datenfeld"), form);
}

// An owner-drawn combo: each row draws a swatch of its colour beside the
// name, the first row taller as a heading.
QWidget *GalleryWindow::markerCombo()
{
    static const QList<QPair<QString, QColor>> markers = {{QStringLiteral("Keine Markierung"), QColor()},
                                                          {QStringLiteral("Dringend"), QColor(200, 0, 0)},
                                                          {QStringLiteral("Rückfrage"), QColor(230, 160, 0)},
                                                          {QStringLiteral("Erledigt"), QColor(0, 140, 60)},
                                                          {QStringLiteral("Überfällig"), QColor(120, 0, 160)}};
    auto *combo = new TqkDBComboBox;
    m_marker = combo;
    combo->setObjectName(QStringLiteral("markierung"));
    QStringList names;
    for (const auto &marker : markers)
        names << marker.first;
    combo->SetItems(names);
    combo->SetStyle(csOwnerDrawVariable);
    combo->SetReadOnly(false);
    combo->OnMeasureItem = [](QObject *, int index, int &height) { height += index == 0 ? 6 : 0; };
    combo->OnDrawItem = [](QObject *, int index, QPainter &painter, const QRect &rect, bool) {
        if (index < 0 || index >= markers.size())
            return;
        const QColor color = markers.at(index).second;
        const QRect swatch(rect.left() + 3, rect.top() + 3, 24, rect.height() - 6);
        if (color.isValid())
            painter.fillRect(swatch, color);
        painter.drawRect(swatch.adjusted(0, 0, -1, -1));
        painter.drawText(rect.adjusted(32, 0, 0, 0), Qt::AlignVCenter | Qt::AlignLeft, markers.at(index).first);
    };
    combo->SetItemIndex(1);
    return combo;
}

QWidget *GalleryWindow::navigation(TDataSet *dataSet, const QString &title)
{
    auto *bar = new QWidget;
    auto *row = new QHBoxLayout(bar);
    row->setContentsMargins(0, 0, 0, 0);
    const auto add = [row, this](const QString &text, std::function<void()> action) {
        auto *button = new QPushButton(text);
        button->setFocusPolicy(Qt::TabFocus);
        connect(button, &QPushButton::clicked, this, [this, action] {
            try {
                action();
            } catch (const Exception &error) {
                ui::showWarning(error.Message());
            }
        });
        row->addWidget(button);
    };
    add(QStringLiteral("Erster"), [dataSet] { dataSet->First(); });
    add(QStringLiteral("Zurück"), [dataSet] { dataSet->Prior(); });
    add(QStringLiteral("Weiter"), [dataSet] { dataSet->Next(); });
    add(QStringLiteral("Letzter"), [dataSet] { dataSet->Last(); });
    add(title + QStringLiteral(" speichern"), [dataSet] {
        if (dataSet->State() == dsEdit || dataSet->State() == dsInsert)
            dataSet->Post();
    });
    add(QStringLiteral("Verwerfen"), [dataSet] { dataSet->Cancel(); });
    return bar;
}

// The filter dialog over the customers: the records shown afterwards are
// the ones its criteria select.
QWidget *GalleryWindow::searchButton()
{
    m_filter->SetDataSource(m_customerSource.get());
    m_filter->SetOptions(m_filter->Options() | fdShowNonMatching);
    m_filter->SetCaption(QStringLiteral("Kunden suchen"));
    // The words a user joins search values with, as German users write them.
    m_filter->FieldOperators().SetOrChar(QStringLiteral("oder"));
    m_filter->FieldOperators().SetAndChar(QStringLiteral("und"));
    m_filter->FieldOperators().SetNullChar(QStringLiteral("leer"));
    auto *button = new QPushButton(QStringLiteral("Kunden suchen (Filterdialog) …"));
    connect(button, &QPushButton::clicked, this, [this] { m_filter->Execute(); });
    return button;
}

void GalleryWindow::saveFilterScreenshots(const QString &prefix)
{
    m_filter->FieldInfo().clear();
    auto criterion = std::make_unique<TqkFieldInfo>();
    criterion->FieldName = criterion->DisplayName = QStringLiteral("Ort");
    criterion->FilterValue = QStringLiteral("München oder Wien");
    m_filter->FieldInfo().push_back(std::move(criterion));
    TqkFilterDlg form(*m_filter, this);
    form.show();
    QApplication::processEvents();
    form.grab().save(prefix + QStringLiteral("-filter.png"));
    TqkFilterDialogView summary(form.Criteria(), m_filter->FieldOperators(), this);
    summary.show();
    QApplication::processEvents();
    summary.grab().save(prefix + QStringLiteral("-filter-summe.png"));
    m_filter->FieldInfo().clear();
}

void GalleryWindow::saveRichEditScreenshots(const QString &prefix)
{
    const auto save = [](QWidget &window, const QString &name) {
        window.show();
        QApplication::processEvents();
        window.grab().save(name);
    };
    TqkRichEditForm editor(*m_remark, this);
    editor.RichEdit1()->selectAll();
    editor.Command(QStringLiteral("SelectAll"))->trigger();
    save(editor, prefix + QStringLiteral("-texteditor.png"));
    editor.ColorMenu()->popup(editor.mapToGlobal(QPoint(0, 0)));
    QApplication::processEvents();
    editor.ColorMenu()->grab().save(prefix + QStringLiteral("-farben.png"));
    editor.ColorMenu()->close();
    TqkRichTabDialog tabs(*editor.RichEdit1(), &editor);
    save(tabs, prefix + QStringLiteral("-tabulatoren.png"));
    TqkRichParagraphDialog paragraph(*editor.RichEdit1(), &editor);
    save(paragraph, prefix + QStringLiteral("-absatz.png"));
}

// The position grid at full width: two records selected, the combo over the
// current unit cell.
void GalleryWindow::saveGridScreenshot(const QString &prefix)
{
    auto *grid = findChild<TqkDBGrid *>(QStringLiteral("positionGrid"));
    const QSize size = grid->size();
    grid->resize(1180, grid->height() + 60);
    m_positions->MoveBy(2);
    grid->SelectRecord();
    m_positions->Next();
    grid->SelectRecord();
    grid->setFocus();
    grid->SelectColumn(5);
    QApplication::processEvents();
    grid->grab().save(prefix + QStringLiteral("-gitter.png"));
    grid->UnselectAll();
    m_positions->First();
    grid->resize(size);
}

// The window with a drop-down drawn over it where it stands on the screen.
void GalleryWindow::saveWithPopup(QWidget *popup, const QString &name)
{
    QApplication::processEvents();
    QPixmap picture = grab();
    {
        QPainter painter(&picture);
        painter.drawPixmap(mapFromGlobal(popup->mapToGlobal(QPoint(0, 0))), popup->grab());
    }
    picture.save(name);
}

void GalleryWindow::saveScreenshots(const QString &prefix)
{
    saveFilterScreenshots(prefix);
    saveRichEditScreenshots(prefix);
    saveGridScreenshot(prefix);
    grab().save(prefix + QStringLiteral(".png"));
    m_country->setFocus();
    m_country->DropDown();
    saveWithPopup(m_country->PopupList(), prefix + QStringLiteral("-liste.png"));
    m_country->CloseUp(false);
    m_marker->setFocus();
    m_marker->DropDown();
    saveWithPopup(m_marker->PopupList(), prefix + QStringLiteral("-markierung.png"));
    m_marker->CloseUp(false);
    m_founded->setFocus();
    m_founded->DropDown();
    saveWithPopup(m_founded->Calendar(), prefix + QStringLiteral("-kalender.png"));
    m_founded->CloseUp(false);
}

}
