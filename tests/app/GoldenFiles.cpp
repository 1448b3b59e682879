#include "GoldenFiles.h"

#include "platform/runtime/TextFile.h"

#include <QDir>
#include <QFileInfo>

#include <gtest/gtest.h>

namespace {

QString goldenFolder()
{
    return QStringLiteral(TINTLEN_GOLDEN_DIR);
}

}

void expectGoldenText(const QString &name, const QString &actual)
{
    const QString path = QDir(goldenFolder()).filePath(name + QStringLiteral(".txt"));
    if (qEnvironmentVariableIsSet("TINTLEN_WRITE_GOLDEN")) {
        WriteTextFile(path, actual, TextEncoding::Utf8);
        return;
    }
    ASSERT_TRUE(QFileInfo::exists(path)) << path.toStdString();
    EXPECT_EQ(actual.toStdString(), ReadTextFile(path).text.toStdString()) << name.toStdString();
}

QList<QStringList> dataRows(const QString &name)
{
    QList<QStringList> rows;
    const QString text = ReadTextFile(QDir(goldenFolder()).filePath(name + QStringLiteral(".txt"))).text;
    for (const QString &line : text.split(QLatin1Char('\n'), Qt::SkipEmptyParts))
        rows << line.split(QLatin1Char('\t'));
    return rows;
}
