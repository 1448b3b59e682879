#include "platform/help/SystemProgram.h"

#include <QHash>
#include <QProcess>

#include <cerrno>
#include <cstring>

namespace help {

namespace {

// Windows' "a device attached to the system is not functioning": the code
// for causes that have no closer one.
constexpr int kGeneralFailure = 31;

const QHash<int, int> &windowsCodesOfErrno()
{
    static const QHash<int, int> codes{{ENOENT, 2},   {ENOTDIR, 3},    {EACCES, 5}, {EPERM, 5},
                                       {EISDIR, 5},   {ENOMEM, 8},     {EROFS, 19}, {ETXTBSY, 32},
                                       {ENOSPC, 112}, {ENOEXEC, 1151}, {EIO, 1392}};
    return codes;
}

// QProcess reports a failed start only as text ending in the system's
// description of the cause; the description identifies the cause.
int windowsCodeOf(const QString &processError)
{
    const QHash<int, int> &codes = windowsCodesOfErrno();
    for (auto it = codes.cbegin(); it != codes.cend(); ++it) {
        if (processError.endsWith(QString::fromLocal8Bit(std::strerror(it.key()))))
            return it.value();
    }
    return kGeneralFailure;
}

} // namespace

ProgramStart StartSystemProgram(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.setProgram(program);
    process.setArguments(arguments);
    if (process.startDetached())
        return {true, 0};
    return {false, windowsCodeOf(process.errorString())};
}

QString SystemErrorText(int errorCode)
{
    static const QHash<int, QString> texts{{2, QStringLiteral("Datei konnte nicht gefunden werden.")},
                                           {3, QStringLiteral("Verzeichnis konnte nicht gefunden werden.")},
                                           {5, QStringLiteral("Zugriff verweigert")},
                                           {8, QStringLiteral("Nicht genügend Speicherkapazität")},
                                           {19, QStringLiteral("Datei ist schreibgeschützt")},
                                           {21, QStringLiteral("Gerät ist nicht bereit")},
                                           {32, QStringLiteral("Datei wird bereits verwendet")},
                                           {33, QStringLiteral("Datei wird bereits verwendet")},
                                           {39, QStringLiteral("Datenträger ist voll")},
                                           {112, QStringLiteral("Datenträger ist voll")},
                                           {1150, QStringLiteral("Falsche Windows-Version")},
                                           {1151, QStringLiteral("Kein Windows oder MS DOS Programm")},
                                           {276, QStringLiteral("Datei oder Datenträger beschädigt")},
                                           {1005, QStringLiteral("Datei oder Datenträger beschädigt")},
                                           {1392, QStringLiteral("Datei oder Datenträger beschädigt")},
                                           {1393, QStringLiteral("Datei oder Datenträger beschädigt")},
                                           {1009, QStringLiteral("Registry ist beschädigt")},
                                           {1358, QStringLiteral("Registry ist beschädigt")}};
    return texts.value(errorCode, QStringLiteral("Allgemeine Schutzverletzung"));
}

} // namespace help
