#include "app/Kopieren.h"

#include "app/DirDlg.h"
#include "app/Utils.h"
#include "app/mainmodul.h"
#include "platform/help/ApplicationHelp.h"
#include "platform/help/OnlHelp.h"
#include "platform/ui/Application.h"
#include "platform/ui/UiServices.h"

#include <QShortcut>

namespace {

const QStringList formExtensions = {QStringLiteral(".frm"), QStringLiteral(".lst"), QStringLiteral(".lbl")};

// The suite writes "\" and a drive's ":", we write "/": each ends a folder part.
qsizetype fileNameStart(const QString &path)
{
    qsizetype start = 0;
    for (const QChar separator : {QLatin1Char('\\'), QLatin1Char('/'), QLatin1Char(':')})
        start = std::max(start, path.lastIndexOf(separator) + 1);
    return start;
}

// A ".chm" help file goes to the help viewer by the window's context
// number; any other help file to the application's help by its fallback.
void routeHelp(int context, int fallbackContext)
{
    if (HelpSetting().HtmlHelp)
        ShowHelpContext(context);
    else
        help::ApplicationHelpContext(fallbackContext);
}

THelpRouter &helpRouter()
{
    static THelpRouter router = routeHelp;
    return router;
}

}

TfrmKopieren *frmKopieren = nullptr;

QString FormFileNamePart(const QString &text)
{
    QString name = text;
    const QString lowered = name.toLower();
    for (const QString &extension : formExtensions) {
        if (lowered.endsWith(extension)) {
            name.chop(extension.size());
            break;
        }
    }
    return name.mid(fileNameStart(name));
}

bool HasFolderPart(const QString &name)
{
    return fileNameStart(name) > 0;
}

QString WithoutFormExtension(const QString &name)
{
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    return dot >= fileNameStart(name) ? name.left(dot) : name;
}

void SetDialogHelpRouter(THelpRouter router)
{
    helpRouter() = router ? std::move(router) : THelpRouter(routeHelp);
}

void ShowDialogHelp(int context, int fallbackContext)
{
    helpRouter()(context, fallbackContext);
}

TfrmKopieren::TfrmKopieren(QWidget *parent) : QDialog(parent)
{
    setupUi(this);
    connect(btnOk, &QPushButton::clicked, this, &TfrmKopieren::btnOkClick);
    connect(btnAbbruch, &QPushButton::clicked, this, &QDialog::reject);
    connect(btnHilfe, &QPushButton::clicked, this, &TfrmKopieren::btnHilfeClick);
    InstallHelpKey(this, HelpContext, FallbackHelpContext);
    connect(edtNeuername, &QLineEdit::textEdited, this, &TfrmKopieren::edtNeuernameChange);
    frmKopieren = this;
}

TfrmKopieren::~TfrmKopieren()
{
    if (frmKopieren == this)
        frmKopieren = nullptr;
}

bool TfrmKopieren::Execute(const QString &originalName, std::function<TCopyTarget(const QString &)> checkTarget)
{
    lblOriginal->setText(originalName);
    m_checkTarget = std::move(checkTarget);
    edtNeuername->clear();
    edtNeuername->setFocus();
    return RunModal(*this) == QDialog::Accepted;
}

QString TfrmKopieren::NewName() const
{
    return edtNeuername->text().trimmed();
}

void TfrmKopieren::btnOkClick()
{
    if (!nameRefused(NewName()))
        accept();
}

// Every refusal keeps the dialog open with the name ready to be corrected.
bool TfrmKopieren::refuse(const QString &message)
{
    ShowPlainMessage(message);
    edtNeuername->setFocus();
    return true;
}

bool TfrmKopieren::nameRefused(const QString &name)
{
    if (name.isEmpty())
        return refuse(QStringLiteral("Bitte erst einen Zielnamen eingeben!"));
    if (name.contains(QLatin1Char('.')))
        return refuse(QStringLiteral("Die Angabe einer Extension ist nicht möglich!!"));
    for (const QChar forbidden : {QLatin1Char('/'), QLatin1Char('\\'), QLatin1Char('*'), QLatin1Char('?')}) {
        if (name.contains(forbidden))
            return refuse(QStringLiteral("Der Zielname darf keines der Zeichen / \\ * ? enthalten!"));
    }
    const TCopyTarget target = m_checkTarget ? m_checkTarget(name) : TCopyTarget::Free;
    if (target == TCopyTarget::Original)
        return refuse(QStringLiteral("Ein Formular kann nicht auf sich selbst kopiert werden!"));
    if (target == TCopyTarget::Existing) {
        const int answer =
            ui::services().messageBox(QStringLiteral("Ein Formular mit dem Namen ") + name
                                          + QStringLiteral(" ist bereits vorhanden.\r\nSoll es überschrieben werden?"),
                                      ui::applicationTitle(), ui::MsgIcon::Question, ui::MsgButtons::YesNo, ui::IDNO);
        if (answer != ui::IDYES) {
            edtNeuername->setFocus();
            return true;
        }
    }
    return false;
}

void InstallHelpKey(QWidget *window, int context, int fallbackContext)
{
    auto *key = new QShortcut(QKeySequence(Qt::Key_F1), window);
    key->setContext(Qt::WindowShortcut);
    QObject::connect(key, &QShortcut::activated, window,
                     [context, fallbackContext] { ShowDialogHelp(context, fallbackContext); });
}

void TfrmKopieren::btnHilfeClick()
{
    ShowDialogHelp(HelpContext, FallbackHelpContext);
}

void TfrmKopieren::edtNeuernameChange(const QString &text)
{
    const QString name = FormFileNamePart(text);
    if (name != text)
        edtNeuername->setText(name);
}
