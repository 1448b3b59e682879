#pragma once

#include "platform/db/DbTypes.h"

#include <QByteArray>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QVariant>

class TDataSet;

// One column of a data set as callers see it. The value lives in the data
// set's active record; the field only knows where.
class TField : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString FieldName READ FieldName WRITE SetFieldName)
    Q_PROPERTY(QString DisplayLabel READ DisplayLabel WRITE SetDisplayLabel)
    Q_PROPERTY(QString DisplayName READ DisplayName)
    Q_PROPERTY(int DisplayWidth READ DisplayWidth WRITE SetDisplayWidth)
    Q_PROPERTY(bool Visible READ Visible WRITE SetVisible)
    Q_PROPERTY(int Index READ Index WRITE SetIndex)
    Q_PROPERTY(bool ReadOnly READ ReadOnly WRITE SetReadOnly)
    Q_PROPERTY(bool Required READ Required WRITE SetRequired)
    Q_PROPERTY(int Size READ Size WRITE SetSize)
    Q_PROPERTY(int FieldKind READ FieldKindOrdinal)
    Q_PROPERTY(int DataType READ DataTypeOrdinal)
    Q_PROPERTY(int FieldNo READ FieldNo)
    Q_PROPERTY(QString KeyFields READ KeyFields WRITE SetKeyFields)
    Q_PROPERTY(QString LookupKeyFields READ LookupKeyFields WRITE SetLookupKeyFields)
    Q_PROPERTY(QString LookupResultField READ LookupResultField WRITE SetLookupResultField)
    Q_PROPERTY(QString DisplayFormat READ DisplayFormat WRITE SetDisplayFormat)
    Q_PROPERTY(int Alignment READ AlignmentOrdinal WRITE SetAlignmentOrdinal)
    Q_PROPERTY(QString EditMask READ EditMask WRITE SetEditMask)
    Q_PROPERTY(TFieldNotifyEvent OnChange READ OnChange WRITE SetOnChange)
    Q_PROPERTY(TFieldNotifyEvent OnValidate READ OnValidate WRITE SetOnValidate)
public:
    TField(TDataSet *dataSet, const QString &fieldName, TFieldType dataType, int size, TFieldKind kind);

    TDataSet *DataSet() const { return m_dataSet; }
    const QString &FieldName() const { return m_fieldName; }
    void SetFieldName(const QString &name) { m_fieldName = name; }
    QString DisplayLabel() const { return m_displayLabel.isEmpty() ? m_fieldName : m_displayLabel; }
    void SetDisplayLabel(const QString &label);
    QString DisplayName() const { return DisplayLabel(); }
    int DisplayWidth() const;
    void SetDisplayWidth(int width);
    bool Visible() const { return m_visible; }
    void SetVisible(bool visible);
    int Index() const;
    void SetIndex(int index);
    bool ReadOnly() const { return m_readOnly; }
    void SetReadOnly(bool readOnly) { m_readOnly = readOnly; }
    bool Required() const { return m_required; }
    void SetRequired(bool required) { m_required = required; }
    int Size() const { return m_size; }
    void SetSize(int size) { m_size = size; }
    TFieldKind FieldKind() const { return m_kind; }
    int FieldKindOrdinal() const { return m_kind; }
    TFieldType DataType() const { return m_dataType; }
    int DataTypeOrdinal() const { return m_dataType; }
    // 1-based number of the stored column; 0 for calculated and lookup fields.
    int FieldNo() const { return m_kind == fkData ? m_slot + 1 : 0; }
    bool Calculated() const { return m_kind == fkCalculated; }
    bool Lookup() const { return m_kind == fkLookup; }
    bool IsBlob() const;
    bool CanModify() const;

    // Lookup definition (FieldKind fkLookup).
    TDataSet *LookupDataSet() const;
    void SetLookupDataSet(TDataSet *dataSet);
    const QString &KeyFields() const { return m_keyFields; }
    void SetKeyFields(const QString &fields) { m_keyFields = fields; }
    const QString &LookupKeyFields() const { return m_lookupKeyFields; }
    void SetLookupKeyFields(const QString &fields) { m_lookupKeyFields = fields; }
    const QString &LookupResultField() const { return m_lookupResultField; }
    void SetLookupResultField(const QString &field) { m_lookupResultField = field; }

    // Numbers take the picture language of FormatFloat, dates and times that
    // of FormatDateTime; empty means the default text.
    const QString &DisplayFormat() const { return m_displayFormat; }
    void SetDisplayFormat(const QString &format);
    // Numbers are right-justified unless set otherwise.
    TAlignment Alignment() const;
    void SetAlignment(TAlignment alignment);
    int AlignmentOrdinal() const { return Alignment(); }
    void SetAlignmentOrdinal(int alignment) { SetAlignment(TAlignment(alignment)); }
    const QString &EditMask() const { return m_editMask; }
    void SetEditMask(const QString &mask) { m_editMask = mask; }
    TFieldNotifyEvent OnChange() const { return m_onChange; }
    void SetOnChange(const TFieldNotifyEvent &handler) { m_onChange = handler; }
    TFieldNotifyEvent OnValidate() const { return m_onValidate; }
    void SetOnValidate(const TFieldNotifyEvent &handler) { m_onValidate = handler; }

    bool IsNull() const;
    void Clear();
    QVariant Value() const;
    void SetValue(const QVariant &value);
    QString AsString() const;
    void SetAsString(const QString &text);
    int AsInteger() const;
    void SetAsInteger(int value);
    double AsFloat() const;
    void SetAsFloat(double value);
    double AsCurrency() const { return AsFloat(); }
    void SetAsCurrency(double value) { SetAsFloat(value); }
    bool AsBoolean() const;
    void SetAsBoolean(bool value);
    TDateTime AsDateTime() const;
    void SetAsDateTime(TDateTime value);
    QVariant AsVariant() const { return Value(); }
    void SetAsVariant(const QVariant &value) { SetValue(value); }
    QString Text() const;
    void SetText(const QString &text) { SetAsString(text); }
    QString DisplayText() const;
    QByteArray AsBytes() const;
    void SetAsBytes(const QByteArray &bytes);
    void FocusControl();

    // The stored form of the value in the active record (used by the layer).
    QVariant storedValue() const;
    int slot() const { return m_slot; }
    void setSlot(int slot) { m_slot = slot; }

protected:
    virtual QString formatDisplay(bool forDisplay) const;

private:
    friend class TDataSet;
    void layoutChanged();
    // Raises EDatabaseError, naming the allowed range, for a whole number
    // outside what the field's type holds.
    void checkRange(const QVariant &stored) const;

    TDataSet *m_dataSet;
    QString m_fieldName;
    QString m_displayLabel;
    TFieldType m_dataType;
    int m_size;
    TFieldKind m_kind;
    int m_slot = -1;
    // Created by the data set for a column (not by the caller): freed on close.
    bool m_defaultField = false;
    int m_displayWidth = -1;
    int m_alignment = -1;
    bool m_visible = true;
    bool m_readOnly = false;
    bool m_required = false;
    QPointer<TDataSet> m_lookupDataSet;
    QString m_keyFields;
    QString m_lookupKeyFields;
    QString m_lookupResultField;
    QString m_displayFormat;
    QString m_editMask;
    TFieldNotifyEvent m_onChange;
    TFieldNotifyEvent m_onValidate;
};
