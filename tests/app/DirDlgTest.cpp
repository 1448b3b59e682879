#include "app/DirDlg.h"
#include "DirDlgScript.h"

#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class DirDlgTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(folder.isValid());
        ASSERT_TRUE(QDir(folder.path()).mkpath(QStringLiteral("Anlagen/2026")));
    }

    QString path(const QString &relative) const { return folder.filePath(relative); }

    QTemporaryDir folder;
    DialogScript user;
};

QFileDialog &picker(QDialog &dialog)
{
    auto *fileDialog = qobject_cast<QFileDialog *>(&dialog);
    EXPECT_NE(fileDialog, nullptr);
    return *fileDialog;
}

}

TEST_F(DirDlgTest, AChosenFolderIsReturned)
{
    TDirDlg dialog;
    dialog.Title = QStringLiteral("Bitte geben Sie den Pfad für die Anlagen an.");
    dialog.InitialDir = path(QStringLiteral("Anlagen"));
    QString shownFolder;
    bool foldersOnly = false;
    user.then([&](QDialog &opened) {
        QFileDialog &fileDialog = picker(opened);
        shownFolder = fileDialog.directory().absolutePath();
        foldersOnly =
            fileDialog.fileMode() == QFileDialog::Directory && fileDialog.testOption(QFileDialog::ShowDirsOnly);
        fileDialog.selectFile(path(QStringLiteral("Anlagen/2026")));
        static_cast<QDialog &>(fileDialog).accept();
    });
    ASSERT_TRUE(dialog.Execute());
    EXPECT_EQ(user.opened(), QStringList{dialog.Title});
    EXPECT_EQ(shownFolder, QDir(path(QStringLiteral("Anlagen"))).absolutePath());
    EXPECT_TRUE(foldersOnly);
    EXPECT_EQ(QDir(dialog.GetDirectory()).absolutePath(), QDir(path(QStringLiteral("Anlagen/2026"))).absolutePath());
}

TEST_F(DirDlgTest, CancellingChoosesNothingAndShowsTheInitialFolderAndStatus)
{
    TDirDlg dialog;
    dialog.InitialDir = path(QStringLiteral("anlagen\\2026"));
    dialog.StatusText = QStringLiteral("Ordner für die Anlagen");
    QString shownFolder;
    QString shownStatus;
    user.then([&](QDialog &opened) {
        // An initial folder written the suite's way is found.
        shownFolder = picker(opened).directory().absolutePath();
        const auto *status = opened.findChild<QLabel *>(QStringLiteral("lblStatus"));
        ASSERT_NE(status, nullptr);
        EXPECT_TRUE(status->isVisible());
        shownStatus = status->text();
        opened.reject();
    });
    EXPECT_FALSE(dialog.Execute());
    EXPECT_TRUE(dialog.GetDirectory().isEmpty());
    EXPECT_EQ(shownFolder, QDir(path(QStringLiteral("Anlagen/2026"))).absolutePath());
    EXPECT_EQ(shownStatus, dialog.StatusText);
}
