#include "app/printroad/ReportFields.h"

#include "app/PrintRequest.h"
#include "app/Utils.h"
#include "app/mainmodul.h"
#include "platform/db/TField.h"
#include "platform/db/TTable.h"
#include "platform/os/IniFile.h"
#include "platform/report/api/ReportApi.h"
#include "platform/runtime/Conversions.h"
#include "platform/runtime/FormatSettings.h"

#include <QScopedValueRollback>

namespace printroad {
namespace {

const QString kopfPrefix = QStringLiteral("Kopf_");
const QString fussPrefix = QStringLiteral("Fuss_");
const QString waeSuffix = QStringLiteral("Wae");

struct Barcode
{
    const char *symbology;
    int type;
};

bool isOpenWithRecords(TTable *table)
{
    return table && table->Active() && !IsTableEmpty(table);
}

QString setupText(const QString &field)
{
    return isOpenWithRecords(tcSetup) ? tcSetup->FieldByName(field)->AsString() : QString();
}

int setupInteger(const QString &field)
{
    return isOpenWithRecords(tcSetup) ? tcSetup->FieldByName(field)->AsInteger() : 0;
}

int reportTypeOf(TFieldType type)
{
    switch (type) {
    case ftString:
    case ftMemo:
    case ftFmtMemo:
    case ftDate:
    case ftDateTime:
        return report::LL_TEXT;
    case ftSmallint:
    case ftInteger:
    case ftFloat:
        return report::LL_NUMERIC;
    case ftBoolean:
        return report::LL_BOOLEAN;
    case ftGraphic:
        return report::LL_DRAWING_HBITMAP;
    default:
        return 0;
    }
}

// The layouts read dates in the German form; once a date has been offered
// the program keeps that format for the rest of its run.
void useGermanShortDates()
{
    FormatSettings().ShortDateFormat = QStringLiteral("dd.mm.yyyy");
}

bool hasFieldExactly(TTable *table, const QString &name)
{
    for (TField *field : table->FieldList()) {
        if (field->FieldName() == name)
            return true;
    }
    return false;
}

QString ean8Text(const QString &value)
{
    const QString padded = value.rightJustified(7, QLatin1Char('0'));
    return padded.left(2) + QLatin1Char('|') + padded.mid(2, 5);
}

QString ean13Text(const QString &prefixedValue)
{
    const QString padded = prefixedValue.rightJustified(12, QLatin1Char('0'));
    return padded.left(2) + QLatin1Char('|') + padded.mid(2, 5) + QLatin1Char('|') + padded.mid(7, 5);
}

}

ReportFields::ReportFields(ReportData &data, QList<ModuleBranch> branches)
    : m_data(data), m_branches(std::move(branches))
{}

int ReportFields::DefineFields(int job, TTable *&slot, bool asVariables, bool designer)
{
    m_data.job().designer = designer;
    const QString &module = PrintRequest().Modul;
    const ModuleBranch *branch = branchOf(module);
    if (!branch) {
        ShowError(QString(), QStringLiteral("Fehler DefineFields: Modul ") + module + QStringLiteral(" unbekannt"));
        return 0;
    }
    m_recordNames.clear();
    return branch->routine(*this, job, slot, asVariables);
}

const ModuleBranch *ReportFields::branchOf(const QString &module) const
{
    for (const ModuleBranch &branch : m_branches) {
        if (branch.contains ? module.contains(branch.module) : module == branch.module)
            return &branch;
    }
    return nullptr;
}

bool ReportFields::DefineCommVars(int job, TDateTime date)
{
    LlDefineVariableExt(job, QStringLiteral("Exemplar"), QStringLiteral("1"), report::LL_NUMERIC, QString());
    LlDefineVariableExt(job, QStringLiteral("Seite"), QStringLiteral("1"), report::LL_NUMERIC, QString());
    const QString euroName = setupText(QStringLiteral("EuroBezeichnung"));
    const QString currencyName = setupText(QStringLiteral("Waehrung"));
    const QString taxName = setupText(QStringLiteral("BezSteuer"));
    LlDefineVariable(job, QStringLiteral("Firmenabsender"), setupText(QStringLiteral("FensterAbsender")));
    const QList<QPair<QString, QString>> sharedTexts = {
        {QStringLiteral("SteuerBezeichnung"), taxName},
        {QStringLiteral("Währung"), m_data.job().euroDruck ? euroName : currencyName},
        {QStringLiteral("WährungEuro"), euroName},
        {QStringLiteral("WährungDM"), currencyName}};
    for (const auto &[name, text] : sharedTexts) {
        LlDefineVariable(job, name, text);
        LlDefineField(job, name, text);
    }
    defineNumberFormat(job, QStringLiteral("ZahlFormatMenge"), setupInteger(QStringLiteral("DezStMengeDruck")));
    defineNumberFormat(job, QStringLiteral("ZahlFormatPreis"), setupInteger(QStringLiteral("DezStPreisDruck")));
    defineNumberFormat(job, QStringLiteral("ZahlFormatGPreis"), setupInteger(QStringLiteral("DezStGPreisDruck")));
    for (const QString &n : {QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3")}) {
        LlDefineVariable(job, QStringLiteral("Bank") + n, setupText(QStringLiteral("Bank") + n));
        LlDefineVariable(job, QStringLiteral("BLZ") + n, setupText(QStringLiteral("Blz") + n));
        LlDefineVariable(job, QStringLiteral("KtoNr") + n, setupText(QStringLiteral("KtoNr") + n));
    }
    defineTaxRate(job, QStringLiteral("1"), date);
    defineTaxRate(job, QStringLiteral("2"), date);
    return true;
}

void ReportFields::defineNumberFormat(int job, const QString &name, int decimals)
{
    QString format = QStringLiteral("--,---,--&");
    if (decimals > 0)
        format += QLatin1Char('.') + QString(decimals, QLatin1Char('#'));
    LlDefineVariable(job, name, format);
    LlDefineField(job, name, format);
    LlDefineFieldExt(job, name + QLatin1Char('F'), format, report::LL_TEXT | report::LL_TABLE_FOOTERFIELD, QString());
}

void ReportFields::defineTaxRate(int job, const QString &key, TDateTime date)
{
    const QString rate = numberText(GetSteuerProz(key, date));
    const QString name = QStringLiteral("Steuersatz") + key;
    LlDefineVariableExt(job, name, rate, report::LL_NUMERIC, QString());
    LlDefineFieldExt(job, name, rate, report::LL_NUMERIC | report::LL_TABLE_FOOTERFIELD, QString());
}

double ReportFields::GetSteuerProz(const QString &key, TDateTime date)
{
    const QString caption = QStringLiteral("GetSteuerProz()");
    if (!isOpenWithRecords(tcSetup))
        return 0;
    if (!isOpenWithRecords(tcStSatz)) {
        m_data.reportOnce(caption, QStringLiteral("Datei StSatz.db ist nicht geöffnet!"));
        return 0;
    }
    return remembered(m_data.job().taxRates, key + QLatin1Char('\n') + QString::number(date, 'g', 17),
                      [&] { return lookUpTaxRate(key, date); });
}

double ReportFields::lookUpTaxRate(const QString &key, TDateTime date)
{
    const QString caption = QStringLiteral("GetSteuerProz()");
    if (key.isEmpty() || key.size() > 2) {
        m_data.reportOnce(caption, QStringLiteral("Steuersatz ") + key + QStringLiteral(" ist ungültig!"));
        return 0;
    }
    const QString padded = key.rightJustified(2, QLatin1Char(' '));
    if (!locateTaxKey(padded, key)) {
        m_data.reportOnce(caption,
                          QStringLiteral("Der Steuersatz ") + padded + QStringLiteral(" ist nicht vorhanden!"));
        return 0;
    }
    TField *validFrom = tcStSatz->FieldByName(QStringLiteral("GueltigAb"));
    if (!validFrom->IsNull() && validFrom->AsDateTime() != 0 && validFrom->AsDateTime() > date)
        return tcStSatz->FieldByName(QStringLiteral("steuerAlt"))->AsFloat();
    return tcStSatz->FieldByName(QStringLiteral("steuer"))->AsFloat();
}

bool ReportFields::locateTaxKey(const QString &paddedKey, const QString &key)
{
    const QString field = QStringLiteral("steuersatz");
    if (tcStSatz->FieldByName(field)->AsString() == paddedKey)
        return true;
    if (tcStSatz->Locate(field, paddedKey, 0))
        return true;
    QString unpadded = key;
    while (unpadded.startsWith(QLatin1Char(' ')))
        unpadded.remove(0, 1);
    return tcStSatz->Locate(field, unpadded, 0);
}

void ReportFields::TCDefineFields(int job, TTable *table, bool asVariables, bool empty, const QString &prefix)
{
    if (!table || !table->Active())
        return;
    const bool noRecord = empty || IsTableEmpty(table);
    if (table == tc) {
        const QScopedValueRollback<bool> definingRecord(m_definingRecord, true);
        defineAllFields(job, table, asVariables, noRecord, prefix);
        return;
    }
    const QScopedValueRollback<bool> definingMissing(m_definingMissingRecord, noRecord);
    // A looked-up record defines the same values each time within a job
    // (nothing is written before the job has printed): they are made once.
    const QString key = QStringLiteral("%1 %2 %3 %4 %5 ")
                            .arg(quintptr(table))
                            .arg(noRecord ? -1 : table->GetBookmark().rowId)
                            .arg(int(asVariables))
                            .arg(int(m_data.job().euroDruck))
                            .arg(prefix);
    QHash<QString, QVector<DefinedValue>> &known = m_data.job().lookedUpRecords;
    const auto found = known.constFind(key);
    if (found != known.cend()) {
        for (const DefinedValue &value : *found)
            passToEngine(job, value);
        return;
    }
    QVector<DefinedValue> made;
    m_madeDefinitions = &made;
    try {
        defineAllFields(job, table, asVariables, noRecord, prefix);
    } catch (...) {
        m_madeDefinitions = nullptr;
        throw;
    }
    m_madeDefinitions = nullptr;
    known.insert(key, made);
}

void ReportFields::defineAllFields(int job, TTable *table, bool asVariables, bool empty, const QString &prefix)
{
    for (int i = 0; i < table->FieldCount(); ++i)
        defineTableField(job, table, i, asVariables, empty, prefix);
}

void ReportFields::passToEngine(int job, const DefinedValue &value)
{
    if (m_madeDefinitions)
        m_madeDefinitions->append(value);
    // The engine tells names apart without regard to case.
    const QString engineName = (value.asVariable ? QStringLiteral("V ") : QStringLiteral("F ")) + value.name.toLower();
    if (m_definingRecord)
        m_recordNames.insert(engineName);
    else if (m_definingMissingRecord && m_recordNames.contains(engineName))
        return;
    if (value.isPicture) {
        if (value.asVariable)
            LlDefineVariableExtHandle(job, value.name, value.picture, value.type, QString());
        else
            LlDefineFieldExtHandle(job, value.name, value.picture, value.type, QString());
    } else if (value.asVariable) {
        LlDefineVariableExt(job, value.name, value.contents, value.type, QString());
    } else {
        LlDefineFieldExt(job, value.name, value.contents, value.type, QString());
    }
}

void ReportFields::defineTableField(int job, TTable *table, int index, bool asVariables, bool empty,
                                    const QString &prefix)
{
    TField *field = table->Fields(index);
    const int type = reportTypeOf(field->DataType());
    if (type == 0)
        return;
    if (type == report::LL_DRAWING_HBITMAP) {
        definePicture(job, table, index, asVariables, empty, prefix);
        return;
    }
    if (field->DataType() == ftDate || field->DataType() == ftDateTime)
        useGermanShortDates();
    const QString contents = empty ? QString() : field->AsString();
    defineFieldOfRecord(job, table, prefix, field->FieldName(), contents, type, asVariables, empty);
}

void ReportFields::definePicture(int job, TTable *table, int index, bool asVariables, bool empty, const QString &prefix)
{
    TField *field = table->Fields(index);
    m_picture = empty ? QImage() : decodedPicture(field->AsBytes());
    passToEngine(job,
                 {prefix + field->FieldName(), QString(), m_picture, report::LL_DRAWING_HBITMAP, asVariables, true});
}

// Labels and lists repeat the same picture on many records; decoding it
// once is enough.
QImage ReportFields::decodedPicture(const QByteArray &bytes)
{
    if (const QImage *known = m_pictures.object(bytes))
        return *known;
    const QImage image = QImage::fromData(bytes);
    m_pictures.insert(bytes, new QImage(image), std::max<qsizetype>(1, image.sizeInBytes() / 1024));
    return image;
}

void ReportFields::DefineField(int job, TTable *table, const QString &prefix, const QString &fieldName,
                               const QString &contents, int type, bool asVariable)
{
    defineFieldOfRecord(job, table, prefix, fieldName, contents, type, asVariable, false);
}

void ReportFields::defineFieldOfRecord(int job, TTable *table, const QString &prefix, const QString &fieldName,
                                       const QString &contents, int type, bool asVariable, bool empty)
{
    defineTrio(job, table, prefix, fieldName, contents, type, asVariable, empty);
    if (!asVariable)
        return;
    defineTrio(job, table, kopfPrefix + prefix, fieldName, contents, type | report::LL_TABLE_HEADERFIELD, false, empty);
    defineTrio(job, table, fussPrefix + prefix, fieldName, contents, type | report::LL_TABLE_FOOTERFIELD, false, empty);
}

void ReportFields::DefineCurrencyTrio(int job, TTable *table, const QString &prefix, const QString &fieldName,
                                      const QString &contents, int type, bool asVariable)
{
    defineTrio(job, table, prefix, fieldName, contents, type, asVariable, false);
}

// An empty definition leaves the euro twin empty too: the table's cursor
// stands on some other record then.
void ReportFields::defineTrio(int job, TTable *table, const QString &prefix, const QString &fieldName,
                              const QString &contents, int type, bool asVariable, bool empty)
{
    if (!fieldName.endsWith(waeSuffix)) {
        if (!hasFieldExactly(table, fieldName + waeSuffix))
            defineValue(job, prefix + fieldName, contents, type, asVariable);
        return;
    }
    const QString baseName = fieldName.chopped(waeSuffix.size());
    const QString euro = empty ? QString() : table->FieldByName(baseName)->AsString();
    defineValue(job, prefix + baseName, m_data.job().euroDruck ? euro : contents, type, asVariable);
    defineValue(job, prefix + fieldName, contents, type, asVariable);
    defineValue(job, prefix + baseName + QStringLiteral("Euro"), euro, type, asVariable);
}

void ReportFields::defineValue(int job, const QString &name, const QString &contents, int type, bool asVariable)
{
    passToEngine(job, {name, contents, QImage(), type, asVariable, false});
}

void ReportFields::DefineEuroVariable(int job, const QString &name, double euroAmount, double currencyAmount)
{
    defineEuroAmounts(job, name, report::LL_NUMERIC, euroAmount, currencyAmount, true);
}

void ReportFields::DefineEuroField(int job, const QString &name, int type, double euroAmount, double currencyAmount)
{
    defineEuroAmounts(job, name, type, euroAmount, currencyAmount, false);
}

void ReportFields::DefineEmptyEuroAmount(int job, const QString &name, int type, bool asVariable)
{
    defineEuroTexts(job, name, type, QString(), QString(), asVariable);
}

void ReportFields::defineEuroAmounts(int job, const QString &name, int type, double euroAmount, double currencyAmount,
                                     bool asVariable)
{
    defineEuroTexts(job, name, type, numberText(euroAmount), numberText(currencyAmount), asVariable);
}

void ReportFields::defineEuroTexts(int job, const QString &name, int type, const QString &euroText,
                                   const QString &currencyText, bool asVariable)
{
    defineValue(job, name, m_data.job().euroDruck ? euroText : currencyText, type, asVariable);
    defineValue(job, name + QStringLiteral("Euro"), euroText, type, asVariable);
    defineValue(job, name + waeSuffix, currencyText, type, asVariable);
}

bool ReportFields::DefineBarcodes(int job, const QString &value, const QString &name)
{
    const QString ean13Prefix = GetDruckPara(QStringLiteral("Init"), QStringLiteral("EAN13Prefix")).trimmed();
    const QString code128 = value.rightJustified(15, QLatin1Char(' '));
    const QList<QPair<Barcode, QString>> barcodes = {
        {{"3of9", report::LL_BARCODE_3OF9}, value},
        {{"EAN8", report::LL_BARCODE_EAN8}, ean8Text(value)},
        {{"EAN13", report::LL_BARCODE_EAN13}, ean13Text(ean13Prefix + value)},
        {{"EAN128_Dick", report::LL_BARCODE_EAN128}, value},
        {{"CODE128_Dick", report::LL_BARCODE_CODE128}, value},
        {{"EAN128", report::LL_BARCODE_EAN128}, code128},
        {{"CODE128", report::LL_BARCODE_CODE128}, code128},
        {{"UPCA", report::LL_BARCODE_UPCA}, value},
        {{"UPCE", report::LL_BARCODE_UPCE}, value},
        {{"25INDUSTRIAL", report::LL_BARCODE_25INDUSTRIAL}, value},
        {{"25DATALOGIC", report::LL_BARCODE_25DATALOGIC}, value},
        {{"25MATRIX", report::LL_BARCODE_25MATRIX}, value},
        {{"POSTNET", report::LL_BARCODE_POSTNET}, value},
        {{"FIM", report::LL_BARCODE_FIM}, value},
        {{"CODABAR", report::LL_BARCODE_CODABAR}, value}};
    // No value is no barcode: padded, it would scan as the number zero.
    for (const auto &[barcode, contents] : barcodes) {
        const QString variable =
            QStringLiteral("Barcode_") + name + QLatin1Char('_') + QString::fromLatin1(barcode.symbology);
        LlDefineVariableExt(job, variable, value.isEmpty() ? QString() : contents, barcode.type, QString());
    }
    return true;
}

bool ReportFields::DefineLookup(int job, TTable *table, const QVariantList &key, bool asVariables,
                                const QString &prefix)
{
    const bool found = isOpenWithRecords(table) && table->FindKey(key);
    TCDefineFields(job, table, asVariables, !found, prefix);
    return found;
}

QString ReportFields::GetDruckPara(const QString &section, const QString &key) const
{
    return remembered(m_data.job().iniSettings, section + QLatin1Char('\n') + key,
                      [&] { return TIniFile(ProgramIniPath()).ReadString(section, key, QString()); });
}

QString ReportFields::numberText(double value)
{
    return FloatToStr(value);
}

} // namespace printroad
