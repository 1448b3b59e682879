#include "mail/parsermodul.h"

#include "mail/NCTable.h"

namespace {

struct SetupVariable
{
    const char *name;
    const char *setupField; // null: starts at integer 0
};

// The company values, in their fixed order of registration; "Seitenumbruch"
// and "Währung" are special and placed by RegisterSetupVariables.
const SetupVariable CompanyVariables[] = {
    {"Firmenabsender", "FensterAbsender"},
    {"WährungEuro", "EuroBezeichnung"},
    {"WährungDM", "Waehrung"},
    {"SteuerBezeichnung", "BezSteuer"},
    {"Mwst1", "Mwst1"},
    {"Mwst2", "Mwst2"},
    {"Bank1", "Bank1"},
    {"BLZ1", "Blz1"},
    {"KtoNr1", "KtoNr1"},
    {"Bank2", "Bank2"},
    {"BLZ2", "Blz2"},
    {"KtoNr2", "KtoNr2"},
    {"Bank3", "Bank3"},
    {"BLZ3", "Blz3"},
    {"KtoNr3", "KtoNr3"},
};

const char *const RunningSums[] = {"Übertrag", "ÜbertragBlock", "SummeMenge", "SummeMengeBlock"};

const QString CommandNames[] = {QStringLiteral("Wenn"), QStringLiteral("EndeWenn"), QStringLiteral("Var")};

} // namespace

void TFormatlistItem::Assign(FormatItemKind kind, const QString &name, const QString &qualifiedName,
                             const QString &text, qint32 areas, const mail::Variant &value, TNCTable *table)
{
    Kind = kind;
    Name = name;
    QualifiedName = qualifiedName;
    Text = text;
    Areas = areas;
    Value = value;
    Table = table;
}

void TFormatlistItem::SetCommand(const QString &name, const QString &qualifiedName, qint32 areas, const QString &text)
{
    Assign(fikCommand, name, qualifiedName, text, areas, QString(), nullptr);
}

void TFormatlistItem::SetField(const QString &name, const QString &qualifiedName, const QString &text, qint32 areas,
                               TNCTable *table)
{
    Assign(fikField, name, qualifiedName, text, areas, QString(), table);
}

void TFormatlistItem::SetVariable(const QString &name, const QString &qualifiedName, const mail::Variant &value,
                                  const QString &text)
{
    Assign(fikVariable, name, qualifiedName, text, AllAreas, value, nullptr);
}

mail::Variant TFormatlistItem::CurrentValue() const
{
    if (Kind == fikField && Table) {
        Table->ApplyDeferredPositioning();
        return mail::FieldVariant(*Table, Name);
    }
    return Value;
}

TFormatlistItem *TFormatlist::AddItem()
{
    m_items.push_back(std::make_unique<TFormatlistItem>());
    return m_items.back().get();
}

void TFormatlist::Delete(int index)
{
    m_items.erase(m_items.begin() + index);
}

void TFormatlist::Clear()
{
    m_items.clear();
}

int TFormatlist::IndexOfName(const QString &name) const
{
    for (int i = 0; i < Count(); ++i) {
        if (m_items[i]->Name == name)
            return i;
    }
    return -1;
}

int TFormatlist::IndexOfQualifiedName(const QString &qualifiedName) const
{
    for (int i = 0; i < Count(); ++i) {
        if (m_items[i]->QualifiedName == qualifiedName)
            return i;
    }
    return -1;
}

TFormatlistItem *TFormatlist::FindQualifiedThenName(const QString &name) const
{
    int index = IndexOfQualifiedName(name);
    if (index < 0)
        index = IndexOfName(name);
    return index < 0 ? nullptr : GetItem(index);
}

void TFormatlist::RegisterTemplateCommands()
{
    for (const QString &command : CommandNames)
        AddItem()->SetCommand(command, command, AllAreas, command);
}

void TFormatlist::RegisterTableFields(TNCTable *table, qint32 areas)
{
    for (const QString &field : mail::FieldNames(*table))
        AddItem()->SetField(field, table->Prefix + QLatin1Char('_') + field, field, areas, table);
}

void TFormatlist::RegisterSetupVariables(const QString &dataPath, const TNCTable &documentHead)
{
    RegisterSetupVariables(mail::TableReader(dataPath, QStringLiteral("Setup.db")), documentHead);
}

void TFormatlist::RegisterSetupVariables(const mail::TableReader &setup, const TNCTable &documentHead)
{
    const auto addVariable = [this](const QString &name, const mail::Variant &value) {
        AddItem()->SetVariable(name, QStringLiteral("Var_") + name, value, name);
    };
    addVariable(QStringLiteral("Seite"), 0);
    addVariable(QStringLiteral("Seitenumbruch"), false);
    for (const SetupVariable &variable : CompanyVariables)
        addVariable(QString::fromUtf8(variable.name), setup.Value(QString::fromUtf8(variable.setupField)));
    const bool euro = mail::FieldVariant(documentHead, QStringLiteral("Euro")).toText() == QStringLiteral("J");
    addVariable(QStringLiteral("Währung"),
                setup.Value(euro ? QStringLiteral("EuroBezeichnung") : QStringLiteral("Waehrung")));
    for (const char *sum : RunningSums)
        addVariable(QString::fromUtf8(sum), 0);
}

void TFormatlist::ClearValuesAndVariables()
{
    for (int i = Count() - 1; i >= 0; --i) {
        TFormatlistItem *item = GetItem(i);
        if (item->Kind == fikVariable)
            Delete(i);
        else if (item->Kind == fikCommand)
            item->Value = mail::Variant(QString());
    }
}
