#pragma once

#include "platform/db/TDataSet.h"
#include "platform/db/TDataSource.h"
#include "platform/db/TTable.h"

#include <QStringList>
#include <QTemporaryDir>
#include <QWidget>

#include <gtest/gtest.h>

#include <memory>

namespace fixture {

// A table publishing the library's list properties, as the library's own
// data sets do.
class ListTable : public TTable
{
    Q_OBJECT
    Q_PROPERTY(QStringList PictureMasks MEMBER PictureMasks)
    Q_PROPERTY(QStringList ControlType MEMBER ControlType)
    Q_PROPERTY(QStringList LookupFields MEMBER LookupFields)
    Q_PROPERTY(QStringList LookupLinks MEMBER LookupLinks)

public:
    using TTable::TTable;
    QStringList PictureMasks;
    QStringList ControlType;
    QStringList LookupFields;
    QStringList LookupLinks;
};

// A data-aware control as the edit controls publish their data source.
class DataSourceControl : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(TDataSource *DataSource MEMBER DataSource)

public:
    using QWidget::QWidget;
    TDataSource *DataSource = nullptr;
};

} // namespace fixture

// Kunden: Nr I (key), Name A30, Plz A5, Umsatz $, Seit D, Aktiv L, Notiz M,
// Bild B; index NameIdx (Name) case-insensitive, PlzIdx (Plz), UmsatzIdx
// (Umsatz) and SeitIdx (Seit) case-sensitive.
class LibraryTables : public testing::Test
{
protected:
    void SetUp() override;
    std::unique_ptr<fixture::ListTable> openCustomers(const QString &index = QString());
    // Orte: Land A3, Plz A5, Ort A30, Info M; key (Land, Plz); index OrtIdx
    // (Ort) case-insensitive, PlzIdx (Plz); rows D/50667 Köln, D/53111 Bonn.
    void createPlaces();
    std::unique_ptr<TTable> openPlaces();
    static void addCustomer(TTable &table, int nr, const QString &name, const QString &plz, double umsatz,
                            const QString &seit);
    QString folder() const { return m_dir.path(); }

private:
    QTemporaryDir m_dir;
};
