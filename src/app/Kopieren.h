#pragma once

#include "ui_TfrmKopieren.h"

#include <QDialog>

#include <functional>

// The rule of the dialogs' file-name edits: a trailing ".frm", ".lst" or
// ".lbl" (any case) is dropped, and of a path only the file name is kept, so
// that form rows store bare base names.
QString FormFileNamePart(const QString &text);

// True when a stored name carries a folder ("\", "/" or a drive's ":").
bool HasFolderPart(const QString &name);

// A stored layout or template name without the extension after the last "."
// of its file name; a folder part stays.
QString WithoutFormExtension(const QString &name);

// Help of the program's windows: the context number for an HTML help file
// and the number for the application's own help. Tests may install another
// router; an empty one restores the program's routing.
using THelpRouter = std::function<void(int context, int fallbackContext)>;
void SetDialogHelpRouter(THelpRouter router);
void ShowDialogHelp(int context, int fallbackContext);
// F1 anywhere in the window asks for the same help as its help button.
void InstallHelpKey(QWidget *window, int context, int fallbackContext);

// What copying under a name would do: write new files, overwrite a form that
// exists, or copy the original onto itself.
enum class TCopyTarget { Free, Existing, Original };

// Asks for the name under which a layout or template is copied.
class TfrmKopieren : public QDialog, public Ui::TfrmKopieren
{
    Q_OBJECT

public:
    static constexpr int HelpContext = 2002;
    static constexpr int FallbackHelpContext = 202;

    explicit TfrmKopieren(QWidget *parent = nullptr);
    ~TfrmKopieren() override;

    // Shows the dialog for the stored name `originalName`. `checkTarget`
    // tells what copying under a name would do: the original itself is
    // refused, and the user is asked before an existing form is overwritten.
    // True when the user confirmed a usable name.
    bool Execute(const QString &originalName, std::function<TCopyTarget(const QString &)> checkTarget);
    // The confirmed name: a base name without extension and folder.
    QString NewName() const;

public slots:
    void btnOkClick();
    void btnHilfeClick();
    void edtNeuernameChange(const QString &text);

private:
    bool refuse(const QString &message);
    bool nameRefused(const QString &name);

    std::function<TCopyTarget(const QString &)> m_checkTarget;
};

// The program's copy dialog while it exists.
extern TfrmKopieren *frmKopieren;
