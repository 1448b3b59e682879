#include "RoadFixture.h"
#include "TextPrinting.h"
#include "WindowManagerDisplay.h"

#include "app/DruckPrg.h"
#include "app/emailroad/EmailEditor.h"
#include "mail/formularmodul.h"
#include "platform/db/TField.h"
#include "platform/db/TTable.h"
#include "platform/os/IniFile.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QKeySequence>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QWindow>

#include <algorithm>

namespace {

// The program on an X display under a window manager: minimising after a
// job and restoring by the user happen as on an office desktop.
class WindowManagerRoadTest : public RoadFixture
{
protected:
    explicit WindowManagerRoadTest(QSize screen = {1280, 1024}) : display(screen) {}

    void SetUp() override
    {
        RoadFixture::SetUp();
        if (!display.failure().isEmpty())
            GTEST_FAIL() << display.failure().toStdString();
    }

    void request(const QString &order)
    {
        TIniFile(iniPath()).WriteString(QStringLiteral("Auftrag"), QStringLiteral("Datensatz"), order);
    }

    // The user brings the minimised program back, as the suite's product
    // does after it wrote a new request.
    void bringBackWith(RoadScript &script, const QString &order)
    {
        // Only once the window manager has taken the window off the screen:
        // a user cannot bring it back before.
        script.waitFor(QStringLiteral("the main window minimised"),
                       [] { return frmPrintMan->isMinimized() && !frmPrintMan->windowHandle()->isExposed(); });
        script.act(QStringLiteral("request ") + order + QStringLiteral(", the program brought back"), [this, order] {
            request(order);
            display.bringBack(frmPrintMan->winId());
        });
        script.waitFor(QStringLiteral("the main window in front"),
                       [] { return !frmPrintMan->isMinimized() && frmPrintMan->isActiveWindow(); });
    }

    // The text of the PDFs printed, but those named in `before`.
    QString printedText(const QString &before = QString()) const
    {
        QProcess pdftotext;
        const QString folder = root.filePath(QStringLiteral("pdf/"));
        QString text;
        for (const QString &pdf : QDir(folder).entryList({"*.pdf"})) {
            if (before.split(QLatin1Char(',')).contains(pdf))
                continue;
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

void previewSwitch(RoadScript &script, bool preview)
{
    script.act(QStringLiteral("the preview switch set"), [preview] {
        if (frmPrintMan->cbxVorschau->isChecked() != preview)
            pressKey(frmPrintMan, Qt::Key_K, Qt::AltModifier);
    });
}

// Alt and each of `keys` in the main window open the window of `className`.
std::function<void(RoadScript &)> openedBy(QList<Qt::Key> keys, const char *className)
{
    return [keys, className](RoadScript &script) {
        for (const Qt::Key key : keys)
            pressInMainWindow(script, QKeySequence(key).toString(), key);
        script.waitFor(QString::fromLatin1(className), [className] {
            const QWidget *window = shownWindow(className);
            return window && window->isActiveWindow();
        });
    };
}

// Alt+S with the preview on.
void openMailPreview(RoadScript &script)
{
    previewSwitch(script, true);
    openedBy({Qt::Key_S}, "TfrmPreview")(script);
}

void clickInPreview(RoadScript &script, const char *button)
{
    script.act(QString::fromLatin1(button), [button] {
        QTest::mouseClick(shownWindow("TfrmPreview")->findChild<QPushButton *>(QString::fromLatin1(button)),
                          Qt::LeftButton);
    });
}

void confirmTheSentCount(RoadScript &script)
{
    script.waitFor(
        QStringLiteral("the box counting the sent mail"),
        [] { return shownBoxText().startsWith(QStringLiteral("1 Mails wurden")); }, confirmBox);
}

void sendAndConfirm(RoadScript &script, bool preview)
{
    if (preview) {
        openMailPreview(script);
        clickInPreview(script, "btnClose");
    } else {
        previewSwitch(script, false);
        pressInMainWindow(script, QStringLiteral("Alt+S"), Qt::Key_S);
    }
    confirmTheSentCount(script);
}

}

// A mail sent through the preview leaves the program minimised; each time
// the user brings it back it reads the request written meanwhile, so the
// next invoice printed and mailed is the newly requested one.
TEST_F(WindowManagerRoadTest, EveryReturnAfterAJobReadsTheNewRequest)
{
    writeInit(QStringLiteral("InDenHintergrund"), QStringLiteral("ja"));
    request(QStringLiteral("20260001"));
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

// Escape in the template editor asks before the edits are dropped; "Nein"
// keeps the editor with the edits, and OK then saves them.
TEST_F(WindowManagerRoadTest, EscapeInTheTemplateEditorAsksAndNoKeepsTheEdits)
{
    request(QStringLiteral("20260001"));
    QString asked;
    QString keptSubject;
    QString templateFile;
    const int exitCode = runProgramWith(
        [&](RoadScript &script) {
            waitForTheInvoiceRequest(script);
            pressInMainWindow(script, QStringLiteral("Alt+M to the e-mail tab"), Qt::Key_M);
            askForTheLayout(script);
            script.waitFor(
                QStringLiteral("the template editor"), [] { return shownWindow("TfrmEdit"); },
                [] {
                    auto *editor = static_cast<TfrmEdit *>(shownWindow("TfrmEdit"));
                    QTest::mouseClick(editor->edtBetreff, Qt::LeftButton);
                    QTest::keyClick(editor->edtBetreff, Qt::Key_End);
                    QTest::keyClicks(editor->edtBetreff, QStringLiteral(" neu"));
                    pressKey(editor, Qt::Key_Escape);
                });
            script.waitFor(
                QStringLiteral("the question"), [] { return !shownBoxText().isEmpty(); },
                [&asked] {
                    asked = shownBoxText();
                    auto *box = static_cast<QMessageBox *>(shownWindow("QMessageBox"));
                    QTest::mouseClick(box->button(QMessageBox::No), Qt::LeftButton);
                });
            script.waitFor(
                QStringLiteral("the editor alone again"),
                [] { return shownWindow("TfrmEdit") && shownBoxText().isEmpty(); },
                [&, this] {
                    auto *editor = static_cast<TfrmEdit *>(shownWindow("TfrmEdit"));
                    keptSubject = editor->edtBetreff->text();
                    templateFile = QDir(TIniFile(iniPath()).ReadString(QStringLiteral("Init"),
                                                                       QStringLiteral("FormularPfad"), QString()))
                                       .filePath(frmPrintMan->tblFormular->FieldByName("DateiErsteSeite")->AsString());
                    QTest::mouseClick(editor->btnOk, Qt::LeftButton);
                });
            leaveFormMaintenanceAndQuit(script);
        },
        onTheDisplay());
    EXPECT_EQ(stoppedAt, QString());
    EXPECT_EQ(exitCode, 0);
    EXPECT_EQ(asked, QStringLiteral("Wollen Sie wirklich Abbrechen?\rDas Formular wird dann nicht gespeichert!"));
    EXPECT_TRUE(keptSubject.endsWith(QStringLiteral(" neu"))) << keptSubject.toStdString();
    TFormular saved;
    ASSERT_TRUE(saved.LoadFromFile(templateFile)) << templateFile.toStdString();
    EXPECT_EQ(saved.Betreff, keptSubject);
}

namespace {

struct AfterPreview
{
    const char *name;
    // The preview's button clicked.
    const char *button;
    bool background;
    bool sends;
};

void PrintTo(const AfterPreview &after, std::ostream *out)
{
    *out << after.name;
}

class AfterPreviewRoadTest : public WindowManagerRoadTest, public ::testing::WithParamInterface<AfterPreview>
{};

}

// A window once sent to the background and brought back is no longer in
// the background: after the preview it goes there only when the box says
// so and the mail is sent; a cancelled preview leaves it as it was.
TEST_P(AfterPreviewRoadTest, TheWindowGoesToTheBackgroundOnlyWhenTicked)
{
    const AfterPreview &after = GetParam();
    writeInit(QStringLiteral("InDenHintergrund"), QStringLiteral("ja"));
    request(QStringLiteral("20260001"));
    QElapsedTimer sincePreview;
    bool background = false;
    const int exitCode = runProgramWith(
        [&, this](RoadScript &script) {
            waitForTheInvoiceRequest(script);
            pressInMainWindow(script, QStringLiteral("Alt+M to the e-mail tab"), Qt::Key_M);
            sendAndConfirm(script, false);
            bringBackWith(script, QStringLiteral("20260001"));
            script.act(QStringLiteral("the background box set"), [&after] {
                if (frmPrintMan->btnFensterHintergrund->isChecked() != after.background)
                    QTest::mouseClick(frmPrintMan->btnFensterHintergrund, Qt::LeftButton);
            });
            openMailPreview(script);
            clickInPreview(script, after.button);
            if (after.sends)
                confirmTheSentCount(script);
            script.waitFor(
                QStringLiteral("a second after the preview and its box"),
                [&sincePreview] {
                    if (shownWindow("TfrmPreview") || !shownBoxText().isEmpty())
                        return false;
                    if (!sincePreview.isValid())
                        sincePreview.start();
                    return sincePreview.elapsed() > 1000;
                },
                [&background] { background = inTheBackground() || !frmPrintMan->windowHandle()->isExposed(); });
            clickAbbruch(script);
        },
        onTheDisplay());
    EXPECT_EQ(stoppedAt, QString());
    EXPECT_EQ(exitCode, 0);
    EXPECT_EQ(background, after.background && after.sends);
    EXPECT_EQ(server.messages().size(), after.sends ? 2 : 1);
    EXPECT_EQ(readInit(QStringLiteral("InDenHintergrund")), after.background ? "ja" : "nein");
}

INSTANTIATE_TEST_SUITE_P(Buttons, AfterPreviewRoadTest,
                         ::testing::Values(AfterPreview{"send", "btnClose", false, true},
                                           AfterPreview{"sendInTheBackground", "btnClose", true, true},
                                           AfterPreview{"cancel", "btnCancel", false, false},
                                           AfterPreview{"cancelWithTheBoxTicked", "btnCancel", true, false}),
                         [](const ::testing::TestParamInfo<AfterPreview> &after) {
                             return std::string(after.param.name);
                         });

namespace {

struct QuickReturn
{
    const char *name;
    bool mail; // else printing
    // The window the user leaves, and its closing after the return; none:
    // the visit follows a whole job.
    std::function<void(RoadScript &)> open, close;
    int visitMilliseconds; // 0: the suite writes the request only
};

void PrintTo(const QuickReturn &quick, std::ostream *out)
{
    *out << quick.name;
}

class QuickReturnRoadTest : public WindowManagerRoadTest, public ::testing::WithParamInterface<QuickReturn>
{};

// A button's mnemonic clicks it a moment later, as the screen shows.
void waitForTheMainWindowAlone(RoadScript &script)
{
    script.waitFor(QStringLiteral("the main window alone"), [] {
        const QList<QAbstractButton *> buttons = frmPrintMan->findChildren<QAbstractButton *>();
        return frmPrintMan->ActivationOpen && !QApplication::activeModalWidget()
               && std::none_of(buttons.begin(), buttons.end(),
                               [](const QAbstractButton *button) { return button->isDown(); });
    });
}

void printAndWait(RoadScript &script)
{
    script.act(QStringLiteral("1 prints"), [] { pressKey(frmPrintMan, Qt::Key_1); });
    waitForTheMainWindowAlone(script);
}

// `key` closes the window of `className`; then Alt and `after`, if any, in
// the main window.
std::function<void(RoadScript &)> closedBy(const char *className, Qt::Key key, Qt::Key after = Qt::Key_unknown)
{
    return [=](RoadScript &script) {
        script.act(QStringLiteral("closed by a key"), [=] { pressKey(shownWindow(className), key); });
        waitForTheMainWindowAlone(script);
        if (after == Qt::Key_unknown)
            return;
        pressInMainWindow(script, QKeySequence(after).toString(), after);
        waitForTheMainWindowAlone(script);
    };
}

void mailJobOpened(RoadScript &script)
{
    previewSwitch(script, false);
    openedBy({Qt::Key_S}, "QMessageBox")(script);
}

void mailPreviewSends(RoadScript &script)
{
    clickInPreview(script, "btnClose");
    confirmTheSentCount(script);
}

}

// The suite writes the next request and hands the focus back: however short
// the visit, and also when a preview, a dialog or the job's last box was
// open meanwhile, the next job is the new request's; what was open finishes
// the old one.
TEST_P(QuickReturnRoadTest, TheJobAfterAReturnIsTheNewRequests)
{
    const QuickReturn &quick = GetParam();
    const bool visits = quick.visitMilliseconds > 0;
    const auto job = [&quick](RoadScript &script) {
        quick.mail ? sendAndConfirm(script, false) : printAndWait(script);
    };
    request(QStringLiteral("20260001"));
    QElapsedTimer sinceBack;
    QString printedBefore;
    const int exitCode = runProgramWith(
        [&](RoadScript &script) {
            waitForTheInvoiceRequest(script);
            pressInMainWindow(script, QStringLiteral("to the tab"), quick.mail ? Qt::Key_M : Qt::Key_D);
            quick.open ? quick.open(script) : job(script);
            script.act(QStringLiteral("a new request, a visit to the suite"), [&, this] {
                printedBefore = pdfs();
                request(quick.mail ? "20260002" : "20260004");
                // The suite activates the main window, or what stands in its place.
                const QWidget *back = frmPrintMan->isVisible() ? frmPrintMan : QApplication::activeWindow();
                if (visits)
                    display.visitAnotherProgram(back->winId(), quick.visitMilliseconds);
            });
            script.waitFor(QStringLiteral("back from the suite"), [&sinceBack, this] {
                if (display.visiting())
                    return false;
                if (!sinceBack.isValid())
                    sinceBack.start();
                return sinceBack.elapsed() > 300;
            });
            if (quick.close)
                quick.close(script);
            job(script);
            clickAbbruch(script);
        },
        onTheDisplay());
    EXPECT_EQ(stoppedAt, QString());
    EXPECT_EQ(exitCode, 0);
    EXPECT_TRUE(display.visited() || !visits);
    if (quick.mail) {
        EXPECT_EQ(sentSubjects(), QStringList({"Rechnung Nr. 20260001 an info@mueller-soehne.de",
                                               "Rechnung Nr. 20260002 an kaethe.juergens@example.de"}));
        return;
    }
    const QString printedAfter = printedText(printedBefore);
    EXPECT_EQ(printedAfter.contains(QStringLiteral("20260004")), visits) << printedAfter.toStdString();
    EXPECT_NE(printedAfter.contains(QStringLiteral("20260001")), visits) << printedAfter.toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Jobs, QuickReturnRoadTest,
    ::testing::Values(QuickReturn{"print", false, {}, {}, 100}, QuickReturn{"mail", true, {}, {}, 100},
                      QuickReturn{"printPreview", false, openedBy({Qt::Key_B, Qt::Key_T}, "report::PreviewWindow"),
                                  closedBy("report::PreviewWindow", Qt::Key_Escape, Qt::Key_S), 50},
                      QuickReturn{"printPreviewWithoutAVisit", false,
                                  openedBy({Qt::Key_B, Qt::Key_T}, "report::PreviewWindow"),
                                  closedBy("report::PreviewWindow", Qt::Key_Escape, Qt::Key_S), 0},
                      QuickReturn{"printOptions", false, openedBy({Qt::Key_O, Qt::Key_T}, "report::PrintOptionsDialog"),
                                  closedBy("report::PrintOptionsDialog", Qt::Key_Escape, Qt::Key_O), 2000},
                      QuickReturn{"formEntry", false, openedBy({Qt::Key_E}, "TfrmBearbeiten"),
                                  closedBy("TfrmBearbeiten", Qt::Key_Escape), 50},
                      QuickReturn{"mailPreview", true, openMailPreview, mailPreviewSends, 2000},
                      QuickReturn{"mailJob", true, mailJobOpened, closedBy("QMessageBox", Qt::Key_Return), 50}),
    [](const ::testing::TestParamInfo<QuickReturn> &quick) { return std::string(quick.param.name); });

namespace {

// A laptop's screen.
class SmallScreenRoadTest : public WindowManagerRoadTest
{
protected:
    SmallScreenRoadTest() : WindowManagerRoadTest({1366, 768}) {}
};

// Waits until the window manager has framed the window of `className`,
// then notes its frame and hands the window to `leave`.
void noteFrame(RoadScript &script, const char *className, QRect &frame, const std::function<void(QWidget *)> &leave)
{
    script.waitFor(
        QString::fromLatin1(className),
        [className] {
            const QWidget *window = shownWindow(className);
            return window && window->windowHandle()->isExposed() && window->windowHandle()->frameMargins().top() > 0;
        },
        [className, &frame, leave] {
            QWidget *window = shownWindow(className);
            frame = window->windowHandle()->frameGeometry();
            leave(window);
        });
}

}

// The print preview, the e-mail preview and the template editor open inside
// a small screen: a stored place that does not fit is brought inside, one
// that fits is kept as it is, also in the ini file.
TEST_F(SmallScreenRoadTest, EveryWindowOpensInsideTheScreen)
{
    TIniFile ini(iniPath());
    const QRect storedPreview(1000, 500, 700, 500);
    const QRect storedEditor(100, 50, 760, 560);
    for (const auto &[section, stored] :
         {std::pair{"Previewpos", storedPreview}, std::pair{"Editorpos", storedEditor}}) {
        ini.WriteInteger(QString::fromLatin1(section), QStringLiteral("Left"), stored.x());
        ini.WriteInteger(QString::fromLatin1(section), QStringLiteral("Top"), stored.y());
        ini.WriteInteger(QString::fromLatin1(section), QStringLiteral("Width"), stored.width());
        ini.WriteInteger(QString::fromLatin1(section), QStringLiteral("Height"), stored.height());
    }
    request(QStringLiteral("20260001"));
    QRect printPreview, mailPreview, editor;
    QRect screen;
    const int exitCode = runProgramWith(
        [&](RoadScript &script) {
            waitForTheInvoiceRequest(script);
            script.act(QStringLiteral("the screen"),
                       [&screen] { screen = frmPrintMan->screen()->availableGeometry(); });
            pressInMainWindow(script, QStringLiteral("Alt+B for the screen"), Qt::Key_B);
            pressInMainWindow(script, QStringLiteral("Alt+T"), Qt::Key_T);
            noteFrame(script, "report::PreviewWindow", printPreview,
                      [](QWidget *window) { pressKey(window, Qt::Key_Escape); });
            script.waitFor(QStringLiteral("the main window after the print preview"),
                           [] { return frmPrintMan->isVisible() && !QApplication::activeModalWidget(); });
            pressInMainWindow(script, QStringLiteral("Alt+M to the e-mail tab"), Qt::Key_M);
            previewSwitch(script, true);
            pressInMainWindow(script, QStringLiteral("Alt+S"), Qt::Key_S);
            noteFrame(script, "TfrmPreview", mailPreview, [](QWidget *window) {
                QTest::mouseClick(window->findChild<QPushButton *>(QStringLiteral("btnCancel")), Qt::LeftButton);
            });
            script.waitFor(QStringLiteral("the main window after the e-mail preview"),
                           [] { return frmPrintMan->isVisible() && !QApplication::activeModalWidget(); });
            askForTheLayout(script);
            noteFrame(script, "TfrmEdit", editor, [](QWidget *window) {
                QTest::mouseClick(static_cast<TfrmEdit *>(window)->btnCancel, Qt::LeftButton);
            });
            leaveFormMaintenanceAndQuit(script);
        },
        onTheDisplay());
    EXPECT_EQ(stoppedAt, QString());
    EXPECT_EQ(exitCode, 0);
    EXPECT_EQ(screen, QRect(0, 0, 1366, 768));
    for (const QRect &frame : {printPreview, mailPreview, editor})
        EXPECT_TRUE(screen.contains(frame))
            << frame.x() << "," << frame.y() << " " << frame.width() << "x" << frame.height();
    EXPECT_EQ(editor.topLeft(), storedEditor.topLeft());
    const TIniFile after(iniPath());
    EXPECT_EQ(QRect(after.ReadInteger("Editorpos", "Left", 0), after.ReadInteger("Editorpos", "Top", 0),
                    after.ReadInteger("Editorpos", "Width", 0), after.ReadInteger("Editorpos", "Height", 0)),
              storedEditor);
    EXPECT_EQ(QPoint(after.ReadInteger("Previewpos", "Left", 0), after.ReadInteger("Previewpos", "Top", 0)),
              mailPreview.topLeft());
}

namespace {

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(none)");
}

void replaceBy(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

struct BrokenStart
{
    const char *name;
    // Breaks the installation below the given folder.
    std::function<void(const QString &)> breakIt;
    const char *boxStart;
    // Whether the program ends after the box.
    bool ends = true;
};

void PrintTo(const BrokenStart &start, std::ostream *out)
{
    *out << start.name;
}

class BrokenStartRoadTest : public WindowManagerRoadTest, public ::testing::WithParamInterface<BrokenStart>
{};

}

// What keeps the program from working is told once; a request that cannot be
// refused outright leaves the program running. A box that closes does not
// start the activation over, and the files stay as they were.
TEST_P(BrokenStartRoadTest, OneBoxTellsWhy)
{
    const BrokenStart &start = GetParam();
    start.breakIt(root.path());
    const QString formTable = root.filePath(QStringLiteral("daten/Formular.db"));
    const QByteArray formsBefore = contents(formTable);
    const QByteArray iniBefore = contents(iniPath());
    for (const bool managed : {false, true}) {
        SCOPED_TRACE(managed ? "under a window manager" : "offscreen");
        QString told;
        QElapsedTimer sinceTold;
        int moreBoxes = 0;
        bool ranOn = false;
        const int exitCode = runProgramWith(
            [&](RoadScript &script) {
                script.waitFor(
                    QStringLiteral("the box"), [] { return !shownBoxText().isEmpty(); },
                    [&, managed] {
                        const QString text = shownBoxText();
                        if (managed)
                            display.bringBack(shownWindow("QMessageBox")->winId());
                        confirmBox();
                        told = text;
                        sinceTold.start();
                    });
                const auto anotherBox = [&told] { return !told.isNull() && !shownBoxText().isEmpty(); };
                if (start.ends) {
                    script.waitFor(QStringLiteral("another box"), anotherBox, [&moreBoxes] {
                        ++moreBoxes;
                        QCoreApplication::exit(3);
                    });
                    return;
                }
                script.waitFor(
                    QStringLiteral("another box, or a second without one"),
                    [&told, &sinceTold, anotherBox] {
                        return anotherBox() || (!told.isNull() && sinceTold.elapsed() > 1000);
                    },
                    [&] {
                        moreBoxes += !shownBoxText().isEmpty();
                        ranOn = frmPrintMan->isVisible();
                        frmPrintMan->close();
                    });
            },
            managed ? onTheDisplay() : QStringList());
        EXPECT_EQ(stoppedAt, start.ends ? QStringLiteral("the program ended before: another box") : QString());
        EXPECT_EQ(exitCode, 0);
        EXPECT_EQ(moreBoxes, 0);
        EXPECT_EQ(ranOn, !start.ends);
        EXPECT_TRUE(told.startsWith(QString::fromUtf8(start.boxStart))) << told.toStdString();
        EXPECT_EQ(contents(formTable), formsBefore);
    }
    if (iniBefore == "(none)") {
        EXPECT_EQ(contents(iniPath()), iniBefore);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Starts, BrokenStartRoadTest,
    ::testing::Values(
        BrokenStart{"formTableOfText",
                    [](const QString &root) { replaceBy(root + "/daten/Formular.db", "Modul;Typ;Sortierung\r\n"); },
                    "Die Datei 'Formular.db' ist keine gültige Tabelle."},
        BrokenStart{"emptyFormTable", [](const QString &root) { replaceBy(root + "/daten/Formular.db", {}); },
                    "Die Datei 'Formular.db' ist keine gültige Tabelle."},
        BrokenStart{"halfAFormTable",
                    [](const QString &root) {
                        const QString table = root + "/daten/Formular.db";
                        replaceBy(table, contents(table).left(QFileInfo(table).size() / 2));
                    },
                    "Formular.db: Die Tabellendatei ist beschädigt oder keine Tabelle."},
        BrokenStart{
            "customersAsFormTable",
            [](const QString &root) { replaceBy(root + "/daten/Formular.db", contents(root + "/daten/Kunden.db")); },
            "Formular.db im Verzeichnis "},
        BrokenStart{"formTableWithoutKey",
                    [](const QString &root) {
                        QProcess::execute(QStringLiteral("sqlite3"),
                                          {root + "/daten/Formular.db", QStringLiteral("DROP INDEX \"$PRIMARY\"")});
                    },
                    "tblForm: Zu viele Schlüsselwerte für den Index.", false},
        BrokenStart{"noRequestFile", [](const QString &root) { QFile::remove(root + "/programm/Tintlen.ini"); },
                    "Tintlen unmöglich: Die Ini-Datei "}),
    [](const ::testing::TestParamInfo<BrokenStart> &start) { return std::string(start.param.name); });
