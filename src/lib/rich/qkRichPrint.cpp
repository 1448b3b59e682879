#include "lib/rich/qkRichPrint.h"

#include "lib/rich/qkriched.h"
#include "platform/os/Printers.h"
#include "platform/rtf/RtfDocument.h"

#include <QAbstractTextDocumentLayout>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPainter>
#include <QPrinter>
#include <QRadioButton>
#include <QScopeGuard>
#include <QScrollBar>
#include <QStyle>
#include <QTextDocument>
#include <QTextFrame>

#include <cmath>
#include <memory>

namespace richPrint {

namespace {

struct Paper
{
    int code;
    QPageSize::PageSizeId id;
};

constexpr Paper papers[] = {
    {1, QPageSize::Letter}, {5, QPageSize::Legal},       {7, QPageSize::Executive},
    {8, QPageSize::A3},     {9, QPageSize::A4},          {11, QPageSize::A5},
    {13, QPageSize::B5},    {20, QPageSize::Envelope10}, {27, QPageSize::EnvelopeDL},
};

constexpr double pageEdgeBand = 4;

int twipsToPixels(int twips, int dotsPerInch)
{
    return int(qint64(twips) * dotsPerInch / richMeasure::twipsPerInch);
}

} // namespace

QPageSize paperSize(int code)
{
    for (const Paper &paper : papers) {
        if (paper.code == code)
            return QPageSize(paper.id);
    }
    return QPageSize(QPageSize::Letter);
}

QList<int> paperCodes()
{
    QList<int> codes;
    for (const Paper &paper : papers)
        codes << paper.code;
    return codes;
}

QRect formattingRectangle(const QSize &pagePixels, int dotsPerInch, const TqkPrintMargins &margins,
                          TqkMeasurementUnits units)
{
    const auto pixels = [&](double margin) {
        return twipsToPixels(richMeasure::marginTwips(margin, units), dotsPerInch);
    };
    const int left = std::clamp(pixels(margins.Left), 0, pagePixels.width());
    const int right = std::clamp(pagePixels.width() - pixels(margins.Right), 0, pagePixels.width());
    const int top = std::clamp(pixels(margins.Top), 0, pagePixels.height());
    const int bottom = std::clamp(pagePixels.height() - pixels(margins.Bottom), 0, pagePixels.height());
    return QRect(std::min(left, right), std::min(top, bottom), std::abs(right - left), std::abs(bottom - top));
}

int printDocument(const QTextDocument &document, QPrinter &printer, const QRect &rectangle, int copies)
{
    QPainter painter;
    if (!painter.begin(&printer))
        return 0;
    const auto end = qScopeGuard([&painter] { painter.end(); });
    std::unique_ptr<QTextDocument> pages(document.clone());
    rtf::registerOpaqueObjectPainter(*pages);
    // Indents count from the left margin itself; above and below each page
    // a small band keeps a line on the page's edge from printing on both.
    QTextFrameFormat frame = pages->rootFrame()->frameFormat();
    frame.setLeftMargin(0);
    frame.setRightMargin(0);
    frame.setTopMargin(pageEdgeBand);
    frame.setBottomMargin(pageEdgeBand);
    pages->rootFrame()->setFrameFormat(frame);
    // Laid out as on screen and drawn to scale: Qt would take block margins
    // in printer pixels on a printer's layout.
    const QRect area = rectangle.width() > 0 && rectangle.height() > 0
                           ? rectangle
                           : QRect(QPoint(0, 0), printer.pageLayout().fullRectPixels(printer.resolution()).size());
    const double scale = printer.resolution() / rtf::documentUnitsPerInch;
    const QSizeF pageSize(area.width() / scale, area.height() / scale);
    pages->setPageSize(pageSize);
    const int pageCount = pages->pageCount();
    int printed = 0;
    for (int copy = 0; copy < std::max(1, copies); ++copy) {
        for (int page = 0; page < pageCount; ++page, ++printed) {
            if (printed > 0 && !printer.newPage())
                return printed;
            const QRectF view(QPointF(0, page * pageSize.height()), pageSize);
            painter.save();
            painter.translate(area.topLeft());
            painter.scale(scale, scale);
            painter.translate(0, -view.top());
            pages->drawContents(&painter, view);
            painter.restore();
        }
    }
    return printed;
}

QPageSize printingPaper(const TqkCustomRichEdit &richEdit)
{
    if (richEdit.EditWidth() == rewPrinterSize)
        return paperSize(richEdit.PaperSize());
    QPrinter printer(QPrinter::HighResolution);
    richEdit.PrepareForPrinting(printer, richEdit.PrintJobName);
    return printer.pageLayout().pageSize();
}

} // namespace richPrint

bool TqkCustomRichEdit::Print(const QString &title)
{
    QPrinter printer(QPrinter::HighResolution);
    return PrepareForPrinting(printer, title) && PrintTo(printer, title, 1);
}

bool TqkCustomRichEdit::PrepareForPrinting(QPrinter &printer, const QString &title) const
{
    os::PrinterService &printers = os::PrinterService::instance();
    QString refusal;
    return printers.configure(printer, printers.currentPrinter(), title, refusal);
}

bool TqkCustomRichEdit::PrintTo(QPrinter &printer, const QString &title, int copies)
{
    printer.setDocName(title);
    printer.setFullPage(true);
    // The control's paper counts only where the text is laid out for it;
    // otherwise the printer's own paper stands.
    if (m_editWidth == rewPrinterSize)
        printer.setPageSize(richPrint::paperSize(m_paperSize));
    printer.setPageOrientation(m_landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
    const QSize page = printer.pageLayout().fullRectPixels(printer.resolution()).size();
    const QRect rectangle = richPrint::formattingRectangle(page, printer.resolution(), *m_printMargins, m_units);
    return richPrint::printDocument(*document(), printer, rectangle, copies) > 0;
}

// In window width the text wraps at the window; in printer width at the
// printable width of the paper, so lines break as they will on paper.
void TqkCustomRichEdit::updateEditingRectangle()
{
    const bool wasStreaming = m_streaming;
    m_streaming = true;
    const auto restore = qScopeGuard([this, wasStreaming] { m_streaming = wasStreaming; });
    if (m_editWidth == rewWindowSize) {
        setLineWrapMode(m_wordWrap ? QTextEdit::WidgetWidth : QTextEdit::NoWrap);
        return;
    }
    const QSizeF paper = richPrint::paperSize(m_paperSize).size(QPageSize::Inch);
    const double paperWidth = m_landscape ? paper.height() : paper.width();
    const double marginInches = double(richMeasure::marginTwips(m_printMargins->Left, m_units)
                                       + richMeasure::marginTwips(m_printMargins->Right, m_units))
                                / richMeasure::twipsPerInch;
    setLineWrapMode(QTextEdit::FixedPixelWidth);
    setLineWrapColumnOrWidth(std::max(1, int((paperWidth - marginInches) * m_screenPixelsPerInch)));
}

TqkPageSetupDialog::TqkPageSetupDialog(TqkCustomRichEdit &richEdit, QWidget *parent)
    : QDialog(parent), m_richEdit(richEdit), m_paper(new QComboBox(this)),
      m_portrait(new QRadioButton(tr("&Hochformat"), this)), m_landscape(new QRadioButton(tr("&Querformat"), this)),
      m_top(new QDoubleSpinBox(this)), m_bottom(new QDoubleSpinBox(this)), m_left(new QDoubleSpinBox(this)),
      m_right(new QDoubleSpinBox(this))
{
    setWindowTitle(tr("Seite einrichten"));
    for (const int code : richPrint::paperCodes())
        m_paper->addItem(richPrint::paperSize(code).name(), code);
    auto *paperBox = new QGroupBox(tr("Papier"), this);
    auto *paperLayout = new QFormLayout(paperBox);
    paperLayout->addRow(tr("&Format:"), m_paper);
    auto *orientation = new QHBoxLayout;
    orientation->addWidget(m_portrait);
    orientation->addWidget(m_landscape);
    paperLayout->addRow(tr("Ausrichtung:"), orientation);
    auto *marginBox = new QGroupBox(tr("Ränder"), this);
    auto *margins = new QFormLayout(marginBox);
    const QString unit = richEdit.MeasurementUnits() == muCentimeters ? QStringLiteral(" cm") : QStringLiteral(" Zoll");
    // Tab takes the margins in the order they stand.
    QWidget *before = m_landscape;
    for (auto [spin, label] : {std::pair{m_left, tr("&Links:")}, std::pair{m_right, tr("&Rechts:")},
                               std::pair{m_top, tr("&Oben:")}, std::pair{m_bottom, tr("&Unten:")}}) {
        spin->setDecimals(3);
        spin->setRange(0, 99);
        spin->setSingleStep(0.1);
        spin->setSuffix(unit);
        spin->setLocale(QLocale(QLocale::German));
        margins->addRow(label, spin);
        setTabOrder(before, spin);
        before = spin;
    }
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Cancel)->setText(tr("Abbrechen"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(this, &QDialog::accepted, this, &TqkPageSetupDialog::apply);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(paperBox);
    layout->addWidget(marginBox);
    layout->addWidget(buttons);
    load();
}

bool TqkPageSetupDialog::Execute()
{
    load();
    return exec() == QDialog::Accepted;
}

// Margins travel in thousandths of the unit, as the old dialog took them.
void TqkPageSetupDialog::load()
{
    const TqkPrintMargins &margins = *m_richEdit.PrintMargins();
    m_left->setValue(std::trunc(margins.Left * 1000) / 1000);
    m_right->setValue(std::trunc(margins.Right * 1000) / 1000);
    m_top->setValue(std::trunc(margins.Top * 1000) / 1000);
    m_bottom->setValue(std::trunc(margins.Bottom * 1000) / 1000);
    showPaper(richPrint::printingPaper(m_richEdit));
    m_paper->setEnabled(m_richEdit.EditWidth() == rewPrinterSize);
    (m_richEdit.Landscape() ? m_landscape : m_portrait)->setChecked(true);
}

// A printer's paper that has no code of ours is shown by its name.
void TqkPageSetupDialog::showPaper(const QPageSize &paper)
{
    int index = 0;
    while (index < m_paper->count() && richPrint::paperSize(m_paper->itemData(index).toInt()).id() != paper.id())
        ++index;
    if (index == m_paper->count())
        m_paper->addItem(paper.name(), 0);
    m_paper->setCurrentIndex(index);
}

void TqkPageSetupDialog::apply()
{
    TqkPrintMargins &margins = *m_richEdit.PrintMargins();
    margins.Left = std::round(m_left->value() * 1000) * 0.001;
    margins.Right = std::round(m_right->value() * 1000) * 0.001;
    margins.Top = std::round(m_top->value() * 1000) * 0.001;
    margins.Bottom = std::round(m_bottom->value() * 1000) * 0.001;
    m_richEdit.SetLandscape(m_landscape->isChecked());
    if (m_paper->isEnabled())
        m_richEdit.SetPaperSize(m_paper->currentData().toInt());
}
