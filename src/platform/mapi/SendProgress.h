#pragma once

#include <QString>

#include <atomic>
#include <functional>

namespace mapi {

// Runs `work` on a worker thread and waits for it. Meanwhile the calling
// thread keeps its event loop running, so the windows go on painting, and
// an application-modal box shows `text` with a button "Abbrechen" that sets
// `cancel` (so does closing the box); `work` is to watch it and end soon.
// Without a widget application the caller simply waits.
void runWithProgress(const QString &text, std::atomic<bool> &cancel, const std::function<void()> &work);

}
