#pragma once

#include "platform/help/ApplicationHelp.h"

#include <QCoreApplication>
#include <QPoint>
#include <QString>
#include <QStringList>

#include <functional>

// Routes the application's help requests to topics of a compiled help
// file, by context number, through the help control or one of the
// system's help programs, with a diagnostic trace of the calls.

// How a topic is shown: through the help control, KeyHH.EXE or HH.EXE.
enum THHMode : quint8 { HH_MODE_CONTROL = 0, HH_MODE_KEYHH = 1, HH_MODE_HH = 2 };

// Results of a help request.
enum THHResult { HH_DONE = 0, HH_NOT_INSTALLED = 1, HH_KEYHH_NOT_FOUND = 2, HH_HH_NOT_FOUND = 3 };

// Settled once at start for the whole run.
struct THHFuncsGlobals
{
    QString _ModuleDir;
    QString _ModuleName;
    QString _RunDir;
    QString _hhVerStr;
    bool _hhInstalled = false;
    QString _hhFriendlyVerStr;
    QString _ieVerStr;
    bool _ieInstalled = false;
    QString _ieFriendlyVerStr;
    bool debug = false;
    QString traceFolder;
    QString traceFile;
};

const THHFuncsGlobals &HHFuncsGlobals();

// Takes over the application's help event for its lifetime.
class THookHelpSystem
{
public:
    THookHelpSystem(const QString &helpFile, const QString &winName, quint8 mode);
    ~THookHelpSystem();
    THookHelpSystem(const THookHelpSystem &) = delete;
    THookHelpSystem &operator=(const THookHelpSystem &) = delete;

    bool HelpHook(int command, qintptr data, bool &callHelp);
    int HelpContext(int context);

    QString HelpFile() const { return FHelpFile; }
    void SetHelpFile(const QString &helpFile) { FHelpFile = helpFile; }
    QPoint PopupPos() const { return FPopupPos; }

    // Replace the topic display when set.
    std::function<void(int context)> OnTopic;
    std::function<void(int context, QPoint position)> OnPopup;

private:
    help::THelpEvent FOldHelpEvent;
    QString FHelpFile;
    QString FWinName;
    quint8 FMode;
    QPoint FPopupPos;
};

int HHHelpContext(const QString &helpFile, int context, const QString &winName, quint8 mode);
int ShowContext(const QString &topicPath, int context, quint8 mode);
void HHShowError(int code);
void HHCloseAll();

// The folder the system's help programs KeyHH.EXE and HH.EXE are looked up
// in: $TINTLEN_WINDIR, else /usr/bin.
QString HHWindowsFolder();

// The start needs the command-line parameters (without the program).
void HH_Funcs_Initialize(const QStringList &parameters = QCoreApplication::arguments().mid(1));
void HH_Funcs_Finalize();
