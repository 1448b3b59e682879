#include "platform/db/TField.h"

#include "platform/db/DbValues.h"
#include "platform/db/TDataSet.h"
#include "platform/db/TDataSource.h"
#include "platform/runtime/Conversions.h"
#include "platform/runtime/Exceptions.h"
#include "platform/runtime/FormatSettings.h"

#include <QDate>

#include <cmath>
#include <limits>
#include <optional>

namespace {

QString currencyText(double value)
{
    return FormatFloat(QStringLiteral("#,##0.00"), value) + QLatin1Char(' ') + FormatSettings().CurrencyString;
}

struct WholeNumberRange
{
    qint64 low;
    qint64 high;
};

// The whole numbers a field of the type can hold; none for other types.
std::optional<WholeNumberRange> wholeNumberRange(TFieldType type)
{
    switch (type) {
    case ftSmallint:
        return WholeNumberRange{std::numeric_limits<qint16>::min(), std::numeric_limits<qint16>::max()};
    case ftWord:
        return WholeNumberRange{0, std::numeric_limits<quint16>::max()};
    case ftInteger:
    case ftAutoInc:
        return WholeNumberRange{std::numeric_limits<qint32>::min(), std::numeric_limits<qint32>::max()};
    default:
        return std::nullopt;
    }
}

}

TField::TField(TDataSet *dataSet, const QString &fieldName, TFieldType dataType, int size, TFieldKind kind)
    : QObject(dataSet), m_dataSet(dataSet), m_fieldName(fieldName), m_dataType(dataType), m_size(size), m_kind(kind)
{
    setObjectName(fieldName);
}

void TField::layoutChanged()
{
    if (m_dataSet && m_dataSet->Active())
        m_dataSet->DataEvent(deLayoutChange);
}

void TField::SetDisplayLabel(const QString &label)
{
    m_displayLabel = label;
    layoutChanged();
}

int TField::DisplayWidth() const
{
    if (m_displayWidth >= 0)
        return m_displayWidth;
    switch (m_dataType) {
    case ftString:
        return m_size;
    case ftSmallint:
    case ftWord:
        return 6;
    case ftInteger:
    case ftAutoInc:
        return 11;
    case ftBoolean:
        return 5;
    case ftDate:
    case ftTime:
        return 10;
    case ftDateTime:
        return 19;
    case ftFloat:
    case ftCurrency:
    case ftBCD:
        return 10;
    default:
        return 10;
    }
}

void TField::SetDisplayWidth(int width)
{
    m_displayWidth = width;
    layoutChanged();
}

void TField::SetDisplayFormat(const QString &format)
{
    m_displayFormat = format;
    layoutChanged();
}

TAlignment TField::Alignment() const
{
    if (m_alignment >= 0)
        return TAlignment(m_alignment);
    const bool numeric =
        (m_dataType >= ftSmallint && m_dataType <= ftBCD && m_dataType != ftBoolean) || m_dataType == ftAutoInc;
    return numeric ? taRightJustify : taLeftJustify;
}

void TField::SetAlignment(TAlignment alignment)
{
    m_alignment = alignment;
    layoutChanged();
}

void TField::SetVisible(bool visible)
{
    m_visible = visible;
    layoutChanged();
}

int TField::Index() const
{
    // Asking for one field's place makes none of the others.
    return m_dataSet ? int(m_dataSet->m_fields.indexOf(const_cast<TField *>(this))) : -1;
}

void TField::SetIndex(int index)
{
    if (!m_dataSet)
        return;
    // Every place filled first: an empty one is known only by where it stands.
    auto &fields = const_cast<QList<TField *> &>(m_dataSet->FieldList());
    const int from = Index();
    index = std::clamp(index, 0, int(fields.size()) - 1);
    if (from < 0 || from == index)
        return;
    fields.move(from, index);
    layoutChanged();
}

TDataSet *TField::LookupDataSet() const
{
    return m_lookupDataSet;
}

void TField::SetLookupDataSet(TDataSet *dataSet)
{
    m_lookupDataSet = dataSet;
}

bool TField::IsBlob() const
{
    return m_dataType >= ftBlob && m_dataType <= ftTypedBinary;
}

bool TField::CanModify() const
{
    return !m_readOnly && m_dataSet && m_dataSet->CanModify();
}

QVariant TField::storedValue() const
{
    return m_dataSet ? m_dataSet->fieldStorage(this) : QVariant();
}

bool TField::IsNull() const
{
    const QVariant stored = storedValue();
    return !stored.isValid() || stored.isNull();
}

void TField::Clear()
{
    SetValue(QVariant());
}

QVariant TField::Value() const
{
    return db::fromStorage(m_dataType, storedValue());
}

void TField::SetValue(const QVariant &value)
{
    QVariant stored = db::toStorage(m_dataType, value);
    checkRange(stored);
    if (m_dataType == ftString && m_size > 0 && stored.toString().size() > m_size)
        stored = stored.toString().left(m_size);
    m_dataSet->setFieldStorage(this, stored);
}

// A number the column cannot hold would come back as another number; it
// never reaches the record.
void TField::checkRange(const QVariant &stored) const
{
    const std::optional<WholeNumberRange> range = wholeNumberRange(m_dataType);
    if (!range || stored.isNull() || !stored.isValid())
        return;
    const qint64 number = stored.toLongLong();
    if (number < range->low || number > range->high)
        throw EDatabaseError(
            QStringLiteral("%1 ist kein gültiger Wert für das Feld '%2'. Zulässig sind Werte von %3 bis %4.")
                .arg(number)
                .arg(DisplayName())
                .arg(range->low)
                .arg(range->high));
}

QString TField::AsString() const
{
    return formatDisplay(false);
}

void TField::SetAsString(const QString &text)
{
    if (text.isEmpty() && m_dataType != ftString && m_dataType != ftMemo) {
        Clear();
        return;
    }
    SetValue(text);
}

int TField::AsInteger() const
{
    const QVariant stored = storedValue();
    if (stored.isNull() || !stored.isValid())
        return 0;
    if (m_dataType == ftString || m_dataType == ftMemo) {
        return StrToInt(stored.toString().trimmed());
    }
    if (m_dataType >= ftFloat && m_dataType <= ftBCD)
        return int(std::llround(stored.toDouble()));
    return int(stored.toLongLong());
}

void TField::SetAsInteger(int value)
{
    SetValue(value);
}

double TField::AsFloat() const
{
    const QVariant stored = storedValue();
    if (stored.isNull() || !stored.isValid())
        return 0;
    if (m_dataType >= ftDate && m_dataType <= ftDateTime)
        return AsDateTime();
    if (m_dataType == ftString || m_dataType == ftMemo) {
        return StrToFloat(stored.toString().trimmed());
    }
    return stored.toDouble();
}

void TField::SetAsFloat(double value)
{
    if (m_dataType >= ftDate && m_dataType <= ftDateTime)
        SetAsDateTime(value);
    else
        SetValue(value);
}

bool TField::AsBoolean() const
{
    const QVariant stored = storedValue();
    if (stored.isNull() || !stored.isValid())
        return false;
    if (m_dataType == ftString) {
        const QString text = stored.toString().trimmed().toUpper();
        return text.startsWith(QLatin1Char('T')) || text.startsWith(QLatin1Char('J')) || text == QLatin1String("1");
    }
    return stored.toLongLong() != 0;
}

void TField::SetAsBoolean(bool value)
{
    if (m_dataType == ftString)
        SetValue(value ? QStringLiteral("True") : QStringLiteral("False"));
    else
        SetValue(value);
}

TDateTime TField::AsDateTime() const
{
    const QVariant stored = storedValue();
    if (stored.isNull() || !stored.isValid())
        return 0;
    TDateTime value = 0;
    if (m_dataType >= ftDate && m_dataType <= ftDateTime) {
        db::dateTimeFromStorage(m_dataType, stored, value);
        return value;
    }
    if (m_dataType == ftString)
        return db::toStorage(ftDateTime, stored).isValid()
                   ? (db::dateTimeFromStorage(ftDateTime, db::toStorage(ftDateTime, stored), value), value)
                   : 0;
    return stored.toDouble();
}

void TField::SetAsDateTime(TDateTime value)
{
    if (m_dataType >= ftDate && m_dataType <= ftDateTime)
        m_dataSet->setFieldStorage(this, db::storageFromDateTime(m_dataType, value));
    else if (m_dataType == ftString)
        SetValue(db::dateTimeText(ftDateTime, value));
    else
        SetValue(value);
}

QString TField::Text() const
{
    return formatDisplay(false);
}

QString TField::DisplayText() const
{
    return formatDisplay(true);
}

QString TField::formatDisplay(bool forDisplay) const
{
    const QVariant stored = storedValue();
    if (stored.isNull() || !stored.isValid())
        return QString();
    if (forDisplay && !m_displayFormat.isEmpty()) {
        if ((m_dataType >= ftSmallint && m_dataType <= ftBCD && m_dataType != ftBoolean) || m_dataType == ftAutoInc)
            return FormatFloat(m_displayFormat, stored.toDouble());
        TDateTime value = 0;
        if (m_dataType >= ftDate && m_dataType <= ftDateTime && db::dateTimeFromStorage(m_dataType, stored, value))
            return FormatDateTime(m_displayFormat, value);
    }
    switch (m_dataType) {
    case ftBoolean:
        return stored.toLongLong() ? QStringLiteral("True") : QStringLiteral("False");
    case ftFloat:
    case ftBCD:
        return FloatToStr(stored.toDouble());
    case ftCurrency:
        return forDisplay ? currencyText(stored.toDouble()) : FloatToStr(stored.toDouble());
    case ftDate:
    case ftTime:
    case ftDateTime: {
        TDateTime value = 0;
        if (!db::dateTimeFromStorage(m_dataType, stored, value))
            return stored.toString();
        return db::dateTimeText(m_dataType, value);
    }
    case ftMemo:
        return forDisplay ? QStringLiteral("(Memo)") : stored.toString();
    case ftFmtMemo:
    case ftBlob:
    case ftGraphic:
    case ftParadoxOle:
    case ftDBaseOle:
    case ftTypedBinary:
        if (forDisplay)
            return m_dataType == ftGraphic ? QStringLiteral("(Grafik)") : QStringLiteral("(Blob)");
        return QString::fromUtf8(stored.toByteArray());
    default:
        return stored.toString();
    }
}

QByteArray TField::AsBytes() const
{
    const QVariant stored = storedValue();
    if (stored.typeId() == QMetaType::QByteArray)
        return stored.toByteArray();
    return stored.toString().toUtf8();
}

void TField::SetAsBytes(const QByteArray &bytes)
{
    if (m_dataType == ftMemo || m_dataType == ftString)
        SetValue(QString::fromUtf8(bytes));
    else
        m_dataSet->setFieldStorage(this, bytes);
}

void TField::FocusControl()
{
    if (m_dataSet)
        m_dataSet->requestFocus(this);
}
