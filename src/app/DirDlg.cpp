#include "app/DirDlg.h"

#include "platform/os/Paths.h"

#include <QApplication>
#include <QFileDialog>
#include <QGridLayout>
#include <QLabel>

namespace {

TModalRunner &modalRunner()
{
    static TModalRunner runner;
    return runner;
}

// The status line needs the dialog's own widgets, so a picker with a status
// text is always Qt's widget dialog, never the desktop's.
void addStatusLine(QFileDialog &dialog, const QString &text)
{
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    auto *grid = qobject_cast<QGridLayout *>(dialog.layout());
    auto *status = new QLabel(text, &dialog);
    status->setObjectName(QStringLiteral("lblStatus"));
    status->setWordWrap(true);
    if (grid)
        grid->addWidget(status, grid->rowCount(), 0, 1, grid->columnCount());
    else
        dialog.layout()->addWidget(status);
}

}

void SetModalRunner(TModalRunner runner)
{
    modalRunner() = std::move(runner);
}

int RunModal(QDialog &dialog)
{
    if (modalRunner())
        return modalRunner()(dialog);
    return dialog.exec();
}

TDirDlg::TDirDlg(QObject *owner) : QObject(owner)
{}

bool TDirDlg::Execute()
{
    QFileDialog dialog(QApplication::activeWindow(), Title);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    if (!InitialDir.isEmpty())
        dialog.setDirectory(os::resolvePath(InitialDir));
    if (!StatusText.isEmpty())
        addStatusLine(dialog, StatusText);
    if (RunModal(dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return false;
    m_directory = dialog.selectedFiles().constFirst();
    return true;
}
