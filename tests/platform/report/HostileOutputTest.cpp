#include "platform/report/PdfSink.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace report;

namespace {

// A PDF is a document for the user's other programs: it gets the
// permissions the umask gives any new file, and no temporary stays behind.
TEST(HostileOutput, PdfFilesAreCreatedAsAnyProgramCreatesThem)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Liste.pdf"));
    const mode_t saved = ::umask(022);
    Page page;
    page.size = QSizeF(210, 297);
    PdfSink sink(path, QStringLiteral("Liste"));
    ASSERT_EQ(sink.addPage(page), 0);
    ASSERT_EQ(sink.finish(), 0);
    ::umask(saved);
    struct stat info = {};
    ASSERT_EQ(::stat(QFile::encodeName(path).constData(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, mode_t(0644));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("Liste.pdf")});
}

} // namespace
