#include "RoadFixture.h"

#include "app/DruckPrg.h"
#include "app/bearbeitenform.h"
#include "platform/os/IniFile.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTest>

#include <functional>

namespace {

class LayoutRoadTest : public RoadFixture
{
protected:
    QString invoiceLayout() const
    {
        const QString forms =
            TIniFile(iniPath()).ReadString(QStringLiteral("Init"), QStringLiteral("FormularPfad"), QString());
        return QDir(forms).filePath(QStringLiteral("Auftrag_Rechnung.lst"));
    }
};

}

// "Layout bearbeiten" on a damaged invoice form, as the print's error box
// advises: a form of this program opens in the designer on what could be
// read, after a box says so; one that is not of this program is left as it
// is, and a box says why. Either way the program runs on.
TEST_F(LayoutRoadTest, ADamagedFormOpensInTheDesignerOrABoxSaysWhy)
{
    const struct
    {
        const char *what;
        std::function<QByteArray(const QByteArray &)> damage;
        const char *box;
        bool designer;
    } cases[] = {
        {"cut short", [](const QByteArray &sound) { return sound.left(sound.size() / 2); },
         "Der Entwurf zeigt, was sich davon lesen ließ", true},
        {"not of this program", [](const QByteArray &) { return QByteArray("\x00\x01\x02LL binary", 12); },
         "kann nicht im Entwurf geöffnet werden: Die Datei ist keine Layoutdatei dieses Programms", false},
    };
    QFile layout(invoiceLayout());
    ASSERT_TRUE(layout.open(QIODevice::ReadOnly));
    const QByteArray sound = layout.readAll();
    layout.close();
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        const QByteArray damaged = c.damage(sound);
        ASSERT_TRUE(layout.open(QIODevice::WriteOnly | QIODevice::Truncate));
        layout.write(damaged);
        layout.close();
        QString boxText;
        bool designerOpened = false;
        const int exitCode = runProgramWith([&](RoadScript &script) {
            waitForTheInvoiceRequest(script);
            askForTheLayout(script);
            script.waitFor(
                QStringLiteral("the box about the damaged form"), [] { return !shownBoxText().isEmpty(); },
                [&boxText] {
                    boxText = shownBoxText();
                    confirmBox();
                });
            if (c.designer) {
                script.waitFor(
                    QStringLiteral("the layout designer"), [] { return shownWindow("report::LayoutDesigner"); },
                    [&designerOpened] {
                        designerOpened = true;
                        pressKey(shownWindow("report::LayoutDesigner"), Qt::Key_Escape);
                    });
            }
            leaveFormMaintenanceAndQuit(script);
        });
        EXPECT_EQ(stoppedAt, QString());
        EXPECT_EQ(exitCode, 0);
        EXPECT_TRUE(boxText.contains(QString::fromUtf8(c.box))) << boxText.toStdString();
        EXPECT_EQ(designerOpened, c.designer);
        ASSERT_TRUE(layout.open(QIODevice::ReadOnly));
        EXPECT_EQ(layout.readAll(), damaged);
        layout.close();
    }
}
