#include "app/FormCopyUndo.h"

#include "app/Utils.h"
#include "platform/os/FileCopy.h"
#include "platform/os/Paths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

// Hidden and starting with a point, a backup matches no form's file mask:
// it is neither copied nor deleted with the form. A backup an ended program
// left behind is never taken for this one's.
QString freeBackupPath(const QString &file)
{
    const QFileInfo info(file);
    const QString base = info.absoluteDir().filePath(QLatin1Char('.') + info.fileName() + QStringLiteral(".sicherung"));
    QString backup = base;
    for (int number = 2; QFileInfo::exists(backup); ++number)
        backup = base + QLatin1Char('-') + QString::number(number);
    return backup;
}

}

bool TFormCopyUndo::prepare(const QString &target)
{
    const QString resolved = os::resolvePath(target);
    if (!QFileInfo::exists(resolved)) {
        m_created << resolved;
        return true;
    }
    const QString backup = freeBackupPath(resolved);
    const os::CopyOutcome outcome = os::copyFile(resolved, backup);
    if (outcome.error != os::CopyError::None) {
        ShowError(QString(), QStringLiteral("Die vorhandene Datei %1 lässt sich nicht sichern und wird daher nicht "
                                            "überschrieben.\r\n%2")
                                 .arg(resolved, outcome.message));
        return false;
    }
    m_replaced.append({resolved, backup});
    return true;
}

void TFormCopyUndo::keep()
{
    for (const Replaced &replaced : std::as_const(m_replaced))
        QFile::remove(replaced.backup);
    m_replaced.clear();
    m_created.clear();
}

// A backup that cannot be put back stays where it is, and the user learns
// where.
void TFormCopyUndo::undo()
{
    for (const QString &file : std::as_const(m_created))
        QFile::remove(file);
    for (const Replaced &replaced : std::as_const(m_replaced)) {
        const os::CopyOutcome outcome = os::copyFile(replaced.backup, replaced.target);
        if (outcome.error == os::CopyError::None)
            QFile::remove(replaced.backup);
        else
            ShowError(QString(), QStringLiteral("Die ersetzte Datei %1 lässt sich nicht zurückholen. Sie liegt "
                                                "gesichert unter %2.\r\n%3")
                                     .arg(replaced.target, replaced.backup, outcome.message));
    }
    m_replaced.clear();
    m_created.clear();
}
