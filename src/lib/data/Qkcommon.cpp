#include "lib/data/Qkcommon.h"

#include "lib/data/Qkprops.h"
#include "lib/data/Qkstr.h"
#include "platform/ui/Properties.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QMetaObject>
#include <QObject>
#include <QPointer>
#include <QShortcutEvent>

#include <memory>
#include <utility>
#include <vector>

namespace {

const QChar tab(QLatin1Char('\t'));

// The parts of a line as the token routine reads them.
QStringList lineParts(const QString &line, const QString &separator)
{
    QStringList parts;
    int pos = 1;
    while (pos > 0) {
        QString part;
        strGetToken(line, separator, pos, part);
        parts.append(part);
    }
    return parts;
}

QString partOf(const QStringList &parts, int index)
{
    return index < parts.size() ? parts[index] : QString();
}

int findPictureMaskLine(const QStringList &lines, const QString &fieldName)
{
    for (int i = 0; i < lines.size(); ++i) {
        if (qkEqualStr(partOf(lineParts(lines[i], QString(tab)), 0), fieldName))
            return i;
    }
    return -1;
}

QString flag(bool value)
{
    return value ? QStringLiteral("T") : QStringLiteral("F");
}

bool isQuote(QChar c)
{
    return c == QLatin1Char('"') || c == QLatin1Char('\'');
}

bool isNameChar(QChar c)
{
    return c.isLetterOrNumber() || c == QLatin1Char('$') || c == QLatin1Char('.') || c == QLatin1Char('_');
}

// While a record filter runs, the user's input must not reach the program:
// the first key press is taken out (as the Escape test asks), everything else
// the user does waits until the filter is done, as it would in the window
// system's queue.
class FilterInputGate : public QObject
{
public:
    int key = 0;
    bool caught = false;

    ~FilterInputGate() override
    {
        for (auto &[receiver, event] : m_deferred) {
            if (receiver)
                QCoreApplication::postEvent(receiver, event.release());
        }
    }

protected:
    bool eventFilter(QObject *receiver, QEvent *event) override
    {
        if (!caught && takeKey(event))
            return true;
        if (!dynamic_cast<QInputEvent *>(event) && event->type() != QEvent::Shortcut)
            return false;
        m_deferred.emplace_back(receiver, std::unique_ptr<QEvent>(event->clone()));
        return true;
    }

private:
    bool takeKey(QEvent *event)
    {
        if (event->type() == QEvent::KeyPress)
            key = static_cast<QKeyEvent *>(event)->key();
        else if (event->type() == QEvent::Shortcut && !static_cast<QShortcutEvent *>(event)->key().isEmpty())
            key = static_cast<QShortcutEvent *>(event)->key()[0].key();
        else
            return false;
        caught = true;
        return true;
    }

    std::vector<std::pair<QPointer<QObject>, std::unique_ptr<QEvent>>> m_deferred;
};

} // namespace

TqkPictureMaskSetting qkGetPictureMask(QObject *dataSet, const QString &fieldName, bool useTablePicture)
{
    TqkPictureMaskSetting setting;
    const std::optional<QStringList> lines = qkGetPictureMasks(dataSet);
    if (!lines)
        return setting;
    const int index = findPictureMaskLine(*lines, fieldName);
    if (index >= 0) {
        const QStringList parts = lineParts((*lines)[index], QString(tab));
        setting.Mask = partOf(parts, 1);
        setting.AutoFill = partOf(parts, 2) == QLatin1String("T");
        setting.UseInGrid = partOf(parts, 3) == QLatin1String("T");
    }
    if (!useTablePicture)
        return setting;
    const QString tablePicture = qkTablePicture(dataSet, fieldName);
    if (tablePicture.isEmpty())
        return setting;
    if (index >= 0)
        qkSetPictureMask(dataSet, fieldName, tablePicture, setting.AutoFill, setting.UseInGrid, true, true, true);
    setting.Mask = tablePicture;
    return setting;
}

void qkGetPictureMask(QObject *dataSet, const QString &fieldName, bool useTablePicture, QString &mask, bool &autoFill,
                      bool &useInGrid)
{
    const TqkPictureMaskSetting setting = qkGetPictureMask(dataSet, fieldName, useTablePicture);
    mask = setting.Mask;
    autoFill = setting.AutoFill;
    useInGrid = setting.UseInGrid;
}

void qkSetPictureMask(QObject *dataSet, const QString &fieldName, QString mask, bool autoFill, bool useInGrid,
                      bool setMask, bool setAutoFill, bool setUseInGrid)
{
    std::optional<QStringList> lines = qkGetPictureMasks(dataSet);
    if (!lines)
        return;
    const QString tablePicture = qkTablePicture(dataSet, fieldName);
    if (!tablePicture.isEmpty())
        mask = tablePicture;
    const int index = findPictureMaskLine(*lines, fieldName);
    if (index >= 0) {
        const QStringList parts = lineParts((*lines)[index], QString(tab));
        if (!setMask)
            mask = partOf(parts, 1);
        if (!setAutoFill)
            autoFill = partOf(parts, 2) == QLatin1String("T");
        if (!setUseInGrid)
            useInGrid = partOf(parts, 3) == QLatin1String("T");
    }
    const QString line = QStringList{fieldName, mask, flag(autoFill), flag(useInGrid)}.join(tab);
    if (index >= 0 && mask.isEmpty())
        lines->removeAt(index);
    else if (index >= 0)
        (*lines)[index] = line;
    else if (!mask.isEmpty())
        lines->append(line);
    else
        return;
    qkWriteList(dataSet, QStringLiteral("PictureMasks"), *lines);
}

QString qkTablePicture(QObject *dataSet, const QString &fieldName)
{
    // Only a table that keeps pictures of its own answers; asking any other
    // would make Qt warn on every key.
    if (!qkInheritsFromName(dataSet, QStringLiteral("TqkTable"))
        || dataSet->metaObject()->indexOfMethod("GetFieldPicture(QString)") < 0)
        return {};
    QString picture;
    QMetaObject::invokeMethod(dataSet, "GetFieldPicture", Qt::DirectConnection, Q_RETURN_ARG(QString, picture),
                              Q_ARG(QString, fieldName));
    return picture;
}

void qkGetControlType(const QObject *holder, const QString &fieldName, QString &type, QString &parameters)
{
    type.clear();
    parameters.clear();
    const std::optional<QStringList> lines = qkGetControlTypes(holder);
    if (!lines)
        return;
    for (const QString &line : *lines) {
        int pos = 1;
        QString name;
        strGetToken(line, QStringLiteral(";"), pos, name);
        if (name != fieldName)
            continue;
        QString lineType;
        strGetToken(line, QStringLiteral(";"), pos, lineType);
        type = lineType;
        parameters = pos > 0 ? line.mid(pos - 1, 255) : QString();
    }
}

bool qkIsEditControlType(const QString &type)
{
    for (const char *editType : {"CustomEdit", "LookupCombo", "Combo"}) {
        if (type.compare(QLatin1String(editType), Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

QString qkFieldLayoutLine(const QString &fieldName, int displayWidth, const QString &displayLabel)
{
    return fieldName + tab + QString::number(displayWidth) + tab + displayLabel;
}

bool qkFindFieldInList(const QStringList &list, const QString &fieldName, int &index)
{
    for (index = 0; index < list.size(); ++index) {
        if (list[index].section(tab, 0, 0).compare(fieldName, Qt::CaseInsensitive) == 0)
            return true;
    }
    index = -1;
    return false;
}

int qkListIndexOfText(const QStringList &list, const QString &text)
{
    for (int i = 0; i < list.size(); ++i) {
        if (list[i].compare(text, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

bool qkInheritsFromName(const QMetaObject *meta, const QString &className)
{
    return ui::inheritsFromName(meta, className);
}

bool qkInheritsFromName(const QObject *object, const QString &className)
{
    return ui::inheritsFromName(object, className);
}

TqkOnFilterOptions qkGetFilterOptions(const QObject *dataSet)
{
    if (qkInheritsFromName(dataSet, QStringLiteral("TqkClientDataSet")))
        return dataSet->property("Filtered").toBool() ? TqkOnFilterOptions(ofoEnabled) : TqkOnFilterOptions();
    return qkReadFilterOptions(dataSet).value_or(TqkOnFilterOptions());
}

void qkSetFilterEnabled(QObject *dataSet, bool enabled)
{
    const std::optional<TqkOnFilterOptions> options = qkReadFilterOptions(dataSet);
    if (!options)
        return;
    qkWriteFilterOptions(dataSet, enabled ? (*options | ofoEnabled) : (*options & ~TqkOnFilterOptions(ofoEnabled)));
}

bool qkEscapePressed(QObject *dataSet)
{
    QCoreApplication *application = QCoreApplication::instance();
    if (!application)
        return false;
    int key = 0;
    {
        FilterInputGate gate;
        application->installEventFilter(&gate);
        // Timers wait: their work must not run in the middle of a record filter.
        QCoreApplication::processEvents(QEventLoop::X11ExcludeTimers);
        application->removeEventFilter(&gate);
        key = gate.caught ? gate.key : 0;
    }
    if (key != Qt::Key_Escape)
        return false;
    qkSetFilterEnabled(dataSet, false);
    return true;
}

void qkGetQuotedToken(const QString &text, int &pos, QString &token)
{
    token.clear();
    int i = qMax(pos, 1) - 1;
    while (i < text.size() && qkBlankSet.contains(text[i]))
        ++i;
    pos = i + 1;
    if (i >= text.size())
        return;
    if (isQuote(text[i])) {
        const int close = text.indexOf(text[i], i + 1);
        if (close < 0)
            return;
        token = text.mid(i, close - i + 1);
        pos = close + 2;
        return;
    }
    int end = i + 1;
    while (end < text.size() && isNameChar(text[end]))
        ++end;
    token = text.mid(i, end - i);
    pos = end + 1;
}

int qkScalePixels(int value, int pixelsPerInch)
{
    return value * pixelsPerInch / 96;
}
