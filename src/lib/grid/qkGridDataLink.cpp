#include "lib/grid/qkGridDataLink.h"

#include "lib/grid/qkCustomDBGrid.h"
#include "platform/db/TDataSet.h"

#include <stdexcept>

TqkGridDataLink::TqkGridDataLink(TqkCustomDBGrid *grid) : TDataLink(grid), m_grid(grid)
{}

bool TqkGridDataLink::AddMapping(const QString &fieldName)
{
    TDataSet *dataSet = DataSet();
    TField *field = dataSet ? dataSet->FindField(fieldName) : nullptr;
    if (!field)
        return false;
    if (m_fieldMap.size() >= MaxMapSize)
        throw EInvalidGridOperation(QStringLiteral("Gitter soll mehr als 256 Spalten darstellen"));
    if (m_fieldMap.isEmpty())
        m_fieldMap.reserve(8);
    m_fieldMap.append(field->Index());
    return true;
}

void TqkGridDataLink::ClearMapping()
{
    m_fieldMap.clear();
    m_fieldMap.squeeze();
}

TField *TqkGridDataLink::GetFields(int index) const
{
    TDataSet *dataSet = DataSet();
    if (!dataSet || index < 0 || index >= m_fieldMap.size() || m_fieldMap[index] >= dataSet->FieldCount())
        return nullptr;
    return dataSet->Fields(m_fieldMap[index]);
}

void TqkGridDataLink::ActiveChanged()
{
    m_grid->LinkActive(Active());
}

void TqkGridDataLink::DataSetChanged()
{
    m_grid->DataChanged();
    m_modified = false;
}

void TqkGridDataLink::DataSetScrolled(int distance)
{
    m_grid->Scroll(distance);
}

void TqkGridDataLink::EditingChanged()
{
    m_grid->EditingChanged();
}

void TqkGridDataLink::LayoutChanged()
{
    m_grid->LayoutChanged();
}

void TqkGridDataLink::RecordChanged(TField *field)
{
    m_grid->RecordChanged(field);
}

void TqkGridDataLink::UpdateData()
{
    m_inUpdateData = true;
    try {
        m_grid->UpdateData();
    } catch (...) {
        m_inUpdateData = false;
        throw;
    }
    m_inUpdateData = false;
}

TqkColumn::TqkColumn(const QString &fieldName, TqkCustomDBGrid *grid, bool spare)
    : m_fieldName(fieldName), m_grid(grid), m_spare(spare)
{}

void TqkColumn::SetFooterValue(const QString &value)
{
    if (m_spare || value == m_footerValue)
        return;
    m_footerValue = value;
    m_grid->InvalidateFooter();
}

bool TqkColumn::GetReadOnly() const
{
    return !m_spare && m_grid->ColumnReadOnlyByLine(m_fieldName);
}
