#pragma once

#include "platform/report/Definitions.h"
#include "platform/report/Layout.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace report {

// The German names the designer shows for kinds of objects and table lines.
QString objectKindName(ObjectKind kind);
const QStringList &rowPartNames();
// How the user knows an object: its name, else its kind.
QString nameOf(const LayoutObject &object);

// Names an element of a layout uses that the job never defined where the
// element looks them up: page and label objects see the variables, table
// lines the fields and the variables.
struct UnknownNames
{
    QString element;
    QStringList names;
};

QList<UnknownNames> unknownNames(const Layout &layout, const Definitions &variables, const Definitions &fields);

// How the user knows a line of a table: „Tabelle, Datenzeile 2“.
QString rowName(const TableDef &table, const TableRow &row);

// Looks names up in another scope and keeps those it does not find, so that
// what an element printed empty for want of a definition can be told.
class CheckedScope : public NameScope
{
public:
    explicit CheckedScope(const NameScope &inner) : m_inner(inner) {}
    const Definition *lookup(const QString &name) const override;
    // The names not found so far, each once.
    const QStringList &missing() const { return m_missing; }

private:
    const NameScope &m_inner;
    mutable QStringList m_missing;
};

// One line per element, as the user reads it: „Titel“: Gibtsnicht, steuer1
QString describeUnknownNames(const QList<UnknownNames> &unknown);
// The same under a heading that says what is wrong with them.
QString unknownNamesMessage(const QList<UnknownNames> &unknown);

}
