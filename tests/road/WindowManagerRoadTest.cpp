#include "RoadFixture.h"
#include "TextPrinting.h"
#include "WindowManagerDisplay.h"

#include "app/DruckPrg.h"
#include "platform/os/IniFile.h"

#include <QApplication>
#include <QDir>
#include <QProcess>
#include <QPushButton>
#include <QTest>

namespace {

// The program on an X display under a window manager: minimising after a
// job and restoring by the user happen as on an office desktop.
class WindowManagerRoadTest : public RoadFixture
{
protected:
    void SetUp() override
    {
        RoadFixture::SetUp();
        if (!display.failure().isEmpty())
            GTEST_FAIL() << display.failure().toStdString();
        writeInit(QStringLiteral("InDenHintergrund"), QStringLiteral("ja"));
        request(QStringLiteral("20260001"));
    }

    void request(const QString &order)
    {
        TIniFile(iniPath()).WriteString(QStringLiteral("Auftrag"), QStringLiteral("Datensatz"), order);
    }

    // The user brings the minimised program back, as the suite's product
    // does after it wrote a new request.
    void bringBackWith(RoadScript &script, const QString &order)
    {
        script.waitFor(QStringLiteral("the main window minimised"), [] { return frmPrintMan->isMinimized(); });
        script.act(QStringLiteral("request ") + order + QStringLiteral(", the program brought back"), [this, order] {
            request(order);
            display.bringBack(frmPrintMan->winId());
        });
        script.waitFor(QStringLiteral("the main window in front"),
                       [] { return !frmPrintMan->isMinimized() && frmPrintMan->isActiveWindow(); });
    }

    QString printedText() const
    {
        QProcess pdftotext;
        const QString folder = root.filePath(QStringLiteral("pdf/"));
        QString text;
        for (const QString &pdf : QDir(folder).entryList({"*.pdf"})) {
            pdftotext.start(QStringLiteral("pdftotext"), {folder + pdf, QStringLiteral("-")});
            pdftotext.waitForFinished(20000);
            text += QString::fromUtf8(pdftotext.readAllStandardOutput());
        }
        return text;
    }

    QStringList sentSubjects() const
    {
        QStringList subjects;
        for (const SmtpTestServer::Received &mail : server.messages())
            for (const QByteArray &line : mail.data.split('\n'))
                if (line.startsWith("Subject: "))
                    subjects << QString::fromUtf8(line.mid(9)).trimmed() + QStringLiteral(" an ")
                                    + mail.recipients.join(QLatin1Char(','));
        return subjects;
    }

    QStringList onTheDisplay() const { return {"-platform", "xcb", "-display", display.name()}; }

    WindowManagerDisplay display;
    QString platform;
};

void pressInMainWindow(RoadScript &script, const QString &what, Qt::Key key)
{
    script.act(what, [key] { pressKey(frmPrintMan, key, Qt::AltModifier); });
}

void sendAndConfirm(RoadScript &script, bool preview)
{
    script.act(QStringLiteral("the preview switch set"), [preview] {
        if (frmPrintMan->cbxVorschau->isChecked() != preview)
            pressKey(frmPrintMan, Qt::Key_K, Qt::AltModifier);
    });
    pressInMainWindow(script, QStringLiteral("Alt+S"), Qt::Key_S);
    if (preview)
        script.waitFor(
            QStringLiteral("the preview"), [] { return shownWindow("TfrmPreview"); },
            [] {
                QTest::mouseClick(shownWindow("TfrmPreview")->findChild<QPushButton *>(QStringLiteral("btnClose")),
                                  Qt::LeftButton);
            });
    script.waitFor(
        QStringLiteral("the box counting the sent mail"),
        [] { return shownBoxText().startsWith(QStringLiteral("1 Mails wurden")); }, confirmBox);
}

}

// A mail sent through the preview leaves the program minimised; each time
// the user brings it back it reads the request written meanwhile, so the
// next invoice printed and mailed is the newly requested one.
TEST_F(WindowManagerRoadTest, EveryReturnAfterAJobReadsTheNewRequest)
{
    const int exitCode = runProgramWith(
        [this](RoadScript &script) {
            waitForTheInvoiceRequest(script);
            script.act(QStringLiteral("look at the platform"), [this] { platform = QGuiApplication::platformName(); });
            pressInMainWindow(script, QStringLiteral("Alt+M to the e-mail tab"), Qt::Key_M);
            sendAndConfirm(script, false);
            bringBackWith(script, QStringLiteral("20260002"));
            sendAndConfirm(script, true);
            bringBackWith(script, QStringLiteral("20260001"));
            sendAndConfirm(script, false);
            bringBackWith(script, QStringLiteral("20260001"));
            pressInMainWindow(script, QStringLiteral("Alt+D to the print tab"), Qt::Key_D);
            pressInMainWindow(script, QStringLiteral("Alt+T prints"), Qt::Key_T);
            bringBackWith(script, QStringLiteral("20260001"));
            clickAbbruch(script);
        },
        onTheDisplay());
    EXPECT_EQ(stoppedAt, QString());
    EXPECT_EQ(exitCode, 0);
    EXPECT_EQ(platform, QStringLiteral("xcb"));
    EXPECT_EQ(sentSubjects(), QStringList({"Rechnung Nr. 20260001 an info@mueller-soehne.de",
                                           "Rechnung Nr. 20260002 an kaethe.juergens@example.de",
                                           "Rechnung Nr. 20260001 an info@mueller-soehne.de"}));
    const QString printed = printedText();
    EXPECT_TRUE(printed.contains(QStringLiteral("20260001"))) << printed.toStdString();
    EXPECT_FALSE(printed.contains(QStringLiteral("20260002"))) << printed.toStdString();
}
