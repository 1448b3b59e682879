#include "HelpRoutingFixture.h"

#include "platform/help/ApplicationHelp.h"
#include "platform/help/HtmlHelpControl.h"
#include "platform/os/Paths.h"

#include <QApplication>
#include <QDir>
#include <QFile>

void HelpRoutingFixture::SetUp()
{
    for (const char *name : {"TMPDIR", "TINTLEN_WINDIR"})
        m_savedEnvironment.append({name, qgetenv(name)});
    for (const char *name : {"programm", "tmp", "windows"})
        QDir().mkpath(folder(name));
    qputenv("TMPDIR", folder("tmp").toUtf8());
    qputenv("TINTLEN_WINDIR", folder("windows").toUtf8());
    os::setExecutableFolder(folder("programm"));
    m_ui.setNow(QDateTime(QDate(2026, 12, 6), QTime(14, 5, 9)));
    m_helpFile = ChmFixture::buildStandard(m_chm);
    ASSERT_FALSE(m_helpFile.isEmpty()) << "chmcmd could not build the test help file";
}

void HelpRoutingFixture::TearDown()
{
    stop();
    help::SetApplicationHelpFile(QString());
    help::SetApplicationHelpEvent(nullptr);
    SetHelpFileDialogRunner(nullptr);
    os::setExecutableFolder(QString());
    for (const auto &[name, value] : m_savedEnvironment)
        qputenv(name, value);
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void HelpRoutingFixture::start(const QStringList &parameters)
{
    m_units = std::make_unique<HelpUnits>(parameters);
}

void HelpRoutingFixture::stop()
{
    m_units.reset();
}

QString HelpRoutingFixture::traceFile() const
{
    return folder("programm/HHDebug.txt");
}

// The file's lines; each must end in CR LF.
QStringList HelpRoutingFixture::traceLines() const
{
    QFile file(traceFile());
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QString text = QString::fromUtf8(file.readAll());
    if (!text.endsWith("\r\n"))
        return {"<Zeile ohne CR LF>"};
    text.chop(2);
    return text.split("\r\n");
}
