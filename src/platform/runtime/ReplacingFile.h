#pragma once

#include <QFile>
#include <QString>

namespace runtime {

// Writes a file beside its target and puts it in the target's place in one
// step when every byte is on the disk, so that readers see the old file or
// the new one and a writer killed half-way leaves the old one. The
// temporary file's name says that it is one of ours and which process
// writes it (".Liste.pdf.tintlen-4711-1.tmp"); the next writer of the same
// target removes those of processes that have ended. A new file gets the
// permissions any program's new file gets (0666 less the umask), a
// replaced one keeps its own.
class ReplacingFile
{
public:
    explicit ReplacingFile(const QString &targetPath);
    ~ReplacingFile();
    ReplacingFile(const ReplacingFile &) = delete;
    ReplacingFile &operator=(const ReplacingFile &) = delete;

    bool open();
    QFile &file() { return m_file; }
    // False, with the old target kept, when a write failed or fell short.
    bool commit();
    void discard();
    QString errorString() const { return m_error; }
    QString temporaryPath() const { return m_temporaryPath; }

private:
    QString m_targetPath;
    QString m_temporaryPath;
    QFile m_file;
    QString m_error;
};

// The temporaries that ended processes left beside the target.
QStringList staleTemporaries(const QString &targetPath);

} // namespace runtime
