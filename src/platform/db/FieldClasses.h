#pragma once

#include "platform/db/TField.h"

// The framework's field classes. Callers recognise them by class name; the
// value handling lives in TField and follows the data type.

class TStringField : public TField
{
    Q_OBJECT
public:
    using TField::TField;
};

class TNumericField : public TField
{
    Q_OBJECT
public:
    using TField::TField;
};

class TIntegerField : public TNumericField
{
    Q_OBJECT
public:
    using TNumericField::TNumericField;
};

class TSmallintField : public TIntegerField
{
    Q_OBJECT
public:
    using TIntegerField::TIntegerField;
};

class TWordField : public TIntegerField
{
    Q_OBJECT
public:
    using TIntegerField::TIntegerField;
};

class TAutoIncField : public TIntegerField
{
    Q_OBJECT
public:
    using TIntegerField::TIntegerField;
};

class TFloatField : public TNumericField
{
    Q_OBJECT
public:
    using TNumericField::TNumericField;
};

class TCurrencyField : public TFloatField
{
    Q_OBJECT
public:
    using TFloatField::TFloatField;
};

class TBCDField : public TNumericField
{
    Q_OBJECT
public:
    using TNumericField::TNumericField;
};

class TBooleanField : public TField
{
    Q_OBJECT
public:
    using TField::TField;
};

class TDateTimeField : public TField
{
    Q_OBJECT
public:
    using TField::TField;
};

class TDateField : public TDateTimeField
{
    Q_OBJECT
public:
    using TDateTimeField::TDateTimeField;
};

class TTimeField : public TDateTimeField
{
    Q_OBJECT
public:
    using TDateTimeField::TDateTimeField;
};

class TBinaryField : public TField
{
    Q_OBJECT
public:
    using TField::TField;
};

class TBytesField : public TBinaryField
{
    Q_OBJECT
public:
    using TBinaryField::TBinaryField;
};

class TVarBytesField : public TBytesField
{
    Q_OBJECT
public:
    using TBytesField::TBytesField;
};

class TBlobField : public TField
{
    Q_OBJECT
public:
    using TField::TField;
};

class TMemoField : public TBlobField
{
    Q_OBJECT
public:
    using TBlobField::TBlobField;
};

class TGraphicField : public TBlobField
{
    Q_OBJECT
public:
    using TBlobField::TBlobField;
};

// Creates the field object of the class that belongs to the type.
TField *CreateField(TDataSet *dataSet, const QString &name, TFieldType type, int size, TFieldKind kind = fkData);
