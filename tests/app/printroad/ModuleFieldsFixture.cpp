#include "ModuleFieldsFixture.h"

#include "app/printroad/ReportModules.h"
#include "demo/tables/MailProgramFolder.h"
#include "platform/report/api/ReportApi.h"
#include "platform/runtime/FormatSettings.h"
#include "platform/runtime/TextFile.h"

#include <QFileInfo>
#include <QImage>

namespace {

QString escaped(QString text)
{
    return text.replace(QLatin1Char('\\'), QStringLiteral("\\\\"))
        .replace(QStringLiteral("\r"), QStringLiteral("\\r"))
        .replace(QStringLiteral("\n"), QStringLiteral("\\n"));
}

QString goldenText(const DefinitionMap &definitions)
{
    QString text;
    for (auto it = definitions.cbegin(); it != definitions.cend(); ++it) {
        text += QStringLiteral("%1 %2 %3=%4\n")
                    .arg(it->kind, QStringLiteral("%1").arg(uint(it->type), 8, 16, QLatin1Char('0')), it.key().mid(2),
                         escaped(it->contents));
    }
    return text;
}

}

QString demoMailbox()
{
    demo::DemoOptions options;
    options.dataFolder = QDir(ProgramPaths().DatenPfad).absolutePath();
    return demo::mailProgramPaths(demo::completedOptions(options).mailFolder).mailbox;
}

void ModuleFieldsTest::SetUp()
{
    PrintRoadFixture::SetUp();
    ProgramPaths().DatenpfadQRB = demoMailbox();
    ResetFormatSettings();
    services.setNow(QDateTime(QDate(2026, 11, 30), QTime(10, 0)));
    fields = std::make_unique<printroad::ReportFields>(data, printroad::ReportModuleBranches());
}

void ModuleFieldsTest::open(const QString &module, const QString &formType, const QString &kind, const QString &range,
                            const QString &key)
{
    request(module, formType, kind, range, key);
    data.job().startJob();
    data.job().euroDruck = true;
    data.OpenDBs(true);
    slot = nullptr;
    job = LlJobOpen(0);
}

int ModuleFieldsTest::define(bool asVariables)
{
    return fields->DefineFields(job, slot, asVariables, false);
}

QList<DefinitionMap> ModuleFieldsTest::printRecords(int limit, bool asVariables)
{
    QList<DefinitionMap> records;
    const bool filtered = tc->Filtered();
    while (!tc->Eof() && (filtered || tc->RecNo() <= limit)) {
        define(asVariables);
        records << definitions();
        tc->Next();
        ++data.job().recordCounter;
    }
    return records;
}

DefinitionMap definitionsOf(const report::RecordingEngine &engine)
{
    DefinitionMap map;
    for (const auto &call : engine.calls) {
        const bool variable = call.name.startsWith(QLatin1String("LlDefineVariable"));
        if (!variable && !call.name.startsWith(QLatin1String("LlDefineField")))
            continue;
        const bool picture = call.name.endsWith(QLatin1String("Handle"));
        const QString contents = !picture                                   ? call.args.at(2).toString()
                                 : call.args.at(2).value<QImage>().isNull() ? QString()
                                                                            : QStringLiteral("(Bild)");
        const QString kind = variable ? QStringLiteral("V") : QStringLiteral("F");
        map.insert(kind + QLatin1Char(' ') + call.args.at(1).toString(), {kind, call.args.at(3).toInt(), contents});
    }
    return map;
}

QString ModuleFieldsTest::value(const QString &name) const
{
    const DefinitionMap all = definitions();
    const auto variable = all.constFind(QStringLiteral("V ") + name);
    return variable != all.cend() ? variable->contents : all.value(QStringLiteral("F ") + name).contents;
}

void ModuleFieldsTest::editRecord(const QString &path, const QVariantList &key,
                                  const std::function<void(TTable &)> &change)
{
    TTable table;
    table.SetTableName(path);
    table.Open();
    ASSERT_TRUE(key.isEmpty() || table.FindKey(key)) << path.toStdString();
    table.Edit();
    change(table);
    table.Post();
}

void expectGolden(const QString &name, const DefinitionMap &definitions)
{
    expectGoldenText(name, goldenText(definitions));
}
