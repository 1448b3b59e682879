#pragma once

#include "platform/db/TDataLink.h"
#include "platform/db/TDataSet.h"
#include "platform/db/TDataSource.h"

#include <QString>
#include <QVector>

class TqkCustomDBGrid;

// The grid's link: it maps grid columns to field indexes of the data set and
// hands the data set's notifications to the grid.
class TqkGridDataLink : public TDataLink
{
    Q_OBJECT

public:
    static constexpr int MaxMapSize = 16380;

    explicit TqkGridDataLink(TqkCustomDBGrid *grid);

    // False when the data set has no field of that name.
    bool AddMapping(const QString &fieldName);
    void ClearMapping();
    int FieldCount() const { return int(m_fieldMap.size()); }
    TField *GetFields(int index) const;
    bool Modified() const { return m_modified; }
    void SetModified(bool modified) { m_modified = modified; }
    bool InUpdateData() const { return m_inUpdateData; }

protected:
    void ActiveChanged() override;
    void DataSetChanged() override;
    void DataSetScrolled(int distance) override;
    void EditingChanged() override;
    void LayoutChanged() override;
    void RecordChanged(TField *field) override;
    void UpdateData() override;

private:
    TqkCustomDBGrid *m_grid;
    QVector<int> m_fieldMap;
    bool m_modified = false;
    bool m_inUpdateData = false;
};

// One grid column: the field it shows and the text of its footer cell.
class TqkColumn
{
public:
    TqkColumn(const QString &fieldName, TqkCustomDBGrid *grid, bool spare = false);

    const QString &FieldName() const { return m_fieldName; }
    const QString &FooterValue() const { return m_footerValue; }
    // Repaints the footer when the text changes; the spare column keeps none.
    void SetFooterValue(const QString &value);
    bool GetReadOnly() const;

private:
    QString m_fieldName;
    TqkCustomDBGrid *m_grid;
    QString m_footerValue;
    bool m_spare;
};
