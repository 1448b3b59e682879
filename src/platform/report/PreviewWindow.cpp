#include "platform/report/PreviewWindow.h"

#include "platform/os/SystemPrinterService.h"
#include "platform/report/DialogRunner.h"
#include "platform/report/PagePainter.h"
#include "platform/report/PdfSaveDialog.h"
#include "platform/report/PdfSink.h"
#include "platform/report/PrintOptionsDialog.h"
#include "platform/report/PrinterOutput.h"
#include "platform/report/api/ReportCodes.h"
#include "platform/ui/Application.h"
#include "platform/ui/ScreenPlacement.h"
#include "platform/ui/UiServices.h"

#include <QComboBox>
#include <QDir>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QStyle>
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
    ui::sizeInsideScreen(this, {900, 1000});
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

namespace {

constexpr int kZoomStep = 25;
constexpr int kMinZoom = 25;
constexpr int kMaxZoom = 400;
// Zoom box entries that fit the page to the window rather than name a zoom.
constexpr int kPageWidth = -1;
constexpr int kWholePage = -2;

QIcon navigationIcon(const QWidget *widget, const QString &themeName, QStyle::StandardPixmap fallback)
{
    return QIcon::fromTheme(themeName, widget->style()->standardIcon(fallback));
}

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
        b->setAccessibleName(tip);
        connect(b, &QPushButton::clicked, this, slot);
        row->addWidget(b);
        return b;
    };
    const auto navigation = [&](const QString &tip, const QString &themeName, QStyle::StandardPixmap fallback,
                                auto &&slot) {
        button(QString(), tip, slot)->setIcon(navigationIcon(this, themeName, fallback));
    };
    navigation(QStringLiteral("Erste Seite"), QStringLiteral("go-first"), QStyle::SP_MediaSkipBackward,
               [this] { showPage(0); });
    navigation(QStringLiteral("Vorherige Seite"), QStringLiteral("go-previous"), QStyle::SP_ArrowBack,
               [this] { showPage(m_current - 1); });
    row->addWidget(m_pageNumber);
    navigation(QStringLiteral("Nächste Seite"), QStringLiteral("go-next"), QStyle::SP_ArrowForward,
               [this] { showPage(m_current + 1); });
    navigation(QStringLiteral("Letzte Seite"), QStringLiteral("go-last"), QStyle::SP_MediaSkipForward,
               [this] { showPage(pageCount() - 1); });
    m_zoomBox->setObjectName(QStringLiteral("Zoom"));
    m_zoomBox->addItem(QStringLiteral("Seitenbreite"), kPageWidth);
    m_zoomBox->addItem(QStringLiteral("Ganze Seite"), kWholePage);
    for (int percent = kMinZoom; percent <= kMaxZoom; percent += kZoomStep)
        m_zoomBox->addItem(QStringLiteral("%1 %").arg(percent), percent);
    m_zoomBox->setCurrentIndex(m_zoomBox->findData(m_zoom));
    connect(m_zoomBox, &QComboBox::activated, this, [this](int i) { chooseZoom(m_zoomBox->itemData(i).toInt()); });
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
    // Rendered for the screen's pixels, so that a scaled screen shows the
    // page sharp.
    const qreal ratio = devicePixelRatioF();
    m_image = renderPageImage(m_document.page(m_current), qRound(m_zoom * ratio));
    QPixmap pixmap = QPixmap::fromImage(m_image);
    pixmap.setDevicePixelRatio(ratio);
    m_pageView->setPixmap(pixmap);
    m_pageNumber->setText(QStringLiteral("Seite %1 von %2").arg(m_current + 1).arg(pageCount()));
}

void PreviewWindow::setZoom(int percent)
{
    m_fit = 0;
    applyZoom(percent);
    m_zoomBox->setCurrentIndex(m_zoomBox->findData(m_zoom));
}

void PreviewWindow::chooseZoom(int choice)
{
    if (choice != kPageWidth && choice != kWholePage) {
        setZoom(choice);
        return;
    }
    m_fit = choice;
    fitToWindow();
}

void PreviewWindow::applyZoom(int percent)
{
    // Steps of the zoom box, so that the box can always show the zoom.
    const int stepped = (percent + kZoomStep / 2) / kZoomStep * kZoomStep;
    m_zoom = qBound(kMinZoom, stepped, kMaxZoom);
    showPage(m_current);
}

// The largest zoom of the box at which the page's width, or the whole page,
// fits into the visible area.
void PreviewWindow::fitToWindow()
{
    if (!m_loaded || m_fit == 0)
        return;
    const QSizeF page = m_document.page(m_current).size;
    const QSize area = m_scroll->viewport()->size() - QSize(8, 8);
    const double natural = 96.0 / 25.4;
    const double byWidth = area.width() / (page.width() * natural) * 100.0;
    const double byHeight = area.height() / (page.height() * natural) * 100.0;
    const double fitting = m_fit == kPageWidth ? byWidth : qMin(byWidth, byHeight);
    m_zoom = qBound(kMinZoom, int(fitting), kMaxZoom);
    showPage(m_current);
}

void PreviewWindow::resizeEvent(QResizeEvent *event)
{
    QDialog::resizeEvent(event);
    fitToWindow();
}

QString PreviewWindow::suggestedPdfPath() const
{
    return QDir(os::SystemPrinterService::pdfFolder()).filePath(m_title + QStringLiteral(".pdf"));
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
        setZoom(m_zoom + kZoomStep);
        break;
    case Qt::Key_Minus:
        setZoom(m_zoom - kZoomStep);
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
    PdfSaveDialog dialog(this, suggestedPdfPath());
    if (runDialog(dialog) != QDialog::Accepted || dialog.pdfPath().isEmpty())
        return;
    if (saveAsPdf(dialog.pdfPath()) != 0)
        ui::showWarning(QStringLiteral("Die PDF-Datei %1 konnte nicht geschrieben werden.").arg(dialog.pdfPath()));
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
