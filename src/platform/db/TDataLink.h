#pragma once

#include "platform/db/DbTypes.h"
#include "platform/db/TField.h"

#include <QObject>
#include <QPointer>

class TDataSource;

// The framework's link between a data-aware control and a data source. Its
// virtual notifications are what a control overrides.
class TDataLink : public QObject
{
    Q_OBJECT
public:
    explicit TDataLink(QObject *owner = nullptr);
    ~TDataLink() override;

    TDataSource *DataSource() const { return m_dataSource; }
    void SetDataSource(TDataSource *source);
    TDataSet *DataSet() const;
    bool Active() const { return m_active; }
    bool Editing() const { return m_editing; }
    bool ReadOnly() const { return m_readOnly; }
    void SetReadOnly(bool readOnly);
    int BufferCount() const { return m_bufferCount; }
    void SetBufferCount(int count);
    // Selects which buffered record the fields show; no scrolling, no events.
    int ActiveRecord() const;
    void SetActiveRecord(int index);
    int RecordCount() const;
    bool Edit();
    void UpdateRecord();

    // Called by the data source.
    void dataEvent(TDataEvent event, TField *field, int info);

protected:
    virtual void ActiveChanged() {}
    virtual void CheckBrowseMode() {}
    virtual void DataSetChanged() { RecordChanged(nullptr); }
    virtual void DataSetScrolled(int distance);
    virtual void FocusControl(TField **field) { Q_UNUSED(field); }
    virtual void EditingChanged() {}
    virtual void LayoutChanged() { DataSetChanged(); }
    virtual void RecordChanged(TField *field) { Q_UNUSED(field); }
    virtual void UpdateData() {}

private:
    void updateState();

    QPointer<TDataSource> m_dataSource;
    bool m_active = false;
    bool m_editing = false;
    bool m_readOnly = false;
    bool m_updating = false;
    int m_bufferCount = 1;
};

// A link for one field of the data set (edit controls).
class TFieldDataLink : public TDataLink
{
    Q_OBJECT
public:
    explicit TFieldDataLink(QObject *owner = nullptr);

    const QString &FieldName() const { return m_fieldName; }
    void SetFieldName(const QString &name);
    TField *Field() const { return m_field; }
    bool CanModify() const;
    void Modified() { m_modified = true; }
    void Reset();

    std::function<void()> OnDataChange;
    std::function<void()> OnEditingChange;
    std::function<void()> OnUpdateData;
    std::function<void()> OnActiveChange;
    // Gives the control its focus when its field asks for it.
    std::function<void()> OnFocusControl;

protected:
    void ActiveChanged() override;
    void EditingChanged() override;
    void FocusControl(TField **field) override;
    void LayoutChanged() override;
    void RecordChanged(TField *field) override;
    void UpdateData() override;

private:
    void updateField();

    QString m_fieldName;
    QPointer<TField> m_field;
    bool m_modified = false;
};
