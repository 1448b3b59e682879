#pragma once

#include "lib/data/Qktypes.h"

#include <functional>

class QObject;
class TDataSet;

// The per-record filter state every library data set keeps: the re-entry
// guard, the hour-glass note and the record counter of the Escape test.
class TqkRecordFilter
{
public:
    // Runs the data set's "OnFilter" handler for the candidate record;
    // `onEscape` is called when Escape switched the filter off.
    bool Accept(TDataSet *dataSet, TqkOnFilterOptions options, const std::function<void(bool &)> &handler,
                const std::function<void()> &onEscape);
    bool Running() const { return m_running; }
    // True from the handler's call to the end of the Escape test, that is
    // while the data set is in the middle of reading records.
    bool Accepting() const { return m_accepting; }

private:
    void showHourGlass(QObject *dataSet);

    bool m_running = false;
    bool m_accepting = false;
    bool m_hourGlassShown = false;
    int m_recordCounter = 0;
};
