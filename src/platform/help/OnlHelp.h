#pragma once

#include <QStringList>

#include <functional>

class QFileDialog;
class THookHelpSystem;

// The windows' help call and the program's one help object.

// Shows the topic of a context number from the help file; asks the user to
// pick a help file when none is assigned.
void ShowHelpContext(int context);

// The help object; nullptr until the first request finds a help file.
THookHelpSystem *OnlHelpObject();

// Shows the dialog for picking a help file and returns the chosen file,
// empty on cancel. The default runs the dialog modally; tests answer for
// the user.
using THelpFileDialogRunner = std::function<QString(QFileDialog &dialog)>;
void SetHelpFileDialogRunner(THelpFileDialogRunner runner);

void OnlHelp_Finalize();

// Runs the starts of the help units (HH, HH_Funcs, OnlHelp) in that order
// and their ends in reverse order when it goes.
class HelpUnits
{
public:
    explicit HelpUnits(const QStringList &parameters);
    ~HelpUnits();
    HelpUnits(const HelpUnits &) = delete;
    HelpUnits &operator=(const HelpUnits &) = delete;
};
