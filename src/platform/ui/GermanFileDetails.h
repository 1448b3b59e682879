#pragma once

class QFileDialog;

namespace ui {

// Qt's file dialog gives the dates and sizes of its files in the machine's
// locale, which speaks English on many systems however German the
// dialog's texts are. This shows them in German ("06.10.2026 14:05",
// "2,97 KiB") in Qt's own dialog, whose texts the German translations cover.
void showFileDetailsInGerman(QFileDialog &dialog);

} // namespace ui
