#include "lib/data/Qkqbe.h"

#include "lib/data/Qklocate.h"
#include "lib/data/Qkstr.h"
#include "platform/db/QbeAuxiliary.h"
#include "platform/db/DbValues.h"
#include "platform/db/QbeText.h"
#include "platform/db/SqliteConnection.h"
#include "platform/db/TField.h"
#include "platform/db/TSession.h"
#include "platform/db/TTable.h"
#include "platform/db/TableSchema.h"
#include "platform/os/Paths.h"
#include "platform/runtime/Exceptions.h"
#include "platform/ui/Application.h"
#include "platform/ui/UiServices.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QTemporaryDir>

#include <memory>

namespace {

// A table file as a QBE text names it: ":alias:file" or a file of the
// owner's database.
void nameTable(TTable &table, const TDBDataSet &owner, const QString &name)
{
    const bool aliased = name.startsWith(QLatin1Char(':')) && name.count(QLatin1Char(':')) >= 2;
    table.SetDatabaseName(aliased ? name.section(QLatin1Char(':'), 1, 1) : owner.DatabaseName());
    table.SetSessionName(owner.SessionName());
    table.SetTableName(aliased ? name.section(QLatin1Char(':'), 2) : name);
}

// ":alias:file" lies in the alias's folder; any other name in the data
// set's own database folder. Empty for an alias that names no folder.
QString answerTablePath(const TDBDataSet &owner, const QString &name)
{
    QString folder = Session()->ResolveDatabaseFolder(owner.DatabaseName());
    QString file = name;
    if (name.startsWith(QLatin1Char(':'))) {
        folder =
            name.count(QLatin1Char(':')) >= 2 ? Session()->AliasPath(name.section(QLatin1Char(':'), 1, 1)) : QString();
        file = name.section(QLatin1Char(':'), 2);
        if (folder.isEmpty() || file.isEmpty())
            return QString();
    }
    if (QFileInfo(file).suffix().isEmpty())
        file += QStringLiteral(".db");
    return QFileInfo(file).isAbsolute() ? file : QDir(folder).filePath(file);
}

void showErrorBox(const QString &text)
{
    ui::services().messageBox(text, ui::applicationTitle(), ui::MsgIcon::Stop, ui::MsgButtons::Ok);
}

void showInvalidAlias()
{
    showErrorBox(QStringLiteral("Invalid Alias in QBE"));
}

// The fields of a table file as a QBE text names it.
QVector<TFieldDef> fieldsOf(const TDBDataSet &owner, const QString &table)
{
    TTable reader;
    nameTable(reader, owner, table);
    reader.SetReadOnly(true);
    reader.Open();
    return reader.FieldDefs()->items();
}

// The SELECT's parameters take the values of the owner's.
void copyParameters(TQuery &query, const TParams *params)
{
    for (int i = 0; params && i < params->Count(); ++i)
        if (TParam *own = query.Params()->FindParam(params->Items(i)->Name())) {
            own->SetDataType(params->Items(i)->DataType());
            own->SetValue(params->Items(i)->Value());
        }
}

}

db::QbeQuery qkTranslateQbe(const TDBDataSet &owner, const QString &text, bool blankAsZero)
{
    auto types = std::make_shared<QHash<QString, QHash<QString, TFieldType>>>();
    const auto typesOf = [types, &owner](const QString &table) -> const QHash<QString, TFieldType> & {
        const QString key = table.toLower();
        if (!types->contains(key)) {
            TTable reader;
            nameTable(reader, owner, table);
            reader.SetReadOnly(true);
            reader.Open();
            QHash<QString, TFieldType> fields;
            for (const TField *field : reader.FieldList())
                fields.insert(field->FieldName().toLower(), field->DataType());
            types->insert(key, fields);
        }
        return *types->constFind(key);
    };
    db::QbeOptions options;
    options.settings.blankAsZero = blankAsZero;
    options.fieldType = [typesOf](const QString &table, const QString &field) {
        return typesOf(table).value(field.toLower(), ftUnknown);
    };
    const db::QbeQuery query = db::translateQbe(text, options);
    for (const QString &table : query.tables)
        typesOf(table);
    return query;
}

namespace {

// The rows go straight into the built file: a SELECT that names a table of
// the answer's name would read the new table instead of its own.
void copyRows(TDataSet &source, const QString &built)
{
    QStringList columns, marks;
    for (const TField *field : source.FieldList()) {
        columns << db::quoteIdentifier(field->FieldName());
        marks << QStringLiteral("?");
    }
    const QString insert = QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                               .arg(db::quoteIdentifier(QFileInfo(built).completeBaseName()),
                                    columns.join(QStringLiteral(", ")), marks.join(QStringLiteral(", ")));
    const std::unique_ptr<db::Connection> connection = db::Connection::openExisting(built, false);
    db::TransactionGuard transaction(*connection);
    for (source.First(); !source.Eof(); source.Next()) {
        QVariantList values;
        for (const TField *field : source.FieldList())
            values << db::toStorage(field->DataType(), field->Value());
        db::Statement statement = connection->prepare(insert);
        statement.bindAll(values);
        statement.step();
    }
    transaction.commit();
}

void openAnswerSource(TQuery &source, const TDBDataSet &owner, const QString &select, const TParams *params)
{
    source.SetDatabaseName(owner.DatabaseName());
    source.SetSessionName(owner.SessionName());
    source.SetSQL({select});
    copyParameters(source, params);
    source.Open();
}

QVector<TFieldDef> answerFieldDefs(const TDataSet &source)
{
    QVector<TFieldDef> defs;
    for (const TField *field : source.FieldList())
        defs.append({field->FieldName(), field->DataType(), field->Size(), false});
    return defs;
}

}

QVector<TFieldDef> qkAnswerFieldDefs(const TDBDataSet &owner, const QString &select)
{
    TQuery source;
    openAnswerSource(source, owner, select, nullptr);
    return answerFieldDefs(source);
}

// The answer is built whole beside its place and only then takes it: an
// earlier answer stays when this one fails, and the tables the SELECT reads
// are read before one of them is replaced.
void qkWriteAnswerTable(const TDBDataSet &owner, const QString &select, const QString &path, const TParams *params)
{
    const QTemporaryDir building(QFileInfo(path).absolutePath() + QStringLiteral("/.answer-XXXXXX"));
    if (!building.isValid())
        throw EDatabaseError(QStringLiteral("Verzeichnis „%1“ existiert nicht oder ist schreibgeschützt.")
                                 .arg(QDir::toNativeSeparators(QFileInfo(path).absolutePath())));
    const QString built = building.filePath(QFileInfo(path).fileName());
    TQuery source;
    openAnswerSource(source, owner, select, params);
    TTable answer;
    for (const TFieldDef &def : answerFieldDefs(source))
        answer.FieldDefs()->Add(def.Name, def.DataType, def.Size);
    answer.SetTableName(built);
    answer.CreateTable();
    copyRows(source, built);
    source.Close();
    db::replaceTableFile(built, os::resolvePath(path));
}

void qkSaveAnswerTable(const TDBDataSet &owner, const QString &name, const QString &select, const TParams *params)
{
    const QString path = answerTablePath(owner, name);
    if (path.isEmpty()) {
        showInvalidAlias();
        return;
    }
    try {
        qkWriteAnswerTable(owner, select, path, params);
    } catch (const EDatabaseError &error) {
        showErrorBox(error.Message() + QStringLiteral(" (") + name + QLatin1Char(')'));
    } catch (const Exception &) {
        qkShowLibraryWarning(QStringLiteral("Unable to create answer table ") + name);
    }
}

TqkQBE::TqkQBE(QObject *owner) : TSqlDataSet(owner)
{}

TqkQBE::~TqkQBE()
{
    m_lookupTables.Clear();
}

void TqkQBE::SetQBE(const QStringList &lines)
{
    m_sql.clear();
    m_qbe = lines;
    if (Active()) {
        Close();
        Open();
    }
}

void TqkQBE::SetOnFilter(const TqkQBEFilterEvent &handler)
{
    m_onFilter = handler;
    if (Active())
        installQbeFilter();
}

void TqkQBE::installQbeFilter()
{
    const bool installed = installOnFilter(this, m_onFilter);
    if (!installed)
        qkShowLibraryWarning(QStringLiteral("Local Filtering is not supported on this QBE."));
}

QString TqkQBE::PreparedQBE() const
{
    QStringList lines = m_qbe;
    for (QString &line : lines) {
        for (int at = int(line.indexOf(QLatin1Char('~'))); at >= 0; at = int(line.indexOf(QLatin1Char('~'), at + 1))) {
            for (int i = 0; i < m_params.Count(); ++i) {
                const TParam *param = m_params.Items(i);
                if (line.mid(at + 1, param->Name().size()).toLower() != param->Name().toLower())
                    continue;
                const QString value = param->Value().toString();
                line = line.left(at) + value + line.mid(at + 1 + param->Name().size()).left(255);
                at += int(value.size()) - 1;
                break;
            }
        }
    }
    return qkJoinQueryLines(lines, false);
}

QString TqkQBE::queryText() const
{
    return m_sql.isEmpty() ? qkTranslateQbe(*this, PreparedQBE(), m_blankAsZero).sql : m_sql;
}

void TqkQBE::openCursor()
{
    if (m_qbe.isEmpty() || m_qbe.first().trimmed().isEmpty())
        throw EAbort(QString());
    const ui::BusyCursor busy;
    const db::QbeQuery query = qkTranslateQbe(*this, PreparedQBE(), m_blankAsZero);
    const QString answer = m_answerTable.isEmpty() ? query.answerTable : m_answerTable;
    if (!query.changes.isEmpty()) {
        if (m_auxiliaryTables)
            runKeepingChanges(query.changes, answer);
        else
            runChanges(query.changes);
        throw EAbort(QString());
    }
    m_sql = query.sql;
    TSqlDataSet::openCursor();
    if (!answer.isEmpty())
        qkSaveAnswerTable(*this, answer, query.sql, &m_params);
}

void TqkQBE::runChanges(const QVector<db::QbeChange> &changes)
{
    for (const db::QbeChange &change : changes) {
        m_sql = change.statement;
        try {
            ExecSQL();
        } catch (...) {
            m_sql.clear();
            throw;
        }
    }
    m_sql.clear();
}

// All changes run as one: a failure keeps neither their changes nor their
// auxiliary tables, and older auxiliary tables stay as they were. Without
// an answer table they go to the session's own folder: the data folder
// holds the user's tables, and one may well be called Changed.
void TqkQBE::runKeepingChanges(const QVector<db::QbeChange> &changes, const QString &answer)
{
    const QString answerPath = answerTablePath(*this, answer);
    if (!answer.isEmpty() && answerPath.isEmpty()) {
        showInvalidAlias();
        return;
    }
    const QString folder = answer.isEmpty() ? Session()->PrivateDir() : QFileInfo(answerPath).absolutePath();
    db::QbeAuxiliaryTables tables(folder, Session()->PrivateDir(), changes,
                                  [this](const QString &table) { return fieldsOf(*this, table); });
    QStringList texts;
    QVector<int> textCounts;
    for (const db::QbeChange &change : changes) {
        const QStringList own = tables.texts(change);
        textCounts.append(int(own.size()));
        texts += own;
    }
    runTogether(texts, [&changes, &textCounts](db::Connection &connection, const QStringList &sql) {
        for (int i = 0, first = 0; i < changes.size(); first += textCounts[i], ++i)
            db::QbeAuxiliaryTables::runChange(connection, changes[i].kind, sql.mid(first, textCounts[i]));
    });
    tables.putInPlace();
}

void TqkQBE::closeCursor()
{
    m_sql.clear();
    m_lookupTables.Clear();
    m_callbackHandle = 0;
    TSqlDataSet::closeCursor();
}

void TqkQBE::DoAfterOpen()
{
    TSqlDataSet::DoAfterOpen();
    if (m_onFilter)
        installQbeFilter();
}

void TqkQBE::DoOnCalcFields()
{
    calculateLibraryFields(this);
    TSqlDataSet::DoOnCalcFields();
}

QVariant TqkQBE::FilterFieldValue(const QString &fieldName)
{
    return qkFilterFieldValue(this, fieldName, &m_lookupTables);
}
