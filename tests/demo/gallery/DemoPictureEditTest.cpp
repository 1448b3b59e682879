#include "demo/tables/DemoTables.h"
#include "lib/data/Qkdatsrc.h"
#include "lib/data/Qktable.h"
#include "lib/edit/qkdbedit.h"
#include "platform/db/TField.h"
#include "platform/runtime/Exceptions.h"
#include "support/RecordingUiServices.h"
#include "support/TextPrinting.h"

#include <QApplication>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QVBoxLayout>

#include <gtest/gtest.h>

// A user at an edit bound to a demo customer's field that the table file
// itself gives a picture: no picture is set on the edit or the data set.
TEST(DemoPictureEdit, TheTablesOwnPictureFiltersTypingKeepsTheFocusAndStopsThePost)
{
    ui::ScopedRecordingUiServices user;
    QTemporaryDir folder;
    demo::writeTable(QStringLiteral("Kunden.db"), folder.path());
    TqkTable customers;
    customers.SetDatabaseName(folder.path());
    customers.SetTableName(QStringLiteral("Kunden"));
    customers.Open();
    TqkDataSource source;
    source.SetDataSet(&customers);
    QWidget window;
    auto *layout = new QVBoxLayout(&window);
    auto bound = [&](const char *field) {
        auto *edit = new TqkDBEdit;
        edit->SetDataSource(&source);
        edit->SetDataField(QLatin1String(field));
        layout->addWidget(edit);
        return edit;
    };
    TqkDBEdit *plz = bound("plz");
    TqkDBEdit *phone = bound("Telefon");
    window.show();
    QApplication::setActiveWindow(&window);
    const auto retype = [](TqkDBEdit *edit, const QString &text) {
        edit->setFocus(Qt::TabFocusReason);
        QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
        for (const QChar c : text)
            QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_unknown, QString(c), Qt::NoModifier);
    };

    retype(plz, QStringLiteral("8a0331x"));
    EXPECT_EQ(plz->text(), QStringLiteral("80331"));
    EXPECT_EQ(user.beeps(), 2);
    retype(plz, QStringLiteral("803"));
    QTest::keyClick(plz, Qt::Key_Tab);
    EXPECT_TRUE(plz->hasFocus());
    ASSERT_EQ(user.messageTexts().size(), 1);
    EXPECT_TRUE(user.messageTexts().first().startsWith(QStringLiteral("Ungültiger Eingabewert.")));
    retype(plz, QStringLiteral("80331"));
    retype(phone, QStringLiteral("x+49 89 4711-0"));
    EXPECT_EQ(phone->text(), QStringLiteral("+49 89 4711-0"));
    EXPECT_TRUE(phone->hasFocus()) << "the postcode let the focus go";
    QTest::keyClick(phone, Qt::Key_Tab);
    customers.Post();
    EXPECT_EQ(customers.FieldByName(QStringLiteral("plz"))->AsString(), QStringLiteral("80331"));
    EXPECT_EQ(customers.FieldByName(QStringLiteral("Telefon"))->AsString(), QStringLiteral("+49 89 4711-0"));

    customers.Edit();
    customers.FieldByName(QStringLiteral("Telefon"))->SetAsString(QStringLiteral("4711"));
    EXPECT_THROW(customers.Post(), EDatabaseError);
    EXPECT_EQ(customers.State(), dsEdit);
}
