#pragma once

#include "platform/db/TTable.h"

#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

// A folder of tables for one test; tables are created through the layer's
// own CreateTable, as the demo builder does.
class DbFixture : public ::testing::Test
{
protected:
    QString folder() const { return m_dir.path(); }
    QString path(const QString &file) const { return m_dir.filePath(file); }

    std::unique_ptr<TTable> table(const QString &name);
    std::unique_ptr<TTable> openTable(const QString &name, const QString &index = QString());

    // Kunden: Nr I (key), Name A30, Vorname A20, Ort A20, Umsatz $, Seit D,
    // Aktiv L, Notiz M; index NameIdx (Name, Vorname) case-insensitive.
    void createCustomers();
    void addCustomer(TTable &table, int nr, const QString &name, const QString &vorname, const QString &ort,
                     double umsatz, const QString &seit);
    void fillCustomers();
    // Positionen: Auftragnr I, Posnr S (key), Artikel A10, Menge N.
    void createPositions(int orders, int positionsPerOrder);

    QStringList names(TTable &table, const QString &field = QStringLiteral("Name"));

private:
    QTemporaryDir m_dir;
};
