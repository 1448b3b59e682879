#include "platform/report/PreviewWindow.h"

#include "platform/report/DialogRunner.h"
#include "platform/report/PagePainter.h"
#include "platform/report/PdfSink.h"
#include "platform/report/PrintOptionsDialog.h"
#include "platform/report/PrinterOutput.h"
#include "platform/report/api/ReportCodes.h"
#include "platform/ui/Application.h"

#include <QComboBox>
#include <QFileDialog>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>

namespace report {

QImage renderPageImage(const Page &page, int zoomPercent)
{
    const double dpi = 96.0 * zoomPercent / 100.0;
    const QSize pixels(qMax(1, int(page.size.width() / 25.4 * dpi)), qMax(1, int(page.size.height() / 25.4 * dpi)));
    QImage image(pixels, QImage::Format_RGB32);
    image.setDotsPerMeterX(int(dpi / 0.0254));
    image.setDotsPerMeterY(int(dpi / 0.0254));
    image.fill(Qt::white);
    QPainter painter(&image);
    paintPage(painter, page);
    return image;
}

PreviewWindow::PreviewWindow(const QString &previewFile, const QString &title, QWidget *parent)
    : QDialog(parent), m_title(title), m_pageView(new QLabel), m_pageNumber(new QLabel), m_zoomBox(new QComboBox),
      m_scroll(new QScrollArea)
{
    setWindowTitle(QStringLiteral("Vorschau - ") + title);
    resize(900, 1000);
    m_loaded = m_document.open(previewFile) && m_document.pageCount() > 0;
    m_pageView->setAlignment(Qt::AlignCenter);
    m_scroll->setWidget(m_pageView);
    m_scroll->setWidgetResizable(true);
    m_scroll->setBackgroundRole(QPalette::Dark);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(buildToolbar());
    layout->addWidget(m_scroll, 1);
    if (m_loaded)
        showPage(0);
}

QWidget *PreviewWindow::buildToolbar()
{
    auto *bar = new QWidget(this);
    auto *row = new QHBoxLayout(bar);
    row->setContentsMargins(0, 0, 0, 0);
    const auto button = [&](const QString &text, const QString &tip, auto &&slot) {
        auto *b = new QPushButton(text, bar);
        b->setToolTip(tip);
        b->setObjectName(tip);
        connect(b, &QPushButton::clicked, this, slot);
        row->addWidget(b);
    };
    button(QStringLiteral("|<"), QStringLiteral("Erste Seite"), [this] { showPage(0); });
    button(QStringLiteral("<"), QStringLiteral("Vorherige Seite"), [this] { showPage(m_current - 1); });
    row->addWidget(m_pageNumber);
    button(QStringLiteral(">"), QStringLiteral("Nächste Seite"), [this] { showPage(m_current + 1); });
    button(QStringLiteral(">|"), QStringLiteral("Letzte Seite"), [this] { showPage(pageCount() - 1); });
    for (int percent : {50, 75, 100, 150, 200})
        m_zoomBox->addItem(QStringLiteral("%1 %").arg(percent), percent);
    m_zoomBox->setCurrentIndex(2);
    connect(m_zoomBox, &QComboBox::activated, this, [this](int i) { setZoom(m_zoomBox->itemData(i).toInt()); });
    row->addWidget(m_zoomBox);
    row->addStretch();
    button(QStringLiteral("Drucken..."), QStringLiteral("Drucken"), [this] { askAndPrint(); });
    button(QStringLiteral("Als PDF speichern..."), QStringLiteral("Als PDF speichern"), [this] { askAndSave(); });
    button(QStringLiteral("Schließen"), QStringLiteral("Schließen"), [this] { accept(); });
    return bar;
}

void PreviewWindow::showPage(int index)
{
    if (!m_loaded)
        return;
    m_current = qBound(0, index, pageCount() - 1);
    m_image = renderPageImage(m_document.page(m_current), m_zoom);
    m_pageView->setPixmap(QPixmap::fromImage(m_image));
    m_pageNumber->setText(QStringLiteral("Seite %1 von %2").arg(m_current + 1).arg(pageCount()));
}

void PreviewWindow::setZoom(int percent)
{
    m_zoom = qBound(25, percent, 400);
    const int index = m_zoomBox->findData(m_zoom);
    if (index >= 0)
        m_zoomBox->setCurrentIndex(index);
    showPage(m_current);
}

void PreviewWindow::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_PageDown:
        showPage(m_current + 1);
        break;
    case Qt::Key_PageUp:
        showPage(m_current - 1);
        break;
    case Qt::Key_Home:
        showPage(0);
        break;
    case Qt::Key_End:
        showPage(pageCount() - 1);
        break;
    case Qt::Key_Plus:
        setZoom(m_zoom + 25);
        break;
    case Qt::Key_Minus:
        setZoom(m_zoom - 25);
        break;
    default:
        QDialog::keyPressEvent(event);
        return;
    }
    event->accept();
}

int PreviewWindow::writePages(PageSink &sink, int firstPage, int lastPage)
{
    for (int i = qMax(0, firstPage - 1); i < qMin(lastPage, pageCount()); ++i) {
        const int code = sink.addPage(m_document.page(i));
        if (code != 0) {
            sink.abort();
            return code;
        }
    }
    return sink.finish();
}

int PreviewWindow::saveAsPdf(const QString &path)
{
    PdfSink sink(path, m_title);
    return writePages(sink, 1, pageCount());
}

int PreviewWindow::printOn(const QString &printer, int firstPage, int lastPage)
{
    int code = 0;
    std::unique_ptr<PageSink> sink = printerSink(printer, m_title, code, m_refusal);
    return sink ? writePages(*sink, firstPage, lastPage) : code;
}

void PreviewWindow::askAndPrint()
{
    PrintOptions options;
    options.printers = printerNames();
    options.printer = printerForLayout(QString());
    options.lastPage = pageCount();
    if (!askPrintOptions(options, this, QStringLiteral("Drucken")))
        return;
    for (int copy = 0; copy < options.copies; ++copy) {
        if (printOn(options.printer, options.firstPage, options.lastPage) != 0) {
            ui::showWarning(m_refusal.isEmpty() ? QStringLiteral("Der Druck konnte nicht durchgeführt werden.")
                                                : m_refusal);
            return;
        }
    }
}

void PreviewWindow::askAndSave()
{
    const QString path =
        QFileDialog::getSaveFileName(this, QStringLiteral("Als PDF speichern"), m_title + QStringLiteral(".pdf"),
                                     QStringLiteral("PDF-Dateien (*.pdf)"));
    if (!path.isEmpty() && saveAsPdf(path) != 0)
        ui::showWarning(QStringLiteral("Die PDF-Datei %1 konnte nicht geschrieben werden.").arg(path));
}

bool showPreview(const QString &previewFile, const QString &title, QWidget *parent)
{
    PreviewWindow window(previewFile, title, parent);
    if (!window.isLoaded())
        return false;
    runDialog(window);
    return true;
}

}
