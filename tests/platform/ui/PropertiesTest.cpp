#include "platform/ui/Properties.h"

#include <QCheckBox>
#include <QLineEdit>

#include <gtest/gtest.h>

namespace tintlen_test {

// A class inside a namespace: its bare name is what the library compares.
class TqkSampleEdit : public QLineEdit
{
    Q_OBJECT
    Q_PROPERTY(QString DataField READ dataField WRITE setDataField)
    Q_PROPERTY(int Ausdrucke READ ausdrucke)

public:
    QString dataField() const { return m_dataField; }
    void setDataField(const QString &field) { m_dataField = field; }
    int ausdrucke() const { return 3; }

private:
    QString m_dataField;
};

}

using namespace ui;
using tintlen_test::TqkSampleEdit;

TEST(PropertiesTest, PropertiesAreFoundWithoutRegardToCase)
{
    TqkSampleEdit edit;
    EXPECT_TRUE(setPropertyByName(&edit, QStringLiteral("datafield"), QStringLiteral("Kundennr")));
    EXPECT_EQ(edit.dataField(), QStringLiteral("Kundennr"));
    EXPECT_EQ(propertyByName(&edit, QStringLiteral("DATAFIELD")).toString(), QStringLiteral("Kundennr"));
    EXPECT_TRUE(hasProperty(&edit, QStringLiteral("ausdrucke")));
    // Qt's own properties are published too.
    EXPECT_EQ(propertyByName(&edit, QStringLiteral("ReadOnly")).toBool(), false);
}

TEST(PropertiesTest, MissingOrReadOnlyPropertiesAreLeftAlone)
{
    TqkSampleEdit edit;
    EXPECT_FALSE(hasProperty(&edit, QStringLiteral("DataSource")));
    EXPECT_FALSE(propertyByName(&edit, QStringLiteral("DataSource")).isValid());
    EXPECT_FALSE(setPropertyByName(&edit, QStringLiteral("DataSource"), 1));
    EXPECT_FALSE(setPropertyByName(&edit, QStringLiteral("Ausdrucke"), 5));
    EXPECT_EQ(propertyByName(&edit, QStringLiteral("Ausdrucke")).toInt(), 3);
    EXPECT_FALSE(propertyByName(nullptr, QStringLiteral("DataField")).isValid());
}

TEST(PropertiesTest, ClassNamesAreComparedBareAlongTheAncestors)
{
    TqkSampleEdit edit;
    EXPECT_EQ(bareClassName(edit.metaObject()), QStringLiteral("TqkSampleEdit"));
    EXPECT_TRUE(inheritsFromName(&edit, QStringLiteral("TqkSampleEdit")));
    EXPECT_TRUE(inheritsFromName(&edit, QStringLiteral("tqksampleedit")));
    EXPECT_TRUE(inheritsFromName(&edit, QStringLiteral("QLineEdit")));
    EXPECT_TRUE(inheritsFromName(&edit, QStringLiteral("QObject")));
    EXPECT_FALSE(inheritsFromName(&edit, QStringLiteral("tintlen_test::TqkSampleEdit")));
    EXPECT_FALSE(inheritsFromName(&edit, QStringLiteral("TqkSample")));

    QCheckBox box;
    EXPECT_FALSE(inheritsFromName(&box, QStringLiteral("TqkSampleEdit")));
    EXPECT_FALSE(inheritsFromName(static_cast<QObject *>(nullptr), QStringLiteral("QObject")));
}

#include "PropertiesTest.moc"
