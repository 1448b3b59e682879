#include "demo/gallery/GermanCaptions.h"

#include "lib/data/Qkintl.h"

namespace gallery {

namespace {

void filterDialog(TqkFilterDialogIntl &t)
{
    t.BtnViewSummary = QStringLiteral("&Übersicht");
    t.BtnViewSummaryHint = QStringLiteral("Zeigt die Übersicht der aktuellen Suchbedingungen");
    t.BtnNewSearch = QStringLiteral("&Neue Suche");
    t.BtnNewSearchHint = QStringLiteral("Beginnt eine neue Suche");
    t.FieldOrderLabel = QStringLiteral("Feldreihenfolge");
    t.FieldOrderHint = QStringLiteral("Felder alphabetisch oder in ihrer natürlichen Reihenfolge zeigen");
    t.AlphabeticLabel = QStringLiteral("Alp&habetisch");
    t.LogicalLabel = QStringLiteral("Logi&sch");
    t.AllFieldsLabel = QStringLiteral("&Alle");
    t.SearchedFieldsLabel = QStringLiteral("Ges&uchte");
    t.StartingRangeLabel = QStringLiteral("&Von");
    t.EndingRangeLabel = QStringLiteral("&Bis");
    t.StartingRangeHint = QStringLiteral("Anfang des Bereichs für das Feld eingeben");
    t.EndingRangeHint = QStringLiteral("Ende des Bereichs für das Feld eingeben");
    t.BtnClearMin = QStringLiteral("L&eeren");
    t.BtnClearMax = QStringLiteral("Lee&ren");
    t.BtnClearFilterValue = QStringLiteral("&Leeren");
    t.BtnClearMinHint = QStringLiteral("Anfang des Bereichs leeren");
    t.BtnClearMaxHint = QStringLiteral("Ende des Bereichs leeren");
    t.BtnClearFilterValueHint = QStringLiteral("Suchwert des Feldes leeren");
    t.ByValueLabel = QStringLiteral("Nach &Wert");
    t.ByRangeLabel = QStringLiteral("Nach Berei&ch");
    t.FieldValueLabel = QStringLiteral("Fel&dwert");
    t.FieldValueHint = QStringLiteral("Suchwert des Feldes eingeben");
    t.SearchTypeLabel = QStringLiteral("Suchart");
    t.SearchTypeHint = QStringLiteral("Wie der Feldwert verglichen wird");
    t.MatchExactLabel = QStringLiteral("&Genaue Übereinstimmung");
    t.MatchStartLabel = QStringLiteral("Übereinstimmung a&m Anfang");
    t.MatchAnyLabel = QStringLiteral("Übereinstimmung &irgendwo");
    t.CaseSensitiveLabel = QStringLiteral("Groß-/&Kleinschreibung beachten");
    t.CaseSensitiveHint = QStringLiteral("Die Suche unterscheidet Groß- und Kleinschreibung");
    t.NonMatchingLabel = QStringLiteral("Nicht &passende Datensätze");
    t.NonMatchingHint = QStringLiteral("Zeigt die Datensätze, die dem Feldwert nicht entsprechen");
    t.SummaryFieldLabel = QStringLiteral("Feld");
    t.SummarySearchLabel = QStringLiteral("Suchart");
    t.SummaryValueLabel = QStringLiteral("Wert");
    t.FieldsLabel = QStringLiteral("&Felder");
    t.ValueRangeTabHint = QStringLiteral("Felder nach Wert oder nach Bereich suchen");
    t.AllSearchedTabHint = QStringLiteral("Alle Felder oder nur die gesuchten zeigen");
    t.ViewSummaryNotText = QStringLiteral("NICHT");
    t.SummaryCaption = QStringLiteral("Übersicht der Suchbedingungen");
    t.BtnCloseSummary = QStringLiteral("&Schließen");
    t.EntryRefusedText = QStringLiteral("Der Eintrag „%1“ unter „%2“ für das Feld „%3“ %4.");
    t.NotWholeNumberText = QStringLiteral("ist keine ganze Zahl");
    t.OutsideWholeNumbersText = QStringLiteral("liegt außerhalb des Bereichs ganzer Zahlen");
    t.NotNumberText = QStringLiteral("ist keine Zahl");
    t.NotDateText = QStringLiteral("ist kein gültiges Datum");
    t.NotTimeText = QStringLiteral("ist keine gültige Uhrzeit");
}

void menuLabels(TqkRichEditMenuLabels &m)
{
    m.FileCaption = QStringLiteral("&Datei");
    m.LoadCaption = QStringLiteral("Ö&ffnen");
    m.SaveAsCaption = QStringLiteral("Speichern &unter");
    m.SaveExitCaption = QStringLiteral("&Speichern und beenden");
    m.PrintCaption = QStringLiteral("&Drucken");
    m.PageSetupCaption = QStringLiteral("Seite ein&richten");
    m.ExitCaption = QStringLiteral("&Beenden");
    m.EditCaption = QStringLiteral("&Bearbeiten");
    m.UndoCaption = QStringLiteral("&Rückgängig");
    m.CutCaption = QStringLiteral("&Ausschneiden");
    m.CopyCaption = QStringLiteral("&Kopieren");
    m.PasteCaption = QStringLiteral("&Einfügen");
    m.ClearCaption = QStringLiteral("&Löschen");
    m.SelectallCaption = QStringLiteral("Alles &markieren");
    m.FindCaption = QStringLiteral("&Suchen");
    m.FindNextCaption = QStringLiteral("&Weitersuchen");
    m.ReplaceCaption = QStringLiteral("Erse&tzen");
    m.InsertObjectCaption = QStringLiteral("&Objekt...");
    m.ViewCaption = QStringLiteral("&Ansicht");
    m.ToolbarCaption = QStringLiteral("&Symbolleiste");
    m.FormatBarCaption = QStringLiteral("&Formatleiste");
    m.ViewStatusBarCaption = QStringLiteral("S&tatusleiste");
    m.OptionsCaption = QStringLiteral("&Optionen");
    m.FormatCaption = QStringLiteral("F&ormat");
    m.FontCaption = QStringLiteral("&Schriftart");
    m.BulletStyleCaption = QStringLiteral("&Aufzählung");
    m.ParagraphCaption = QStringLiteral("A&bsatz");
    m.TabsCaption = QStringLiteral("&Tabulatoren");
    m.HelpCaption = QStringLiteral("Hilfe");
    m.RedoCaption = QStringLiteral("Wieder&holen");
    m.RulerCaption = QStringLiteral("&Lineal");
    m.InsertCaption = QStringLiteral("&Einfügen");
    m.FileFilter = QStringLiteral("RTF-Dateien (*.RTF)|*.RTF|Textdateien (*.TXT)|*.TXT");
    m.BlackCaption = QStringLiteral("Schwarz");
    m.MaroonCaption = QStringLiteral("Kastanienbraun");
    m.GreenCaption = QStringLiteral("Grün");
    m.OliveCaption = QStringLiteral("Oliv");
    m.NavyCaption = QStringLiteral("Marineblau");
    m.PurpleCaption = QStringLiteral("Violett");
    m.TealCaption = QStringLiteral("Petrol");
    m.GrayCaption = QStringLiteral("Grau");
    m.SilverCaption = QStringLiteral("Silber");
    m.RedCaption = QStringLiteral("Rot");
    m.LimeCaption = QStringLiteral("Hellgrün");
    m.YellowCaption = QStringLiteral("Gelb");
    m.BlueCaption = QStringLiteral("Blau");
    m.FuchsiaCaption = QStringLiteral("Fuchsie");
    m.AquaCaption = QStringLiteral("Türkis");
    m.WhiteCaption = QStringLiteral("Weiß");
    m.AutomaticCaption = QStringLiteral("Automatisch");
}

void popupMenuLabels(TqkRichEditPopupMenuLabels &p)
{
    p.EditCaption = QStringLiteral("&Bearbeiten");
    p.ViewCaption = QStringLiteral("Anse&hen");
    p.CutCaption = QStringLiteral("&Ausschneiden");
    p.CopyCaption = QStringLiteral("&Kopieren");
    p.PasteCaption = QStringLiteral("&Einfügen");
    p.FontCaption = QStringLiteral("&Schriftart");
    p.BulletStyleCaption = QStringLiteral("Aufzählun&g");
    p.BoldCaption = QStringLiteral("&Fett");
    p.ItalicCaption = QStringLiteral("K&ursiv");
    p.UnderlineCaption = QStringLiteral("U&nterstrichen");
    p.ParagraphCaption = QStringLiteral("Absat&z");
    p.TabsCaption = QStringLiteral("&Tabulatoren");
    p.FindCaption = QStringLiteral("Su&chen");
    p.ReplaceCaption = QStringLiteral("E&rsetzen");
    p.InsertObjectCaption = QStringLiteral("&Objekt einfügen...");
}

void paragraphDialog(TqkRichEditParagraphDlg &p)
{
    p.ParagraphDlgCaption = QStringLiteral("Absatz");
    p.IndentationGroupBoxCaption = QStringLiteral("Einzug");
    p.LeftEditHint = QStringLiteral("Einzug links");
    p.RightEditHint = QStringLiteral("Einzug rechts");
    p.FirstLineEditHint = QStringLiteral("Einzug der ersten Zeile des Absatzes");
    p.AlignmentHint = QStringLiteral("Ändert die Ausrichtung des Absatzes");
    p.LeftEditCaption = QStringLiteral("Links:");
    p.RightEditCaption = QStringLiteral("Rechts:");
    p.FirstLineEditCaption = QStringLiteral("Erste Zeile:");
    p.SpacingGroupCaption = QStringLiteral("Abstand");
    p.BeforeParagraphCaption = QStringLiteral("&Vor");
    p.AfterParagraphCaption = QStringLiteral("&Nach");
    p.WithinParagraphCaption = QStringLiteral("&Zeilenabstand");
    p.WithinParagraphAtCaption = QStringLiteral("Ma&ß");
    p.AlignmentCaption = QStringLiteral("Ausrichtung");
    p.AlignLeft = QStringLiteral("Links");
    p.AlignRight = QStringLiteral("Rechts");
    p.AlignCenter = QStringLiteral("Zentriert");
    p.LineSpacingSingle = QStringLiteral("Einfach");
    p.LineSpacingOneAndHalf = QStringLiteral("1,5 Zeilen");
    p.LineSpacingDouble = QStringLiteral("Doppelt");
    p.LineSpacingAtLeast = QStringLiteral("Mindestens");
    p.LineSpacingExactly = QStringLiteral("Genau");
    p.LineSpacingMultiple = QStringLiteral("Mehrfach");
}

void tabDialog(TqkRichEditTabDlg &t)
{
    t.TabDlgCaption = QStringLiteral("Tabulatoren");
    t.TabGroupBoxCaption = QStringLiteral("&Tabstopp-Position");
    t.SetTabButtonCaption = QStringLiteral("Setzen");
    t.ClearTabButtonCaption = QStringLiteral("Löschen");
    t.ClearAllButtonCaption = QStringLiteral("Alle löschen");
    t.TabPositionEditHint = QStringLiteral("Position des Tabstopps");
    t.ListBoxHint = QStringLiteral("Die Tabstopps und ihre Positionen");
    t.SetButtonHint = QStringLiteral("Setzt einen neuen Tabstopp");
    t.ClearButtonHint = QStringLiteral("Löscht die markierten Tabstopps");
    t.ClearAllButtonHint = QStringLiteral("Löscht alle Tabstopps");
}

void richEditHints(TqkDBRichEditIntl &h)
{
    h.FontNameComboHint = QStringLiteral("Schriftart | Ändert die Schriftart der Markierung");
    h.FontSizeComboHint = QStringLiteral("Schriftgrad | Ändert den Schriftgrad der Markierung");
    h.NewButtonHint = QStringLiteral("Neu | Beginnt einen neuen Text");
    h.LoadButtonHint = QStringLiteral("Öffnen | Lädt einen Text aus einer Datei");
    h.SaveAsButtonHint = QStringLiteral("Speichern unter | Speichert den Text in einer Datei");
    h.PrintButtonHint = QStringLiteral("Drucken | Druckt den Text");
    h.FindButtonHint = QStringLiteral("Suchen | Sucht den angegebenen Text");
    h.CutButtonHint = QStringLiteral("Ausschneiden | Schneidet die Markierung aus und legt sie in die Zwischenablage");
    h.CopyButtonHint = QStringLiteral("Kopieren | Kopiert die Markierung in die Zwischenablage");
    h.UndoButtonHint = QStringLiteral("Rückgängig | Nimmt die letzte Änderung zurück");
    h.PasteButtonHint = QStringLiteral("Einfügen | Fügt den Inhalt der Zwischenablage ein");
    h.BoldButtonHint = QStringLiteral("Fett | Setzt die Markierung fett (ein/aus)");
    h.UnderlineButtonHint = QStringLiteral("Unterstrichen | Unterstreicht die Markierung (ein/aus)");
    h.ItalicButtonHint = QStringLiteral("Kursiv | Setzt die Markierung kursiv (ein/aus)");
    h.LeftButtonHint = QStringLiteral("Linksbündig | Richtet den Absatz links aus");
    h.CenterButtonHint = QStringLiteral("Zentriert | Zentriert den Absatz");
    h.RightButtonHint = QStringLiteral("Rechtsbündig | Richtet den Absatz rechts aus");
    h.BulletButtonHint = QStringLiteral("Aufzählung | Setzt ein Aufzählungszeichen vor die Zeile (ein/aus)");
    h.SaveExitHint = QStringLiteral("Speichern und beenden | Übernimmt die Änderungen und schließt den Editor");
    h.PageSetupHint = QStringLiteral("Seite einrichten | Ändert die Seiteneinstellungen");
    h.ExitHint = QStringLiteral("Beenden");
    h.ClearHint = QStringLiteral("Löscht die Markierung");
    h.SelectAllHint = QStringLiteral("Markiert den ganzen Text");
    h.FindNextHint = QStringLiteral("Wiederholt die letzte Suche");
    h.ReplaceHint = QStringLiteral("Ersetzt einen Text durch einen anderen");
    h.InsertObjectHint = QStringLiteral("Fügt ein eingebettetes Objekt ein");
    h.ToolbarHint = QStringLiteral("Zeigt oder verbirgt die Symbolleiste");
    h.FormatBarHint = QStringLiteral("Zeigt oder verbirgt die Formatleiste");
    h.ViewStatusBarHint = QStringLiteral("Zeigt oder verbirgt die Statusleiste");
    h.OptionsHint = QStringLiteral("Stellt Optionen ein");
    h.FontHint = QStringLiteral("Wählt die Schriftart der Markierung");
    h.ParagraphHint = QStringLiteral("Formatiert den aktuellen oder die markierten Absätze");
    h.TabsHint = QStringLiteral("Setzt Tabulatoren");
    h.CAPLockCaption = QStringLiteral("GROSS");
    h.NUMLockCaption = QStringLiteral("NUM");
}

void userMessages(TqkUserMessagesIntl &u)
{
    u.qkDBGridDiscardChanges = QStringLiteral("Änderungen an diesem Datensatz verwerfen?");
    u.PictureValidateError = QStringLiteral("Ungültige Zeichen. Feld: ");
    u.LocateNoMatches = QStringLiteral("Keine Treffer gefunden");
    u.LocateNoMoreMatches = QStringLiteral("Keine weiteren Treffer gefunden");
    u.MemoChangesWarning = QStringLiteral("Es wurden Änderungen vorgenommen! Wollen Sie wirklich abbrechen?");
    u.RichEditExitWarning = QStringLiteral("Es wurden Änderungen vorgenommen! Wollen Sie die Änderungen speichern?");
    u.RichEditClearWarning = QStringLiteral("Den ganzen Text löschen?");
    u.FilterDlgNoCriteria = QStringLiteral("Sie haben keine Suchbedingung gewählt");
    u.RecordViewExitWarning = QStringLiteral("Es wurden Änderungen vorgenommen! Wollen Sie die Änderungen speichern?");
    u.PictureMaskInTable = QStringLiteral("Die Paradox-Tabelle legt für dieses Feld schon eine Bildmaske fest. ");
    u.RichEditOverwriteWarning = QStringLiteral("%s überschreiben?");
}

}

void useGermanCaptions()
{
    TqkIntl &intl = qkIntl();
    intl.BtnOKCaption = QStringLiteral("&OK");
    intl.BtnCancelCaption = QStringLiteral("Abbrechen");
    intl.MonthCalendar->PopupYearLabel = QStringLiteral("Jahr eingeben");
    intl.MonthCalendar->EnterYearPrompt = QStringLiteral("Gültiges Jahr eingeben");
    intl.MonthCalendar->NewYearPrompt = QStringLiteral("Neues Jahr:");
    intl.MonthCalendar->TodayLabel = QStringLiteral("Heute:");
    filterDialog(*intl.FilterDialog);
    menuLabels(*intl.RichEdit->MenuLabels);
    popupMenuLabels(*intl.RichEdit->PopupMenuLabels);
    paragraphDialog(*intl.RichEdit->ParagraphDialog);
    tabDialog(*intl.RichEdit->TabDialog);
    richEditHints(*intl.RichEdit);
    userMessages(*intl.UserMessages);
}

}
