#pragma once

#include "platform/report/Layout.h"

#include <QString>

namespace report {

// The layout file format, version 1 (docs/layout-format.md).
constexpr int kLayoutFormatVersion = 1;

QString layoutToText(const Layout &layout);

// 0, or -22 with `message` set when the text is not a complete layout of
// ours. Expressions are kept as written; their syntax is checked on printing.
int layoutFromText(const QString &text, Layout &layout, QString *message = nullptr);

// 0 or -22; the file is read as UTF-8.
int loadLayout(const QString &path, Layout &layout, QString *message = nullptr);

// Writes through a temporary file, so a failed write leaves the old file.
bool saveLayout(const QString &path, const Layout &layout, QString *message = nullptr);

// The layout file the program means by `path`: "\" read as a separator and
// names matched without regard to case; a name without extension gets the
// one of the project kind (".lbl" for labels, else ".lst"), and an
// extension the caller appended twice counts once.
QString resolveLayoutPath(const QString &path, int kind);

// The file the program means by `path` as it lies on disk, with its
// extension; `path` itself when there is none.
QString existingLayoutPath(const QString &path);

// Whether the layout file the program means by `path` exists but holds
// nothing (a copy or a save that went wrong), which the engine reports as
// a layout it cannot find.
bool isEmptyLayoutFile(const QString &path);

// Why the layout file the program means by `path` is there but cannot be
// read as a layout (cut short, overwritten); empty when it is missing or
// sound.
QString damagedLayoutReason(const QString &path);

// What can be read of the layout file at `path` when it is one of ours,
// however damaged; false when it is missing, empty, foreign or of a newer
// version.
bool salvageLayout(const QString &path, Layout &layout);

// The companion file holding the printer chosen for a layout; its extension
// begins with "l" so that "name.l*" masks include it.
QString companionPath(const QString &layoutPath);
QString layoutPrinter(const QString &layoutPath);
bool setLayoutPrinter(const QString &layoutPath, const QString &printer);
void forgetLayoutPrinter(const QString &layoutPath);

}
