#include "PdfInstallationFixture.h"
#include "SmtpTestServer.h"

#include "app/DruckPrg.h"
#include "demo/install/DemoInstallation.h"
#include "demo/tables/DocumentData.h"
#include "demo/tables/FormRows.h"
#include "mail/formularmodul.h"
#include "platform/db/TField.h"
#include "platform/db/TTable.h"
#include "platform/help/ChmHelpFile.h"
#include "platform/mapi/SmtpSettings.h"
#include "platform/os/IniFile.h"
#include "platform/report/DialogRunner.h"
#include "platform/report/PrintOptionsDialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <array>

namespace {

// The whole road as a user takes it: the demo installation asks for the
// invoice of the demo order, the user presses the invoice's sort key, and
// the built-in PDF printer writes the invoice through the real engine.
class PrintManEndToEndTest : public PdfInstallationFixture
{
protected:
    int pdfCount() const { return QDir(pdfFolder()).entryList({QStringLiteral("*.pdf")}, QDir::Files).size(); }
};

// A check box takes clicks on its box and caption only.
void tick(QCheckBox *box)
{
    QTest::mouseClick(box, Qt::LeftButton, Qt::NoModifier, QPoint(box->height() / 2, box->height() / 2));
}

void retype(QSpinBox *box, const QString &text)
{
    QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(box, Qt::Key_Backspace);
    QTest::keyClicks(box, text);
}

}

TEST_F(PrintManEndToEndTest, TheInvoicesSortKeyPrintsTheDemoInvoiceIntoAPdf)
{
    TfrmPrintMan window;
    window.show();
    window.AppShow();
    QCoreApplication::processEvents();
    ASSERT_TRUE(services.messages().isEmpty()) << services.messageTexts().join('|').toStdString();
    ASSERT_EQ(window.lstStdDrucker->currentText(), QStringLiteral("Tintlen PDF"));

    QTest::keyClick(window.DBGrid1, Qt::Key_1);

    EXPECT_TRUE(services.messages().isEmpty()) << services.messageTexts().join('|').toStdString();
    EXPECT_EQ(window.tblForm->FieldByName(QStringLiteral("Bezeichnung"))->AsString(), QStringLiteral("Rechnung"));
    const QStringList files = QDir(pdfFolder()).entryList({QStringLiteral("*.pdf")}, QDir::Files);
    // The invoice row asks for the original and a copy: one print job each.
    ASSERT_EQ(files.size(), 2) << files.join('|').toStdString();
    for (const QString &file : files) {
        const QString text = pdfText(QDir(pdfFolder()).filePath(file));
        EXPECT_TRUE(text.contains(QStringLiteral("Rechnungs-Nr.:"))) << text.left(2000).toStdString();
        EXPECT_TRUE(text.contains(demo::demoOrderNumber)) << text.left(2000).toStdString();
    }
}

// What the program needs to show every road ships with the demo: the help
// file with a page for each window's context number, a template for every
// e-mail row, and the mail program's path the text-block list reads from.
TEST_F(PrintManEndToEndTest, TheDemoShipsHelpMailTemplatesAndTheMailProgramsPath)
{
    TIniFile ini(root.filePath(QStringLiteral("programm/Tintlen.ini")));
    const auto help =
        help::ChmHelpFile::open(ini.ReadString(QStringLiteral("Init"), QStringLiteral("Hilfedatei"), QString()));
    ASSERT_NE(help, nullptr);
    for (const quint32 context : {2000u, 2001u, 2002u})
        EXPECT_FALSE(help->topicOfContext(context).isEmpty()) << context;

    const QString mailbox = ini.ReadString(QStringLiteral("Init"), QStringLiteral("Datenpfad_QRB"), QString());
    EXPECT_TRUE(QFileInfo::exists(QDir(mailbox).filePath(QStringLiteral("Texte.db")))) << mailbox.toStdString();

    int templates = 0;
    for (const demo::Row &row : demo::formRows()) {
        if (!row.value("Typ").toString().endsWith(QLatin1String("-eMail")))
            continue;
        TFormular formular;
        const QString file = root.filePath(QStringLiteral("formulare/") + demo::formRowFile(row));
        ASSERT_TRUE(formular.LoadFromFile(file)) << file.toStdString();
        EXPECT_TRUE(formular.Betreff.contains(QStringLiteral("auftragnr"))) << file.toStdString();
        EXPECT_TRUE(formular.UnkeepableLines().isEmpty()) << file.toStdString();
        ++templates;
    }
    EXPECT_EQ(templates, 10);
}

// Article labels of the long invoice: one per article position, none for its
// text, marker and service lines, quantities with their decimals, and the
// PDF named after the form.
TEST_F(PrintManEndToEndTest, ArticleLabelsGoOnSoldPositionsIntoAPdfNamedAfterTheForm)
{
    TIniFile ini(root.filePath(QStringLiteral("programm/Tintlen.ini")));
    ini.WriteString(QStringLiteral("Auftrag"), QStringLiteral("FormFilterTyp"), QStringLiteral("EtikettArt"));
    ini.WriteString(QStringLiteral("Auftrag"), QStringLiteral("FormTyp"), QStringLiteral("E"));
    TfrmPrintMan window;
    window.show();
    window.AppShow();
    QCoreApplication::processEvents();

    QTest::keyClick(window.DBGrid1, Qt::Key_1);

    EXPECT_TRUE(services.messages().isEmpty()) << services.messageTexts().join('|').toStdString();
    const QStringList files = QDir(pdfFolder()).entryList({QStringLiteral("*.pdf")}, QDir::Files);
    ASSERT_EQ(files, QStringList{QStringLiteral("Artikeletikett.pdf")});
    const QString text = pdfText(QDir(pdfFolder()).filePath(files.first()));
    int articles = 0;
    for (const demo::Row &position : demo::orderPositionRows())
        articles +=
            position.value("auftragnr") == demo::demoOrderNumber && !position.value("Artikelnr").toString().isEmpty();
    EXPECT_EQ(text.count(QRegularExpression(QStringLiteral("Art\\.-Nr\\. \\d+"))), articles);
    EXPECT_TRUE(text.contains(QStringLiteral("500,00 Stück"))) << text.toStdString();
    for (const QString &line :
         {QStringLiteral("#Z"), QStringLiteral("Folgende Lieferung"), QStringLiteral("Montagearbeiten")})
        EXPECT_FALSE(text.contains(line, Qt::CaseInsensitive)) << line.toStdString();
}

// The print options as the user meets them: a number they cannot take is
// refused there, named, and stays to be corrected; the copies typed with Alt
// and a digit reach the options and hold for that one print.
TEST_F(PrintManEndToEndTest, TheOptionsRefuseANumberTheyCannotTakeAndTypedCopiesHoldForOnePrint)
{
    TfrmPrintMan window;
    window.show();
    window.AppShow();
    QTest::keyClick(window.DBGrid1, Qt::Key_3, Qt::AltModifier);
    tick(window.btnMitOptionen);
    report::setDialogRunner([&](QDialog &shown) {
        auto &dialog = dynamic_cast<report::PrintOptionsDialog &>(shown);
        dialog.show();
        QApplication::setActiveWindow(&dialog);
        EXPECT_EQ(dialog.copiesBox()->text(), "3");
        QPushButton *print = dialog.findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok);
        const std::pair<QSpinBox *, QString> cases[] = {{dialog.copiesBox(), "\"Exemplare\" eine Zahl von 1 bis 999"},
                                                        {dialog.lastPageBox(), "\"bis\" eine Zahl von 1 bis 9999"}};
        for (const auto &[box, range] : cases) {
            for (const bool byEnter : {true, false}) {
                services.clear();
                retype(box, "0");
                byEnter ? QTest::keyClick(box, Qt::Key_Return) : QTest::mouseClick(print, Qt::LeftButton);
                EXPECT_EQ(services.messageTexts(), QStringList{"Bitte bei " + range + " eingeben."}) << byEnter;
                EXPECT_TRUE(dialog.isVisible() && dialog.focusWidget() == box && box->text() == "0") << byEnter;
            }
            retype(box, "2");
        }
        QTest::keyClick(dialog.copiesBox(), Qt::Key_Return);
        return dialog.result();
    });
    QTest::keyClick(window.DBGrid1, Qt::Key_1);
    report::setDialogRunner(nullptr);
    EXPECT_EQ(pdfCount(), 2);
    // The next print takes the row's copies again: the original and a copy.
    tick(window.btnMitOptionen);
    QTest::keyClick(window.DBGrid1, Qt::Key_1);
    EXPECT_EQ(pdfCount(), 4);
}

// Orders not in euro, printed and then mailed: the e-mail's position and
// closing amounts are the printed ones, its closing lines named in DM.
TEST_F(PrintManEndToEndTest, ADocumentNotInEuroMailsTheAmountsItPrints)
{
    static const QRegularExpression amount(
        QStringLiteral("^(?: *\\d+ .*|(Summe netto|zzgl\\..*%|Gesamtbetrag) .*) (\\S+)(?(1) DM|)\\r?$"),
        QRegularExpression::MultilineOption);
    SmtpTestServer server;
    TIniFile ini(root.filePath(QStringLiteral("programm/Tintlen.ini")));
    ini.WriteInteger(mapi::SmtpSection, QStringLiteral("Port"), server.port());
    for (const auto &[module, formType, document] :
         {std::array<QString, 3>{"Auftrag", "Auftragsbest.", "20260002"}, {"Bestellung", "Bestellung", "30260004"}}) {
        ini.WriteString(QStringLiteral("Init"), QStringLiteral("ToPrint"), module);
        for (const auto &[key, value] : {std::pair<QString, QString>{"FormFilterTyp", formType},
                                         {"FormTyp", "L"},
                                         {"Datenbereich", "E"},
                                         {"Datensatz", document}})
            ini.WriteString(module, key, value);
        QDir(pdfFolder()).removeRecursively();
        TfrmPrintMan window;
        window.show();
        window.AppShow();
        QTest::keyClick(window.DBGrid1, Qt::Key_1);
        const QStringList files = QDir(pdfFolder()).entryList({QStringLiteral("*.pdf")}, QDir::Files);
        ASSERT_FALSE(files.isEmpty()) << services.messageTexts().join('|').toStdString();
        const QString printed = pdfText(QDir(pdfFolder()).filePath(files.first()));
        window.pgcAuswahl->setCurrentWidget(window.tsEmail);
        window.btnTintlen->click();
        ASSERT_FALSE(server.messages().isEmpty()) << services.messageTexts().join('|').toStdString();
        const QString body = server.messages().last().body();
        int positions = 0, closing = 0;
        for (auto it = amount.globalMatch(body); it.hasNext();) {
            const QRegularExpressionMatch line = it.next();
            ++(line.hasCaptured(1) ? closing : positions);
            EXPECT_TRUE(printed.contains(line.captured(2))) << line.captured(0).toStdString() << "\n"
                                                            << printed.toStdString();
        }
        EXPECT_GT(positions, 0) << body.toStdString();
        EXPECT_GE(closing, 3) << body.toStdString();
    }
}
