#include "app/MainWindowPrintSide.h"

#include "app/DruckPrg.h"

#include <gtest/gtest.h>

namespace {

class MainWindowPrintSideTest : public ::testing::Test
{
protected:
    TfrmPrintMan window;
    printroad::MainWindowPrintSide side{window, [] {
        return printroad::FormRow{QStringLiteral("Rechnung"), QStringLiteral("Auftrag_Rechnung.lst"), 2};
    }};
};

}

TEST_F(MainWindowPrintSideTest, TheOutputButtonsChooseTheOutput)
{
    window.btnFormularDrucker->setChecked(true);
    EXPECT_EQ(side.output(), printroad::Output::Formulardrucker);
    window.btnBildschirm->setChecked(true);
    EXPECT_EQ(side.output(), printroad::Output::Bildschirm);
    window.btnStandardDrucker->setChecked(true);
    EXPECT_EQ(side.output(), printroad::Output::Standarddrucker);
}

TEST_F(MainWindowPrintSideTest, PrinterListsOptionsAndTypedCopiesAreRead)
{
    window.lstStdDrucker->addItem(QStringLiteral("Tintlen PDF an PDF:"));
    window.lstFrmDrucker->addItem(QStringLiteral("Etikettendrucker an USB1:"));
    EXPECT_EQ(side.standardPrinterText(), QStringLiteral("Tintlen PDF an PDF:"));
    EXPECT_EQ(side.formPrinterText(), QStringLiteral("Etikettendrucker an USB1:"));
    EXPECT_EQ(side.typedCopies(), 0);
    window.lblAusdruckAnz->setText(QStringLiteral("3"));
    EXPECT_EQ(side.typedCopies(), 3);
    window.btnMitOptionen->setChecked(true);
    EXPECT_TRUE(side.withOptions());
    EXPECT_EQ(side.currentFormRow().Ausdrucke, 2);
}

TEST_F(MainWindowPrintSideTest, TheWindowBoxesDecideWhatHappensAfterTheJob)
{
    window.show();
    window.btnFensterHintergrund->setChecked(true);
    EXPECT_TRUE(side.backgroundAfterJob());
    EXPECT_FALSE(side.closeAfterJob());
    side.minimizeApplication(true);
    EXPECT_FALSE(window.isVisible());
    window.show();
    window.btnFensterSchliessen->setChecked(true);
    EXPECT_TRUE(side.closeAfterJob());
    side.closeMainWindow();
    EXPECT_FALSE(window.isVisible());
}
