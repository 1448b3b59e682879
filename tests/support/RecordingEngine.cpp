#include "support/RecordingEngine.h"

#include "platform/report/api/ReportCodes.h"

namespace report {

void RecordingEngine::script(const QString &name, const QList<int> &results)
{
    m_scripted[name] += results;
}

QStringList RecordingEngine::callNames() const
{
    QStringList names;
    for (const Call &c : calls)
        names.append(c.name);
    return names;
}

int RecordingEngine::count(const QString &name) const
{
    return int(callNames().count(name));
}

const RecordingEngine::Call *RecordingEngine::last(const QString &name) const
{
    for (auto it = calls.crbegin(); it != calls.crend(); ++it) {
        if (it->name == name)
            return &*it;
    }
    return nullptr;
}

int RecordingEngine::record(const QString &name, const QVariantList &args, int fallback, bool withValues)
{
    Call call{name, args, {}};
    if (withValues) {
        call.values = variables;
        for (auto it = fields.cbegin(); it != fields.cend(); ++it)
            call.values.insert(it.key(), it.value());
    }
    calls.append(call);
    QList<int> &queue = m_scripted[name];
    return queue.isEmpty() ? fallback : queue.takeFirst();
}

int RecordingEngine::jobOpen(int language)
{
    return record(QStringLiteral("LlJobOpen"), {language}, ++m_lastJob);
}

int RecordingEngine::jobClose(int job)
{
    variables.clear();
    fields.clear();
    return record(QStringLiteral("LlJobClose"), {job});
}

int RecordingEngine::setDlgboxMode(int mode)
{
    return record(QStringLiteral("LlSetDlgboxMode"), {mode});
}

int RecordingEngine::setOption(int job, int option, int value)
{
    return record(QStringLiteral("LlSetOption"), {job, option, value});
}

int RecordingEngine::defineVariable(int job, const QString &name, const QString &contents, int type,
                                    const QString &param)
{
    variables.insert(name, contents);
    return record(QStringLiteral("LlDefineVariableExt"), {job, name, contents, type, param});
}

int RecordingEngine::defineVariableImage(int job, const QString &name, const QImage &image, int type,
                                         const QString &param)
{
    variables.insert(name, image.isNull() ? QString() : QStringLiteral("(Bild)"));
    return record(QStringLiteral("LlDefineVariableExtHandle"), {job, name, image, type, param});
}

int RecordingEngine::defineField(int job, const QString &name, const QString &contents, int type, const QString &param)
{
    fields.insert(name, contents);
    return record(QStringLiteral("LlDefineFieldExt"), {job, name, contents, type, param});
}

int RecordingEngine::defineFieldImage(int job, const QString &name, const QImage &image, int type, const QString &param)
{
    fields.insert(name, image.isNull() ? QString() : QStringLiteral("(Bild)"));
    return record(QStringLiteral("LlDefineFieldExtHandle"), {job, name, image, type, param});
}

int RecordingEngine::printStart(int job, int kind, const QString &layout, int destination, int options, QWidget *,
                                const QString &boxTitle, bool withBox)
{
    m_page = 0;
    return record(withBox ? QStringLiteral("LlPrintWithBoxStart") : QStringLiteral("LlPrintStart"),
                  {job, kind, layout, destination, options, boxTitle});
}

int RecordingEngine::printGetPrinterInfo(int job, QString &name, QString &port)
{
    name = printerName;
    port = printerPort;
    return record(QStringLiteral("LlPrintGetPrinterInfo"), {job});
}

int RecordingEngine::setPrinterToDefault(int job, int kind, const QString &layout)
{
    return record(QStringLiteral("LlSetPrinterToDefault"), {job, kind, layout});
}

int RecordingEngine::printSetOption(int job, int option, int value)
{
    m_printOptions.insert(option, value);
    return record(QStringLiteral("LlPrintSetOption"), {job, option, value});
}

int RecordingEngine::printSetOptionString(int job, int option, const QString &value)
{
    return record(QStringLiteral("LlPrintSetOptionString"), {job, option, value});
}

int RecordingEngine::printGetOption(int job, int option)
{
    const int fallback = option == LL_PRNOPT_COPIES ? 1 : (option == LL_PRNOPT_LASTPAGE ? LL_DEFAULT_LASTPAGE : 0);
    return record(QStringLiteral("LlPrintGetOption"), {job, option}, m_printOptions.value(option, fallback));
}

int RecordingEngine::printOptionsDialog(int job, QWidget *, const QString &title)
{
    return record(QStringLiteral("LlPrintOptionsDialog"), {job, title});
}

int RecordingEngine::print(int job)
{
    const int result = record(QStringLiteral("LlPrint"), {job}, 0, true);
    if (result == 0)
        ++m_page;
    return result;
}

int RecordingEngine::printFields(int job)
{
    return record(QStringLiteral("LlPrintFields"), {job}, 0, true);
}

int RecordingEngine::printFieldsEnd(int job)
{
    return record(QStringLiteral("LlPrintFieldsEnd"), {job}, 0, true);
}

int RecordingEngine::printGetCurrentPage(int job)
{
    return record(QStringLiteral("LlPrintGetCurrentPage"), {job}, m_page);
}

int RecordingEngine::printSetBoxText(int job, const QString &text, int percent)
{
    return record(QStringLiteral("LlPrintSetBoxText"), {job, text, percent});
}

int RecordingEngine::printEnd(int job, int options)
{
    return record(QStringLiteral("LlPrintEnd"), {job, options});
}

int RecordingEngine::previewDisplay(int job, const QString &layout, const QString &path, QWidget *)
{
    return record(QStringLiteral("LlPreviewDisplay"), {job, layout, path});
}

int RecordingEngine::previewDeleteFiles(int job, const QString &layout, const QString &path)
{
    return record(QStringLiteral("LlPreviewDeleteFiles"), {job, layout, path});
}

int RecordingEngine::defineLayout(int job, QWidget *, const QString &title, int kind, const QString &layout)
{
    return record(QStringLiteral("LlDefineLayout"), {job, title, kind, layout});
}

}
