#pragma once

#include "PrintRoadFixture.h"

#include <QMap>

#include <functional>
#include <memory>

// What the engine holds for one name after a record was defined, keyed
// "V name" for a variable and "F name" for a field.
struct Definition
{
    QString kind;
    int type = 0;
    QString contents;
};
using DefinitionMap = QMap<QString, Definition>;

// Every definition the engine received so far, the last one per name.
DefinitionMap definitionsOf(const report::RecordingEngine &engine);
// Compares with the golden file of `name` (see expectGoldenText).
void expectGolden(const QString &name, const DefinitionMap &definitions);

// The mail program's mailbox folder of the demo tables in use.
QString demoMailbox();

// The module field definitions of the print road against the recording
// engine and the demo tables, on the day of the demo's dunning run.
class ModuleFieldsTest : public PrintRoadFixture
{
protected:
    std::unique_ptr<printroad::ReportFields> fields;
    TTable *slot = nullptr;
    int job = 0;

    void SetUp() override;

    // Sets the request, opens the module's tables and opens a job with euro
    // printing on.
    void open(const QString &module, const QString &formType, const QString &kind = QStringLiteral("L"),
              const QString &range = QStringLiteral("A"), const QString &key = {});
    int define(bool asVariables = false);
    // The print loop's walk: one later call per record up to the limit (or
    // to the end of a filtered table), with the definitions after each.
    QList<DefinitionMap> printRecords(int limit, bool asVariables = false);

    // Every definition of the job so far, the last one per name.
    DefinitionMap definitions() const { return definitionsOf(engine); }
    // The contents of a variable, else of a field.
    QString value(const QString &name) const;
    QStringList messages() const { return services.messageTexts(); }

    // Changes one record of a table of the installation in use: the record
    // of `key`, or the only one when `key` is empty.
    void editRecord(const QString &path, const QVariantList &key, const std::function<void(TTable &)> &change);
};
