#pragma once

#include "ui_TfrmPreview.h"

#include <QDialog>
#include <QStringList>

#include <memory>

class TEmailRun;

// The generated e-mail of each requested document, page by page, before
// anything is sent.
class TfrmPreview : public QDialog, public Ui::TfrmPreview
{
    Q_OBJECT

public:
    explicit TfrmPreview(QWidget *parent = nullptr);
    ~TfrmPreview() override;

    // Generates the current document and shows its first page.
    void ShowPage();
    void SavePosition() const;
    void LoadPosition();

    int CurrentPage() const { return m_page; }
    int PageCount() const { return int(m_pages.size()); }
    const QStringList &Text() const { return m_text; }

    // The run whose documents are shown; set while the preview is up.
    TEmailRun *Run = nullptr;

    // Saves the whole text without the page separators.
    bool SaveText(const QString &fileName) const;
    void PrintPages();

private:
    void showCurrentPage();
    void movePage(int step);
    void chooseFileAndSave();

    QStringList m_text;
    QList<QStringList> m_pages;
    int m_page = 1;
};

extern TfrmPreview *frmPreview;

// The send button reads "&Senden" and the cancel button shows only when the
// tab sends; else the button closes the preview.
void PreparePreviewButtons(bool sending);

// Shows the preview over the requested documents; false when the user left
// it with cancel.
bool PreviewEmails();

// The text cut at the separator lines the preview's generation writes.
QList<QStringList> PreviewPages(const QStringList &text);
