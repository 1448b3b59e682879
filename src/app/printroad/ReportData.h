#pragma once

#include <QHash>
#include <QImage>
#include <QMap>
#include <QSet>
#include <QString>

#include <functional>
#include <memory>

class TDatabase;
class TTable;

// The print side's table slots. A slot is empty until its table is first
// opened; each opening makes the slot's table object anew.
extern TTable *tc;
extern TTable *tcSetup;
extern TTable *tcSetupLoc;
extern TTable *tcStSatz;
extern TTable *tcKunden;
extern TTable *tcArtikel;
extern TTable *tcLiefer;
extern TTable *tcMitarbei;
extern TTable *tcKopf;
extern TTable *tcPos;
extern TTable *tcBestell;
extern TTable *tcBestPos;
extern TTable *tcOffPos;
extern TTable *tcMahnPara;
extern TTable *tcUmsatz;
extern TTable *tcKArtDru;
extern TTable *tcKontakte;
extern TTable *tcGruppen;
extern TTable *tcLaender;

// Opens `name` into the slot (a fresh table object in the data path, or by
// its full path) and returns true; with open = false closes the slot's table
// and returns false. A table that cannot be opened raises the data layer's
// error.
bool OpenModuleTable(TTable *&slot, const QString &name, bool open);

namespace printroad {

// The writes one document makes into the suite's tables (its position
// numbers, a dunning letter's records) share one transaction of the tables'
// database: a job that fails before the document's fields are defined
// leaves none of them behind.
class DocumentTransaction
{
public:
    explicit DocumentTransaction(const QString &databaseName);
    ~DocumentTransaction();
    DocumentTransaction(const DocumentTransaction &) = delete;
    DocumentTransaction &operator=(const DocumentTransaction &) = delete;
    void commit();

private:
    std::unique_ptr<TDatabase> m_database;
};

// What one job shares between the print loop and the field definitions.
// One definition a record's fields made in the engine.
struct DefinedValue
{
    QString name;
    QString contents;
    QImage picture;
    int type = 0;
    bool asVariable = false;
    bool isPicture = false;
};

// The value kept under `key`, made by `make` the first time it is asked for.
template <typename T, typename Make>
const T &remembered(QHash<QString, T> &memory, const QString &key, Make make)
{
    auto known = memory.constFind(key);
    if (known == memory.cend())
        known = memory.insert(key, make());
    return *known;
}

struct JobState
{
    bool euroDruck = false; // amounts in euro, else in the document's currency
    bool designer = false;  // the layout designer is being prepared
    int copies = 1;         // copies of a list, or per label
    int copyNumber = 0;
    int recordCounter = 0; // records printed in the current copy
    // Messages already shown in this job; each is shown once per job.
    QSet<QString> reported;
    // What every record of a job asks for again, looked up once per job:
    // settings of the program's ini file ("section\nkey"), tax rates
    // ("key\ndate") and country names by code.
    QHash<QString, QString> iniSettings;
    QHash<QString, double> taxRates;
    QHash<QString, QString> countryNames;
    // The definitions of looked-up records (the document head on every
    // label, an article on many positions), by table, record and prefix.
    QHash<QString, QVector<DefinedValue>> lookedUpRecords;

    // A new job: counters and messages forgotten;
    // the euro flag stays until the job sets it.
    void startJob();
    // The next pass of the same job (after the printer check): the same,
    // but a message shown once stays shown.
    void startPass();
};

// Opening the module's tables and selecting the records of a job.
class ReportData
{
public:
    JobState &job() { return m_job; }

    bool OpenDBs(bool open);
    // Selects the job's records in `tc` on the first call of a job (empty
    // slot) and returns the record limit: the found record, the record
    // count, 9999999 for a filtered table, or -2 when the requested record
    // is not there (then nothing of it may be printed). Later calls return 0.
    int GetRecords(TTable *&slot, const QString &extraFilter);
    // Numbers the printable positions of one order and returns the record
    // number of its last position; the numbers are written into "posdruck"
    // (a number that is there already is left as it is).
    int NumberPositions(TTable *table, const QString &orderNumber);

    // Shows an error box unless the same text was shown earlier in this job.
    void reportOnce(const QString &caption, const QString &text);

    // The stored filter criteria of the request are applied here, on `tc`,
    // before the record filter; a step answering false stops the job.
    void setStoredCriteriaStep(std::function<bool(TTable *)> step) { m_storedCriteria = std::move(step); }

    // A value pasted into a filter expression: quoted, quotes doubled.
    static QString filterLiteral(const QString &value);

private:
    void openModuleTables(bool open);
    bool lookupRecord(const QString &module);
    void numberPosition(TTable *table, int &counter);

    JobState m_job;
    std::function<bool(TTable *)> m_storedCriteria;
};

// The record limit of a filtered table: only its end stops the job.
constexpr int FilteredRecordLimit = 9999999;
// The record limit that means nothing is to be printed.
constexpr int NothingToPrint = -2;

} // namespace printroad
