#pragma once

#include <QObject>
#include <QString>

#include <functional>

class QDialog;

// Every modal dialog of the form maintenance (the form-entry and copy dialogs,
// the file and folder pickers) runs through here, so that tests can install a
// runner that works the dialog and returns its result instead of blocking.
using TModalRunner = std::function<int(QDialog &)>;

// An empty runner restores the real modal loop.
void SetModalRunner(TModalRunner runner);
int RunModal(QDialog &dialog);

// Lets the user pick a folder: a file dialog that shows and returns folders
// only.
class TDirDlg : public QObject
{
    Q_OBJECT

public:
    explicit TDirDlg(QObject *owner = nullptr);

    // The caption of the picker, the folder it opens on (none: the current
    // one) and an optional line of text shown under the folders.
    QString Title;
    QString InitialDir;
    QString StatusText;

    // True when the user chose a folder; GetDirectory then returns it.
    bool Execute();
    QString GetDirectory() const { return m_directory; }

private:
    QString m_directory;
};
