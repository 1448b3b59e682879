#pragma once

#include "platform/db/DbTypes.h"

#include <QList>
#include <QObject>
#include <QPointer>

class TDataLink;

using TDataChangeEvent = std::function<void(QObject *sender, TField *field)>;
using TNotifyEvent = std::function<void(QObject *sender)>;
Q_DECLARE_METATYPE(TDataChangeEvent)
Q_DECLARE_METATYPE(TNotifyEvent)

// Connects a data set to its data-aware links and passes on its events.
class TDataSource : public QObject
{
    Q_OBJECT
    Q_PROPERTY(TDataSet *DataSet READ DataSet WRITE SetDataSet)
    Q_PROPERTY(bool Enabled READ Enabled WRITE SetEnabled)
    Q_PROPERTY(bool AutoEdit READ AutoEdit WRITE SetAutoEdit)
    Q_PROPERTY(int State READ StateOrdinal)
    Q_PROPERTY(QString Name READ objectName WRITE setObjectName)
    Q_PROPERTY(TDataChangeEvent OnDataChange READ OnDataChange WRITE SetOnDataChange)
    Q_PROPERTY(TNotifyEvent OnStateChange READ OnStateChange WRITE SetOnStateChange)
    Q_PROPERTY(TNotifyEvent OnUpdateData READ OnUpdateData WRITE SetOnUpdateData)
public:
    explicit TDataSource(QObject *owner = nullptr);
    ~TDataSource() override;

    TDataSet *DataSet() const { return m_dataSet; }
    void SetDataSet(TDataSet *dataSet);
    bool Enabled() const { return m_enabled; }
    void SetEnabled(bool enabled);
    bool AutoEdit() const { return m_autoEdit; }
    void SetAutoEdit(bool autoEdit) { m_autoEdit = autoEdit; }
    TDataSetState State() const;
    int StateOrdinal() const { return State(); }
    void Edit();
    bool IsLinkedTo(TDataSet *dataSet) const;

    TDataChangeEvent OnDataChange() const { return m_onDataChange; }
    void SetOnDataChange(const TDataChangeEvent &handler) { m_onDataChange = handler; }
    TNotifyEvent OnStateChange() const { return m_onStateChange; }
    void SetOnStateChange(const TNotifyEvent &handler) { m_onStateChange = handler; }
    TNotifyEvent OnUpdateData() const { return m_onUpdateData; }
    void SetOnUpdateData(const TNotifyEvent &handler) { m_onUpdateData = handler; }

    // Used by the data set and the links.
    void DataEvent(TDataEvent event, TField *field, int info);
    void addLink(TDataLink *link);
    void removeLink(TDataLink *link);
    int maxBufferCount() const;
    const QList<TDataLink *> &links() const { return m_links; }

private:
    void notifyLinks(TDataEvent event, TField *field, int info);

    QPointer<TDataSet> m_dataSet;
    QList<TDataLink *> m_links;
    bool m_enabled = true;
    bool m_autoEdit = true;
    TDataSetState m_lastState = dsInactive;
    TDataChangeEvent m_onDataChange;
    TNotifyEvent m_onStateChange;
    TNotifyEvent m_onUpdateData;
};
