#include "EditTables.h"

#include "demo/tables/DemoTables.h"
#include "platform/db/TField.h"
#include "platform/runtime/FormatSettings.h"

#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <QVBoxLayout>

void EditTables::SetUp()
{
    ResetFormatSettings();
    demo::writeTable(QStringLiteral("Kunden.db"), dir.path());
    customers = std::make_unique<fixture::MaskTable>();
    customers->SetDatabaseName(dir.path());
    customers->SetTableName(QStringLiteral("Kunden"));
    customers->Open();
    source = std::make_unique<TqkDataSource>();
    source->SetDataSet(customers.get());
    services.setNow(QDateTime(QDate(2026, 12, 5), QTime(14, 7, 9)));
    window = std::make_unique<QWidget>();
    window->setLayout(new QVBoxLayout);
    other = new QLineEdit(window.get());
    window->layout()->addWidget(other);
}

void EditTables::TearDown()
{
    window.reset();
    source.reset();
    customers.reset();
    ResetFormatSettings();
}

void EditTables::show(QWidget *control)
{
    if (!control->parentWidget())
        window->layout()->addWidget(control);
    window->show();
    // A layout shows a child of a shown window only once events run.
    control->show();
    QApplication::setActiveWindow(window.get());
    control->setFocus(Qt::TabFocusReason);
}

void EditTables::leave(QWidget *)
{
    other->setFocus(Qt::TabFocusReason);
}

void EditTables::typeText(QWidget *control, const QString &text)
{
    for (QChar c : text) {
        if (c.unicode() < 128)
            QTest::keyClick(control, c.toLatin1());
        else
            QTest::sendKeyEvent(QTest::Click, control, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
}

QString EditTables::storedCustomerField(const QString &nr, const QString &field) const
{
    TTable table;
    table.SetDatabaseName(dir.path());
    table.SetTableName(QStringLiteral("Kunden"));
    table.Open();
    for (table.First(); !table.Eof(); table.Next())
        if (table.FieldByName(QStringLiteral("nr"))->AsString() == nr)
            return table.FieldByName(field)->AsString();
    return QStringLiteral("(kein Kunde %1)").arg(nr);
}
