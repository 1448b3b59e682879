#include "app/MainWindowPrintSide.h"

#include "StartupFixture.h"

using MainWindowPrintSideTest = StartupFixture;

TEST_F(MainWindowPrintSideTest, TheFormRowIsTheFormTablesCurrentRowOnceThereIsOne)
{
    EXPECT_TRUE(printroad::MainWindowPrintSide(window()).currentFormRow().DateiErsteSeite.isEmpty());
    printroad::MainWindowPrintSide side(activatedWindow());
    const printroad::FormRow row = side.currentFormRow();
    EXPECT_EQ(row.Bezeichnung, QStringLiteral("Rechnung"));
    EXPECT_EQ(row.DateiErsteSeite, QStringLiteral("Auftrag_Rechnung"));
    EXPECT_EQ(row.Ausdrucke, 2);
}

TEST_F(MainWindowPrintSideTest, OutputPrintersOptionsCopiesAndWindowBoxesAreReadFromTheWindow)
{
    TfrmPrintMan &form = activatedWindow();
    printroad::MainWindowPrintSide side(form);
    form.btnFormularDrucker->setChecked(true);
    EXPECT_EQ(side.output(), printroad::Output::Formulardrucker);
    form.btnBildschirm->setChecked(true);
    EXPECT_EQ(side.output(), printroad::Output::Bildschirm);
    form.btnStandardDrucker->setChecked(true);
    EXPECT_EQ(side.output(), printroad::Output::Standarddrucker);

    form.lstStdDrucker->clear();
    form.lstStdDrucker->addItem(QStringLiteral("Tintlen PDF an PDF:"));
    form.lstFrmDrucker->clear();
    form.lstFrmDrucker->addItem(QStringLiteral("Etikettendrucker an USB1:"));
    EXPECT_EQ(side.standardPrinterText(), QStringLiteral("Tintlen PDF an PDF:"));
    EXPECT_EQ(side.formPrinterText(), QStringLiteral("Etikettendrucker an USB1:"));
    form.lblAusdruckAnz->clear();
    EXPECT_EQ(side.typedCopies(), 0);
    form.lblAusdruckAnz->setText(QStringLiteral("3"));
    EXPECT_EQ(side.typedCopies(), 3);
    form.btnMitOptionen->setChecked(true);
    EXPECT_TRUE(side.withOptions());

    form.btnFensterSchliessen->setChecked(false);
    form.btnFensterHintergrund->setChecked(true);
    EXPECT_TRUE(side.backgroundAfterJob());
    EXPECT_FALSE(side.closeAfterJob());
    side.minimizeApplication(true);
    EXPECT_FALSE(form.isVisible());
    form.btnFensterSchliessen->setChecked(true);
    EXPECT_TRUE(side.closeAfterJob());
}
