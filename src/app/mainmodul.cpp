#include "app/mainmodul.h"

#include "app/Utils.h"
#include "platform/help/ApplicationHelp.h"
#include "platform/os/IniFile.h"
#include "platform/os/Paths.h"

#include <algorithm>

namespace {

const QString initSection = QStringLiteral("Init");
const QString storedFilterMarker = QStringLiteral("|qkFilter=");
const QChar apostrophe = QLatin1Char('\'');

QString readInit(const TIniFile &ini, const QString &key)
{
    return ini.ReadString(initSection, key, QString());
}

}

QString ProgramIniPath()
{
    return os::executableFolder() + QStringLiteral("/Tintlen.ini");
}

TEmailRequest &EmailRequest()
{
    static TEmailRequest request;
    return request;
}

TEmailPaths &EmailPaths()
{
    static TEmailPaths paths;
    return paths;
}

THelpSetting &HelpSetting()
{
    static THelpSetting setting;
    return setting;
}

void ReadPrintRequest()
{
    const TIniFile ini(ProgramIniPath());
    TEmailRequest request;
    request.Modul = readInit(ini, QStringLiteral("ToPrint"));
    const auto value = [&](const char *key) { return ini.ReadString(request.Modul, QLatin1String(key), QString()); };
    request.FormFilterTyp = value("FormFilterTyp");
    request.FormTyp = value("FormTyp");
    request.Datensatz = StripAllApostrophes(value("Datensatz"));
    request.Datenbereich = value("Datenbereich");
    // The stored criteria are no filter expression; the head table would
    // refuse the whole text, so only the record filter is kept.
    request.Datenfilter = SplitStoredFilter(value("Datenfilter")).RecordFilter;
    request.IstAuftrag = request.Modul == QLatin1String("Auftrag");
    request.Einzeln = request.Datenbereich == QLatin1String("E");
    EmailRequest() = request;
}

void ReadDataPaths()
{
    const TIniFile ini(ProgramIniPath());
    EmailPaths().DatenPfad = StripBackslash(readInit(ini, QStringLiteral("DatenPfad")));
    EmailPaths().FormularPfad = StripBackslash(readInit(ini, QStringLiteral("FormularPfad")));
}

void ReadHelpFile()
{
    const TIniFile ini(ProgramIniPath());
    const QString helpFile = readInit(ini, QStringLiteral("Hilfedatei"));
    if (helpFile.isEmpty())
        return;
    HelpSetting().HtmlHelp = os::fileExtension(helpFile).toUpper() == QLatin1String(".CHM");
    HelpSetting().HelpFile = helpFile;
    help::SetApplicationHelpFile(helpFile);
}

QString StripOneApostrophe(const QString &key)
{
    QString result = key;
    if (result.startsWith(apostrophe))
        result.remove(0, 1);
    if (result.endsWith(apostrophe))
        result.chop(1);
    return result;
}

QString StripAllApostrophes(const QString &key)
{
    qsizetype start = 0;
    while (start < key.size() && key[start] == apostrophe)
        ++start;
    qsizetype end = key.size();
    while (end > start && key[end - 1] == apostrophe)
        --end;
    return key.mid(start, end - start);
}

TSplitFilter SplitStoredFilter(const QString &filter)
{
    const qsizetype marker = filter.indexOf(storedFilterMarker);
    if (marker < 0)
        return {filter, QString()};
    return {filter.left(marker), filter.mid(marker + storedFilterMarker.size())};
}

TProgramPaths ReadProgramPaths(const TIniFile &ini)
{
    TProgramPaths paths;
    paths.FormularPfad = readInit(ini, QStringLiteral("FormularPfad"));
    paths.DatenPfad = readInit(ini, QStringLiteral("DatenPfad"));
    paths.UserPfad = readInit(ini, QStringLiteral("UserPfad"));
    paths.TempPfad = readInit(ini, QStringLiteral("TempPfad"));
    paths.DatenpfadQRB = readInit(ini, QStringLiteral("Datenpfad_QRB"));
    return paths;
}

QString CheckProgramPaths(const TProgramPaths &paths)
{
    const QString setUpFormPath =
        QStringLiteral("\r\n\r\nRufen Sie \"Einstellungen/Installation\" auf, um dort den Formular-Pfad einzustellen!");
    if (paths.FormularPfad.isEmpty())
        return QStringLiteral("Der Pfad, in dem sich die Formulare befinden, wurde nicht angegeben!") + setUpFormPath;
    if (paths.DatenPfad.isEmpty())
        return QStringLiteral("Datenpfad wurde nicht angegeben!");
    if (paths.UserPfad.isEmpty())
        return QStringLiteral("UserPfad wurde nicht angegeben!");
    if (!os::directoryExists(paths.FormularPfad))
        return QStringLiteral("Der Pfad, in dem sich die Formulare befinden sollen, ist nicht vorhanden:\r\n")
               + paths.FormularPfad + setUpFormPath;
    if (!os::directoryExists(paths.DatenPfad))
        return QStringLiteral("Daten-Pfad ist nicht vorhanden: ") + paths.DatenPfad;
    const QString formTable = os::includeTrailingSeparator(paths.DatenPfad) + QStringLiteral("Formular.db");
    if (os::directoryExists(formTable))
        return QStringLiteral("Im Verzeichnis %1 ist Formular.db ein Ordner, keine Tabelle. Benennen Sie den Ordner um "
                              "und holen Sie die Datei Formular.db aus einer Sicherung zurück.")
            .arg(paths.DatenPfad);
    if (!os::fileExists(formTable))
        return QStringLiteral("Formular.db ist nicht vorhanden im Verzeichnis ") + paths.DatenPfad;
    return QString();
}

void AddPathSeparators(TProgramPaths &paths)
{
    paths.FormularPfad = os::includeTrailingSeparator(paths.FormularPfad);
    paths.DatenPfad = os::includeTrailingSeparator(paths.DatenPfad);
    paths.UserPfad = os::includeTrailingSeparator(paths.UserPfad);
}

TPrintRequest ReadRequestSection(const TIniFile &ini)
{
    TPrintRequest request;
    request.Modul = readInit(ini, QStringLiteral("ToPrint"));
    const auto value = [&](const char *key) { return ini.ReadString(request.Modul, QLatin1String(key), QString()); };
    request.FormFilterTyp = value("FormFilterTyp");
    request.FormTyp = value("FormTyp");
    request.Datenbereich = value("Datenbereich");
    request.Datensatz = value("Datensatz");
    request.Datensatz1 = value("Datensatz1");
    request.Datenfilter = value("Datenfilter");
    request.Datenindex = value("Datenindex");
    return request;
}

QString CheckPrintRequest(const TPrintRequest &request)
{
    if (request.Modul.isEmpty())
        return QStringLiteral("Es wurde kein Druckbereich angegeben!");
    const auto missing = [&](const QString &key) {
        return QStringLiteral("Zu ") + request.Modul + QStringLiteral(" wurde kein ") + key
               + QStringLiteral(" angegeben!");
    };
    if (request.FormFilterTyp.isEmpty())
        return missing(QStringLiteral("FormFilterTyp"));
    if (request.FormTyp.isEmpty())
        return missing(QStringLiteral("FormTyp"));
    if (request.Datenbereich.isEmpty())
        return missing(QStringLiteral("Datenbereich"));
    return QString();
}

void NormalizePrintRequest(TPrintRequest &request)
{
    request.Datensatz = StripOneApostrophe(request.Datensatz);
    request.Datensatz1 = StripOneApostrophe(request.Datensatz1);
    const TSplitFilter filter = SplitStoredFilter(request.Datenfilter);
    request.Datenfilter = filter.RecordFilter;
    request.FilterDefinition = filter.FilterDefinition;
}
