#pragma once

#include "platform/runtime/DateTime.h"

#include <QMetaType>
#include <QString>
#include <QVariant>
#include <QVector>

#include <functional>

class TDataSet;
class TField;

// Ordinals as the framework had them: callers compare ranges of them.
enum TFieldType {
    ftUnknown = 0,
    ftString,
    ftSmallint,
    ftInteger,
    ftWord,
    ftBoolean,
    ftFloat,
    ftCurrency,
    ftBCD,
    ftDate,
    ftTime,
    ftDateTime,
    ftBytes,
    ftVarBytes,
    ftAutoInc,
    ftBlob,
    ftMemo,
    ftGraphic,
    ftFmtMemo,
    ftParadoxOle,
    ftDBaseOle,
    ftTypedBinary
};

enum TDataSetState { dsInactive, dsBrowse, dsEdit, dsInsert, dsSetKey, dsCalcFields, dsFilter };

enum TFieldKind { fkData, fkCalculated, fkLookup };

enum TAlignment { taLeftJustify, taRightJustify, taCenter };

enum TDataEvent {
    deFieldChange,
    deRecordChange,
    deDataSetChange,
    deDataSetScroll,
    deLayoutChange,
    deUpdateRecord,
    deUpdateState,
    deCheckBrowseMode,
    deFocusControl
};

enum TLocateOption { loCaseInsensitive = 1, loPartialKey = 2 };
using TLocateOptions = int;

enum TFilterOption { foCaseInsensitive = 1, foNoPartialCompare = 2 };
using TFilterOptions = int;

enum TIndexOption { ixPrimary = 1, ixUnique = 2, ixDescending = 4, ixCaseInsensitive = 8 };
using TIndexOptions = int;

using TDataSetNotifyEvent = std::function<void(TDataSet *)>;
using TFilterRecordEvent = std::function<void(TDataSet *, bool &accept)>;
using TFieldNotifyEvent = std::function<void(TField *)>;

// A bookmark names one stored record; it survives index and filter changes.
struct TBookmark
{
    qint64 rowId = 0;
    bool valid = false;
};

Q_DECLARE_METATYPE(TDataSetNotifyEvent)
Q_DECLARE_METATYPE(TFilterRecordEvent)
Q_DECLARE_METATYPE(TFieldNotifyEvent)
