#include "app/asPageControl.h"

#include <QLabel>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>

#include <gtest/gtest.h>

namespace {

class PageControlTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        pages = new TasPageControl(&window);
        pages->addTab(new QLabel(QStringLiteral("Formulare")), QStringLiteral("&Drucken"));
        pages->addTab(new QLabel(QStringLiteral("Vorlagen")), QStringLiteral("E-&Mail"));
        pages->addTab(new QLabel(QStringLiteral("Archiv")), QStringLiteral("&Mahnungen"));
        auto *layout = new QVBoxLayout(&window);
        layout->addWidget(pages);
    }

    // The keyboard road needs the window to be the active one.
    void showActive()
    {
        window.show();
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    }

    QWidget window;
    TasPageControl *pages = nullptr;
};

}

TEST_F(PageControlTest, OnlyAltAndAnAcceleratorChooseAPageAndEvenTheCurrentOneIsAnnounced)
{
    QSignalSpy changes(pages, &QTabWidget::currentChanged);
    EXPECT_FALSE(pages->dialogChar(QLatin1Char('M'), Qt::NoModifier));
    EXPECT_FALSE(pages->dialogChar(QLatin1Char('M'), Qt::ControlModifier));
    EXPECT_FALSE(pages->dialogChar(QLatin1Char('X'), Qt::AltModifier));
    EXPECT_EQ(changes.count(), 0);
    EXPECT_TRUE(pages->dialogChar(QLatin1Char('D'), Qt::AltModifier));
    EXPECT_EQ(pages->currentIndex(), 0);
    ASSERT_EQ(changes.count(), 1);
    EXPECT_EQ(changes.at(0).at(0).toInt(), 0);
    EXPECT_TRUE(pages->dialogChar(QLatin1Char('m'), Qt::AltModifier));
    EXPECT_EQ(pages->currentIndex(), 1);
    EXPECT_EQ(changes.count(), 2);

    TasPageControl empty;
    EXPECT_FALSE(empty.dialogChar(QLatin1Char('M'), Qt::AltModifier));
}

TEST_F(PageControlTest, HiddenTabsAreSkippedAndADisabledControlTakesNothing)
{
    pages->setTabVisible(1, false);
    EXPECT_TRUE(pages->dialogChar(QLatin1Char('M'), Qt::AltModifier));
    EXPECT_EQ(pages->currentIndex(), 2);

    pages->setCurrentIndex(0);
    pages->setTabVisible(2, false);
    EXPECT_FALSE(pages->dialogChar(QLatin1Char('M'), Qt::AltModifier));
    EXPECT_EQ(pages->currentIndex(), 0);

    pages->setTabVisible(1, true);
    pages->setEnabled(false);
    QSignalSpy changes(pages, &QTabWidget::currentChanged);
    EXPECT_FALSE(pages->dialogChar(QLatin1Char('M'), Qt::AltModifier));
    EXPECT_EQ(changes.count(), 0);
}

TEST_F(PageControlTest, TheKeyboardReachesThePagesThroughTheWindow)
{
    showActive();
    QSignalSpy changes(pages, &QTabWidget::currentChanged);
    // Two captions share the letter: the first page wins every time and each
    // press is announced.
    QTest::keyClick(&window, Qt::Key_M, Qt::AltModifier);
    QTest::keyClick(&window, Qt::Key_M, Qt::AltModifier);
    EXPECT_EQ(pages->currentIndex(), 1);
    EXPECT_EQ(changes.count(), 2);

    QTest::keyClick(&window, Qt::Key_D);
    EXPECT_EQ(pages->currentIndex(), 1);
    QTest::keyClick(&window, Qt::Key_D, Qt::AltModifier);
    EXPECT_EQ(pages->currentIndex(), 0);
}
