#pragma once

#include "platform/report/PreviewFile.h"

#include <QDialog>

class QComboBox;
class QLabel;
class QPushButton;
class QScrollArea;

namespace report {

// Renders one page for the screen at `zoomPercent` (100 = natural size at
// 96 dpi).
QImage renderPageImage(const Page &page, int zoomPercent);

// Shows the pages of a preview file: page navigation, zoom, printing and
// saving as PDF.
class PreviewWindow : public QDialog
{
    Q_OBJECT
public:
    PreviewWindow(const QString &previewFile, const QString &title, QWidget *parent);

    bool isLoaded() const { return m_loaded; }
    int pageCount() const { return m_document.pageCount(); }
    int currentPage() const { return m_current; }
    int zoom() const { return m_zoom; }
    void showPage(int index);
    void setZoom(int percent);
    // The shown page in the screen's pixels.
    const QImage &pageImage() const { return m_image; }
    // 0 or a result code.
    int saveAsPdf(const QString &path);
    int printOn(const QString &printer, int firstPage, int lastPage);
    // Where "Als PDF speichern" starts: the document's name in the PDF folder.
    QString suggestedPdfPath() const;

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    PreviewDocument m_document;
    QString m_title;
    // Why the last print from the window failed, where the printer said.
    QString m_refusal;
    bool m_loaded = false;
    int m_current = 0;
    int m_zoom = 100;
    // 0, or the zoom box entry that fits the page to the window.
    int m_fit = 0;
    QImage m_image;
    QLabel *m_pageView;
    QLabel *m_pageNumber;
    QComboBox *m_zoomBox;
    QScrollArea *m_scroll;

    QWidget *buildToolbar();
    void chooseZoom(int choice);
    void applyZoom(int percent);
    void fitToWindow();
    void askAndPrint();
    void askAndSave();
    int writePages(class PageSink &sink, int firstPage, int lastPage);
};

// Shows the preview modally; false when the file is missing or unreadable.
bool showPreview(const QString &previewFile, const QString &title, QWidget *parent);

}
