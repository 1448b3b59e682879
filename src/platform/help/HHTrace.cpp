#include "platform/help/HHTrace.h"

#include "platform/help/HH_Funcs.h"
#include "platform/help/LocaleIdentifier.h"
#include "platform/help/TraceFile.h"
#include "platform/runtime/DateConversions.h"
#include "platform/runtime/FormatSettings.h"
#include "platform/runtime/FormatString.h"

#include <QCoreApplication>

namespace {

constexpr int kRuleWidth = 80;

QString hex4(int value)
{
    return QStringLiteral("0x") + QString::number(value, 16).toUpper().rightJustified(4, '0');
}

QString yesNo(bool value)
{
    return value ? QStringLiteral("YES") : QStringLiteral("NO");
}

void logText(const QString &format, const QString &value)
{
    HHDebugLog(format, {value});
}

} // namespace

QString HHTraceLine(const QString &text, const QString &time)
{
    QString line = text;
    if (line == QLatin1String("-") || line == QLatin1String("="))
        line = QString(kRuleWidth, line.front());
    if (line.startsWith(QLatin1Char('!')) || line.startsWith(QLatin1Char('-')) || line.startsWith(QLatin1Char('=')))
        return line.mid(1);
    return time + QStringLiteral("   ") + line;
}

void HHDebugLog(const QString &format, const QVariantList &args)
{
    const THHFuncsGlobals &globals = HHFuncsGlobals();
    if (!globals.debug || globals.traceFile.isEmpty())
        return;
    const QString time = FormatDateTime(FormatSettings().LongTimeFormat, Now());
    const QString line = HHTraceLine(Format(format, args), time) + QStringLiteral("\r\n");
    help::AppendToTraceFile(globals.traceFile, line.toUtf8());
}

void HHWriteTraceHeader()
{
    const THHFuncsGlobals &globals = HHFuncsGlobals();
    const TFormatSettings &settings = FormatSettings();
    const help::LocaleIdentifier locale = help::localeIdentifier(QLocale::system());
    logText(QStringLiteral("!Filename:              %s"), globals.traceFile);
    logText(QStringLiteral("!Date:                  %s"),
            FormatDateTime(settings.ShortDateFormat + QLatin1Char(' ') + settings.LongTimeFormat, Now()));
    logText(QStringLiteral("!SysLocale.DefaultLCID: %s"), hex4(locale.lcid));
    logText(QStringLiteral("!SysLocale.PriLangID:   %s"), hex4(locale.primaryLanguage));
    logText(QStringLiteral("!SysLocale.SubLangID:   %s"), hex4(locale.subLanguage));
    logText(QStringLiteral("!DecimalSeparator:      %s"), QString(settings.DecimalSeparator));
    HHDebugLog(QStringLiteral("-"));
    logText(QStringLiteral("!EXE Path          = %s"), QCoreApplication::applicationFilePath());
    logText(QStringLiteral("!_RunDir           = %s"), globals._RunDir);
    logText(QStringLiteral("!_ModuleName       = %s"), globals._ModuleName);
    logText(QStringLiteral("!_ModuleDir        = %s"), globals._ModuleDir);
    HHDebugLog(QStringLiteral("-"));
    logText(QStringLiteral("!_hhInstalled      = %s"), yesNo(globals._hhInstalled));
    logText(QStringLiteral("!_hhVerStr         = %s"), globals._hhVerStr);
    logText(QStringLiteral("!_hhFriendlyVerStr = %s"), globals._hhFriendlyVerStr);
    HHDebugLog(QStringLiteral("-"));
    logText(QStringLiteral("!_ieInstalled      = %s"), yesNo(globals._ieInstalled));
    logText(QStringLiteral("!_ieVerStr         = %s"), globals._ieVerStr);
    logText(QStringLiteral("!_ieFriendlyVerStr = %s"), globals._ieFriendlyVerStr);
    HHDebugLog(QStringLiteral("="));
}
