#include "lib/data/Qkqbe.h"
#include "DemoTablesTest.h"
#include "demo/tables/DemoTables.h"
#include "demo/tables/MasterData.h"
#include "lib/data/Qkquery.h"
#include "platform/db/GermanCollation.h"
#include "platform/db/QbeCell.h"
#include "platform/db/TField.h"
#include "platform/db/TSession.h"
#include "platform/runtime/Exceptions.h"
#include "support/RecordingUiServices.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <memory>

// Query-by-example text against the same question asked of SQLite by hand,
// on the demo installation's tables.

// Readable failures: the lists compared are lists of rows.
QT_BEGIN_NAMESPACE
inline void PrintTo(const QString &text, std::ostream *out)
{
    *out << '"' << text.toStdString() << '"';
}
QT_END_NAMESPACE

namespace {

QString valueText(const QVariant &value)
{
    if (!value.isValid() || value.isNull())
        return {};
    switch (value.typeId()) {
    case QMetaType::QDate:
        return value.toDate().toString(Qt::ISODate);
    case QMetaType::Bool:
        return value.toBool() ? QStringLiteral("1") : QStringLiteral("0");
    case QMetaType::Double:
    case QMetaType::Int:
    case QMetaType::LongLong:
        return QString::number(value.toDouble(), 'g', 12);
    default:
        return value.toString();
    }
}

QStringList rowsOf(TDataSet &dataSet)
{
    QStringList rows;
    for (dataSet.First(); !dataSet.Eof(); dataSet.Next()) {
        QStringList values;
        for (const TField *field : dataSet.FieldList())
            values.append(valueText(field->Value()));
        rows.append(values.join(QLatin1Char('|')));
    }
    return rows;
}

// SQLite by hand: the named table files of the folder, each attached under
// its own name.
sqlite3 *attached(const QString &folder, const QStringList &files)
{
    sqlite3 *handle = nullptr;
    sqlite3_open(":memory:", &handle);
    db::registerGermanCollations(handle);
    for (const QString &file : files)
        sqlite3_exec(handle,
                     QStringLiteral("ATTACH '%1' AS \"%2\"").arg(QDir(folder).filePath(file), file.chopped(3)).toUtf8(),
                     nullptr, nullptr, nullptr);
    return handle;
}

// The rows SQLite gives for hand-written SQL over the named table files of
// the folder, each attached under its own name.
QStringList sqliteRows(const QString &folder, const QStringList &files, const QString &sql)
{
    sqlite3 *handle = attached(folder, files);
    sqlite3_stmt *statement = nullptr;
    EXPECT_EQ(sqlite3_prepare_v2(handle, sql.toUtf8().constData(), -1, &statement, nullptr), SQLITE_OK)
        << sql.toStdString() << ": " << sqlite3_errmsg(handle);
    QStringList rows;
    while (statement && sqlite3_step(statement) == SQLITE_ROW) {
        QStringList values;
        for (int i = 0; i < sqlite3_column_count(statement); ++i) {
            const int type = sqlite3_column_type(statement, i);
            values.append(type == SQLITE_NULL ? QString()
                          : type == SQLITE_TEXT
                              ? QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(statement, i)))
                              : QString::number(sqlite3_column_double(statement, i), 'g', 12));
        }
        rows.append(values.join(QLatin1Char('|')));
    }
    sqlite3_finalize(statement);
    sqlite3_close(handle);
    return rows;
}

void execSqlite(const QString &folder, const QStringList &files, const QString &sql)
{
    sqlite3 *handle = attached(folder, files);
    char *error = nullptr;
    EXPECT_EQ(sqlite3_exec(handle, sql.toUtf8().constData(), nullptr, nullptr, &error), SQLITE_OK)
        << sql.toStdString() << ": " << (error ? error : "");
    sqlite3_free(error);
    sqlite3_close(handle);
}

QStringList qbeText(std::initializer_list<const char *> lines)
{
    QStringList text{QStringLiteral("Query"), QString()};
    for (const char *line : lines)
        text.append(QString::fromUtf8(line));
    text += {QString(), QStringLiteral("EndQuery")};
    return text;
}

class QbeOnDemo : public DemoTablesTest
{
protected:
    static std::unique_ptr<TqkQBE> open(const QStringList &text, const QString &database = folder())
    {
        auto qbe = std::make_unique<TqkQBE>();
        qbe->SetDatabaseName(database);
        qbe->SetQBE(text);
        qbe->Open();
        return qbe;
    }

    // The engine error the text raises; empty when it runs.
    static QString refusal(const QStringList &text, int &code)
    {
        try {
            open(text);
        } catch (const EDBEngineError &error) {
            code = error.ErrorCode();
            return error.Message();
        }
        return {};
    }
};

struct SelectCase
{
    const char *word;
    QStringList qbe;
    QStringList files;
    const char *sql;
};

} // namespace

TEST_F(QbeOnDemo, EveryWordAnswersWhatSqliteAnswers)
{
    const QString today = QDate::currentDate().toString(Qt::ISODate);
    const SelectCase cases[] = {
        {"Check drops repeats, sorted",
         qbeText({"Kunden.db | Ort |", "          | Check |"}),
         {"Kunden.db"},
         "SELECT DISTINCT Ort FROM Kunden ORDER BY Ort"},
        {"CheckPlus keeps repeats",
         qbeText({"Kunden.db | Ort |", " | CheckPlus |"}),
         {"Kunden.db"},
         "SELECT Ort FROM Kunden"},
        {"CheckDescending",
         qbeText({"Kunden.db | Land | Ort |", " | Check | CheckDescending |"}),
         {"Kunden.db"},
         "SELECT DISTINCT Land, Ort FROM Kunden ORDER BY Land, Ort DESC"},
        {"comparisons joined by comma",
         qbeText({"Kunden.db | nr | plz |", " | Check | >= 10000, < 30000 |"}),
         {"Kunden.db"},
         "SELECT DISTINCT nr FROM Kunden WHERE plz >= '10000' AND plz < '30000' ORDER BY nr"},
        {"or inside a cell",
         qbeText({"Kunden.db | nr | Ort |", " | Check | Hamburg or Wien or > Z |"}),
         {"Kunden.db"},
         "SELECT DISTINCT nr FROM Kunden WHERE Ort = 'Hamburg' OR Ort = 'Wien' OR Ort > 'Z' ORDER BY nr"},
        {"quoted constant holding a comma",
         qbeText({"Kunden.db | nr | Name2 |", " | Check | \"Lager Nord, Tor 3\" |"}),
         {"Kunden.db"},
         "SELECT DISTINCT nr FROM Kunden WHERE Name2 = 'Lager Nord, Tor 3' ORDER BY nr"},
        {"quoted constant holding or and ..",
         qbeText({"Kunden.db | nr | Name |", " | Check | \"Müller & Söhne GmbH\" or \"Weiß\" |"}),
         {"Kunden.db"},
         "SELECT DISTINCT nr FROM Kunden WHERE Name IN ('Müller & Söhne GmbH', 'Weiß') ORDER BY nr"},
        {"each example row an alternative",
         qbeText({"Kunden.db | nr | Land | Ort |", " | Check | A | |", " | Check | | Berlin |"}),
         {"Kunden.db"},
         "SELECT DISTINCT nr FROM Kunden WHERE Land = 'A' OR Ort = 'Berlin' ORDER BY nr"},
        {"blank",
         qbeText({"Kunden.db | nr | Telefax |", " | Check | blank |"}),
         {"Kunden.db"},
         "SELECT DISTINCT nr FROM Kunden WHERE Telefax IS NULL OR Telefax = '' ORDER BY nr"},
        {"not and not blank",
         qbeText({"Kunden.db | nr | Ort | EMail |", " | Check | not München | not blank |"}),
         {"Kunden.db"},
         "SELECT DISTINCT nr FROM Kunden WHERE Ort <> 'München' AND EMail <> '' ORDER BY nr"},
        {".. for any text",
         qbeText({"Kunden.db | nr | Strasse |", " | Check | ..straße.. |"}),
         {"Kunden.db"},
         "SELECT DISTINCT nr FROM Kunden WHERE Strasse LIKE '%straße%' ORDER BY nr"},
        {"@ for one character",
         qbeText({"Kunden.db | nr | plz |", " | Check | 8@@3@ |"}),
         {"Kunden.db"},
         "SELECT DISTINCT nr FROM Kunden WHERE plz LIKE '8__3_' ORDER BY nr"},
        {"like",
         qbeText({"Kunden.db | nr | Ort |", " | Check | like m.. |"}),
         {"Kunden.db"},
         "SELECT DISTINCT nr FROM Kunden WHERE Ort LIKE 'm%' ORDER BY nr"},
        {"today with days",
         qbeText({"Kunden.db | nr | Gruendungsdatum |", " | Check | < today - 40000, > 1.1.1800 |"}),
         {"Kunden.db"},
         "SELECT DISTINCT nr FROM Kunden WHERE Gruendungsdatum < date('now', 'localtime', '-40000 days') "
         "AND Gruendungsdatum > '1800-01-01' ORDER BY nr"},
        {"example element joining two tables",
         qbeText({"Kunden.db | nr | Name |", " | _k | Check |", "", "Auftrag.db | kundennr | auftragnr |",
                  " | _k | Check |"}),
         {"Kunden.db", "Auftrag.db"},
         "SELECT DISTINCT k.Name, a.auftragnr FROM Kunden k JOIN Auftrag a ON a.kundennr = k.nr ORDER BY 1, 2"},
        {"example element joining a table to itself",
         qbeText({"Kunden.db | nr | Ort |", " | 10001 | _o |", "", "Kunden.db | nr | Ort |", " | Check | _o |"}),
         {"Kunden.db"},
         "SELECT DISTINCT b.nr FROM Kunden a, Kunden b WHERE a.nr = '10001' AND b.Ort = a.Ort ORDER BY 1"},
        {"example element in a comparison and a calculation",
         qbeText({"Artikel.db | Artikelnr | EkPreis | VK1 |", " | Check | _e | > _e * 1.5 |"}),
         {"Artikel.db"},
         "SELECT DISTINCT Artikelnr FROM Artikel WHERE VK1 > EkPreis * 1.5 ORDER BY 1"},
        {"rows of two tables, each its own question",
         qbeText({"Kunden.db | nr |", " | Check 10007 |", "", "Liefer.db | nr |", " | Check |"}),
         {"Kunden.db", "Liefer.db"},
         "SELECT nr FROM Kunden WHERE nr = '10007' UNION SELECT nr FROM Liefer ORDER BY 1"},
        {"calc count grouped by the checked field",
         qbeText({"Kunden.db | Land | Ort |", " | Check | calc count |"}),
         {"Kunden.db"},
         "SELECT Land, COUNT(DISTINCT Ort) FROM Kunden GROUP BY Land ORDER BY Land"},
        {"calc count all",
         qbeText({"Kunden.db | Land | Ort |", " | Check | calc count all |"}),
         {"Kunden.db"},
         "SELECT Land, COUNT(Ort) FROM Kunden GROUP BY Land ORDER BY Land"},
        {"calc sum, average, min and max",
         qbeText({"Artikel.db | Einheit | Bestand | VK1 | EkPreis | PreisEinheit |",
                  " | Check | calc sum | calc average | calc min | calc max |"}),
         {"Artikel.db"},
         "SELECT Einheit, SUM(Bestand), AVG(VK1), MIN(EkPreis), MAX(PreisEinheit) FROM Artikel GROUP BY Einheit "
         "ORDER BY Einheit"},
        {"calc expression as a name",
         qbeText({"Artikel.db | Artikelnr | VK1 | Bestand |", " | Check | _v | _b, calc _v * _b as Wert |"}),
         {"Artikel.db"},
         "SELECT DISTINCT Artikelnr, VK1 * Bestand AS Wert FROM Artikel ORDER BY 1, 2"},
        {"calc joining texts",
         qbeText({"Kunden.db | nr | Name | Ort |", " | Check | _n | _o, calc _n + \", \" + _o |"}),
         {"Kunden.db"},
         "SELECT DISTINCT nr, Name || ', ' || Ort FROM Kunden ORDER BY 1, 2"},
        {"check word in the first column",
         qbeText({"laender.db | Lkz | Land |", "Check | | |"}),
         {"laender.db"},
         "SELECT DISTINCT Lkz, Land FROM laender ORDER BY 1, 2"},
    };
    for (const SelectCase &c : cases) {
        const QStringList expected = sqliteRows(folder(), c.files, QString::fromUtf8(c.sql));
        ASSERT_FALSE(expected.isEmpty()) << c.word;
        QStringList answered = rowsOf(*open(c.qbe));
        QStringList wanted = expected;
        if (!QByteArray(c.sql).contains("ORDER BY")) {
            answered.sort();
            wanted.sort();
        }
        EXPECT_EQ(answered, wanted) << c.word;
    }
    Q_UNUSED(today);
}

TEST_F(QbeOnDemo, AnswerNamesTheCalculatedFields)
{
    const auto qbe =
        open(qbeText({"Artikel.db | Einheit | Bestand | VK1 |", " | Check | calc sum | calc max as Teuerste |"}));
    QStringList names;
    for (const TField *field : qbe->FieldList())
        names.append(field->FieldName());
    EXPECT_EQ(names, QStringList({"Einheit", "Summe von Bestand", "Teuerste"}));
}

TEST_F(QbeOnDemo, WordsOutsideTheLanguageAreRefusedNotReadAsValues)
{
    const struct
    {
        QStringList qbe;
        const char *named;
    } cases[] = {
        {qbeText({"Kunden.db | Name |", " | Check calc Anzahl Namen |"}), "Anzahl"},
        {qbeText({"Kunden.db | nr | Name |", " | Check | count > 5 |"}), "count > 5"},
        {qbeText({"Kunden.db | nr | Vorname |", " | Check | Max |"}), "Max"},
        {qbeText({"Kunden.db | nr | Ort |", " | Check | only München |"}), "only München"},
        {qbeText({"Kunden.db | nr | Ort |", " | Check as Kunde | |"}), "as Kunde"},
        {qbeText({"Kunden.db | nr |", " | CheckGroup |"}), "CheckGroup"},
        {qbeText({"Kunden.db | nr |", "Set | Check |"}), "Set"},
        {qbeText({"Sort: Kunden.db->nr", "Kunden.db | nr |", " | Check |"}), "Sort: Kunden.db->nr"},
        {qbeText({"Kunden.db | nr | Ort |", " | Check | > _x |"}), "_x"},
        {qbeText({"Kunden.db | nr | Ort |", " | Check | |", " | | Check |"}), "verschiedene Felder"},
        {qbeText({"Kunden.db | nr |", " | Check |", "", "Liefer.db | nr |", " | 1 |"}), "unabhängige Fragen"},
        {qbeText({"Kunden.db | nr | Ort |", " | Check | \"Wien |"}), "Anführungszeichen"},
        {qbeText({"Artikel.db | Artikelnr | Bestand |", " | Check | zehn |"}), "zehn"},
        {qbeText({"Kunden.db | nr | Gruendungsdatum |", " | Check | 31.2.1900 |"}), "31.2.1900"},
        {qbeText({"Kunden.db | nr | Gruendungsdatum |", " | Check | _d, calc _d + 30 |"}), "_d + 30"},
        {qbeText({"Kunden.db | nr | Ort |", " | Check | Wien or _o |"}), "neben \"or\""},
        {qbeText({"Kunden.db | nr |", " | Check |", "Delete | 10001 |"}), "zugleich Tabellen ändert"},
        {qbeText({"Kunden.db | nr |", " | Check | Wien |"}), "mehr Felder"},
        {qbeText({"Kunden.db | nr | Ort |", " | | |", " | Wien | |"}), "ohne ausgewähltes Feld"},
    };
    for (const auto &c : cases) {
        int code = 0;
        const QString message = refusal(c.qbe, code);
        EXPECT_EQ(code, db::qbeNotUnderstood) << c.named << ": " << message.toStdString();
        EXPECT_TRUE(message.contains(QString::fromUtf8(c.named))) << message.toStdString();
    }
}

TEST_F(QbeOnDemo, MissingTableRaisesTheEngineError)
{
    int code = 0;
    const QString message = refusal(qbeText({"Fehlt.db | nr |", " | Check |"}), code);
    EXPECT_EQ(code, SQLITE_CANTOPEN);
    EXPECT_EQ(message, "Tabelle 'Fehlt.db' nicht gefunden.");
}

namespace {

struct ChangeCase
{
    const char *word;
    QStringList qbe;
    QStringList files;
    const char *sql;
};

QStringList tableRows(const QString &folder, const QString &file)
{
    return sqliteRows(folder, {file}, QStringLiteral("SELECT * FROM \"%1\" ORDER BY rowid").arg(file.chopped(3)));
}

}

TEST_F(QbeOnDemo, RowWordsAndChangetoChangeWhatSqliteChanges)
{
    const ChangeCase cases[] = {
        {"Delete",
         qbeText({"Kunden.db | Land |", "Delete | A |"}),
         {"Kunden.db"},
         "DELETE FROM Kunden WHERE Land = 'A'"},
        {"Delete joined",
         qbeText({"Auftrag.db | kundennr |", "Delete | _k |", "", "Kunden.db | nr | Ort |", " | _k | München |"}),
         {"Auftrag.db", "Kunden.db"},
         "DELETE FROM Auftrag WHERE kundennr IN (SELECT nr FROM Kunden WHERE Ort = 'München')"},
        {"Insert constants",
         qbeText({"laender.db | Lkz | Land | Vorwahl |", "Insert | LI | Liechtenstein | \"+423\" |"}),
         {"laender.db"},
         "INSERT INTO laender (Lkz, Land, Vorwahl) VALUES ('LI', 'Liechtenstein', '+423')"},
        {"Insert from another table",
         qbeText({"gruppen.db | Gruppe | Bezeichnung |", "Insert | _o | _n |", "", "Kunden.db | Ort | Name | Land |",
                  " | _o | _n | A |"}),
         {"gruppen.db", "Kunden.db"},
         "INSERT INTO gruppen (Gruppe, Bezeichnung) SELECT Ort, Name FROM Kunden WHERE Land = 'A'"},
        {"changeto a constant",
         qbeText({"Kunden.db | Ort |", " | Wien, changeto Vienna |"}),
         {"Kunden.db"},
         "UPDATE Kunden SET Ort = 'Vienna' WHERE Ort = 'Wien'"},
        {"changeto a calculation",
         qbeText({"Artikel.db | Einheit | VK1 |", " | Stück | _v, changeto _v * 2 |"}),
         {"Artikel.db"},
         "UPDATE Artikel SET VK1 = VK1 * 2 WHERE Einheit = 'Stück'"},
        {"changeto from a joined table",
         qbeText({"Auftrag.db | kundennr | Bestellzeichen |", " | _k | changeto _o |", "", "Kunden.db | nr | Ort |",
                  " | _k | _o |"}),
         {"Auftrag.db", "Kunden.db"},
         "UPDATE Auftrag SET Bestellzeichen = (SELECT Ort FROM Kunden WHERE nr = Auftrag.kundennr) "
         "WHERE kundennr IN (SELECT nr FROM Kunden)"},
    };
    for (const bool auxiliaryTables : {true, false})
        for (const ChangeCase &c : cases) {
            QTemporaryDir byQbe, bySql;
            for (const QString &file : c.files) {
                demo::writeTable(file, byQbe.path());
                demo::writeTable(file, bySql.path());
            }
            const QStringList before = tableRows(byQbe.path(), c.files.first());
            TqkQBE qbe;
            qbe.SetDatabaseName(byQbe.path());
            qbe.setProperty("AuxiliaryTables", auxiliaryTables);
            qbe.SetQBE(c.qbe);
            EXPECT_THROW(qbe.Open(), EAbort) << c.word;
            execSqlite(bySql.path(), c.files, QString::fromUtf8(c.sql));
            const QStringList after = tableRows(bySql.path(), c.files.first());
            EXPECT_NE(after, before) << c.word;
            EXPECT_EQ(tableRows(byQbe.path(), c.files.first()), after) << c.word << auxiliaryTables;
        }
}

TEST_F(QbeOnDemo, BlankAsZeroDecidesWhetherBlankNumbersMeetNumericConditions)
{
    QTemporaryDir dir;
    demo::Rows rows = demo::articleRows();
    rows[0].insert("Bestand", QVariant());
    demo::writeTable("Artikel.db", dir.path(), rows);
    const QString blankNr = rows[0].value("Artikelnr").toString();
    for (const bool blankAsZero : {true, false}) {
        TqkQBE qbe;
        qbe.SetDatabaseName(dir.path());
        qbe.setProperty("BlankAsZero", blankAsZero);
        qbe.SetQBE(qbeText({"Artikel.db | Artikelnr | Bestand |", " | Check | < 1 |"}));
        qbe.Open();
        EXPECT_EQ(rowsOf(qbe).contains(blankNr), blankAsZero);
    }
}

TEST_F(QbeOnDemo, AnswerTableIsWrittenWhereItsNameSays)
{
    ui::ScopedRecordingUiServices user;
    QTemporaryDir aliasFolder;
    Session()->AddStandardAlias("qbeantwort", aliasFolder.path(), "STANDARD");
    const QStringList text = qbeText({"Kunden.db | Land | Ort |", " | Check | Check |"});
    {
        auto qbe = std::make_unique<TqkQBE>();
        qbe->SetDatabaseName(folder());
        qbe->SetAnswerTable(":qbeantwort:Orte");
        qbe->SetQBE(text);
        qbe->Open();
        EXPECT_EQ(tableRows(aliasFolder.path(), "Orte.db"), rowsOf(*qbe));
    }
    QStringList withLine = text;
    withLine.insert(1, "ANSWER: :qbeantwort:Antwort.db");
    open(withLine);
    EXPECT_EQ(tableRows(aliasFolder.path(), "Antwort.db").size(), 7);
    for (const QString &invalid : {QString(":keinalias:Orte"), QString(":qbeantwort")}) {
        TqkQBE qbe;
        qbe.SetDatabaseName(folder());
        qbe.SetAnswerTable(invalid);
        qbe.SetQBE(text);
        qbe.Open();
        ASSERT_FALSE(user.messages().isEmpty());
        EXPECT_EQ(user.messages().last().text, "Invalid Alias in QBE");
        EXPECT_EQ(user.messages().last().icon, ui::MsgIcon::Stop);
    }
    {
        const QString unwritable = aliasFolder.filePath("fehlt/Orte");
        TqkQBE qbe;
        qbe.SetDatabaseName(folder());
        qbe.SetAnswerTable(unwritable);
        qbe.SetQBE(text);
        qbe.Open();
        EXPECT_TRUE(qbe.Active()) << "the answer is shown even when it cannot be written";
        EXPECT_EQ(user.messages().last().text, "Verzeichnis „" + aliasFolder.filePath("fehlt")
                                                   + "“ existiert nicht oder ist schreibgeschützt. (" + unwritable
                                                   + ")");
        EXPECT_EQ(user.messages().last().icon, ui::MsgIcon::Stop);
    }
    TqkQuery query;
    query.SetDatabaseName(folder());
    query.SetSQL({"SELECT nr, Ort FROM Kunden WHERE Land = :land"});
    query.ParamByName("land")->SetValue("A");
    query.SetAnswerTable(":qbeantwort:Abfrage");
    query.Open();
    EXPECT_EQ(tableRows(aliasFolder.path(), "Abfrage.db"), QStringList({"10007|Wien"}));
    // An answer named as the table it reads is read whole before it
    // takes that table's place.
    demo::writeTable("Kunden.db", aliasFolder.path());
    query.Close();
    query.SetDatabaseName(aliasFolder.path());
    query.SetAnswerTable("kunden");
    const int shown = int(user.messages().size());
    query.Open();
    EXPECT_EQ(tableRows(aliasFolder.path(), "Kunden.db"), QStringList({"10007|Wien"}));
    EXPECT_EQ(user.messages().size(), shown) << user.messageTexts().join("|").toStdString();
    EXPECT_EQ(QDir(aliasFolder.path()).entryList(QDir::Hidden | QDir::AllEntries | QDir::NoDotAndDotDot).size(), 4);
    Session()->DeleteAlias("qbeantwort");
}

namespace {

struct AuxiliaryCase
{
    const char *word;
    QStringList qbe;
    QStringList files;
    // Each auxiliary table's rows as SQLite gives them from the tables
    // before the change.
    QList<QPair<const char *, const char *>> kept;
};

QStringList sorted(QStringList rows)
{
    std::sort(rows.begin(), rows.end());
    return rows;
}

const QStringList kAuxiliaryFiles = {"Deleted.db", "Inserted.db", "Changed.db", "KeyViol.db"};

QHash<QString, QByteArray> filesNow(const QString &folder)
{
    QHash<QString, QByteArray> bytes;
    for (const QString &file : kAuxiliaryFiles) {
        QFile own(QDir(folder).filePath(file));
        own.open(QIODevice::ReadOnly);
        bytes.insert(file, own.readAll());
    }
    return bytes;
}

// Tables of the user's own that carry the auxiliary tables' names.
QHash<QString, QByteArray> placeUsersOwnTables(const QString &folder)
{
    QTemporaryDir source;
    demo::writeTable("laender.db", source.path());
    for (const QString &file : kAuxiliaryFiles) {
        QFile::remove(QDir(folder).filePath(file));
        QFile::copy(source.filePath("laender.db"), QDir(folder).filePath(file));
    }
    return filesNow(folder);
}

}

TEST_F(QbeOnDemo, ChangesKeepTheirRecordsAndSetKeyViolationsAside)
{
    const AuxiliaryCase cases[] = {
        {"Delete",
         qbeText({"Kunden.db | Land |", "Delete | A |"}),
         {"Kunden.db"},
         {{"Deleted.db", "SELECT * FROM Kunden WHERE Land = 'A'"}}},
        {"changeto joined",
         qbeText({"Kunden.db | nr | Ort |", " | _k | changeto Kunde |", "", "Auftrag.db | kundennr |", " | _k |"}),
         {"Kunden.db", "Auftrag.db"},
         {{"Changed.db", "SELECT * FROM Kunden WHERE nr IN (SELECT kundennr FROM Auftrag)"}}},
        {"Insert breaking a key",
         qbeText({"gruppen.db | Gruppe | Bezeichnung |", "Insert | _o | _n |", "", "Kunden.db | Ort | Name | Land |",
                  " | _o | _n | D |"}),
         {"gruppen.db", "Kunden.db"},
         {{"Inserted.db", "SELECT Ort, Name, NULL FROM Kunden WHERE Land = 'D' AND nr <> '10008'"},
          {"KeyViol.db", "SELECT Ort, Name, NULL FROM Kunden WHERE nr = '10008'"}}},
        {"Insert of blank keys",
         qbeText({"gruppen.db | Gruppe | Bezeichnung |", "Insert | _t | _n |", "", "Kunden.db | Telefax | Name |",
                  " | _t | _n |"}),
         {"gruppen.db", "Kunden.db"},
         {{"Inserted.db", "SELECT Telefax, Name, NULL FROM Kunden WHERE Telefax IS NOT NULL OR nr = '10003'"},
          {"KeyViol.db", "SELECT Telefax, Name, NULL FROM Kunden WHERE Telefax IS NULL AND nr <> '10003'"}}},
        {"changeto breaking a key",
         qbeText({"laender.db | Lkz | Land |", " | changeto AT | Österreich |", " | changeto D | Schweiz |"}),
         {"laender.db"},
         {{"Changed.db", "SELECT * FROM laender WHERE Lkz = 'A'"},
          {"KeyViol.db", "SELECT 'D', Land, Vorwahl FROM laender WHERE Lkz = 'CH'"}}},
    };
    for (const AuxiliaryCase &c : cases) {
        QTemporaryDir byQbe, before;
        for (const QString &file : c.files) {
            demo::writeTable(file, byQbe.path());
            demo::writeTable(file, before.path());
        }
        const QHash<QString, QByteArray> usersOwn = placeUsersOwnTables(byQbe.path());
        EXPECT_THROW(open(c.qbe, byQbe.path()), EAbort) << c.word;
        EXPECT_EQ(filesNow(byQbe.path()), usersOwn) << c.word;
        for (const auto &[file, sql] : c.kept)
            EXPECT_EQ(sorted(tableRows(Session()->PrivateDir(), file)),
                      sorted(sqliteRows(before.path(), c.files, sql)))
                << c.word << ": " << file;
        EXPECT_NE(tableRows(byQbe.path(), c.files.first()), tableRows(before.path(), c.files.first())) << c.word;
    }
}

TEST_F(QbeOnDemo, AuxiliaryTablesGoWhereTheAnswerWouldAndWithoutThemAKeyViolationUndoesTheChange)
{
    ui::ScopedRecordingUiServices user;
    QTemporaryDir dir, answers;
    demo::writeTable("gruppen.db", dir.path());
    const QStringList groups = tableRows(dir.path(), "gruppen.db");
    TqkQBE qbe;
    qbe.SetDatabaseName(dir.path());
    qbe.setProperty("AuxiliaryTables", false);
    qbe.SetQBE(qbeText({"gruppen.db | Gruppe |", " | PRIVAT, changeto STAMM |", " | STAMM, changeto Stamm |"}));
    EXPECT_THROW(qbe.Open(), EDBEngineError);
    EXPECT_EQ(tableRows(dir.path(), "gruppen.db"), groups);
    qbe.setProperty("AuxiliaryTables", true);
    for (const QString &answer : {QStringLiteral(":keinalias:Antwort"), answers.filePath("Antwort")}) {
        qbe.SetAnswerTable(answer);
        EXPECT_THROW(qbe.Open(), EAbort);
    }
    EXPECT_EQ(user.messageTexts(), QStringList({"Invalid Alias in QBE"}));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::Dirs | QDir::NoDotAndDotDot),
              QStringList({"gruppen.db"}));
    EXPECT_EQ(tableRows(answers.path(), "KeyViol.db"), QStringList({"STAMM|Privatkunden|"}));

    // An earlier run's tables are replaced; a user's own table of that name
    // in the answer's folder sends them all to the session's folder.
    demo::writeTable("gruppen.db", dir.path());
    EXPECT_THROW(qbe.Open(), EAbort);
    EXPECT_EQ(tableRows(answers.path(), "KeyViol.db"), QStringList({"STAMM|Privatkunden|"}));
    const QHash<QString, QByteArray> usersOwn = placeUsersOwnTables(answers.path());
    demo::writeTable("gruppen.db", dir.path());
    QFile::remove(QDir(Session()->PrivateDir()).filePath("KeyViol.db"));
    EXPECT_THROW(qbe.Open(), EAbort);
    EXPECT_EQ(filesNow(answers.path()), usersOwn);
    EXPECT_EQ(tableRows(Session()->PrivateDir(), "KeyViol.db"), QStringList({"STAMM|Privatkunden|"}));
}
