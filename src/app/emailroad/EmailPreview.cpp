#include "app/emailroad/EmailPreview.h"

#include "app/DirDlg.h"
#include "app/DruckPrg.h"
#include "app/Utils.h"
#include "app/dbmodul.h"
#include "app/emailroad/EmailRun.h"
#include "app/mainmodul.h"
#include "mail/EmailText.h"
#include "mail/NCTable.h"
#include "platform/os/IniFile.h"
#include "platform/os/Printers.h"
#include "platform/ui/ScreenPlacement.h"

#include <QAbstractTextDocumentLayout>
#include <QFile>
#include <QFileDialog>
#include <QPrinter>
#include <QScopeGuard>
#include <QScrollBar>
#include <QTextDocument>

namespace {

const QString positionSection = QStringLiteral("Previewpos");
constexpr int defaultTextSize = 10;

TfrmPreview &previewWindow()
{
    // Without the program's preview the main window gets one that goes with it.
    if (!frmPreview)
        new TfrmPreview(frmPrintMan);
    return *frmPreview;
}

void setNavigatorHints(TfrmPreview &preview, bool sales)
{
    preview.navPreview->setToolTip(sales ? QStringLiteral("durch die Aufträge navigieren")
                                         : QStringLiteral("durch die Bestellungen navigieren"));
    const QStringList hints = sales ? QStringList{QStringLiteral("den ersten Auftrag anzeigen"),
                                                  QStringLiteral("den vorherigen Auftrag anzeigen"),
                                                  QStringLiteral("den nächsten Auftrag anzeigen"),
                                                  QStringLiteral("den letzten Auftrag anzeigen")}
                                    : QStringList{QStringLiteral("die erste Bestellung anzeigen"),
                                                  QStringLiteral("die vorherige Bestellung anzeigen"),
                                                  QStringLiteral("die nächste Bestellung anzeigen"),
                                                  QStringLiteral("die letzte Bestellung anzeigen")};
    const QList<QToolButton *> buttons{preview.btnNavFirst, preview.btnNavPrior, preview.btnNavNext,
                                       preview.btnNavLast};
    for (int i = 0; i < buttons.size(); ++i)
        buttons[i]->setToolTip(hints[i]);
}

}

TfrmPreview *frmPreview = nullptr;

QList<QStringList> PreviewPages(const QStringList &text)
{
    QList<QStringList> pages{{}};
    for (const QString &line : text) {
        if (line == PageSeparatorLine)
            pages << QStringList();
        else
            pages.last() << line;
    }
    return pages;
}

TfrmPreview::TfrmPreview(QWidget *parent) : QDialog(parent)
{
    setupUi(this);
    rtfPreview->setFont(QFont(QStringLiteral("Courier New"), defaultTextSize));
    connect(btnClose, &QPushButton::clicked, this, &QDialog::accept);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(btnlast, &QToolButton::clicked, this, [this] { movePage(-1); });
    connect(btnNext, &QToolButton::clicked, this, [this] { movePage(1); });
    connect(edtGroesse, &QSpinBox::valueChanged, this, [this](int size) {
        QFont font = rtfPreview->font();
        font.setPointSize(size);
        rtfPreview->setFont(font);
    });
    connect(btnSave, &QPushButton::clicked, this, [this] { chooseFileAndSave(); });
    connect(btnPrint, &QPushButton::clicked, this, [this] { PrintPages(); });
    const auto move = [](void (TDataSet::*step)()) {
        return [step] {
            if (TNCTable *head = EmailState().Kopf)
                (head->*step)();
        };
    };
    connect(btnNavFirst, &QToolButton::clicked, this, move(&TDataSet::First));
    connect(btnNavPrior, &QToolButton::clicked, this, move(&TDataSet::Prior));
    connect(btnNavNext, &QToolButton::clicked, this, move(&TDataSet::Next));
    connect(btnNavLast, &QToolButton::clicked, this, move(&TDataSet::Last));
    if (!frmPreview)
        frmPreview = this;
}

TfrmPreview::~TfrmPreview()
{
    if (frmPreview == this)
        frmPreview = nullptr;
}

void TfrmPreview::ShowPage()
{
    m_page = 1;
    TGeneratedEmail email;
    if (Run)
        Run->Generate(email, true, false);
    m_text = email.Text;
    m_pages = PreviewPages(m_text);
    edtSendTo->setText(email.SendTo);
    edtCC->setText(email.CC);
    edtBCC->setText(email.BCC);
    edtBetreff->setText(email.Betreff);
    const bool severalPages = m_pages.size() > 1;
    for (QWidget *control : std::initializer_list<QWidget *>{btnlast, btnNext, lblSeite})
        control->setVisible(severalPages);
    showCurrentPage();
}

void TfrmPreview::showCurrentPage()
{
    stbStatus->setText(QStringLiteral("Seite ") + QString::number(m_page) + QStringLiteral(" von ")
                       + QString::number(m_pages.size()));
    btnNext->setEnabled(m_page < m_pages.size());
    btnlast->setEnabled(m_page >= 2);
    rtfPreview->setPlainText(m_pages.value(m_page - 1).join(QLatin1Char('\n')));
    rtfPreview->verticalScrollBar()->setValue(0);
}

void TfrmPreview::movePage(int step)
{
    const int target = m_page + step;
    if (target < 1 || target > m_pages.size())
        return;
    m_page = target;
    showCurrentPage();
}

bool TfrmPreview::SaveText(const QString &fileName) const
{
    QStringList lines = m_text;
    lines.removeAll(PageSeparatorLine);
    QFile file(fileName);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    return file.write(JoinedLines(lines).toUtf8() + "\r\n") >= 0;
}

void TfrmPreview::chooseFileAndSave()
{
    if (m_text.isEmpty())
        return;
    QFileDialog savedlg(this, QStringLiteral("Speichern unter"));
    savedlg.setAcceptMode(QFileDialog::AcceptSave);
    savedlg.setNameFilter(QStringLiteral("Textdateien (*.txt);;Alle Dateien (*)"));
    savedlg.setDefaultSuffix(QStringLiteral("txt"));
    if (RunModal(savedlg) != QDialog::Accepted || savedlg.selectedFiles().isEmpty())
        return;
    if (!SaveText(savedlg.selectedFiles().constFirst()))
        ShowPlainMessage(QStringLiteral("Die Datei \"") + savedlg.selectedFiles().constFirst()
                         + QStringLiteral("\" konnte nicht gespeichert werden."));
}

// Every page is a print job of its own, on the program's current printer,
// laid out on the printer's printable rectangle: the paper less the
// printer's own offsets, with no margin of the text's own.
void TfrmPreview::PrintPages()
{
    os::PrinterService &printers = os::PrinterService::instance();
    for (const QStringList &page : std::as_const(m_pages)) {
        QPrinter printer;
        QString refusal;
        if (!printers.configure(printer, printers.currentPrinter(), QStringLiteral("E-Mail Ausdruck"), refusal)) {
            if (!refusal.isEmpty())
                ShowPlainMessage(refusal);
            return;
        }
        QTextDocument document;
        document.documentLayout()->setPaintDevice(&printer);
        document.setDocumentMargin(0);
        document.setPageSize(printer.pageRect(QPrinter::DevicePixel).size());
        document.setDefaultFont(rtfPreview->font());
        document.setPlainText(page.join(QLatin1Char('\n')));
        document.print(&printer);
    }
    showCurrentPage();
}

void TfrmPreview::SavePosition() const
{
    TIniFile ini(ProgramIniPath());
    const QPoint frame = ui::framePosition(this);
    ini.WriteInteger(positionSection, QStringLiteral("Left"), frame.x());
    ini.WriteInteger(positionSection, QStringLiteral("Top"), frame.y());
    ini.WriteInteger(positionSection, QStringLiteral("Width"), width());
    ini.WriteInteger(positionSection, QStringLiteral("Height"), height());
    ini.WriteInteger(positionSection, QStringLiteral("Darstellungsgroesse"), edtGroesse->value());
}

void TfrmPreview::LoadPosition()
{
    const TIniFile ini(ProgramIniPath());
    // Left and Top are where the frame stands, as they are stored.
    ui::placeInsideScreen(this,
                          {ini.ReadInteger(positionSection, QStringLiteral("Left"), ui::framePosition(this).x()),
                           ini.ReadInteger(positionSection, QStringLiteral("Top"), ui::framePosition(this).y())},
                          {ini.ReadInteger(positionSection, QStringLiteral("Width"), width()),
                           ini.ReadInteger(positionSection, QStringLiteral("Height"), height())});
    edtGroesse->setValue(ini.ReadInteger(positionSection, QStringLiteral("Darstellungsgroesse"), defaultTextSize));
}

void PreparePreviewButtons(bool sending)
{
    TfrmPreview &preview = previewWindow();
    preview.btnCancel->setVisible(sending);
    preview.btnClose->setText(sending ? QStringLiteral("&Senden") : QStringLiteral("&Schliessen"));
}

bool PreviewEmails()
{
    TfrmPreview &preview = previewWindow();
    preview.LoadPosition();
    const TEmailRequest &request = EmailRequest();
    preview.navPreview->setVisible(!request.Einzeln);
    setNavigatorHints(preview, request.IstAuftrag);
    TEmailRun run;
    TNCTable &head = *EmailState().Kopf;
    preview.Run = &run;
    const auto restore = qScopeGuard([&] {
        frmPrintMan->show();
        head.SetAfterScroll({});
        preview.Run = nullptr;
        preview.SavePosition();
    });
    // With nothing to show there is nothing to send either.
    if (!run.FindFirstDocument())
        return false;
    head.SetAfterScroll([&preview](TDataSet *) { preview.ShowPage(); });
    frmPrintMan->hide();
    preview.ShowPage();
    return RunModal(preview) == QDialog::Accepted;
}
