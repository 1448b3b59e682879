#include "lib/data/QkrecordFilter.h"

#include "lib/data/Qkcommon.h"
#include "platform/db/TDataSet.h"
#include "platform/ui/UiServices.h"

#include <QTimer>

bool TqkRecordFilter::Accept(TDataSet *dataSet, TqkOnFilterOptions options, const std::function<void(bool &)> &handler,
                             const std::function<void()> &onEscape)
{
    if (!handler || m_running || !(options & ofoEnabled))
        return true;
    bool accept = true;
    m_running = true;
    try {
        handler(accept);
    } catch (...) {
        m_running = false;
        throw;
    }
    m_running = false;
    if ((options & ofoShowHourGlass) && !accept && !m_hourGlassShown)
        showHourGlass(dataSet);
    if (options & ofoCancelOnEscape) {
        if (++m_recordCounter >= 32000)
            m_recordCounter = 0;
        m_accepting = true;
        const bool escaped = m_recordCounter % 100 == 0 && qkEscapePressed(dataSet);
        m_accepting = false;
        if (escaped && onEscape)
            onEscape();
    }
    return accept;
}

// The arrow returns once the fetch that rejected records is over, that is
// when control is back in the event loop.
void TqkRecordFilter::showHourGlass(QObject *dataSet)
{
    m_hourGlassShown = true;
    ui::services().pushBusyCursor();
    QTimer::singleShot(0, dataSet, [this] {
        ui::services().popBusyCursor();
        m_hourGlassShown = false;
    });
}
