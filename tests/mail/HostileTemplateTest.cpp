#include "MailTestSupport.h"
#include "mail/TemplateLanguage.h"
#include "mail/formularmodul.h"
#include "mail/parsermodul.h"

#include <gtest/gtest.h>

using mail::Variant;

namespace {

class HostileTemplateTest : public testing::Test
{
protected:
    HostileTemplateTest() { m_vocabulary.RegisterTemplateCommands(); }

    QStringList Run(const QStringList &lines)
    {
        QStringList output;
        for (const QString &line : lines)
            m_context.ProcessTemplateLine(line, output, QString());
        return output;
    }

    QString ErrorOf(const QStringList &lines)
    {
        return FormularErrorOf([&] { Run(lines); });
    }

    TFormatlist m_vocabulary;
    TFormular m_formular;
    TTemplateContext m_context{m_vocabulary, &m_formular};
};

TEST_F(HostileTemplateTest, LongArithmeticRaisesTheTemplateErrorInsteadOfExhaustingTheStack)
{
    m_vocabulary.AddItem()->SetVariable("Eins", "Eins", Variant(1), "Eins");
    const QString tooLong = QStringLiteral("1") + QStringLiteral("+1").repeated(15000);
    EXPECT_EQ(ErrorOf({QStringLiteral("!Var #x=") + tooLong}), "Der Ausdruck ist zu lang (höchstens 1000 Operatoren).");
    EXPECT_EQ(ErrorOf({QStringLiteral("!Wenn ") + tooLong + QStringLiteral("=2")}),
              "Wenn-Ausdruck muss eine Logische Aussage (Wahr oder Falsch) ergeben.");
    const QString usable = QStringLiteral("#Eins") + QStringLiteral("+#Eins").repeated(499);
    EXPECT_EQ(Run({QStringLiteral("!Var #y=") + usable, "#y"}), QStringList({"500"}));
}

TEST_F(HostileTemplateTest, FormatsWithASecondColonRaiseTheTemplateErrorWithTheFormat)
{
    m_vocabulary.AddItem()->SetVariable("Zahl", "Zahl", Variant(1.5), "Zahl");
    for (const char *format : {"1::", ":5:2:", "::", "m3:1:"}) {
        EXPECT_EQ(ErrorOf({QStringLiteral("#Zahl:%1").arg(QLatin1String(format))}),
                  QStringLiteral("Format %1 des Feldes Zahl ist ungültig!").arg(QLatin1String(format)));
    }
}

TEST_F(HostileTemplateTest, IntegerProductsBeyondSixtyFourBitsStayNumbers)
{
    m_vocabulary.AddItem()->SetVariable("x", "x", Variant(qint64(3037000500)), "x");
    const QStringList output = Run({"!Var #x=#x*#x", "#x"});
    ASSERT_EQ(output.size(), 1);
    EXPECT_TRUE(output[0].startsWith(QStringLiteral("9.223.372.037"))) << output[0].toStdString();
}

} // namespace
