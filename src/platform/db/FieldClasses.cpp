#include "platform/db/FieldClasses.h"

TField *CreateField(TDataSet *dataSet, const QString &name, TFieldType type, int size, TFieldKind kind)
{
    switch (type) {
    case ftString:
        return new TStringField(dataSet, name, type, size, kind);
    case ftSmallint:
        return new TSmallintField(dataSet, name, type, size, kind);
    case ftInteger:
        return new TIntegerField(dataSet, name, type, size, kind);
    case ftWord:
        return new TWordField(dataSet, name, type, size, kind);
    case ftAutoInc:
        return new TAutoIncField(dataSet, name, type, size, kind);
    case ftBoolean:
        return new TBooleanField(dataSet, name, type, size, kind);
    case ftFloat:
        return new TFloatField(dataSet, name, type, size, kind);
    case ftCurrency:
        return new TCurrencyField(dataSet, name, type, size, kind);
    case ftBCD:
        return new TBCDField(dataSet, name, type, size, kind);
    case ftDate:
        return new TDateField(dataSet, name, type, size, kind);
    case ftTime:
        return new TTimeField(dataSet, name, type, size, kind);
    case ftDateTime:
        return new TDateTimeField(dataSet, name, type, size, kind);
    case ftBytes:
        return new TBytesField(dataSet, name, type, size, kind);
    case ftVarBytes:
        return new TVarBytesField(dataSet, name, type, size, kind);
    case ftMemo:
        return new TMemoField(dataSet, name, type, size, kind);
    case ftGraphic:
        return new TGraphicField(dataSet, name, type, size, kind);
    case ftBlob:
    case ftFmtMemo:
    case ftParadoxOle:
    case ftDBaseOle:
    case ftTypedBinary:
        return new TBlobField(dataSet, name, type, size, kind);
    default:
        return new TField(dataSet, name, type, size, kind);
    }
}
