#pragma once

#include "app/printroad/ReportData.h"
#include "platform/runtime/DateTime.h"

#include <QCache>
#include <QImage>
#include <QList>
#include <QSet>
#include <QString>
#include <QVariantList>

#include <functional>

class TTable;

namespace printroad {

class ReportFields;

// The field definitions of one module: called once per record of a job
// with the job's slot (empty on the first call, which selects the records
// through GetRecords and returns the record limit; later calls return 0).
using ModuleFieldsRoutine = std::function<int(ReportFields &fields, int job, TTable *&slot, bool asVariables)>;

// Which modules a routine serves: the module exactly, or every module that
// contains the text. Branches are tried in their order.
struct ModuleBranch
{
    QString module;
    bool contains = false;
    ModuleFieldsRoutine routine;
};

// The report engine's variables and fields: the common definitions every
// module shares, and the frame that hands a record to its module's branch.
class ReportFields
{
public:
    ReportFields(ReportData &data, QList<ModuleBranch> branches);

    ReportData &data() { return m_data; }
    JobState &job() { return m_data.job(); }

    // Defines everything of the current module and record; returns the
    // record limit on the first call of a job, -2 when there is nothing to
    // print, 0 for an unknown module.
    int DefineFields(int job, TTable *&slot, bool asVariables, bool designer);
    // Sender, banks, currency, number formats, tax rates, copy and page.
    bool DefineCommVars(int job, TDateTime date);
    // The tax rate in percent of a tax key on a date; 0 on any failure.
    double GetSteuerProz(const QString &key, TDateTime date);

    // Every field of a table by its type, with `prefix` before its name.
    void TCDefineFields(int job, TTable *table, bool asVariables, bool empty, const QString &prefix);
    // One table field, with its euro variants and, for a variable, its
    // copies for the header ("Kopf_") and footer ("Fuss_") lines.
    void DefineField(int job, TTable *table, const QString &prefix, const QString &fieldName, const QString &contents,
                     int type, bool asVariable);
    void DefineCurrencyTrio(int job, TTable *table, const QString &prefix, const QString &fieldName,
                            const QString &contents, int type, bool asVariable);
    // A computed amount as name, name + "Euro" and name + "Wae".
    void DefineEuroVariable(int job, const QString &name, double euroAmount, double currencyAmount);
    void DefineEuroField(int job, const QString &name, int type, double euroAmount, double currencyAmount);
    // An amount that has no value: the name and its twins print empty.
    void DefineEmptyEuroAmount(int job, const QString &name, int type, bool asVariable);
    bool DefineBarcodes(int job, const QString &value, const QString &name);

    // Looks `key` up in `table` (find-key on its current index) and defines
    // all its fields with `prefix`, empty when the table is not open or the
    // record is not there. True when found.
    bool DefineLookup(int job, TTable *table, const QVariantList &key, bool asVariables, const QString &prefix);

    // A key of the program's ini file (empty when missing).
    QString GetDruckPara(const QString &section, const QString &key) const;
    // The number as the engine reads it: shortest text, decimal comma.
    static QString numberText(double value);

    // The picture of the last picture field; freed after each request.
    void freePicture()
    {
        m_picture = QImage();
        m_pictures.clear();
    }

private:
    const ModuleBranch *branchOf(const QString &module) const;
    void defineNumberFormat(int job, const QString &name, int decimals);
    void defineTaxRate(int job, const QString &key, TDateTime date);
    double lookUpTaxRate(const QString &key, TDateTime date);
    bool locateTaxKey(const QString &paddedKey, const QString &key);
    void defineTableField(int job, TTable *table, int index, bool asVariables, bool empty, const QString &prefix);
    void definePicture(int job, TTable *table, int index, bool asVariables, bool empty, const QString &prefix);
    QImage decodedPicture(const QByteArray &bytes);
    void defineAllFields(int job, TTable *table, bool asVariables, bool empty, const QString &prefix);
    // Every definition goes to the engine here, and is kept when a
    // looked-up record's definitions are being made.
    void passToEngine(int job, const DefinedValue &value);
    void defineFieldOfRecord(int job, TTable *table, const QString &prefix, const QString &fieldName,
                             const QString &contents, int type, bool asVariable, bool empty);
    void defineTrio(int job, TTable *table, const QString &prefix, const QString &fieldName, const QString &contents,
                    int type, bool asVariable, bool empty);
    void defineEuroAmounts(int job, const QString &name, int type, double euroAmount, double currencyAmount,
                           bool asVariable);
    void defineEuroTexts(int job, const QString &name, int type, const QString &euroText, const QString &currencyText,
                         bool asVariable);
    void defineValue(int job, const QString &name, const QString &contents, int type, bool asVariable);

    ReportData &m_data;
    QList<ModuleBranch> m_branches;
    QImage m_picture;
    QVector<DefinedValue> *m_madeDefinitions = nullptr;
    // The names the current record of the main table defined in this call;
    // a looked-up record that is missing leaves them as the record has them.
    QSet<QString> m_recordNames;
    bool m_definingRecord = false;
    bool m_definingMissingRecord = false;
    // Decoded pictures by their stored bytes, at most 32 MB of pixels (cost in KB).
    QCache<QByteArray, QImage> m_pictures{32 * 1024};
};

} // namespace printroad
