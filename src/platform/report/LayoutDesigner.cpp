#include "platform/report/LayoutDesigner.h"

#include "platform/report/DialogRunner.h"
#include "platform/report/GermanDecimalSpinBox.h"
#include "platform/report/LayoutBuilder.h"
#include "platform/report/LayoutFile.h"
#include "platform/report/LayoutNames.h"
#include "platform/report/api/ReportCodes.h"
#include "platform/ui/Application.h"
#include "platform/ui/UiServices.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFileInfo>
#include <QFontComboBox>
#include <QFormLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QSignalBlocker>
#include <QSplitter>
#include <QTableWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <cmath>
#include <optional>

namespace report {
namespace {

const QStringList kAlignNames = {QStringLiteral("Links"), QStringLiteral("Zentriert"), QStringLiteral("Rechts")};

// Every number in the designer is shown and read in German form.
const QLocale &germanNumbers()
{
    static const QLocale locale = [] {
        QLocale german(QLocale::German, QLocale::Germany);
        german.setNumberOptions(QLocale::OmitGroupSeparator);
        return german;
    }();
    return locale;
}

QString numberText(double value)
{
    return germanNumbers().toString(value, 'g', 6);
}

// A German number typed into a table cell; "." is taken as a decimal point
// too, so no typed value turns into a thousand times itself. Empty when the
// text is no number.
std::optional<double> numberFrom(QString text)
{
    text = text.trimmed().replace(QLatin1Char('.'), QLatin1Char(','));
    bool ok = false;
    const double value = germanNumbers().toDouble(text, &ok);
    return ok ? std::optional(value) : std::nullopt;
}

QString notANumber(const QString &label)
{
    return QStringLiteral("Bei „%1“ ist nur eine Zahl möglich. Der Wert wurde nicht übernommen.").arg(label);
}

int alignIndex(Qt::Alignment a)
{
    return (a & Qt::AlignRight) ? 2 : ((a & Qt::AlignHCenter) ? 1 : 0);
}

Qt::Alignment alignAt(int index)
{
    return index == 2 ? Qt::AlignRight : (index == 1 ? Qt::AlignHCenter : Qt::AlignLeft);
}

QString typeText(const Definition &d)
{
    const int base = baseType(d.type);
    QString text = base == LL_NUMERIC           ? QStringLiteral("Zahl")
                   : base == LL_BOOLEAN         ? QStringLiteral("Ja/Nein")
                   : base == LL_DRAWING_HBITMAP ? QStringLiteral("Bild")
                   : isBarcodeType(base)        ? QStringLiteral("Barcode ") + symbologyName(base)
                                                : QStringLiteral("Text");
    if (d.headerOnly())
        text += QStringLiteral(" (nur Kopfzeile)");
    if (d.footerOnly())
        text += QStringLiteral(" (nur Fußzeile)");
    return text;
}

}

Layout newLayout(Layout::Type type)
{
    if (type == Layout::Type::Label)
        return labelLayout(SheetDef{});
    Layout layout;
    TableDef table;
    table.rect = QRectF(layout.marginLeft, 100, layout.pageSize.width() - layout.marginLeft - layout.marginRight, 160);
    table.rows = {tableRow(RowPart::Header, 5, {column(table.rect.width(), QString())}),
                  tableRow(RowPart::Data, 5, {column(table.rect.width(), QString())})};
    layout.table = table;
    return layout;
}

LayoutDesigner::LayoutDesigner(const Layout &layout, const QString &path, const Definitions &variables,
                               const Definitions &fields, QWidget *parent, const QString &title)
    : QDialog(parent), m_layout(layout), m_path(path), m_variables(variables), m_fields(fields)
{
    setWindowTitle(title.isEmpty() ? QStringLiteral("Formular-Layout") : title);
    setLocale(germanNumbers());
    m_canvas = new DesignCanvas(m_layout, QFileInfo(path).absolutePath(), m_variables, m_fields);
    auto *scroll = new QScrollArea;
    scroll->setWidget(m_canvas);
    scroll->setBackgroundRole(QPalette::Dark);
    auto *splitter = new QSplitter(this);
    auto *left = new QWidget;
    auto *leftLayout = new QVBoxLayout(left);
    leftLayout->addWidget(buildToolbox());
    leftLayout->addWidget(buildPageProperties());
    leftLayout->addWidget(buildNameList(), 1);
    splitter->addWidget(left);
    splitter->addWidget(scroll);
    splitter->addWidget(buildProperties());
    splitter->setStretchFactor(1, 1);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Save | QDialogButtonBox::Cancel);
    buttons->button(QDialogButtonBox::Save)->setText(QStringLiteral("Speichern"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Abbrechen"));
    connect(buttons, &QDialogButtonBox::accepted, this, [this] {
        if (save())
            accept();
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &LayoutDesigner::reject);
    auto *main = new QVBoxLayout(this);
    main->addWidget(splitter, 1);
    main->addWidget(buttons);
    connect(m_canvas, &DesignCanvas::selectionChanged, this, &LayoutDesigner::showProperties);
    connect(m_canvas, &DesignCanvas::geometryChanged, this, &LayoutDesigner::showProperties);
    showProperties(-1);
    layoutChanged();
    fitToScreen();
    m_savedText = layoutToText(m_layout);
    for (QPushButton *button : findChildren<QPushButton *>())
        button->setAutoDefault(false);
}

// Enter confirms a typed value; it neither saves nor adds an element. The
// button box makes "Speichern" the dialog's default button, which Enter
// would press.
void LayoutDesigner::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

bool LayoutDesigner::isModified() const
{
    return layoutToText(m_layout) != m_savedText;
}

// Cancel, Escape and closing the window all come here: changes are thrown
// away only when the user says so.
void LayoutDesigner::reject()
{
    if (isModified()
        && ui::services().messageBox(
               QStringLiteral("Das Layout wurde geändert. Sollen die Änderungen verworfen werden?"), windowTitle(),
               ui::MsgIcon::Question, ui::MsgButtons::YesNo, ui::IDNO)
               != ui::IDYES)
        return;
    QDialog::reject();
}

// Roomy where the screen allows it, never beyond a 1024x768 screen's
// working area otherwise.
void LayoutDesigner::fitToScreen()
{
    const QScreen *screen = parentWidget() ? parentWidget()->screen() : QGuiApplication::primaryScreen();
    const QSize available = screen ? screen->availableSize() : QSize(1024, 768);
    resize(QSize(1300, 900).boundedTo(available.expandedTo(QSize(1024, 768)) - QSize(24, 48)));
}

QWidget *LayoutDesigner::buildToolbox()
{
    auto *box = new QWidget;
    auto *grid = new QVBoxLayout(box);
    const auto add = [&](const QString &text, auto &&slot) {
        auto *b = new QPushButton(text, box);
        b->setObjectName(text);
        connect(b, &QPushButton::clicked, this, slot);
        grid->addWidget(b);
    };
    add(QStringLiteral("Text"), [this] { addObject(ObjectKind::Text); });
    add(QStringLiteral("Linie"), [this] { addObject(ObjectKind::Line); });
    add(QStringLiteral("Rechteck"), [this] { addObject(ObjectKind::Rectangle); });
    add(QStringLiteral("Bild"), [this] { addObject(ObjectKind::Picture); });
    add(QStringLiteral("Barcode"), [this] { addObject(ObjectKind::Barcode); });
    if (m_layout.type == Layout::Type::List)
        add(QStringLiteral("Tabelle"), [this] { addTable(); });
    add(QStringLiteral("Entfernen"), [this] { removeSelected(); });
    if (m_layout.type == Layout::Type::List) {
        auto *following = new QCheckBox(QStringLiteral("Folgeseite zeigen"), box);
        following->setObjectName(QStringLiteral("followingPage"));
        connect(following, &QCheckBox::toggled, m_canvas, &DesignCanvas::setFollowingPage);
        grid->addWidget(following);
    }
    return box;
}

QWidget *LayoutDesigner::buildNameList()
{
    m_names = new QTreeWidget;
    m_names->setHeaderLabels({QStringLiteral("Name"), QStringLiteral("Typ"), QStringLiteral("Inhalt")});
    m_names->setRootIsDecorated(true);
    const auto addGroup = [&](const QString &title, const Definitions &defs) {
        auto *group = new QTreeWidgetItem(m_names, {title});
        for (const Definition &d : defs.sorted())
            new QTreeWidgetItem(group, {d.name, typeText(d), d.isPicture() ? QStringLiteral("(Bild)") : d.contents});
        group->setExpanded(true);
    };
    addGroup(QStringLiteral("Variablen"), m_variables);
    addGroup(QStringLiteral("Felder"), m_fields);
    m_names->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    connect(m_names, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem *item) {
        if (item->parent())
            insertName(item->text(0));
    });
    return m_names;
}

// Paper size, and for labels the sheet geometry. A value is applied when it
// is complete (Enter or leaving the box); one that leaves an element off its
// page or label is refused as a misplaced element is.
QWidget *LayoutDesigner::buildPageProperties()
{
    auto *panel = new QWidget;
    auto *form = new QFormLayout(panel);
    const auto number = [&](const char *name, const QString &label, double value, double max, ValueRule rule,
                            auto &&apply) {
        auto *box = new GermanDecimalSpinBox;
        box->setObjectName(QLatin1String(name));
        box->setRange(0, max);
        box->setDecimals(1);
        box->setValue(value);
        box->setKeyboardTracking(false);
        connect(box, &QDoubleSpinBox::valueChanged, this,
                [this, box, apply, label, rule, accepted = value](double v) mutable {
                    const Layout before = m_layout;
                    QString refusal = refusalOf(rule, label, v);
                    if (refusal.isEmpty()) {
                        apply(v);
                        refusal = elementOutside();
                    }
                    if (refusal.isEmpty()) {
                        accepted = v;
                        m_canvas->areaChanged();
                        return;
                    }
                    m_layout = before;
                    const QSignalBlocker quiet(box);
                    box->setValue(accepted);
                    ui::showWarning(refusal);
                });
        form->addRow(label, box);
    };
    QSizeF &page = m_layout.pageSize;
    number("pageWidth", QStringLiteral("Papierbreite:"), page.width(), 1000, ValueRule::Size,
           [&page](double v) { page.setWidth(v); });
    number("pageHeight", QStringLiteral("Papierhöhe:"), page.height(), 1000, ValueRule::Size,
           [&page](double v) { page.setHeight(v); });
    if (m_layout.type != Layout::Type::Label)
        return panel;
    SheetDef &s = m_layout.sheet;
    number("labelWidth", QStringLiteral("Etikettbreite:"), s.labelWidth, 1000, ValueRule::Size,
           [&s](double v) { s.labelWidth = v; });
    number("labelHeight", QStringLiteral("Etiketthöhe:"), s.labelHeight, 1000, ValueRule::Size,
           [&s](double v) { s.labelHeight = v; });
    number("columns", QStringLiteral("Spalten:"), s.columns, 50, ValueRule::Count,
           [&s](double v) { s.columns = int(v); });
    number("rows", QStringLiteral("Zeilen:"), s.rows, 50, ValueRule::Count, [&s](double v) { s.rows = int(v); });
    number("originX", QStringLiteral("Rand links:"), s.marginLeft, 1000, ValueRule::Distance,
           [&s](double v) { s.marginLeft = v; });
    number("originY", QStringLiteral("Rand oben:"), s.marginTop, 1000, ValueRule::Distance,
           [&s](double v) { s.marginTop = v; });
    number("gapX", QStringLiteral("Abstand waagerecht:"), s.gapX, 100, ValueRule::Distance,
           [&s](double v) { s.gapX = v; });
    number("gapY", QStringLiteral("Abstand senkrecht:"), s.gapY, 100, ValueRule::Distance,
           [&s](double v) { s.gapY = v; });
    return panel;
}

// Why a typed size or count cannot be taken; empty when it can. Labels come
// in whole numbers, and a tape a few millimetres high is a real label.
QString LayoutDesigner::refusalOf(ValueRule rule, QString label, double value) const
{
    label.chop(1);
    if (rule == ValueRule::Size && !isDrawableSize(value))
        return QStringLiteral("Die %1 muss größer als 0 mm sein. Der Wert wurde nicht übernommen.").arg(label);
    if (rule == ValueRule::Count && (value < 1 || value != std::floor(value)))
        return QStringLiteral("Bei „%1“ ist nur eine ganze Zahl ab 1 möglich. Der Wert wurde nicht übernommen.")
            .arg(label);
    return {};
}

// Why the page or the label cannot hold the layout as it stands; empty when
// every element lies on it.
QString LayoutDesigner::elementOutside() const
{
    const bool label = m_layout.type == Layout::Type::Label;
    const QSizeF area = m_canvas->areaMm();
    const QString size = QStringLiteral("%1 x %2 mm").arg(numberText(area.width()), numberText(area.height()));
    for (int i = 0; i <= m_canvas->tableIndex(); ++i) {
        if ((i < m_canvas->tableIndex() || m_layout.table) && !m_canvas->fitsArea(i, m_canvas->rectOf(i)))
            return QStringLiteral("Mit diesem Wert läge das Element „%1“ außerhalb %2 (%3). Der Wert wurde nicht "
                                  "übernommen.")
                .arg(elementName(i), label ? QStringLiteral("des Etiketts") : QStringLiteral("der Seite"), size);
    }
    const QSizeF sheet = m_layout.sheet.extent();
    constexpr double tolerance = 1e-6;
    if (label
        && (sheet.width() > m_layout.pageSize.width() + tolerance
            || sheet.height() > m_layout.pageSize.height() + tolerance))
        return QStringLiteral("Mit diesem Wert lägen Etiketten außerhalb des Bogens (%1 x %2 mm). Der Wert wurde nicht "
                              "übernommen.")
            .arg(numberText(m_layout.pageSize.width()), numberText(m_layout.pageSize.height()));
    return {};
}

QString LayoutDesigner::elementName(int index) const
{
    if (index >= m_layout.objects.size())
        return QStringLiteral("Tabelle");
    return nameOf(m_layout.objects.at(index));
}

QDoubleSpinBox *LayoutDesigner::mmBox()
{
    auto *box = new GermanDecimalSpinBox;
    box->setRange(-1000, 1000);
    box->setDecimals(1);
    box->setSuffix(QStringLiteral(" mm"));
    // Applied when the value is complete (Enter or leaving the box), so that
    // a value is checked once, not at every digit typed.
    box->setKeyboardTracking(false);
    connect(box, &QDoubleSpinBox::valueChanged, this, &LayoutDesigner::applyProperties);
    return box;
}

QWidget *LayoutDesigner::buildProperties()
{
    auto *panel = new QWidget;
    auto *form = new QFormLayout(panel);
    m_name = new QLineEdit;
    m_x = mmBox();
    m_y = mmBox();
    m_w = mmBox();
    m_h = mmBox();
    m_appearance = new QComboBox;
    m_appearance->addItems({QStringLiteral("Alle Seiten"), QStringLiteral("Erste Seite"), QStringLiteral("Folgeseiten"),
                            QStringLiteral("Nach der Tabelle")});
    m_font = new QFontComboBox;
    m_fontSize = new GermanDecimalSpinBox;
    m_fontSize->setRange(4, 72);
    m_bold = new QCheckBox(QStringLiteral("Fett"));
    m_italic = new QCheckBox(QStringLiteral("Kursiv"));
    m_wrap = new QCheckBox(QStringLiteral("Umbrechen"));
    m_align = new QComboBox;
    m_align->addItems(kAlignNames);
    m_expression = new QPlainTextEdit;
    m_expression->setPlaceholderText(QStringLiteral("Ein Ausdruck je Zeile"));
    m_symbology = new QComboBox;
    m_symbology->addItem(QStringLiteral("Aus der Variablen"), 0);
    for (int type : allSymbologies())
        m_symbology->addItem(symbologyName(type), type);
    m_file = new QLineEdit;
    m_variable = new QLineEdit;
    m_pen = new GermanDecimalSpinBox;
    m_pen->setRange(0, 10);
    m_pen->setSingleStep(0.1);
    m_columns = new QTableWidget(0, 5);
    m_columns->setHorizontalHeaderLabels({QStringLiteral("Zeile"), QStringLiteral("Breite"),
                                          QStringLiteral("Ausrichtung"), QStringLiteral("Größe"),
                                          QStringLiteral("Ausdruck")});
    m_columns->horizontalHeader()->setStretchLastSection(true);
    m_problem = new QLabel;
    m_problem->setObjectName(QStringLiteral("problem"));
    m_problem->setWordWrap(true);
    m_problem->setStyleSheet(QStringLiteral("color: #b00000"));

    const QList<QPair<QWidget *, const char *>> named = {{m_name, "name"},
                                                         {m_x, "x"},
                                                         {m_y, "y"},
                                                         {m_w, "width"},
                                                         {m_h, "height"},
                                                         {m_appearance, "appearance"},
                                                         {m_font, "font"},
                                                         {m_fontSize, "fontSize"},
                                                         {m_bold, "bold"},
                                                         {m_italic, "italic"},
                                                         {m_wrap, "wrap"},
                                                         {m_align, "align"},
                                                         {m_expression, "expression"},
                                                         {m_symbology, "symbology"},
                                                         {m_file, "file"},
                                                         {m_variable, "variable"},
                                                         {m_pen, "pen"},
                                                         {m_columns, "columns"}};
    for (const auto &[widget, name] : named)
        widget->setObjectName(QLatin1String(name));
    form->addRow(QStringLiteral("Name:"), m_name);
    form->addRow(QStringLiteral("Links:"), m_x);
    form->addRow(QStringLiteral("Oben:"), m_y);
    form->addRow(QStringLiteral("Breite:"), m_w);
    form->addRow(QStringLiteral("Höhe:"), m_h);
    form->addRow(QStringLiteral("Erscheint:"), m_appearance);
    form->addRow(QStringLiteral("Schrift:"), m_font);
    form->addRow(QStringLiteral("Größe (pt):"), m_fontSize);
    form->addRow(m_bold);
    form->addRow(m_italic);
    form->addRow(m_wrap);
    form->addRow(QStringLiteral("Ausrichtung:"), m_align);
    form->addRow(QStringLiteral("Ausdruck:"), m_expression);
    form->addRow(QStringLiteral("Barcodeart:"), m_symbology);
    form->addRow(QStringLiteral("Bilddatei:"), m_file);
    form->addRow(QStringLiteral("Bildvariable:"), m_variable);
    form->addRow(QStringLiteral("Strichstärke:"), m_pen);
    form->addRow(QStringLiteral("Spalten:"), m_columns);
    auto *columnButtons = new QHBoxLayout;
    auto *addCol = new QPushButton(QStringLiteral("Spalte hinzufügen"));
    connect(addCol, &QPushButton::clicked, this, &LayoutDesigner::addColumn);
    columnButtons->addWidget(addCol);
    auto *rowPart = new QComboBox;
    rowPart->addItems(rowPartNames());
    auto *addRowButton = new QPushButton(QStringLiteral("Zeile hinzufügen"));
    connect(addRowButton, &QPushButton::clicked, this, [this, rowPart] { addRow(RowPart(rowPart->currentIndex())); });
    columnButtons->addWidget(rowPart);
    columnButtons->addWidget(addRowButton);
    form->addRow(columnButtons);
    form->addRow(m_problem);

    connect(m_name, &QLineEdit::textEdited, this, &LayoutDesigner::applyProperties);
    connect(m_appearance, &QComboBox::currentIndexChanged, this, &LayoutDesigner::applyProperties);
    connect(m_font, &QFontComboBox::currentFontChanged, this, &LayoutDesigner::applyProperties);
    connect(m_fontSize, &QDoubleSpinBox::valueChanged, this, &LayoutDesigner::applyProperties);
    for (QCheckBox *box : {m_bold, m_italic, m_wrap})
        connect(box, &QCheckBox::toggled, this, &LayoutDesigner::applyProperties);
    connect(m_align, &QComboBox::currentIndexChanged, this, &LayoutDesigner::applyProperties);
    connect(m_expression, &QPlainTextEdit::textChanged, this, &LayoutDesigner::applyProperties);
    connect(m_symbology, &QComboBox::currentIndexChanged, this, &LayoutDesigner::applyProperties);
    connect(m_file, &QLineEdit::textEdited, this, &LayoutDesigner::applyProperties);
    connect(m_variable, &QLineEdit::textEdited, this, &LayoutDesigner::applyProperties);
    connect(m_pen, &QDoubleSpinBox::valueChanged, this, &LayoutDesigner::applyProperties);
    connect(m_columns, &QTableWidget::itemChanged, this, &LayoutDesigner::applyColumns);
    return panel;
}

LayoutObject *LayoutDesigner::selectedObject()
{
    const int index = m_canvas->selected();
    return index >= 0 && index < m_layout.objects.size() ? &m_layout.objects[index] : nullptr;
}

void LayoutDesigner::showProperties(int index)
{
    m_loading = true;
    const QRectF r = m_canvas->rectOf(index);
    m_x->setValue(r.x());
    m_y->setValue(r.y());
    m_w->setValue(r.width());
    m_h->setValue(r.height());
    const LayoutObject *o = selectedObject();
    const LayoutObject blank;
    const LayoutObject &shown = o ? *o : blank;
    m_name->setText(shown.name);
    m_appearance->setCurrentIndex(int(shown.appearance));
    m_font->setCurrentFont(QFont(shown.font.family));
    m_fontSize->setValue(shown.font.size);
    m_bold->setChecked(shown.font.bold);
    m_italic->setChecked(shown.font.italic);
    m_wrap->setChecked(shown.wrap);
    m_align->setCurrentIndex(alignIndex(shown.align));
    QStringList lines;
    for (const Expression &line : shown.lines)
        lines.append(line.source());
    m_expression->setPlainText(shown.kind == ObjectKind::Barcode ? shown.expression.source()
                                                                 : lines.join(QLatin1Char('\n')));
    m_symbology->setCurrentIndex(qMax(0, m_symbology->findData(shown.symbology)));
    m_file->setText(shown.file);
    m_variable->setText(shown.variable);
    m_pen->setValue(shown.pen);
    for (QWidget *w : std::initializer_list<QWidget *>{m_name, m_x, m_y, m_w, m_h, m_appearance, m_font, m_fontSize,
                                                       m_bold, m_italic, m_wrap, m_align, m_expression, m_symbology,
                                                       m_file, m_variable, m_pen})
        w->setEnabled(o != nullptr);
    for (QWidget *w : std::initializer_list<QWidget *>{m_x, m_y, m_w, m_h})
        w->setEnabled(index >= 0);
    showColumns();
    m_loading = false;
}

void LayoutDesigner::applyProperties()
{
    if (m_loading || m_canvas->selected() < 0)
        return;
    const QRectF wanted(m_x->value(), m_y->value(), m_w->value(), m_h->value());
    const int index = m_canvas->selected();
    if (wanted != m_canvas->rectOf(index) && !m_canvas->fitsArea(index, wanted)) {
        showProperties(index);
        const QSizeF area = m_canvas->areaMm();
        ui::showWarning(QStringLiteral("Mit diesem Wert läge das Element außerhalb der Seite (%1 x %2 mm). "
                                       "Der Wert wurde nicht übernommen.")
                            .arg(numberText(area.width()), numberText(area.height())));
        return;
    }
    m_canvas->setRectOf(index, wanted);
    LayoutObject *o = selectedObject();
    if (!o)
        return;
    o->name = m_name->text();
    o->appearance = Appearance(m_appearance->currentIndex());
    o->font.family = m_font->currentFont().family();
    o->font.size = m_fontSize->value();
    o->font.bold = m_bold->isChecked();
    o->font.italic = m_italic->isChecked();
    o->wrap = m_wrap->isChecked();
    o->align = alignAt(m_align->currentIndex());
    const QString text = m_expression->toPlainText();
    if (o->kind == ObjectKind::Barcode) {
        o->expression = Expression(text);
    } else if (o->kind == ObjectKind::Text) {
        o->lines.clear();
        for (const QString &line : text.split(QLatin1Char('\n')))
            o->lines.append(Expression(line));
    }
    o->symbology = m_symbology->currentData().toInt();
    o->file = m_file->text();
    o->variable = m_variable->text();
    o->pen = m_pen->value();
    layoutChanged();
}

// A syntax error or a name this job does not define is shown while
// editing; printing such a layout gives -23.
void LayoutDesigner::layoutChanged()
{
    const QString error = m_layout.firstExpressionError();
    const QString unknown = describeUnknownNames(unknownNames(m_layout, m_variables, m_fields));
    m_problem->setText(!error.isEmpty()     ? QStringLiteral("Fehler im Ausdruck: ") + error
                       : !unknown.isEmpty() ? QStringLiteral("Unbekannte Namen:\n") + unknown
                                            : QString());
    m_canvas->update();
}

void LayoutDesigner::showColumns()
{
    const bool wasLoading = m_loading;
    m_loading = true;
    m_columns->setRowCount(0);
    if (m_layout.table) {
        const QList<TableRow> &rows = m_layout.table->rows;
        for (int r = 0; r < rows.size(); ++r) {
            for (int c = 0; c < rows.at(r).columns.size(); ++c) {
                const TableColumn &col = rows.at(r).columns.at(c);
                const int line = m_columns->rowCount();
                m_columns->insertRow(line);
                auto *part = new QTableWidgetItem(
                    QStringLiteral("%1 %2").arg(rowPartNames().at(int(rows.at(r).part))).arg(r + 1));
                part->setFlags(part->flags() & ~Qt::ItemIsEditable);
                part->setData(Qt::UserRole, r);
                part->setData(Qt::UserRole + 1, c);
                m_columns->setItem(line, 0, part);
                m_columns->setItem(line, 1, new QTableWidgetItem(numberText(col.width)));
                m_columns->setItem(line, 2, new QTableWidgetItem(kAlignNames.at(alignIndex(col.align))));
                m_columns->setItem(line, 3, new QTableWidgetItem(numberText(col.font.size)));
                m_columns->setItem(line, 4, new QTableWidgetItem(col.expression.source()));
            }
        }
    }
    m_columns->setEnabled(m_layout.table.has_value());
    m_loading = wasLoading;
}

// A width or size that is no number, or a width of nothing, is refused:
// the cell shows the value kept again and the user is told.
void LayoutDesigner::applyColumns()
{
    if (m_loading || !m_layout.table)
        return;
    for (int line = 0; line < m_columns->rowCount(); ++line) {
        const int r = m_columns->item(line, 0)->data(Qt::UserRole).toInt();
        const int c = m_columns->item(line, 0)->data(Qt::UserRole + 1).toInt();
        TableColumn &col = m_layout.table->rows[r].columns[c];
        const std::optional<double> width = numberFrom(m_columns->item(line, 1)->text());
        const std::optional<double> size = numberFrom(m_columns->item(line, 3)->text());
        const QString refusal = !width  ? notANumber(QStringLiteral("Breite"))
                                : !size ? notANumber(QStringLiteral("Größe"))
                                        : refusalOf(ValueRule::Size, QStringLiteral("Breite:"), *width);
        if (!refusal.isEmpty()) {
            const QSignalBlocker quiet(m_columns);
            m_columns->item(line, 1)->setText(numberText(col.width));
            m_columns->item(line, 3)->setText(numberText(col.font.size));
            ui::showWarning(refusal);
            continue;
        }
        col.width = *width;
        col.align = alignAt(qMax(0, kAlignNames.indexOf(m_columns->item(line, 2)->text())));
        col.font.size = qMax(4.0, *size);
        col.expression = Expression(m_columns->item(line, 4)->text());
    }
    layoutChanged();
}

void LayoutDesigner::addColumn()
{
    if (!m_layout.table || m_layout.table->rows.isEmpty())
        return;
    const int line = m_columns->currentRow();
    const int r =
        line >= 0 ? m_columns->item(line, 0)->data(Qt::UserRole).toInt() : int(m_layout.table->rows.size()) - 1;
    m_layout.table->rows[r].columns.append(TableColumn{});
    showColumns();
    m_canvas->update();
}

void LayoutDesigner::addRow(RowPart part)
{
    if (!m_layout.table)
        return;
    TableRow row;
    row.part = part;
    row.columns.append(TableColumn{m_layout.table->rect.width(), Qt::AlignLeft, FontSpec{}, false, Expression()});
    m_layout.table->rows.append(row);
    showColumns();
    m_canvas->update();
}

int LayoutDesigner::addObject(ObjectKind kind)
{
    LayoutObject o;
    o.kind = kind;
    o.name = QStringLiteral("%1 %2").arg(objectKindName(kind)).arg(m_layout.objects.size() + 1);
    const QSizeF area = m_layout.type == Layout::Type::Label
                            ? QSizeF(m_layout.sheet.labelWidth, m_layout.sheet.labelHeight)
                            : m_layout.pageSize;
    const QSizeF size =
        kind == ObjectKind::Line ? QSizeF(40, 0) : QSizeF(qMin(40.0, area.width() / 2), qMin(10.0, area.height() / 2));
    o.rect = QRectF(QPointF((area.width() - size.width()) / 2, (area.height() - size.height()) / 2), size);
    if (kind == ObjectKind::Barcode)
        o.symbology = LL_BARCODE_EAN13;
    m_layout.objects.append(o);
    const int index = int(m_layout.objects.size()) - 1;
    m_canvas->select(index);
    return index;
}

void LayoutDesigner::addTable()
{
    if (m_layout.table || m_layout.type != Layout::Type::List)
        return;
    m_layout.table = newLayout(Layout::Type::List).table;
    m_canvas->select(m_canvas->tableIndex());
}

void LayoutDesigner::removeSelected()
{
    const int index = m_canvas->selected();
    if (index < 0)
        return;
    if (index < m_layout.objects.size())
        m_layout.objects.removeAt(index);
    else
        m_layout.table.reset();
    m_canvas->select(-1);
}

bool LayoutDesigner::save()
{
    const QList<UnknownNames> unknown = unknownNames(m_layout, m_variables, m_fields);
    if (!unknown.isEmpty()
        && ui::services().messageBox(unknownNamesMessage(unknown)
                                         + QStringLiteral("\nSo wird das Formular nicht gedruckt. Trotzdem speichern?"),
                                     windowTitle(), ui::MsgIcon::Warning, ui::MsgButtons::YesNo, ui::IDNO)
               != ui::IDYES)
        return false;
    QString message;
    if (saveLayout(m_path, m_layout, &message)) {
        m_savedText = layoutToText(m_layout);
        return true;
    }
    ui::showWarning(message);
    return false;
}

void LayoutDesigner::insertName(const QString &name)
{
    if (m_expression->isEnabled())
        m_expression->insertPlainText(name);
    else if (m_columns->currentItem() && m_columns->currentColumn() == 4)
        m_columns->currentItem()->setText(m_columns->currentItem()->text() + name);
}

int designLayout(const Layout &layout, const QString &path, const Definitions &variables, const Definitions &fields,
                 QWidget *parent, const QString &title)
{
    LayoutDesigner designer(layout, path, variables, fields, parent, title);
    return runDialog(designer) == QDialog::Accepted ? 0 : LL_ERR_USER_ABORTED;
}

}
