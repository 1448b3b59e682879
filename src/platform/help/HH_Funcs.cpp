#include "platform/help/HH_Funcs.h"

#include "platform/help/HH.h"
#include "platform/help/HHTrace.h"
#include "platform/help/HtmlHelpControl.h"
#include "platform/help/SystemProgram.h"
#include "platform/help/TraceFile.h"
#include "platform/os/Paths.h"
#include "platform/ui/Application.h"
#include "platform/ui/UiServices.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <QWidget>

namespace {

const QString kTraceFileName = QStringLiteral("HHDebug.txt");

THHFuncsGlobals &globals()
{
    static THHFuncsGlobals state;
    return state;
}

void showWarning(const QString &text)
{
    ui::services().messageBox(text, ui::applicationTitle(), ui::MsgIcon::Warning, ui::MsgButtons::Ok);
}

// Four numbers joined by ".", missing ones 0.
QString versionString(const QStringList &numbers)
{
    QStringList parts = numbers.mid(0, 4);
    while (parts.size() < 4)
        parts.append(QStringLiteral("0"));
    return parts.join(QLatin1Char('.'));
}

// The version a shared library's file name carries ("libchm.so.1.0.0").
QString libraryVersion(const QString &path)
{
    static const QRegularExpression version(QStringLiteral("\\.so\\.(\\d+(?:\\.\\d+)*)$"));
    const QRegularExpressionMatch match = version.match(path);
    return match.hasMatch() ? versionString(match.captured(1).split(QLatin1Char('.'))) : QString();
}

// The control's version is that of the chm library it reads through; the
// browser's is that of Qt, whose text browser shows the pages.
void settleVersions(THHFuncsGlobals &state)
{
    const QString control = QFileInfo(GetHHCtrlPath()).canonicalFilePath();
    state._hhVerStr = control.isEmpty() ? QString() : libraryVersion(control);
    state._hhInstalled = !state._hhVerStr.isEmpty();
    if (state._hhInstalled)
        state._hhFriendlyVerStr = QStringLiteral("chmlib (%1)").arg(QFileInfo(control).fileName());
    const QString qt = QString::fromLatin1(qVersion());
    state._ieVerStr = versionString(qt.split(QLatin1Char('.')));
    state._ieInstalled = !state._ieVerStr.isEmpty();
    state._ieFriendlyVerStr = QStringLiteral("Qt %1 QTextBrowser").arg(qt);
}

bool traceSwitchedOn(const QString &moduleDir, const QStringList &parameters)
{
    if (os::fileExists(moduleDir + QStringLiteral("/debug.debug")))
        return true;
    for (const QString &parameter : parameters) {
        if (parameter.compare(QLatin1String("/debug"), Qt::CaseInsensitive) == 0
            || parameter.compare(QLatin1String("-debug"), Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

QString helpCommandName(int command)
{
    switch (command) {
    case help::HELP_CONTEXT:
        return QStringLiteral("HELP_CONTEXT");
    case help::HELP_QUIT:
        return QStringLiteral("HELP_QUIT");
    case help::HELP_CONTENTS:
        return QStringLiteral("HELP_INDEX or HELP_CONTENTS");
    case help::HELP_HELPONHELP:
        return QStringLiteral("HELP_HELPONHELP");
    case help::HELP_SETCONTENTS:
        return QStringLiteral("HELP_SETINDEX or HELP_SETCONTENTS");
    case help::HELP_CONTEXTPOPUP:
        return QStringLiteral("HELP_CONTEXTPOPUP");
    case help::HELP_FORCEFILE:
        return QStringLiteral("HELP_FORCEFILE");
    case help::HELP_CONTEXTMENU:
        return QStringLiteral("HELP_CONTEXTMENU");
    case help::HELP_FINDER:
        return QStringLiteral("HELP_FINDER");
    case help::HELP_WM_HELP:
        return QStringLiteral("HELP_WM_HELP");
    case help::HELP_SETPOPUP_POS:
        return QStringLiteral("HELP_SETPOPUP_POS");
    case help::HELP_KEY:
        return QStringLiteral("HELP_KEY");
    case help::HELP_COMMAND:
        return QStringLiteral("HELP_COMMAND");
    case help::HELP_PARTIALKEY:
        return QStringLiteral("HELP_PARTIALKEY");
    case help::HELP_MULTIKEY:
        return QStringLiteral("HELP_MULTIKEY");
    case help::HELP_SETWINPOS:
        return QStringLiteral("HELP_SETWINPOS");
    default:
        return QStringLiteral("??");
    }
}

QString errorMessage(int code)
{
    switch (code) {
    case HH_NOT_INSTALLED:
        return QStringLiteral("MS Html Hilfe ist nicht auf diesem Computer installiert.");
    case HH_KEYHH_NOT_FOUND:
        return QStringLiteral("Die Systemdatei \"KeyHH.exe\" konnte nicht im Windows-Verzeichnis gefunden werden.");
    case HH_HH_NOT_FOUND:
        return QStringLiteral("Die Systemdatei \"HH.exe\" konnte nicht im Windows-Verzeichnis gefunden werden.");
    default:
        return QStringLiteral("HHHelpContext hat einen unbekannten Fehler zurückgeliefert.");
    }
}

// A start the system refuses is reported, yet the request counts as done.
void startSystemProgram(const QString &program, const QStringList &arguments)
{
    const help::ProgramStart start = help::StartSystemProgram(program, arguments);
    if (start.started)
        return;
    const QString message =
        QStringLiteral("Function ShellExecute(%1)\r\nReturned: %2")
            .arg(program + QStringLiteral(", ") + arguments.join(QLatin1Char(' ')),
                 QStringLiteral("[Error: %1] %2").arg(start.errorCode).arg(help::SystemErrorText(start.errorCode)));
    showWarning(message);
    HHDebugLog(QStringLiteral("%s"), {message});
}

int showInControl(const QString &topicPath, int context)
{
    const THtmlHelpEntry entry = HtmlHelpEntry();
    if (!entry)
        return HH_NOT_INSTALLED;
    if (QWidget *window = entry(nullptr, topicPath, help::HH_HELP_CONTEXT, context)) {
        window->raise();
        window->activateWindow();
    }
    return HH_DONE;
}

int showWithProgram(const QString &name, const QStringList &arguments, int notFound)
{
    const QString program = os::resolvePath(HHWindowsFolder() + QLatin1Char('/') + name);
    if (!QFileInfo(program).isFile())
        return notFound;
    startSystemProgram(program, arguments);
    return HH_DONE;
}

int showContextInMode(const QString &topicPath, int context, quint8 mode)
{
    const QString number = QString::number(context);
    switch (mode) {
    case HH_MODE_CONTROL:
        return showInControl(topicPath, context);
    case HH_MODE_KEYHH:
        return showWithProgram(QStringLiteral("KeyHH.EXE"),
                               {QStringLiteral("-win"), QStringLiteral("-#mapid"), number, topicPath},
                               HH_KEYHH_NOT_FOUND);
    default:
        return showWithProgram(QStringLiteral("HH.EXE"), {QStringLiteral("-mapid"), number, topicPath},
                               HH_HH_NOT_FOUND);
    }
}

QString withBlanks(const QString &text)
{
    return QString(text).replace(QStringLiteral("%20"), QStringLiteral(" ")).trimmed();
}

} // namespace

const THHFuncsGlobals &HHFuncsGlobals()
{
    return globals();
}

THookHelpSystem::THookHelpSystem(const QString &helpFile, const QString &winName, quint8 mode)
    : FOldHelpEvent(help::ApplicationHelpEvent()), FHelpFile(helpFile), FWinName(winName), FMode(mode)
{
    help::SetApplicationHelpEvent(
        [this](int command, qintptr data, bool &callHelp) { return HelpHook(command, data, callHelp); });
    HHDebugLog(QStringLiteral("THookHelpSystem.Create(\"%s\",\"%s\", %d)"), {FHelpFile, FWinName, int(FMode)});
}

THookHelpSystem::~THookHelpSystem()
{
    if (FMode == HH_MODE_CONTROL)
        HHCloseAll();
    help::SetApplicationHelpEvent(FOldHelpEvent);
    HHDebugLog(QStringLiteral("THookHelpSystem.Destroy"));
}

bool THookHelpSystem::HelpHook(int command, qintptr data, bool &callHelp)
{
    HHDebugLog(QStringLiteral("THookHelpSystem.HelpHook(%s, %d)"),
               {QStringLiteral("%1 (%2)").arg(command).arg(helpCommandName(command)), qlonglong(data)});
    callHelp = false;
    switch (command) {
    case help::HELP_CONTEXT:
        if (OnTopic)
            OnTopic(int(data));
        else
            HelpContext(int(data));
        break;
    case help::HELP_CONTEXTPOPUP:
        if (OnPopup)
            OnPopup(int(data), FPopupPos);
        else
            HelpContext(int(data));
        break;
    case help::HELP_SETPOPUP_POS:
        FPopupPos = QPoint(qint16(data & 0xFFFF), qint16((data >> 16) & 0xFFFF));
        break;
    default:
        callHelp = true;
    }
    return true;
}

int THookHelpSystem::HelpContext(int context)
{
    const int result = HHHelpContext(FHelpFile, context, FWinName, FMode);
    HHShowError(result);
    return result;
}

int HHHelpContext(const QString &helpFile, int context, const QString &winName, quint8 mode)
{
    HHDebugLog(QStringLiteral("HHHelpContext(\"%s\", %d, \"%s\", %d)"), {helpFile, context, winName, int(mode)});
    const QString file = withBlanks(helpFile);
    const QString window = withBlanks(winName);
    QString topicPath = window.isEmpty() ? file : file + QLatin1Char('>') + window;
    if (mode == HH_MODE_HH)
        topicPath.prepend(QStringLiteral("mk:@MSITStore:"));
    return ShowContext(topicPath, context, mode);
}

int ShowContext(const QString &topicPath, int context, quint8 mode)
{
    HHDebugLog(QStringLiteral("ShowContext(\"%s\", %d)"), {topicPath, int(mode)});
    const int result = globals()._hhInstalled ? showContextInMode(topicPath, context, mode) : HH_NOT_INSTALLED;
    HHDebugLog(QStringLiteral("  returned - %d"), {result});
    return result;
}

void HHShowError(int code)
{
    if (code == HH_DONE)
        return;
    const QString message = errorMessage(code);
    showWarning(message);
    HHDebugLog(QStringLiteral("HHShowError(%d), \"%s\""), {code, message});
}

void HHCloseAll()
{
    if (const THtmlHelpEntry entry = HtmlHelpEntry())
        entry(nullptr, QString(), help::HH_CLOSE_ALL, 0);
}

QString HHWindowsFolder()
{
    const QString configured = qEnvironmentVariable("TINTLEN_WINDIR");
    return os::excludeTrailingSeparator(configured.isEmpty() ? QStringLiteral("/usr/bin") : configured);
}

void HH_Funcs_Initialize(const QStringList &parameters)
{
    THHFuncsGlobals &state = globals();
    state = THHFuncsGlobals();
    state._ModuleDir = os::executableFolder();
    state._ModuleName = QFileInfo(QCoreApplication::applicationFilePath()).fileName();
    state._RunDir = os::excludeTrailingSeparator(QCoreApplication::applicationDirPath());
    state.traceFolder = help::TraceFolder(state._ModuleDir);
    state.debug = traceSwitchedOn(state._ModuleDir, parameters);
    settleVersions(state);
    if (!state.traceFolder.isEmpty())
        state.traceFile = state.traceFolder + QLatin1Char('/') + kTraceFileName;
    if (!state.traceFile.isEmpty())
        help::RemoveTraceFile(state.traceFile);
    if (state.debug)
        HHWriteTraceHeader();
}

void HH_Funcs_Finalize()
{
    globals() = THHFuncsGlobals();
}
