#pragma once

#include "lib/data/Qktable.h"
#include "platform/db/TQuery.h"

class TqkStoredProc;
using TqkStoredProcFilterEvent = std::function<void(TqkStoredProc *storedProc, bool &accept)>;

// The library's stored procedure: its per-field settings by property.
class TqkStoredProc : public TStoredProc, public TqkDataSetExtras
{
    Q_OBJECT
    Q_PROPERTY(QStringList ControlType READ ControlType WRITE SetControlType)
    Q_PROPERTY(QStringList LookupFields READ LookupFields WRITE SetLookupFields)
    Q_PROPERTY(QStringList LookupLinks READ LookupLinks WRITE SetLookupLinks)
    Q_PROPERTY(QStringList PictureMasks READ PictureMasks WRITE SetPictureMasks)
    Q_PROPERTY(bool ValidateWithMask READ ValidateWithMask WRITE SetValidateWithMask)
    Q_PROPERTY(TqkInvalidValueEvent OnInvalidValue READ OnInvalidValue WRITE SetOnInvalidValue)
    Q_PROPERTY(TqkStoredProcFilterEvent OnFilter READ OnFilter WRITE SetOnFilter)
    Q_PROPERTY(TDataSetNotifyEvent OnFilterEscape READ OnFilterEscape WRITE SetOnFilterEscape)
    Q_PROPERTY(TqkOnFilterOptions OnFilterOptions READ OnFilterOptions WRITE SetOnFilterOptions)

public:
    using TStoredProc::TStoredProc;
    // The program's procedures give no records, so the data set is never
    // open: no record is filtered, calculated or checked before posting,
    // and the handler only waits to be asked for.
    TqkStoredProcFilterEvent OnFilter() const { return m_onFilter; }
    void SetOnFilter(const TqkStoredProcFilterEvent &handler) { m_onFilter = handler; }
    TqkOnFilterOptions OnFilterOptions() const { return m_qkFilterOptions; }
    void SetOnFilterOptions(TqkOnFilterOptions options) { m_qkFilterOptions = options; }
    bool IsSequenced() const override { return !m_onFilter && TStoredProc::IsSequenced(); }

private:
    TqkStoredProcFilterEvent m_onFilter;
};
