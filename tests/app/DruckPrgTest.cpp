#include "app/DruckPrg.h"

#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

TEST(DruckPrgTest, TheMainWindowLoadsWithItsCaptionsAndTabs)
{
    TfrmPrintMan form;
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Tintlen"));
    ASSERT_EQ(form.pgcAuswahl->count(), 2);
    EXPECT_EQ(form.pgcAuswahl->widget(0), form.tsTintlen);
    EXPECT_EQ(form.pgcAuswahl->widget(1), form.tsEmail);
    EXPECT_EQ(form.pgcAuswahl->tabText(1), QStringLiteral("E-&Mail"));
    EXPECT_EQ(form.btnFensterSchliessen->text(), QStringLiteral("s&chließen"));
    EXPECT_EQ(form.btnFensterHintergrund->text(), QStringLiteral("in den &Hintergrund"));
    EXPECT_EQ(form.btnBearb->text(), QStringLiteral("B&earbeiten"));
    EXPECT_EQ(form.btnAbbruch->text(), QStringLiteral("Abbruch"));
    EXPECT_EQ(form.btnHilfe->text(), QStringLiteral("&Hilfe"));
    EXPECT_TRUE(form.cbxSendeEmail->isChecked());
    EXPECT_FALSE(form.lblAusdrucke->isVisibleTo(&form));
    EXPECT_FALSE(form.edtAnlage->isVisibleTo(&form));
}

TEST(DruckPrgTest, AltMChoosesTheEmailTabOfTheMainWindow)
{
    TfrmPrintMan form;
    QSignalSpy changes(form.pgcAuswahl, &QTabWidget::currentChanged);
    form.show();
    form.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    QTest::keyClick(&form, Qt::Key_M, Qt::AltModifier);
    EXPECT_EQ(form.pgcAuswahl->currentWidget(), form.tsEmail);
    EXPECT_EQ(changes.count(), 1);
}

TEST(DruckPrgTest, AbbruchClosesTheWindow)
{
    TfrmPrintMan form;
    form.show();
    ASSERT_TRUE(form.isVisible());
    QTest::mouseClick(form.btnAbbruch, Qt::LeftButton);
    EXPECT_FALSE(form.isVisible());
}
