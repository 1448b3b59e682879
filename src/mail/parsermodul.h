#pragma once

#include "mail/Variant.h"

#include <QString>

#include <memory>
#include <vector>

class TNCTable;

namespace mail {
class TableReader;
}

// Kind of a vocabulary entry.
using FormatItemKind = qint32;
constexpr FormatItemKind fikCommand = 1;
constexpr FormatItemKind fikField = 2;
constexpr FormatItemKind fikVariable = 3;

// Area masks: one bit per template section 0 to 9.
constexpr qint32 AllAreas = 65535;
constexpr qint32 TableEntryArea = 32;
constexpr qint32 PartnerAreas = 63353;

// One name of the template vocabulary: a command, a table field or a variable.
class TFormatlistItem
{
public:
    FormatItemKind Kind = 0;
    QString Name;
    QString QualifiedName;
    QString Text;
    mail::Variant Value{QString()};
    qint32 Areas = AllAreas;
    TNCTable *Table = nullptr;

    void SetCommand(const QString &name, const QString &qualifiedName, qint32 areas, const QString &text);
    void SetField(const QString &name, const QString &qualifiedName, const QString &text, qint32 areas,
                  TNCTable *table);
    void SetVariable(const QString &name, const QString &qualifiedName, const mail::Variant &value,
                     const QString &text);

    // A command's or variable's value, or the current value of the field in
    // its table (null read as null).
    mail::Variant CurrentValue() const;

private:
    void Assign(FormatItemKind kind, const QString &name, const QString &qualifiedName, const QString &text,
                qint32 areas, const mail::Variant &value, TNCTable *table);
};

// The vocabulary: owns its items, keeps them in the order of registration.
class TFormatlist
{
public:
    TFormatlistItem *AddItem();
    TFormatlistItem *GetItem(int index) const { return m_items.at(index).get(); }
    int Count() const { return int(m_items.size()); }
    void Delete(int index);
    void Clear();

    // Exact, case-sensitive lookups; the first match wins; -1 when none.
    int IndexOfName(const QString &name) const;
    int IndexOfQualifiedName(const QString &qualifiedName) const;

    // The entry found by qualified name first, then by plain name; none: null.
    TFormatlistItem *FindQualifiedThenName(const QString &name) const;

    void RegisterTemplateCommands();
    void RegisterTableFields(TNCTable *table, qint32 areas);
    // The company values of "Setup.db" in the data path; the currency name
    // follows the document head's field "Euro".
    void RegisterSetupVariables(const QString &dataPath, const TNCTable &documentHead);
    // The same from a setup table the caller keeps open over many documents.
    void RegisterSetupVariables(const mail::TableReader &setup, const TNCTable &documentHead);

    // Empties every command's value and removes every variable.
    void ClearValuesAndVariables();

private:
    std::vector<std::unique_ptr<TFormatlistItem>> m_items;
};
