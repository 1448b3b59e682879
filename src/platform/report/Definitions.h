#pragma once

#include "platform/report/Value.h"

#include <QHash>
#include <QImage>
#include <QList>
#include <QString>

namespace report {

// One defined variable or field as the job handed it over.
struct Definition
{
    QString name;
    QString contents;
    int type = 0; // full type code including the header/footer flags
    QImage image;

    Value value() const;
    bool isPicture() const;
    bool headerOnly() const;
    bool footerOnly() const;
};

// The variables or the fields of a job. Names match without regard to case;
// a redefinition replaces the contents. Copies share their data until one of
// them changes, so keeping the fields of the last printed line is cheap.
class Definitions
{
public:
    void define(const QString &name, const QString &contents, int type);
    void defineImage(const QString &name, const QImage &image, int type);
    const Definition *find(const QString &name) const;
    QList<Definition> sorted() const;

private:
    QHash<QString, Definition> m_byName;
};

// Where an expression looks its names up.
class NameScope
{
public:
    virtual ~NameScope() = default;
    virtual const Definition *lookup(const QString &name) const = 0;
};

// Fields first (inside table lines), then variables.
class DefinitionScope : public NameScope
{
public:
    DefinitionScope(const Definitions *variables, const Definitions *fields) : m_variables(variables), m_fields(fields)
    {}
    const Definition *lookup(const QString &name) const override;

private:
    const Definitions *m_variables;
    const Definitions *m_fields;
};

}
