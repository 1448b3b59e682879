#include "ChmFixture.h"

#include "platform/help/ApplicationHelp.h"
#include "platform/help/ChmHelpFile.h"
#include "platform/help/HelpBrowser.h"
#include "platform/help/HelpViewer.h"
#include "platform/help/HelpWindow.h"
#include "platform/help/HtmlHelpControl.h"
#include "support/RecordingUiServices.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QFile>
#include <QKeyEvent>
#include <QPixmap>
#include <QTest>
#include <QTextBlock>
#include <QTreeWidget>

#include <gtest/gtest.h>

using namespace help;

namespace {

QString firstLinkOf(const QTextDocument &document)
{
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QString href = it.fragment().charFormat().anchorHref();
            if (!href.isEmpty())
                return href;
        }
    }
    return QString();
}

// Clicks the link of that text, or reaches it with Tab and presses Enter.
void useLink(HelpBrowser &browser, const QString &text, bool byKey)
{
    browser.setFocus();
    for (int tabs = 0; byKey && browser.textCursor().selectedText() != text && tabs < 20; ++tabs)
        QTest::keyClick(&browser, Qt::Key_Tab);
    if (byKey)
        return QTest::keyClick(&browser, Qt::Key_Return);
    QTextCursor link = browser.document()->find(text);
    while (!link.isNull() && !link.charFormat().isAnchor())
        link = browser.document()->find(text, link);
    // Inside its first word: a link's middle may fall where its line wraps.
    link.setPosition(link.selectionStart() + 1);
    browser.setTextCursor(link);
    browser.ensureCursorVisible();
    QTest::mouseClick(browser.viewport(), Qt::LeftButton, {}, browser.cursorRect(link).center());
}

void closeHelpWindows()
{
    HtmlHelp(nullptr, QString(), HH_CLOSE_ALL, 0);
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

class HelpViewerTest : public testing::Test
{
protected:
    void SetUp() override
    {
        m_path = ChmFixture::buildStandard(m_fixture);
        ASSERT_FALSE(m_path.isEmpty()) << "chmcmd could not build the test help file";
    }
    void TearDown() override { closeHelpWindows(); }

    std::unique_ptr<HelpViewer> openViewer()
    {
        auto file = ChmHelpFile::open(m_path);
        return file ? std::make_unique<HelpViewer>(std::move(file)) : nullptr;
    }

    ChmFixture m_fixture;
    QString m_path;
};

} // namespace

TEST_F(HelpViewerTest, ReadsTitleStartPageContentsAndContextMap)
{
    auto file = ChmHelpFile::open(m_path);
    ASSERT_TRUE(file);
    EXPECT_EQ(file->title(), "Tintlen-Hilfe");
    EXPECT_EQ(file->defaultTopic(), "/start.htm");
    ASSERT_EQ(file->topics().size(), 1);
    const HelpTopic &top = file->topics().first();
    EXPECT_EQ(top.title, "Druckverwaltung");
    EXPECT_EQ(top.reference, "/start.htm");
    ASSERT_EQ(top.children.size(), 1);
    EXPECT_EQ(top.children.first().title, "Formular & Kopie");
    EXPECT_EQ(top.children.first().reference, "/sub/formular.htm");

    EXPECT_EQ(file->topicOfContext(2000), "/start.htm");
    EXPECT_EQ(file->topicOfContext(2001), "/sub/formular.htm");
    EXPECT_EQ(file->topicOfContext(2002), "");
}

TEST_F(HelpViewerTest, FollowsLinksAndLoadsImagesFromInsideTheFileOnly)
{
    auto viewer = openViewer();
    ASSERT_TRUE(viewer);
    viewer->showContext(2000);
    HelpBrowser *browser = viewer->browser();
    const QString link = firstLinkOf(*browser->document());
    ASSERT_EQ(link, "sub/formular.htm");
    browser->setSource(browser->source().resolved(QUrl(link)));
    EXPECT_EQ(browser->currentTopic(), "/sub/formular.htm");

    browser->document()->documentLayout()->documentSize();
    const QUrl image = browser->source().resolved(QUrl("../bild.png"));
    const QVariant loaded = browser->document()->resource(QTextDocument::ImageResource, image);
    ASSERT_TRUE(loaded.isValid());
    // The page's layout turned the stored bytes into the picture.
    EXPECT_EQ(qvariant_cast<QPixmap>(loaded).size(), QSize(2, 3));

    const QString outside = m_fixture.folder() + "/bild.png";
    ASSERT_TRUE(QFile::exists(outside));
    EXPECT_FALSE(browser->loadResource(QTextDocument::ImageResource, QUrl::fromLocalFile(outside)).isValid());
}

// A number without topic shows the start page and says so.
TEST_F(HelpViewerTest, ContextNumbersShowTheirTopicsAndTheContentsFollowAndOpen)
{
    auto viewer = openViewer();
    ASSERT_TRUE(viewer);
    viewer->showContext(4711);
    EXPECT_EQ(viewer->browser()->currentTopic(), "/start.htm");
    EXPECT_EQ(viewer->notice(), "Zur Kontextnummer 4711 enthält die Hilfedatei kein Thema; "
                                "angezeigt wird die Startseite.");
    viewer->showContext(2001);
    EXPECT_EQ(viewer->browser()->currentTopic(), "/sub/formular.htm");
    EXPECT_TRUE(viewer->browser()->toPlainText().contains("Formular bearbeiten"));
    EXPECT_EQ(viewer->notice(), "");
    EXPECT_EQ(viewer->windowTitle(), "Tintlen-Hilfe");
    QTreeWidget *contents = viewer->contents();
    ASSERT_EQ(contents->topLevelItemCount(), 1);
    QTreeWidgetItem *start = contents->topLevelItem(0);
    QTreeWidgetItem *form = start->child(0);
    EXPECT_EQ(form->text(0), "Formular & Kopie");
    EXPECT_EQ(contents->currentItem(), form);

    contents->setCurrentItem(start);
    EXPECT_EQ(viewer->browser()->currentTopic(), "/sub/formular.htm")
        << "moving through the contents alone opens nothing";
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(contents, &enter);
    EXPECT_EQ(viewer->browser()->currentTopic(), "/start.htm");
}

TEST_F(HelpViewerTest, ControlReusesTheWindowOfAFileAndClosesAll)
{
    QWidget *first = HtmlHelp(nullptr, m_path, HH_HELP_CONTEXT, 2000);
    ASSERT_TRUE(first);
    EXPECT_TRUE(static_cast<HelpWindow *>(first)->isOpen());
    EXPECT_EQ(HtmlHelp(nullptr, m_path, HH_HELP_CONTEXT, 2001), first);
    EXPECT_EQ(static_cast<HelpWindow *>(first)->currentTopic(), "/sub/formular.htm");
    QWidget *named = HtmlHelp(nullptr, m_path + ">Haupt", HH_HELP_CONTEXT, 2000);
    ASSERT_TRUE(named);
    EXPECT_NE(named, first);
    EXPECT_EQ(HelpWindows().size(), 2);

    closeHelpWindows();
    EXPECT_TRUE(HelpWindows().isEmpty());
}

TEST_F(HelpViewerTest, ApplicationsOwnHelpShowsContextTopicsOfItsFile)
{
    help::SetApplicationHelpFile(m_path);
    EXPECT_TRUE(help::ApplicationHelpContext(2001));
    ASSERT_EQ(HelpWindows().size(), 1);
    EXPECT_EQ(HelpWindows().first()->currentTopic(), "/sub/formular.htm");
    EXPECT_FALSE(help::ApplicationHelpCommand(help::HELP_FINDER, 0));

    // A file the viewer cannot show is named to the user, not passed over.
    ui::ScopedRecordingUiServices ui;
    help::SetApplicationHelpFile(m_fixture.folder() + "/hilfe.hlp");
    EXPECT_FALSE(help::ApplicationHelpContext(200));
    EXPECT_EQ(ui.messageTexts(), QStringList{"Die Hilfedatei " + m_fixture.folder()
                                             + "/hilfe.hlp kann nicht angezeigt werden.\r\n"
                                               "Die Datei ist nicht vorhanden."});
    help::SetApplicationHelpFile(QString());
}

TEST(HelpControlTest, FilesThatAreNoHelpFilesAreNamedWithTheirCauseAndNotOpened)
{
    ChmFixture fixture;
    fixture.addFile("kein.chm", "Das ist keine Hilfedatei.");
    fixture.addFile("gesperrt.chm", "ITSF");
    const QString locked = fixture.folder() + "/gesperrt.chm";
    QFile::setPermissions(locked, QFile::Permissions());
    const bool lockedIsReadable = QFile(locked).open(QIODevice::ReadOnly);
    const struct
    {
        QString file;
        QString fault;
    } cases[] = {{fixture.folder() + "/kein.chm", "Die Datei ist keine lesbare Hilfedatei."},
                 {fixture.folder() + "/fehlt.chm", "Die Datei ist nicht vorhanden."},
                 {fixture.folder(), "Die Datei ist nicht vorhanden."},
                 {locked, lockedIsReadable ? QString() : "Die Datei kann nicht gelesen werden."}};
    for (const auto &c : cases)
        EXPECT_EQ(HelpFileFault(c.file), c.fault) << c.file.toStdString();

    ui::ScopedRecordingUiServices ui;
    EXPECT_EQ(HtmlHelp(nullptr, fixture.folder() + "/fehlt.chm", HH_HELP_CONTEXT, 2000), nullptr);
    EXPECT_EQ(ui.messageTexts(), QStringList{"Die Hilfedatei " + fixture.folder()
                                             + "/fehlt.chm kann nicht angezeigt werden.\r\n"
                                               "Die Datei ist nicht vorhanden."});
    EXPECT_EQ(ui.messages().first().icon, ui::MsgIcon::Warning);
    EXPECT_TRUE(HelpWindows().isEmpty());
    EXPECT_EQ(ChmHelpFile::open(fixture.folder() + "/kein.chm"), nullptr);
}

TEST(HelpControlTest, FileWithoutContentsOrMapListsItsPagesByTitle)
{
    ChmFixture fixture;
    fixture.addFile("zwei.htm", "<html><head><title>Zweite Seite</title></head><body>2</body></html>");
    fixture.addFile("eins.htm", "<html><head><title>Erste &amp; beste</title></head><body>1</body></html>");
    fixture.addFile("ohne.htm", "<html><body>ohne Titel</body></html>");
    const QString path = fixture.build();
    ASSERT_FALSE(path.isEmpty());
    auto file = ChmHelpFile::open(path);
    ASSERT_TRUE(file);
    EXPECT_EQ(file->title(), "hilfe.chm");
    QStringList titles;
    for (const HelpTopic &topic : file->topics())
        titles << topic.title;
    EXPECT_EQ(titles, QStringList({"Erste & beste", "ohne.htm", "Zweite Seite"}));
    EXPECT_EQ(file->defaultTopic(), "/eins.htm");
    EXPECT_EQ(file->topicOfContext(2000), "");
}

// The demo's help file as the user reads it: a link inside a page, clicked or
// reached with Tab and Enter, shows its topic, and the contents follow.
TEST(HelpLinksTest, ALinkInsideADemoPageOpensItsTopicAndTheContentsFollow)
{
    const struct
    {
        quint32 context;
        QString link;
        bool byKey;
        QString topic;
        QString entry;
    } cases[] = {{2000, "Formulare verwalten", false, "/formular.htm", "Formular bearbeiten"},
                 {2001, "Formular kopieren", true, "/kopieren.htm", "Formular kopieren"},
                 {2000, "E-Mail Einstellungen", true, "/formular.htm#email", "Formular bearbeiten"},
                 {2001, "Anzahl der Ausdrucke", false, "/druckverwaltung.htm#drucken", "Druckverwaltung"}};
    for (const auto &c : cases) {
        HelpViewer viewer(ChmHelpFile::open(QStringLiteral(TINTLEN_DEMO_HELP_FILE)));
        viewer.show();
        viewer.showContext(c.context);
        useLink(*viewer.browser(), c.link, c.byKey);
        EXPECT_EQ(viewer.browser()->currentTopic().toStdString(), c.topic.toStdString()) << c.byKey;
        EXPECT_EQ(viewer.contents()->currentItem()->text(0).toStdString(), c.entry.toStdString());
    }
}

// Outside the help file only the web and mail are opened, by the desktop.
TEST(HelpLinksTest, OnlyWebAndMailLinksLeaveTheViewer)
{
    ChmFixture fixture;
    fixture.addFile("start.htm", "<a href=\"https://example.de/\">Web</a> <a href=\"mailto:a@example.de\">Post</a> "
                                 "<a href=\"file:///etc/passwd\">Datei</a>");
    ui::ScopedRecordingUiServices ui;
    HelpViewer viewer(ChmHelpFile::open(fixture.build()));
    viewer.show();
    viewer.showTopic("/start.htm");
    for (const char *link : {"Web", "Post", "Datei"})
        useLink(*viewer.browser(), link, false);
    EXPECT_EQ(ui.openedUrls(), QStringList({"https://example.de/", "mailto:a@example.de"}));
    EXPECT_EQ(viewer.browser()->currentTopic(), "/start.htm");
}
