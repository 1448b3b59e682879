#include "platform/db/TDataLink.h"

#include "platform/db/TDataSet.h"
#include "platform/db/TDataSource.h"
#include "platform/db/TField.h"

TDataLink::TDataLink(QObject *owner) : QObject(owner)
{}

TDataLink::~TDataLink()
{
    if (m_dataSource)
        m_dataSource->removeLink(this);
}

void TDataLink::SetDataSource(TDataSource *source)
{
    if (source == m_dataSource)
        return;
    if (m_dataSource)
        m_dataSource->removeLink(this);
    m_dataSource = source;
    if (m_dataSource)
        m_dataSource->addLink(this);
    updateState();
}

TDataSet *TDataLink::DataSet() const
{
    return m_dataSource ? m_dataSource->DataSet() : nullptr;
}

void TDataLink::SetReadOnly(bool readOnly)
{
    m_readOnly = readOnly;
    updateState();
}

void TDataLink::SetBufferCount(int count)
{
    m_bufferCount = std::max(1, count);
    if (TDataSet *dataSet = DataSet(); dataSet && dataSet->Active())
        dataSet->updateLinkBuffers();
}

int TDataLink::ActiveRecord() const
{
    TDataSet *dataSet = DataSet();
    return dataSet ? dataSet->linkActiveRecord() : 0;
}

void TDataLink::SetActiveRecord(int index)
{
    if (TDataSet *dataSet = DataSet())
        dataSet->setLinkActiveRecord(index);
}

int TDataLink::RecordCount() const
{
    TDataSet *dataSet = DataSet();
    if (!dataSet || !dataSet->Active() || dataSet->IsEmpty())
        return 0;
    return std::min(m_bufferCount, dataSet->linkRecordCount());
}

bool TDataLink::Edit()
{
    if (!m_readOnly && m_dataSource)
        m_dataSource->Edit();
    return m_editing;
}

void TDataLink::UpdateRecord()
{
    m_updating = true;
    try {
        UpdateData();
    } catch (...) {
        m_updating = false;
        throw;
    }
    m_updating = false;
}

void TDataLink::DataSetScrolled(int distance)
{
    Q_UNUSED(distance);
    DataSetChanged();
}

void TDataLink::updateState()
{
    const TDataSetState state = m_dataSource ? m_dataSource->State() : dsInactive;
    const bool active = state != dsInactive;
    if (active != m_active) {
        m_active = active;
        ActiveChanged();
    }
    const bool editing = !m_readOnly && (state == dsEdit || state == dsInsert);
    if (editing != m_editing) {
        m_editing = editing;
        EditingChanged();
    }
}

void TDataLink::dataEvent(TDataEvent event, TField *field, int info)
{
    if (event == deUpdateState) {
        updateState();
        return;
    }
    if (!m_active)
        return;
    switch (event) {
    case deFieldChange:
    case deRecordChange:
        if (!m_updating)
            RecordChanged(field);
        break;
    case deDataSetChange:
        DataSetChanged();
        break;
    case deDataSetScroll:
        DataSetScrolled(info);
        break;
    case deLayoutChange:
        LayoutChanged();
        break;
    case deUpdateRecord:
        UpdateRecord();
        break;
    case deCheckBrowseMode:
        CheckBrowseMode();
        break;
    case deFocusControl:
        // The request is shared: the first link that takes it clears it.
        FocusControl(DataSet() ? DataSet()->focusRequest() : &field);
        break;
    default:
        break;
    }
}

TFieldDataLink::TFieldDataLink(QObject *owner) : TDataLink(owner)
{}

void TFieldDataLink::SetFieldName(const QString &name)
{
    if (name == m_fieldName)
        return;
    m_fieldName = name;
    updateField();
}

bool TFieldDataLink::CanModify() const
{
    return !ReadOnly() && m_field && m_field->CanModify();
}

void TFieldDataLink::Reset()
{
    RecordChanged(nullptr);
}

void TFieldDataLink::updateField()
{
    TDataSet *dataSet = DataSet();
    m_field = (Active() && dataSet && !m_fieldName.isEmpty()) ? dataSet->FindField(m_fieldName) : nullptr;
    m_modified = false;
    if (OnDataChange)
        OnDataChange();
}

void TFieldDataLink::ActiveChanged()
{
    updateField();
    if (OnActiveChange)
        OnActiveChange();
}

void TFieldDataLink::EditingChanged()
{
    if (OnEditingChange)
        OnEditingChange();
}

void TFieldDataLink::FocusControl(TField **field)
{
    if (!field || !*field || *field != m_field || !OnFocusControl)
        return;
    *field = nullptr;
    OnFocusControl();
}

void TFieldDataLink::LayoutChanged()
{
    updateField();
}

void TFieldDataLink::RecordChanged(TField *field)
{
    if (field && field != m_field)
        return;
    m_modified = false;
    if (OnDataChange)
        OnDataChange();
}

void TFieldDataLink::UpdateData()
{
    if (m_modified && OnUpdateData)
        OnUpdateData();
    m_modified = false;
}
