#include "platform/db/TDataSource.h"

#include "platform/db/TDataLink.h"
#include "platform/db/TDataSet.h"

TDataSource::TDataSource(QObject *owner) : QObject(owner)
{}

TDataSource::~TDataSource()
{
    if (m_dataSet)
        m_dataSet->detachDataSource(this);
    for (TDataLink *link : std::as_const(m_links))
        link->SetDataSource(nullptr);
}

void TDataSource::SetDataSet(TDataSet *dataSet)
{
    if (dataSet == m_dataSet)
        return;
    if (m_dataSet)
        m_dataSet->detachDataSource(this);
    m_dataSet = dataSet;
    if (m_dataSet)
        m_dataSet->attachDataSource(this);
    DataEvent(deUpdateState, nullptr, 0);
}

void TDataSource::SetEnabled(bool enabled)
{
    m_enabled = enabled;
    DataEvent(deUpdateState, nullptr, 0);
}

TDataSetState TDataSource::State() const
{
    return (m_enabled && m_dataSet) ? m_dataSet->State() : dsInactive;
}

void TDataSource::Edit()
{
    if (m_autoEdit && State() == dsBrowse)
        m_dataSet->Edit();
}

bool TDataSource::IsLinkedTo(TDataSet *dataSet) const
{
    return m_dataSet == dataSet;
}

void TDataSource::notifyLinks(TDataEvent event, TField *field, int info)
{
    const QList<TDataLink *> links = m_links;
    for (TDataLink *link : links)
        if (m_links.contains(link))
            link->dataEvent(event, field, info);
}

void TDataSource::DataEvent(TDataEvent event, TField *field, int info)
{
    if (event == deUpdateState) {
        const TDataSetState state = State();
        if (state == m_lastState)
            return;
        m_lastState = state;
        notifyLinks(deUpdateState, nullptr, 0);
        if (m_onStateChange)
            m_onStateChange(this);
        return;
    }
    if (State() == dsInactive)
        return;
    notifyLinks(event, field, info);
    switch (event) {
    case deFieldChange:
    case deRecordChange:
    case deDataSetChange:
    case deDataSetScroll:
    case deLayoutChange:
        if (m_onDataChange)
            m_onDataChange(this, event == deFieldChange ? field : nullptr);
        break;
    case deUpdateRecord:
        if (m_onUpdateData)
            m_onUpdateData(this);
        break;
    default:
        break;
    }
}

void TDataSource::addLink(TDataLink *link)
{
    if (!m_links.contains(link))
        m_links.append(link);
}

void TDataSource::removeLink(TDataLink *link)
{
    m_links.removeAll(link);
}

int TDataSource::maxBufferCount() const
{
    int count = 1;
    for (TDataLink *link : m_links)
        count = std::max(count, link->BufferCount());
    return count;
}
