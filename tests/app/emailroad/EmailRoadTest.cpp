#include "../DirDlgScript.h"
#include "../GoldenFiles.h"
#include "../StartupFixture.h"
#include "SmtpTestServer.h"

#include "app/dbmodul.h"
#include "app/emailroad/Ansprech.h"
#include "app/emailroad/EmailDriver.h"
#include "app/emailroad/EmailOutbox.h"
#include "app/emailroad/EmailPreview.h"
#include "app/emailroad/EmailPrompt.h"
#include "app/emailroad/EmailRun.h"
#include "app/emailroad/EmailTab.h"
#include "app/mainmodul.h"
#include "demo/install/MailTemplates.h"
#include "demo/tables/DemoTables.h"
#include "mail/formularmodul.h"
#include "platform/db/TField.h"
#include "platform/db/TTable.h"
#include "platform/mapi/SmtpSettings.h"
#include "platform/os/IniFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFontMetricsF>
#include <QImage>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QScrollBar>
#include <QThread>

#include <numeric>

namespace {

// Where the first word of a PDF's first page begins, in points from the
// paper's left edge.
double firstWordLeft(const QString &pdf)
{
    QProcess pdftotext;
    pdftotext.start(QStringLiteral("pdftotext"), {"-bbox", "-f", "1", "-l", "1", pdf, "-"});
    pdftotext.waitForFinished(20000);
    static const QRegularExpression word(QStringLiteral("<word xMin=\"([\\d.]+)\""));
    const QRegularExpressionMatch match = word.match(QString::fromUtf8(pdftotext.readAllStandardOutput()));
    return match.hasMatch() ? match.captured(1).toDouble() : -1;
}

// The topmost inked row of a PDF's first page, in points from the paper's
// top: what a reader sees, whichever font the machine put in for the one named.
double firstInkTop(const QString &pdf, const QString &folder)
{
    constexpr int dpi = 288;
    const QString stem = folder + QStringLiteral("/ink");
    QProcess::execute(QStringLiteral("pdftoppm"),
                      {"-r", QString::number(dpi), "-f", "1", "-l", "1", "-singlefile", "-gray", "-png", pdf, stem});
    const QImage page(stem + QStringLiteral(".png"));
    for (int y = 0; y < page.height(); ++y)
        for (int x = 0; x < page.width(); ++x)
            if (qGray(page.pixel(x, y)) < 128)
                return y * 72.0 / dpi;
    return -1;
}

const QString sentAndFailed = QStringLiteral("%1 Mails wurden erfolgreich versendet.\r\n%2 Mails waren fehlerhaft.");

class EmailRoadTest : public StartupFixture
{
protected:
    SmtpTestServer server;

    void SetUp() override
    {
        StartupFixture::SetUp();
        TIniFile ini(iniPath());
        ini.WriteString(mapi::SmtpSection, "Server", "127.0.0.1");
        ini.WriteInteger(mapi::SmtpSection, "Port", server.port());
        ini.WriteString(mapi::SmtpSection, "Absender", "buero@tintlen.example");
        ini.WriteInteger(mapi::SmtpSection, "VerbindungsTimeout", 5);
    }

    TfrmPrintMan &emailTab(const QStringList &body = {"Rechnung #Auftrag_auftragnr", "Summe #Auftrag_endbetrag"})
    {
        TfrmPrintMan &w = activatedWindow();
        w.pgcAuswahl->setCurrentWidget(w.tsEmail);
        TFormular formular;
        formular.Betreff = "Rechnung #Auftrag_auftragnr";
        formular.Section(fsDokumentanfang) = body;
        formular.Section(fsAnlage) = {"Die Rechnung liegt bei."};
        formular.SaveToFile(path("formulare/") + templateName(w));
        ShowEmailHeader();
        w.edtSendTo->setText("kunde@example.org");
        return w;
    }

    static QString templateName(TfrmPrintMan &w) { return w.tblFormular->FieldByName("DateiErsteSeite")->AsString(); }

    void requestAllDocuments()
    {
        writeRequest("Datenbereich", "A");
        writeRequest("Datensatz", QString());
    }

    int documentCount()
    {
        TTable head;
        head.SetDatabaseName(dataFolder());
        head.SetTableName("Auftrag.db");
        head.Open();
        return head.RecordCount();
    }

    void send(TfrmPrintMan &w)
    {
        services.clear();
        w.btnTintlen->click();
    }
};

}

TEST_F(EmailRoadTest, TheRequestedInvoiceGoesToTheServerWithItsCopiesAndIsCounted)
{
    // The customer's remark has two lines; the mail shows both.
    TfrmPrintMan &w = emailTab({"Rechnung #Auftrag_auftragnr", "Hinweis: #Kunden_Bemerkung", "Summe"});
    w.edtCC->setText("chef@example.org");
    w.edtBCC->setText("archiv@example.org");
    w.btnFensterHintergrund->setChecked(true);
    send(w);
    EXPECT_TRUE(w.windowState() & Qt::WindowMinimized);
    ASSERT_EQ(server.messages().size(), 1);
    const SmtpTestServer::Received mail = server.messages().first();
    EXPECT_EQ(mail.recipients, QStringList({"kunde@example.org", "chef@example.org", "archiv@example.org"}));
    EXPECT_TRUE(mail.data.contains("Subject: Rechnung 20260001\r\n"));
    EXPECT_TRUE(mail.data.contains("Cc: chef@example.org\r\n"));
    EXPECT_FALSE(mail.data.contains("archiv@"));
    EXPECT_TRUE(mail.data.contains("\r\n\r\nRechnung 20260001\r\nHinweis: Stammkunde seit 1998.\r\n"
                                   "Lieferung bitte nur werktags bis 15 Uhr.\r\nSumme\r\n"));
    // The outbox's text and attachment files carry such a break as CR LF too.
    EXPECT_EQ(JoinedLines({"eins\rzwei", "drei"}), "eins\r\nzwei\r\ndrei");
    EXPECT_EQ(services.messageTexts(), QStringList({sentAndFailed.arg(1).arg(0)}));
    EXPECT_FALSE(EmailState().TablesOpen);
    EXPECT_EQ(services.busyDepth(), 0);
}

TEST_F(EmailRoadTest, ARangeSendsOneMessagePerDocumentAndCountsRefusals)
{
    requestAllDocuments();
    TfrmPrintMan &w = emailTab();
    send(w);
    const int documents = documentCount();
    ASSERT_GT(documents, 2);
    EXPECT_EQ(server.messages().size(), documents);
    EXPECT_EQ(services.messageTexts(), QStringList({sentAndFailed.arg(documents).arg(0)}));

    server.refuseRecipient("kunde@example.org");
    send(w);
    EXPECT_EQ(server.messages().size(), documents);
    const QString refusal = QStringLiteral("Empfänger nicht gefunden.\r\nDer Mail-Server 127.0.0.1:%1 hat abgelehnt: "
                                           "550 5.1.1 No such user")
                                .arg(server.port());
    QStringList expected(documents, refusal);
    expected << sentAndFailed.arg(0).arg(documents);
    EXPECT_EQ(services.messageTexts(), expected);
}

TEST_F(EmailRoadTest, WithoutAServerNothingIsSentAndTheTablesAreClosed)
{
    TIniFile(iniPath()).WriteString(mapi::SmtpSection, "Server", QString());
    TfrmPrintMan &w = emailTab();
    send(w);
    EXPECT_EQ(services.messageTexts(),
              QStringList({"Es wurde keine MAPI-DLL gefunden!\r\nEntweder es existiert kein MAPI-fähiger E-Mail "
                           "Client,\r\noder er wurde noch nicht richtig konfiguriert."}));
    EXPECT_FALSE(EmailState().TablesOpen);

    TIniFile(iniPath()).WriteString(mapi::SmtpSection, "Server", "127.0.0.1");
    TIniFile(iniPath()).WriteInteger(mapi::SmtpSection, "Port", 1);
    send(w);
    EXPECT_EQ(services.messageTexts(),
              QStringList({"MAPI-Login fehlgeschlagen!\r\nDer Mail-Server 127.0.0.1:1 ist nicht erreichbar."}));
    EXPECT_TRUE(server.messages().isEmpty());
}

TEST_F(EmailRoadTest, AttachmentModeSendsTheTextAsAFileFromAFolderThatIsGoneAfterwards)
{
    TfrmPrintMan &w = emailTab();
    w.cbxAnlage->setChecked(true);
    w.edtAnlage->setText("../Rechnung 2026.txt");
    const QStringList before = QDir::temp().entryList({"tintlen-anlage-*"});
    send(w);
    ASSERT_EQ(server.messages().size(), 1);
    const QByteArray data = server.messages().first().data;
    EXPECT_TRUE(data.contains("filename*=UTF-8''Rechnung%202026.txt\r\n"));
    EXPECT_TRUE(data.contains("\r\n\r\nDie Rechnung liegt bei.\r\n"));
    EXPECT_TRUE(data.contains(QByteArray("Rechnung 20260001\r\n").toBase64().left(20)));
    EXPECT_EQ(QDir::temp().entryList({"tintlen-anlage-*"}), before);
}

TEST_F(EmailRoadTest, ATemplateErrorStillClosesEverythingAndCountsWhatWasSent)
{
    requestAllDocuments();
    TfrmPrintMan &w = emailTab({"!Wenn #Auftrag_auftragnr <> \"20260001\"", "#Fehlt", "!EndeWenn", "Text"});
    services.clear();
    EXPECT_THROW(SendEmail(), EFormularerror);
    EXPECT_EQ(server.messages().size(), 1);
    EXPECT_EQ(services.messageTexts(), QStringList({sentAndFailed.arg(1).arg(0)}));
    EXPECT_FALSE(EmailState().TablesOpen);
    EXPECT_EQ(services.busyDepth(), 0);
    (void)w;
}

TEST_F(EmailRoadTest, AnInvalidAddressIsAskedForInThePromptAndCanBeSkipped)
{
    TfrmPrintMan &w = emailTab();
    w.edtSendTo->setText("kunde@example");
    DialogScript script;
    script.then([](QDialog &dialog) {
        auto &prompt = dynamic_cast<TfrmEMail &>(dialog);
        EXPECT_EQ(prompt.edtSendTo->text(), "kunde@example");
        prompt.edtSendTo->setText("kunde@example.org");
        prompt.btnOk->click();
    });
    script.then([](QDialog &dialog) { dynamic_cast<TfrmEMail &>(dialog).btnCancel->click(); });
    send(w);
    ASSERT_EQ(server.messages().size(), 1);
    EXPECT_EQ(server.messages().first().recipients, QStringList({"kunde@example.org"}));
    send(w);
    EXPECT_EQ(server.messages().size(), 1);
    EXPECT_EQ(services.messageTexts(), QStringList({sentAndFailed.arg(0).arg(0)}));
    EXPECT_TRUE(script.finished());
}

TEST_F(EmailRoadTest, ThePreviewShowsThePagesAndItsCancelSendsNothing)
{
    TfrmPrintMan &w = emailTab({"Erste Seite"});
    TFormular formular;
    formular.LoadFromFile(path("formulare/") + templateName(w));
    formular.MaxTabellenzeilen = 10;
    formular.Section(fsTabelleneintrag) = {"#Pos_Bezeichnung"};
    formular.SaveToFile(path("formulare/") + templateName(w));
    w.cbxVorschau->setChecked(true);
    DialogScript script;
    script.then([this](QDialog &dialog) {
        auto &preview = dynamic_cast<TfrmPreview &>(dialog);
        EXPECT_EQ(preview.btnClose->text(), "&Senden");
        EXPECT_TRUE(preview.btnCancel->isVisible());
        EXPECT_FALSE(preview.navPreview->isVisible());
        EXPECT_EQ(preview.edtSendTo->text(), "kunde@example.org");
        ASSERT_GT(preview.PageCount(), 1);
        EXPECT_EQ(preview.stbStatus->text(), QString("Seite 1 von %1").arg(preview.PageCount()));
        EXPECT_TRUE(preview.btnNext->isVisible());
        EXPECT_FALSE(preview.btnlast->isEnabled());
        preview.btnNext->click();
        EXPECT_EQ(preview.stbStatus->text(), QString("Seite 2 von %1").arg(preview.PageCount()));
        EXPECT_FALSE(preview.rtfPreview->toPlainText().contains("Seitenwechsel"));
        const QString saved = path("vorschau.txt");
        ASSERT_TRUE(preview.SaveText(saved));
        QFile file(saved);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_FALSE(file.readAll().contains("Seitenwechsel"));
        printers.setCurrentPrinter("Tintlen PDF");
        preview.btnPrint->click();
        ASSERT_EQ(printers.jobs().size(), preview.PageCount());
        EXPECT_EQ(printers.jobs().first().documentName, "E-Mail Ausdruck");
        // The text fills the printer's printable rectangle, with no margin
        // of its own inside it.
        QPrinter reference;
        reference.setOutputFormat(QPrinter::PdfFormat);
        const QRectF printable = reference.pageLayout().paintRect(QPageLayout::Point);
        const QString pdf = printers.jobs().first().outputFile;
        EXPECT_TRUE(pdf.startsWith(root.path() + '/')) << pdf.toStdString();
        EXPECT_NEAR(firstWordLeft(pdf), printable.left(), 2.0);
        // The first line's glyphs stand between the printable top and the
        // used font's ascent below it; half a point allows for the raster.
        QPrinter atPoints(QPrinter::HighResolution);
        const QFontMetricsF used(preview.rtfPreview->font(), &atPoints);
        const double ascent = used.ascent() * 72.0 / atPoints.resolution();
        const double inkTop = firstInkTop(pdf, path(QString()));
        EXPECT_GE(inkTop, printable.top() - 0.5);
        EXPECT_LT(inkTop, printable.top() + ascent);
        EXPECT_EQ(preview.CurrentPage(), 2);
        preview.btnCancel->click();
    });
    send(w);
    EXPECT_TRUE(server.messages().isEmpty());
    EXPECT_TRUE(script.finished());
    EXPECT_TRUE(w.isVisible());
}

TEST_F(EmailRoadTest, ThePreviewOfARangeNavigatesThroughTheDocumentsAndOnlyCloses)
{
    requestAllDocuments();
    TfrmPrintMan &w = emailTab();
    w.cbxVorschau->setChecked(true);
    w.cbxSendeEmail->setChecked(false);
    DialogScript script;
    script.then([](QDialog &dialog) {
        auto &preview = dynamic_cast<TfrmPreview &>(dialog);
        EXPECT_EQ(preview.btnClose->text(), "&Schliessen");
        EXPECT_FALSE(preview.btnCancel->isVisible());
        EXPECT_TRUE(preview.navPreview->isVisible());
        const QString first = preview.edtBetreff->text();
        preview.btnNavNext->click();
        EXPECT_NE(preview.edtBetreff->text(), first);
        EXPECT_TRUE(preview.edtBetreff->text().startsWith("Rechnung "));
        preview.btnNavFirst->click();
        EXPECT_EQ(preview.edtBetreff->text(), first);
        preview.btnClose->click();
    });
    send(w);
    EXPECT_TRUE(script.finished());
    EXPECT_TRUE(server.messages().isEmpty());
    EXPECT_TRUE(services.messageTexts().isEmpty());
}

TEST_F(EmailRoadTest, TheContactPickerOffersTheCustomersContactsWithAnAddress)
{
    demo::writeTable(
        "Ansprech.db", dataFolder(),
        demo::Rows{{{"Art", "K"},
                    {"Nr", "10001"},
                    {"LfdNr", 1},
                    {"Name", "Huber"},
                    {"Vorname", "Hans-Jürgen"},
                    {"eMail", "hans-juergen.huber@mueller-soehne.de"},
                    {"Abteilung", "Geschäftsleitung"}},
                   {{"Art", "K"}, {"Nr", "10001"}, {"LfdNr", 2}, {"Name", "Ohne"}},
                   {{"Art", "L"}, {"Nr", "10001"}, {"LfdNr", 3}, {"Name", "Lieferant"}, {"eMail", "l@example.org"}},
                   {{"Art", "K"}, {"Nr", "10002"}, {"LfdNr", 4}, {"Name", "Andere"}, {"eMail", "a@example.org"}}});
    TfrmPrintMan &w = emailTab();
    w.edtCC->setText("chef@example.org");
    DialogScript script;
    script.then([](QDialog &dialog) {
        auto &picker = dynamic_cast<TfrmAnsprech &>(dialog);
        ASSERT_EQ(picker.lvwAdressen->topLevelItemCount(), 1);
        EXPECT_EQ(picker.lvwAdressen->topLevelItem(0)->text(0), "Huber");
        // Every text stands whole within its column's margins, and every column in sight.
        const int margins = 2 * (picker.style()->pixelMetric(QStyle::PM_FocusFrameHMargin) + 1);
        for (int column = 0; column < 4; ++column)
            EXPECT_LE(picker.fontMetrics().horizontalAdvance(picker.lvwAdressen->topLevelItem(0)->text(column))
                          + margins,
                      picker.lvwAdressen->columnWidth(column))
                << column;
        EXPECT_EQ(picker.lvwAdressen->horizontalScrollBar()->maximum(), 0);
        picker.lvwAdressen->setCurrentItem(picker.lvwAdressen->topLevelItem(0));
        picker.btnOk->click();
    });
    w.btnCCadd->click();
    EXPECT_EQ(w.edtCC->text(), "chef@example.org,hans-juergen.huber@mueller-soehne.de");

    // No contact of this customer has an address: said, not an empty list.
    demo::writeTable("Ansprech.db", dataFolder(),
                     demo::Rows{{{"Art", "K"}, {"Nr", "10002"}, {"LfdNr", 1}, {"eMail", "a@b.de"}}});
    w.btnSendadd->click();
    EXPECT_EQ(services.messageTexts(),
              QStringList{"Zu diesem Beleg gibt es keinen Ansprechpartner mit E-Mail-Adresse."});
    EXPECT_EQ(script.opened().size(), 1);
    EXPECT_EQ(WithAddedAddress(EmailAddressPlaceholder, "a@b.de", EmailAddressPlaceholder), "a@b.de");
}

namespace {

class OutboxTest : public EmailRoadTest
{
protected:
    QString mailbox() const { return EmailState().Kuvertalia.MailboxData; }

    void useOutbox()
    {
        registerMailProgram();
        writeInit("Standardclient", "0");
        writeInit("Anlagenpfad", path("anlagen"));
    }

    std::unique_ptr<TTable> table(const QString &folder, const QString &name)
    {
        auto opened = std::make_unique<TTable>();
        opened->SetDatabaseName(folder);
        opened->SetTableName(name);
        opened->Open();
        return opened;
    }

    void emptyMailboxes()
    {
        for (const char *name : {"MailAusgang.db", "MailEingang.db", "MailGesendet.db"})
            demo::writeTable(name, mailbox(), demo::Rows{});
        demo::writeTable("MailTrash.db", EmailState().Kuvertalia.User, demo::Rows{});
    }
};

}

TEST_F(OutboxTest, EveryDocumentBecomesAnOutboxRecordWithItsFields)
{
    useOutbox();
    TfrmPrintMan &w = emailTab();
    emptyMailboxes();
    services.setNow(QDateTime(QDate(2026, 12, 7), QTime(9, 30)));
    send(w);
    EXPECT_EQ(services.messageTexts(), QStringList({"1 Mails wurden erfolgreich versendet."}));
    auto outbox = table(mailbox(), "MailAusgang.db");
    ASSERT_EQ(outbox->RecordCount(), 1);
    // Number, folder, recipient, subject, customer, flags, author, time and text.
    QString record;
    for (const TField *field : outbox->FieldList())
        record += field->FieldName() + QLatin1Char('=') + field->AsString() + QLatin1Char('\n');
    expectGoldenText(QStringLiteral("Outbox_record_20260001"), record);
    EXPECT_EQ(outbox->FieldByName("AngelegtVon")->AsString(), EmailState().LastUser);
    EXPECT_TRUE(server.messages().isEmpty());
}

TEST_F(OutboxTest, AValueLongerThanItsColumnIsRefusedNotCut)
{
    useOutbox();
    TfrmPrintMan &w = emailTab();
    emptyMailboxes();
    w.edtBetreff->setText(QString(300, 'x'));
    services.clear();
    EXPECT_THROW(SendEmail(), EDatabaseError);
    EXPECT_EQ(services.messageTexts(), QStringList({"0 Mails wurden erfolgreich versendet."}));
    EXPECT_EQ(table(mailbox(), "MailAusgang.db")->RecordCount(), 0);
    EXPECT_FALSE(EmailState().TablesOpen);
}

TEST_F(OutboxTest, NumbersSkipWhatAnyMailboxHoldsAndTheCounterMovesOn)
{
    useOutbox();
    TfrmPrintMan &w = emailTab();
    emptyMailboxes();
    EXPECT_EQ(NextMailNumber(1), 1);
    const QString counter = "Neue DS-Nr - Dieser Datensatz darf nicht gelöscht werden!";
    demo::writeTable("MailAusgang.db", mailbox(), demo::Rows{{{"LfdNr", 100}, {"Ordner", counter}}});
    demo::writeTable("MailGesendet.db", mailbox(), demo::Rows{{{"LfdNr", 101}}});
    demo::writeTable("MailTrash.db", EmailState().Kuvertalia.User, demo::Rows{{{"LfdNr", 102}}});
    send(w);
    auto outbox = table(mailbox(), "MailAusgang.db");
    EXPECT_TRUE(outbox->FindKey({100}));
    EXPECT_EQ(outbox->FieldByName("Ordner")->AsString(), "Postausgang");
    EXPECT_TRUE(outbox->FindKey({103}));
    EXPECT_EQ(outbox->FieldByName("Ordner")->AsString(), counter);

    EXPECT_EQ(MailStorageFolder(true, "Kunden/Rechnungen//"), "Gesendet\\Kunden\\Rechnungen");
    EXPECT_EQ(MailStorageFolder(false, "Kunden"), "Papierkorb");
}

TEST_F(OutboxTest, AttachmentFilesAreNumberedAndNeverOverwritten)
{
    useOutbox();
    requestAllDocuments();
    QDir().mkpath(path("anlagen"));
    QFile existing(path("anlagen/rechnung.txt"));
    ASSERT_TRUE(existing.open(QIODevice::WriteOnly));
    existing.write("alt");
    existing.close();
    TfrmPrintMan &w = emailTab();
    emptyMailboxes();
    w.cbxAnlage->setChecked(true);
    w.edtAnlage->setText("rechnung.txt");
    send(w);
    QStringList files = QDir(path("anlagen")).entryList(QDir::Files, QDir::Name);
    EXPECT_EQ(files.size(), documentCount() + 1);
    EXPECT_TRUE(files.contains("rechnung1.txt"));
    EXPECT_TRUE(files.contains("rechnung2.txt"));
    ASSERT_TRUE(existing.open(QIODevice::ReadOnly));
    EXPECT_EQ(existing.readAll(), "alt");
    auto outbox = table(mailbox(), "MailAusgang.db");
    EXPECT_TRUE(outbox->FindKey({1}));
    EXPECT_EQ(outbox->FieldByName("Anlagen")->AsString(), path("anlagen") + "/rechnung1.txt");
    EXPECT_EQ(outbox->FieldByName("Text")->AsString(), "Die Rechnung liegt bei.");

    TAttachmentNamer namer(path("anlagen"), "brief.2026.txt");
    EXPECT_EQ(namer.NextFreePath(), path("anlagen") + "/brief.txt");
}

// Run by the test below as a process of its own: enters mails into the
// outbox named by the environment.
TEST_F(OutboxTest, ChildProcessEntersMails)
{
    const QByteArray folders = qgetenv("TINTLEN_OUTBOX_CHILD");
    if (folders.isEmpty())
        GTEST_SKIP() << "nur als zweiter Prozess";
    TKuvertaliaPaths &paths = EmailState().Kuvertalia;
    paths.MailboxData = QString::fromUtf8(folders.split('|')[0]);
    paths.User = QString::fromUtf8(folders.split('|')[1]);
    auto outbox = table(paths.MailboxData, "MailAusgang.db");
    // Both processes start taking numbers at the same moment.
    const qint64 start = qgetenv("TINTLEN_OUTBOX_START").toLongLong();
    while (QDateTime::currentMSecsSinceEpoch() < start)
        QThread::msleep(1);
    for (int i = 0; i < 100; ++i)
        ASSERT_GT(EnterOutboxRecord(*outbox,
                                    [](TTable &record, int number) {
                                        record.FieldByName("LfdNr")->SetAsInteger(number);
                                        record.FieldByName("Ordner")->SetAsString("Postausgang");
                                        return true;
                                    }),
                  0);
}

TEST_F(OutboxTest, TwoProcessesTakingNumbersAtOnceNeverCollide)
{
    useOutbox();
    activatedWindow();
    emptyMailboxes();
    const QString counter = "Neue DS-Nr - Dieser Datensatz darf nicht gelöscht werden!";
    demo::writeTable("MailAusgang.db", mailbox(), demo::Rows{{{"LfdNr", 1}, {"Ordner", counter}}});
    QList<QProcess *> children;
    const QByteArray start = QByteArray::number(QDateTime::currentMSecsSinceEpoch() + 3000);
    for (int i = 0; i < 2; ++i) {
        auto *child = new QProcess;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("TINTLEN_OUTBOX_CHILD", mailbox() + "|" + EmailState().Kuvertalia.User);
        environment.insert("TINTLEN_OUTBOX_START", start);
        child->setProcessEnvironment(environment);
        child->start(QCoreApplication::applicationFilePath(), {"--gtest_filter=OutboxTest.ChildProcessEntersMails"});
        children << child;
    }
    for (QProcess *child : children) {
        EXPECT_TRUE(child->waitForFinished(60000));
        EXPECT_EQ(child->exitCode(), 0) << child->readAllStandardOutput().toStdString();
        delete child;
    }
    auto outbox = table(mailbox(), "MailAusgang.db");
    EXPECT_EQ(outbox->RecordCount(), 201);
}

namespace {

// The demo's own e-mail templates sent as the customer receives them.
class DemoEmailTest : public EmailRoadTest
{
protected:
    void SetUp() override
    {
        EmailRoadTest::SetUp();
        demo::writeMailTemplates(path("formulare"));
    }

    TfrmPrintMan &demoTab()
    {
        TfrmPrintMan &w = activatedWindow();
        w.pgcAuswahl->setCurrentWidget(w.tsEmail);
        ShowEmailHeader();
        w.edtSendTo->setText("kunde@example.org");
        return w;
    }

    SmtpTestServer::Received sent(TfrmPrintMan &w)
    {
        send(w);
        return server.messages().isEmpty() ? SmtpTestServer::Received() : server.messages().last();
    }
};

}

TEST_F(DemoEmailTest, TheInvoiceNumbersItsPositionsAsOnPaperAndClosesWithTaxAndTotal)
{
    const QString body = sent(demoTab()).body();
    ASSERT_FALSE(body.isEmpty());
    EXPECT_FALSE(body.contains("#Z", Qt::CaseInsensitive)) << body.toStdString();
    QList<int> numbers;
    static const QRegularExpression numbered(QStringLiteral("^ *(\\d+) +\\S"), QRegularExpression::MultilineOption);
    for (auto match = numbered.globalMatch(body); match.hasNext();)
        numbers << match.next().captured(1).toInt();
    QList<int> expected(41);
    std::iota(expected.begin(), expected.end(), 1);
    EXPECT_EQ(numbers, expected) << body.toStdString();
    for (const char *line : {"Zwischensumme    1.315,20", "Summe dieses Abschnitts    2.750,70",
                             "Summe dieses Abschnitts    2.560,90", "Folgende Lieferung erfolgte direkt auf",
                             "Summe netto", "zzgl. MwSt. 19 %", "zzgl. MwSt. 7 %", "Gesamtbetrag",
                             "Mit freundlichen Grüßen\r\n"
                             "Werkzeughandel Lindner GmbH"})
        EXPECT_TRUE(body.contains(QString::fromUtf8(line))) << line << "\n" << body.toStdString();
    // The amounts of positions, subtotals and sums stand in one column.
    static const QRegularExpression amountAtTheEnd(QStringLiteral("\\d,\\d\\d( €)?$"));
    QMap<qsizetype, int> amountEnds; // the lines ending an amount at each column
    for (const QString &line : body.split(QStringLiteral("\r\n"))) {
        if (const QRegularExpressionMatch amount = amountAtTheEnd.match(line); amount.hasMatch())
            ++amountEnds[amount.capturedStart() + 4];
    }
    EXPECT_EQ(amountEnds.values(), QList<int>{41 + 4 + 4}) << body.toStdString();
}

// In attachment mode the message carries the template's covering text and
// the document as a text file whose umlauts a mail program can show.
TEST_F(DemoEmailTest, AttachmentModeSendsACoveringTextAndADeclaredTextFile)
{
    TfrmPrintMan &w = demoTab();
    w.cbxAnlage->setChecked(true);
    const QByteArray message = sent(w).data;
    ASSERT_FALSE(message.isEmpty());
    EXPECT_TRUE(message.contains("anbei erhalten Sie den Beleg \"Rechnung\" als Textdatei.")) << message.constData();
    static const QRegularExpression attachmentType(
        QStringLiteral("Content-Type: text/plain; charset=(UTF-8|windows-1252)\r\nContent-Transfer-Encoding: "
                       "base64\r\nContent-Disposition: attachment"));
    EXPECT_TRUE(attachmentType.match(QString::fromUtf8(message)).hasMatch()) << message.constData();
}

TEST(MailStorageFolderTest, ATemplatesSubFolderStaysBelowTheMailboxFolder)
{
    const struct
    {
        const char *subFolder;
        const char *folder;
    } cases[] = {
        {"../..", "Gesendet"},
        {"..\\..\\Windows", "Gesendet\\Windows"},
        {"Kunden/../../Rechnungen", "Gesendet\\Rechnungen"},
        {"Kunden/./Mahnungen/..", "Gesendet\\Kunden"},
        {"/Kunden", "Gesendet\\Kunden"},
        {"Kunden\\ .. \\. \\...", "Gesendet"},
        {"Kunden.2026/Rechnungen", "Gesendet\\Kunden.2026\\Rechnungen"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(MailStorageFolder(true, QString::fromUtf8(c.subFolder)), QString::fromUtf8(c.folder)) << c.subFolder;
    EXPECT_EQ(MailStorageFolder(false, "../.."), "Papierkorb");
}
