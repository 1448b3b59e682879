#include "ChmFixture.h"
#include "TestFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

namespace {

// A 2x3 PNG, red.
QByteArray pngImage()
{
    return QByteArray::fromBase64(
        "iVBORw0KGgoAAAANSUhEUgAAAAIAAAADCAIAAAA2iEnWAAAAEElEQVR4nGP4z8AARAwoFABE0AX7pM/egAAAAABJRU5ErkJggg==");
}

} // namespace

ChmFixture::ChmFixture() = default;

void ChmFixture::addFile(const QString &name, const QByteArray &content)
{
    const QString path = m_dir.filePath(name);
    QDir().mkpath(QFileInfo(path).path());
    writeTestFile(path, content);
    if (!name.endsWith(QLatin1String(".hhc")))
        m_files.append(QString(name).replace(QLatin1Char('/'), QLatin1Char('\\')));
}

void ChmFixture::addOption(const QString &line)
{
    m_options.append(line);
}

void ChmFixture::mapContext(const QString &alias, int context, const QString &page)
{
    m_aliases.append(alias + QLatin1Char('=') + page);
    m_map.append(QStringLiteral("#define %1 %2").arg(alias).arg(context));
}

QString ChmFixture::projectText(const QString &chmName) const
{
    QStringList lines{QStringLiteral("[OPTIONS]"), QStringLiteral("Compiled file=") + chmName,
                      QStringLiteral("Language=0x407 German (Germany)")};
    lines << m_options << QString() << QStringLiteral("[FILES]") << m_files;
    if (!m_aliases.isEmpty()) {
        lines << QString() << QStringLiteral("[ALIAS]") << m_aliases << QString() << QStringLiteral("[MAP]")
              << QStringLiteral("#include kontext.h");
    }
    return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

QString ChmFixture::build(const QString &chmName)
{
    if (!m_map.isEmpty()) {
        writeTestFile(m_dir.filePath(QStringLiteral("kontext.h")), m_map.join(QLatin1Char('\n')).toUtf8() + '\n');
    }
    if (!writeTestFile(m_dir.filePath(QStringLiteral("hilfe.hhp")), projectText(chmName).toUtf8()))
        return QString();

    QProcess compiler;
    compiler.setWorkingDirectory(m_dir.path());
    compiler.start(QStringLiteral("chmcmd"), {QStringLiteral("--no-html-scan"), QStringLiteral("hilfe.hhp")});
    if (!compiler.waitForFinished(20000) || compiler.exitCode() != 0)
        return QString();
    const QString built = m_dir.filePath(chmName);
    return QFileInfo::exists(built) ? built : QString();
}

QString ChmFixture::buildStandard(ChmFixture &fixture)
{
    fixture.addFile(QStringLiteral("start.htm"),
                    "<html><head><title>Druckverwaltung</title></head><body>"
                    "<h1>Druckverwaltung</h1><p>Siehe <a href=\"sub/formular.htm\">Formular "
                    "bearbeiten</a>.</p></body></html>");
    fixture.addFile(QStringLiteral("sub/formular.htm"), "<html><head><title>Formular</title></head><body><h1>Formular "
                                                        "bearbeiten</h1><p><img src=\"../bild.png\"></p><h2><a "
                                                        "name=\"kopie\">Formular kopieren</a></h2></body></html>");
    fixture.addFile(QStringLiteral("bild.png"), pngImage());
    fixture.addFile(QStringLiteral("inhalt.hhc"),
                    "<html><body><object type=\"text/site properties\"><param name=\"Name\" "
                    "value=\"ignoriert\"></object><ul><li><object type=\"text/sitemap\">"
                    "<param name=\"Name\" value=\"Druckverwaltung\"><param name=\"Local\" "
                    "value=\"start.htm\"></object><ul><li><object type=\"text/sitemap\">"
                    "<param name=\"Name\" value=\"Formular &amp; Kopie\"><param name=\"Local\" "
                    "value=\"sub\\formular.htm\"></object></ul></ul></body></html>");
    fixture.addOption(QStringLiteral("Contents file=inhalt.hhc"));
    fixture.addOption(QStringLiteral("Default topic=start.htm"));
    fixture.addOption(QStringLiteral("Title=Tintlen-Hilfe"));
    fixture.mapContext(QStringLiteral("IDH_HAUPTFENSTER"), 2000, QStringLiteral("start.htm"));
    fixture.mapContext(QStringLiteral("IDH_BEARBEITEN"), 2001, QStringLiteral("sub/formular.htm"));
    return fixture.build();
}
