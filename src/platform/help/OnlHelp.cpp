#include "platform/help/OnlHelp.h"

#include "platform/help/ApplicationHelp.h"
#include "platform/help/HH.h"
#include "platform/help/HH_Funcs.h"
#include "platform/os/Paths.h"
#include "platform/ui/UiServices.h"

#include <QFileDialog>
#include <QFileInfo>

#include <memory>

namespace {

const QString kCaption = QStringLiteral("Velmora Kuvertalia");

std::unique_ptr<THookHelpSystem> &helpObject()
{
    static std::unique_ptr<THookHelpSystem> object;
    return object;
}

QString runModally(QFileDialog &dialog)
{
    return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles().value(0) : QString();
}

THelpFileDialogRunner &dialogRunner()
{
    static THelpFileDialogRunner runner = runModally;
    return runner;
}

// Blanks and control characters at both ends do not make a file name.
QString trimmedName(const QString &name)
{
    qsizetype first = 0;
    qsizetype last = name.size();
    while (first < last && name.at(first) <= QLatin1Char(' '))
        ++first;
    while (last > first && name.at(last - 1) <= QLatin1Char(' '))
        --last;
    return name.mid(first, last - first);
}

void assignHelpFile(const QString &file)
{
    if (helpObject())
        helpObject()->SetHelpFile(file);
    else
        helpObject() = std::make_unique<THookHelpSystem>(file, QString(), HH_MODE_CONTROL);
}

bool userWantsToSearch()
{
    return ui::services().messageBox(QStringLiteral("Es wurde keine Hilfedatei zugewiesen.\r\n"
                                                    "Möchten Sie selbst danach suchen?"),
                                     kCaption, ui::MsgIcon::Question, ui::MsgButtons::YesNo)
           == ui::IDYES;
}

// The filter names the program's own help file only.
QString pickHelpFile()
{
    const QString program = QFileInfo(QCoreApplication::applicationFilePath()).fileName();
    QFileDialog dialog(nullptr, QStringLiteral("Html-Hilfe öffnen"), os::executableFolder(),
                       QStringLiteral("Kuvertalia Html-Hilfe (%1.chm)").arg(program));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    return dialogRunner()(dialog);
}

void assignPickedFile(const QString &file)
{
    if (!os::fileExists(file)) {
        ui::services().messageBox(QStringLiteral("Die Hilfedatei \"%1\" konnte nicht gefunden werden.").arg(file),
                                  kCaption, ui::MsgIcon::Stop, ui::MsgButtons::Ok);
        return;
    }
    assignHelpFile(os::resolvePath(file));
}

} // namespace

void ShowHelpContext(int context)
{
    const QString applicationFile = help::ApplicationHelpFile();
    if (!helpObject() && !applicationFile.isEmpty() && os::fileExists(applicationFile))
        assignHelpFile(os::resolvePath(applicationFile));
    if (helpObject() && !trimmedName(helpObject()->HelpFile()).isEmpty()) {
        helpObject()->HelpContext(context);
        return;
    }
    if (!userWantsToSearch())
        return;
    const QString picked = pickHelpFile();
    if (picked.isEmpty())
        return;
    assignPickedFile(picked);
    if (helpObject())
        helpObject()->HelpContext(context);
}

THookHelpSystem *OnlHelpObject()
{
    return helpObject().get();
}

void SetHelpFileDialogRunner(THelpFileDialogRunner runner)
{
    dialogRunner() = runner ? std::move(runner) : runModally;
}

void OnlHelp_Finalize()
{
    helpObject().reset();
    HHCloseAll();
}

HelpUnits::HelpUnits(const QStringList &parameters)
{
    HH_Initialize();
    HH_Funcs_Initialize(parameters);
}

HelpUnits::~HelpUnits()
{
    OnlHelp_Finalize();
    HH_Funcs_Finalize();
    HH_Finalize();
}
