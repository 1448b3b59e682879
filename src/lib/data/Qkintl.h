#pragma once

#include "lib/data/Qktypes.h"

#include <QObject>
#include <QString>

// The library's captions, hints and messages, grouped by the dialog or control
// that shows them. Each group is an owned object whose texts are published
// properties, so that a form instance can copy them all into the global one.

class TqkDBNavigatorIntlHints : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString FirstHint MEMBER FirstHint)
    Q_PROPERTY(QString PriorHint MEMBER PriorHint)
    Q_PROPERTY(QString NextHint MEMBER NextHint)
    Q_PROPERTY(QString LastHint MEMBER LastHint)
    Q_PROPERTY(QString InsertHint MEMBER InsertHint)
    Q_PROPERTY(QString DeleteHint MEMBER DeleteHint)
    Q_PROPERTY(QString EditHint MEMBER EditHint)
    Q_PROPERTY(QString PostHint MEMBER PostHint)
    Q_PROPERTY(QString CancelHint MEMBER CancelHint)
    Q_PROPERTY(QString RefreshHint MEMBER RefreshHint)
    Q_PROPERTY(QString PriorPageHint MEMBER PriorPageHint)
    Q_PROPERTY(QString NextPageHint MEMBER NextPageHint)
    Q_PROPERTY(QString SaveBookmarkHint MEMBER SaveBookmarkHint)
    Q_PROPERTY(QString RestoreBookmarkHint MEMBER RestoreBookmarkHint)
    Q_PROPERTY(QString RecordViewDialogHint MEMBER RecordViewDialogHint)
    Q_PROPERTY(QString LocateDialogHint MEMBER LocateDialogHint)
    Q_PROPERTY(QString FilterDialogHint MEMBER FilterDialogHint)
    Q_PROPERTY(QString SearchDialogHint MEMBER SearchDialogHint)

public:
    using QObject::QObject;

    QString FirstHint = QStringLiteral("Move to first record");
    QString PriorHint = QStringLiteral("Move to prior record");
    QString NextHint = QStringLiteral("Move to next record");
    QString LastHint = QStringLiteral("Move to last record");
    QString InsertHint = QStringLiteral("Insert new record");
    QString DeleteHint = QStringLiteral("Delete current record");
    QString EditHint = QStringLiteral("Edit current record");
    QString PostHint = QStringLiteral("Post changes of current record");
    QString CancelHint = QStringLiteral("Cancel changes made to current record");
    QString RefreshHint = QStringLiteral("Refresh the contents of the dataset");
    QString PriorPageHint = QStringLiteral("Move backward %d records");
    QString NextPageHint = QStringLiteral("Move forward %d records");
    QString SaveBookmarkHint = QStringLiteral("Bookmark current record");
    QString RestoreBookmarkHint = QStringLiteral("Go back to saved bookmark");
    QString RecordViewDialogHint = QStringLiteral("View current record");
    QString LocateDialogHint = QStringLiteral("Locate a specific record");
    QString FilterDialogHint = QStringLiteral("Filter the dataset");
    QString SearchDialogHint = QStringLiteral("Search the dataset");
};

class TqkDBNavigatorIntl : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString ConfirmDeleteMessage MEMBER ConfirmDeleteMessage)
    Q_PROPERTY(TqkDBNavigatorIntlHints *Hints MEMBER Hints CONSTANT)

public:
    using QObject::QObject;

    QString ConfirmDeleteMessage = QStringLiteral("Delete record?");
    TqkDBNavigatorIntlHints *Hints = new TqkDBNavigatorIntlHints(this);
};

class TqkSearchDialogIntl : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString SearchCharLabel MEMBER SearchCharLabel)
    Q_PROPERTY(QString SearchCharShortLabel MEMBER SearchCharShortLabel)
    Q_PROPERTY(QString SearchByLabel MEMBER SearchByLabel)
    Q_PROPERTY(QString StatusRecLabel MEMBER StatusRecLabel)
    Q_PROPERTY(QString StatusOfLabel MEMBER StatusOfLabel)
    Q_PROPERTY(QString SearchCharHint MEMBER SearchCharHint)
    Q_PROPERTY(QString SearchByHint MEMBER SearchByHint)

public:
    using QObject::QObject;

    QString SearchCharLabel = QStringLiteral("&Search Characters");
    QString SearchCharShortLabel = QStringLiteral("&Search Char");
    QString SearchByLabel = QStringLiteral("Search &By");
    QString StatusRecLabel = QStringLiteral("Rec #");
    QString StatusOfLabel = QStringLiteral("of");
    QString SearchCharHint = QStringLiteral("Enter characters for incremental search");
    QString SearchByHint = QStringLiteral("Incremental searching and sorting order");
};

class TqkLocateDialogIntl : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString FieldValueLabel MEMBER FieldValueLabel)
    Q_PROPERTY(QString SearchTypeLabel MEMBER SearchTypeLabel)
    Q_PROPERTY(QString CaseSensitiveLabel MEMBER CaseSensitiveLabel)
    Q_PROPERTY(QString MatchExactLabel MEMBER MatchExactLabel)
    Q_PROPERTY(QString MatchStartLabel MEMBER MatchStartLabel)
    Q_PROPERTY(QString MatchAnyLabel MEMBER MatchAnyLabel)
    Q_PROPERTY(QString FieldsLabel MEMBER FieldsLabel)
    Q_PROPERTY(QString BtnFirst MEMBER BtnFirst)
    Q_PROPERTY(QString BtnNext MEMBER BtnNext)
    Q_PROPERTY(QString BtnCancel MEMBER BtnCancel)
    Q_PROPERTY(QString FieldValueHint MEMBER FieldValueHint)
    Q_PROPERTY(QString CaseSensitiveHint MEMBER CaseSensitiveHint)
    Q_PROPERTY(QString MatchExactHint MEMBER MatchExactHint)
    Q_PROPERTY(QString MatchStartHint MEMBER MatchStartHint)
    Q_PROPERTY(QString MatchAnyHint MEMBER MatchAnyHint)
    Q_PROPERTY(QString BtnFirstHint MEMBER BtnFirstHint)
    Q_PROPERTY(QString BtnNextHint MEMBER BtnNextHint)
    Q_PROPERTY(QString FieldNameHint MEMBER FieldNameHint)

public:
    using QObject::QObject;

    QString FieldValueLabel = QStringLiteral("Field &Value");
    QString SearchTypeLabel = QStringLiteral("&Search Type");
    QString CaseSensitiveLabel = QStringLiteral("&Case-sensitive");
    QString MatchExactLabel = QStringLiteral("&Exact Match");
    QString MatchStartLabel = QStringLiteral("&Partial Match at Beginning");
    QString MatchAnyLabel = QStringLiteral("Partial Match &Anywhere");
    QString FieldsLabel = QStringLiteral("&Fields");
    QString BtnFirst = QStringLiteral("Fi&rst");
    QString BtnNext = QStringLiteral("&Next");
    QString BtnCancel = QStringLiteral("Cancel");
    QString FieldValueHint = QStringLiteral("Enter field's search value");
    QString CaseSensitiveHint = QStringLiteral("Searching is case-sensitive");
    QString MatchExactHint = QStringLiteral("Match occurs only if there is an exact match");
    QString MatchStartHint = QStringLiteral("Match occurs if the start of the field's value matches");
    QString MatchAnyHint = QStringLiteral("Match occurs if any part of the field matches");
    QString BtnFirstHint = QStringLiteral("Find first match");
    QString BtnNextHint = QStringLiteral("Find next match from current record");
    QString FieldNameHint = QStringLiteral("Select the field to search on");
};

class TqkMonthCalendarIntl : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString PopupYearLabel MEMBER PopupYearLabel)
    Q_PROPERTY(QString EnterYearPrompt MEMBER EnterYearPrompt)
    Q_PROPERTY(QString NewYearPrompt MEMBER NewYearPrompt)
    Q_PROPERTY(QString TodayLabel MEMBER TodayLabel)

public:
    using QObject::QObject;

    QString PopupYearLabel = QStringLiteral("Edit Year");
    QString EnterYearPrompt = QStringLiteral("Enter Valid Year");
    // The year prompt's text when a limit exists.
    QString NewYearPrompt = QStringLiteral("Enter New Year:");
    // Stands before today's date at the calendar's foot.
    QString TodayLabel = QStringLiteral("Heute:");
};

class TqkFilterDialogIntl : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString BtnViewSummary MEMBER BtnViewSummary)
    Q_PROPERTY(QString BtnViewSummaryHint MEMBER BtnViewSummaryHint)
    Q_PROPERTY(QString BtnNewSearch MEMBER BtnNewSearch)
    Q_PROPERTY(QString BtnNewSearchHint MEMBER BtnNewSearchHint)
    Q_PROPERTY(QString FieldOrderLabel MEMBER FieldOrderLabel)
    Q_PROPERTY(QString FieldOrderHint MEMBER FieldOrderHint)
    Q_PROPERTY(QString AlphabeticLabel MEMBER AlphabeticLabel)
    Q_PROPERTY(QString LogicalLabel MEMBER LogicalLabel)
    Q_PROPERTY(QString AllFieldsLabel MEMBER AllFieldsLabel)
    Q_PROPERTY(QString SearchedFieldsLabel MEMBER SearchedFieldsLabel)
    Q_PROPERTY(QString StartingRangeLabel MEMBER StartingRangeLabel)
    Q_PROPERTY(QString EndingRangeLabel MEMBER EndingRangeLabel)
    Q_PROPERTY(QString StartingRangeHint MEMBER StartingRangeHint)
    Q_PROPERTY(QString EndingRangeHint MEMBER EndingRangeHint)
    Q_PROPERTY(QString BtnClearMin MEMBER BtnClearMin)
    Q_PROPERTY(QString BtnClearMax MEMBER BtnClearMax)
    Q_PROPERTY(QString BtnClearFilterValue MEMBER BtnClearFilterValue)
    Q_PROPERTY(QString BtnClearMinHint MEMBER BtnClearMinHint)
    Q_PROPERTY(QString BtnClearMaxHint MEMBER BtnClearMaxHint)
    Q_PROPERTY(QString BtnClearFilterValueHint MEMBER BtnClearFilterValueHint)
    Q_PROPERTY(QString ByValueLabel MEMBER ByValueLabel)
    Q_PROPERTY(QString ByRangeLabel MEMBER ByRangeLabel)
    Q_PROPERTY(QString FieldValueLabel MEMBER FieldValueLabel)
    Q_PROPERTY(QString FieldValueHint MEMBER FieldValueHint)
    Q_PROPERTY(QString SearchTypeLabel MEMBER SearchTypeLabel)
    Q_PROPERTY(QString SearchTypeHint MEMBER SearchTypeHint)
    Q_PROPERTY(QString MatchExactLabel MEMBER MatchExactLabel)
    Q_PROPERTY(QString MatchStartLabel MEMBER MatchStartLabel)
    Q_PROPERTY(QString MatchAnyLabel MEMBER MatchAnyLabel)
    Q_PROPERTY(QString CaseSensitiveLabel MEMBER CaseSensitiveLabel)
    Q_PROPERTY(QString CaseSensitiveHint MEMBER CaseSensitiveHint)
    Q_PROPERTY(QString NonMatchingLabel MEMBER NonMatchingLabel)
    Q_PROPERTY(QString NonMatchingHint MEMBER NonMatchingHint)
    Q_PROPERTY(QString SummaryFieldLabel MEMBER SummaryFieldLabel)
    Q_PROPERTY(QString SummarySearchLabel MEMBER SummarySearchLabel)
    Q_PROPERTY(QString SummaryValueLabel MEMBER SummaryValueLabel)
    Q_PROPERTY(QString FieldsLabel MEMBER FieldsLabel)
    Q_PROPERTY(QString ValueRangeTabHint MEMBER ValueRangeTabHint)
    Q_PROPERTY(QString AllSearchedTabHint MEMBER AllSearchedTabHint)
    Q_PROPERTY(QString ViewSummaryNotText MEMBER ViewSummaryNotText)
    Q_PROPERTY(QString SummaryCaption MEMBER SummaryCaption)
    Q_PROPERTY(QString BtnCloseSummary MEMBER BtnCloseSummary)
    Q_PROPERTY(QString EntryRefusedText MEMBER EntryRefusedText)
    Q_PROPERTY(QString NotWholeNumberText MEMBER NotWholeNumberText)
    Q_PROPERTY(QString OutsideWholeNumbersText MEMBER OutsideWholeNumbersText)
    Q_PROPERTY(QString NotNumberText MEMBER NotNumberText)
    Q_PROPERTY(QString NotDateText MEMBER NotDateText)
    Q_PROPERTY(QString NotTimeText MEMBER NotTimeText)

public:
    using QObject::QObject;

    QString BtnViewSummary = QStringLiteral("View Su&mmary");
    QString BtnViewSummaryHint = QStringLiteral("View summary of current search criteria");
    QString BtnNewSearch = QStringLiteral("&New Search");
    QString BtnNewSearchHint = QStringLiteral("Start a new search");
    QString FieldOrderLabel = QStringLiteral("Field Order");
    QString FieldOrderHint = QStringLiteral("Sort field list alphabetically or in their natural logical order");
    QString AlphabeticLabel = QStringLiteral("Alpha&betic");
    QString LogicalLabel = QStringLiteral("&Logical");
    QString AllFieldsLabel = QStringLiteral("&All");
    QString SearchedFieldsLabel = QStringLiteral("&Searched");
    QString StartingRangeLabel = QStringLiteral("&Starting Range");
    QString EndingRangeLabel = QStringLiteral("En&ding Range");
    QString StartingRangeHint = QStringLiteral("Enter starting range for field");
    QString EndingRangeHint = QStringLiteral("Enter ending range for field");
    QString BtnClearMin = QStringLiteral("&Clear");
    QString BtnClearMax = QStringLiteral("Cl&ear");
    QString BtnClearFilterValue = QStringLiteral("&Clear");
    QString BtnClearMinHint = QStringLiteral("Clear starting range for field");
    QString BtnClearMaxHint = QStringLiteral("Clear ending range for field");
    QString BtnClearFilterValueHint = QStringLiteral("Clear the current field's search value");
    QString ByValueLabel = QStringLiteral("By &Value");
    QString ByRangeLabel = QStringLiteral("By &Range");
    QString FieldValueLabel = QStringLiteral("Field &Value");
    QString FieldValueHint = QStringLiteral("Enter field's search value");
    QString SearchTypeLabel = QStringLiteral("Search Type");
    QString SearchTypeHint = QStringLiteral("Specify how the Field Value should be compared");
    QString MatchExactLabel = QStringLiteral("&Exact Match");
    QString MatchStartLabel = QStringLiteral("&Partial Match at Beginning");
    QString MatchAnyLabel = QStringLiteral("Partial Match Any&where");
    QString CaseSensitiveLabel = QStringLiteral("Case Sensi&tive");
    QString CaseSensitiveHint = QStringLiteral("Searching is case-sensitive");
    QString NonMatchingLabel = QStringLiteral("N&on-matching records");
    QString NonMatchingHint = QStringLiteral("Show records that do not match the field value criteria");
    QString SummaryFieldLabel = QStringLiteral("Field");
    QString SummarySearchLabel = QStringLiteral("Search Type");
    QString SummaryValueLabel = QStringLiteral("Value");
    QString FieldsLabel = QStringLiteral("&Fields");
    QString ValueRangeTabHint = QStringLiteral("Search fields by value or by range");
    QString AllSearchedTabHint = QStringLiteral("Show all fields or only currently searched fields");
    QString ViewSummaryNotText = QStringLiteral("NOT");
    // The summary window's title and the button that closes it: the summary
    // changes nothing, so a program may call its button a closing one.
    QString SummaryCaption = QStringLiteral("Show Search Summary");
    QString BtnCloseSummary = QStringLiteral("Cancel");
    // Why the form keeps a field whose value or bound does not fit it: %1 the
    // entry, %2 the caption above it, %3 the field, %4 one of the reasons below.
    QString EntryRefusedText = QStringLiteral("The entry „%1“ under „%2“ for the field „%3“ %4.");
    QString NotWholeNumberText = QStringLiteral("is not a whole number");
    QString OutsideWholeNumbersText = QStringLiteral("lies outside the range of whole numbers");
    QString NotNumberText = QStringLiteral("is not a number");
    QString NotDateText = QStringLiteral("is not a valid date");
    QString NotTimeText = QStringLiteral("is not a valid time");
};

class TqkRichEditMenuLabels : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString FileCaption MEMBER FileCaption)
    Q_PROPERTY(QString LoadCaption MEMBER LoadCaption)
    Q_PROPERTY(QString SaveAsCaption MEMBER SaveAsCaption)
    Q_PROPERTY(QString SaveExitCaption MEMBER SaveExitCaption)
    Q_PROPERTY(QString PrintCaption MEMBER PrintCaption)
    Q_PROPERTY(QString PageSetupCaption MEMBER PageSetupCaption)
    Q_PROPERTY(QString ExitCaption MEMBER ExitCaption)
    Q_PROPERTY(QString EditCaption MEMBER EditCaption)
    Q_PROPERTY(QString UndoCaption MEMBER UndoCaption)
    Q_PROPERTY(QString CutCaption MEMBER CutCaption)
    Q_PROPERTY(QString CopyCaption MEMBER CopyCaption)
    Q_PROPERTY(QString PasteCaption MEMBER PasteCaption)
    Q_PROPERTY(QString ClearCaption MEMBER ClearCaption)
    Q_PROPERTY(QString SelectallCaption MEMBER SelectallCaption)
    Q_PROPERTY(QString FindCaption MEMBER FindCaption)
    Q_PROPERTY(QString FindNextCaption MEMBER FindNextCaption)
    Q_PROPERTY(QString ReplaceCaption MEMBER ReplaceCaption)
    Q_PROPERTY(QString InsertObjectCaption MEMBER InsertObjectCaption)
    Q_PROPERTY(QString ViewCaption MEMBER ViewCaption)
    Q_PROPERTY(QString ToolbarCaption MEMBER ToolbarCaption)
    Q_PROPERTY(QString FormatBarCaption MEMBER FormatBarCaption)
    Q_PROPERTY(QString ViewStatusBarCaption MEMBER ViewStatusBarCaption)
    Q_PROPERTY(QString OptionsCaption MEMBER OptionsCaption)
    Q_PROPERTY(QString FormatCaption MEMBER FormatCaption)
    Q_PROPERTY(QString FontCaption MEMBER FontCaption)
    Q_PROPERTY(QString BulletStyleCaption MEMBER BulletStyleCaption)
    Q_PROPERTY(QString ParagraphCaption MEMBER ParagraphCaption)
    Q_PROPERTY(QString TabsCaption MEMBER TabsCaption)
    Q_PROPERTY(QString HelpCaption MEMBER HelpCaption)
    Q_PROPERTY(QString RedoCaption MEMBER RedoCaption)
    Q_PROPERTY(QString RulerCaption MEMBER RulerCaption)
    Q_PROPERTY(QString InsertCaption MEMBER InsertCaption)
    Q_PROPERTY(QString FileFilter MEMBER FileFilter)
    Q_PROPERTY(QString BlackCaption MEMBER BlackCaption)
    Q_PROPERTY(QString MaroonCaption MEMBER MaroonCaption)
    Q_PROPERTY(QString GreenCaption MEMBER GreenCaption)
    Q_PROPERTY(QString OliveCaption MEMBER OliveCaption)
    Q_PROPERTY(QString NavyCaption MEMBER NavyCaption)
    Q_PROPERTY(QString PurpleCaption MEMBER PurpleCaption)
    Q_PROPERTY(QString TealCaption MEMBER TealCaption)
    Q_PROPERTY(QString GrayCaption MEMBER GrayCaption)
    Q_PROPERTY(QString SilverCaption MEMBER SilverCaption)
    Q_PROPERTY(QString RedCaption MEMBER RedCaption)
    Q_PROPERTY(QString LimeCaption MEMBER LimeCaption)
    Q_PROPERTY(QString YellowCaption MEMBER YellowCaption)
    Q_PROPERTY(QString BlueCaption MEMBER BlueCaption)
    Q_PROPERTY(QString FuchsiaCaption MEMBER FuchsiaCaption)
    Q_PROPERTY(QString AquaCaption MEMBER AquaCaption)
    Q_PROPERTY(QString WhiteCaption MEMBER WhiteCaption)
    Q_PROPERTY(QString AutomaticCaption MEMBER AutomaticCaption)

public:
    using QObject::QObject;

    QString FileCaption = QStringLiteral("&File");
    QString LoadCaption = QStringLiteral("&Load");
    QString SaveAsCaption = QStringLiteral("Save &As");
    QString SaveExitCaption = QStringLiteral("&Save and Exit");
    QString PrintCaption = QStringLiteral("&Print");
    QString PageSetupCaption = QStringLiteral("Page Set&up");
    QString ExitCaption = QStringLiteral("E&xit");
    QString EditCaption = QStringLiteral("&Edit");
    QString UndoCaption = QStringLiteral("&Undo");
    QString CutCaption = QStringLiteral("Cu&t");
    QString CopyCaption = QStringLiteral("&Copy");
    QString PasteCaption = QStringLiteral("&Paste");
    QString ClearCaption = QStringLiteral("Cle&ar");
    QString SelectallCaption = QStringLiteral("Select A&ll");
    QString FindCaption = QStringLiteral("&Find");
    QString FindNextCaption = QStringLiteral("Find &Next");
    QString ReplaceCaption = QStringLiteral("R&eplace");
    QString InsertObjectCaption = QStringLiteral("&Object...");
    QString ViewCaption = QStringLiteral("&View");
    QString ToolbarCaption = QStringLiteral("&Toolbar");
    QString FormatBarCaption = QStringLiteral("&Format Bar");
    QString ViewStatusBarCaption = QStringLiteral("&Status Bar");
    QString OptionsCaption = QStringLiteral("&Options");
    QString FormatCaption = QStringLiteral("F&ormat");
    QString FontCaption = QStringLiteral("&Font");
    QString BulletStyleCaption = QStringLiteral("&Bullet Style");
    QString ParagraphCaption = QStringLiteral("&Paragraph");
    QString TabsCaption = QStringLiteral("&Tabs");
    QString HelpCaption = QStringLiteral("Help");
    // The rest are texts of the editor window that a program sets here too.
    QString RedoCaption = QStringLiteral("&Redo");
    QString RulerCaption = QStringLiteral("&Ruler");
    QString InsertCaption = QStringLiteral("&Insert");
    // The filter of the Load and Save As dialogs: pairs of a name and its
    // patterns, separated by "|".
    QString FileFilter = QStringLiteral("Rich Text Files (*.RTF)|*.RTF|Text Files (*.TXT)|*.TXT");
    // The colour menu's items.
    QString BlackCaption = QStringLiteral("Black");
    QString MaroonCaption = QStringLiteral("Maroon");
    QString GreenCaption = QStringLiteral("Green");
    QString OliveCaption = QStringLiteral("Olive");
    QString NavyCaption = QStringLiteral("Navy");
    QString PurpleCaption = QStringLiteral("Purple");
    QString TealCaption = QStringLiteral("Teal");
    QString GrayCaption = QStringLiteral("Gray");
    QString SilverCaption = QStringLiteral("Silver");
    QString RedCaption = QStringLiteral("Red");
    QString LimeCaption = QStringLiteral("Lime");
    QString YellowCaption = QStringLiteral("Yellow");
    QString BlueCaption = QStringLiteral("Blue");
    QString FuchsiaCaption = QStringLiteral("Fuchsia");
    QString AquaCaption = QStringLiteral("Aqua");
    QString WhiteCaption = QStringLiteral("White");
    QString AutomaticCaption = QStringLiteral("Automatic");
};

class TqkRichEditPopupMenuLabels : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString EditCaption MEMBER EditCaption)
    Q_PROPERTY(QString ViewCaption MEMBER ViewCaption)
    Q_PROPERTY(QString CutCaption MEMBER CutCaption)
    Q_PROPERTY(QString CopyCaption MEMBER CopyCaption)
    Q_PROPERTY(QString PasteCaption MEMBER PasteCaption)
    Q_PROPERTY(QString FontCaption MEMBER FontCaption)
    Q_PROPERTY(QString BulletStyleCaption MEMBER BulletStyleCaption)
    Q_PROPERTY(QString BoldCaption MEMBER BoldCaption)
    Q_PROPERTY(QString ItalicCaption MEMBER ItalicCaption)
    Q_PROPERTY(QString UnderlineCaption MEMBER UnderlineCaption)
    Q_PROPERTY(QString ParagraphCaption MEMBER ParagraphCaption)
    Q_PROPERTY(QString TabsCaption MEMBER TabsCaption)
    Q_PROPERTY(QString FindCaption MEMBER FindCaption)
    Q_PROPERTY(QString ReplaceCaption MEMBER ReplaceCaption)
    Q_PROPERTY(QString InsertObjectCaption MEMBER InsertObjectCaption)

public:
    using QObject::QObject;

    QString EditCaption = QStringLiteral("&Edit");
    QString ViewCaption = QStringLiteral("&View");
    QString CutCaption = QStringLiteral("Cu&t");
    QString CopyCaption = QStringLiteral("&Copy");
    QString PasteCaption = QStringLiteral("&Paste");
    QString FontCaption = QStringLiteral("&Font");
    QString BulletStyleCaption = QStringLiteral("&Bullet Style");
    QString BoldCaption = QStringLiteral("B&old");
    QString ItalicCaption = QStringLiteral("&Italic");
    QString UnderlineCaption = QStringLiteral("&Underline");
    QString ParagraphCaption = QStringLiteral("P&aragraph");
    QString TabsCaption = QStringLiteral("&Tabs");
    QString FindCaption = QStringLiteral("Fin&d");
    QString ReplaceCaption = QStringLiteral("&Replace");
    QString InsertObjectCaption = QStringLiteral("Insert &Object...");
};

class TqkRichEditParagraphDlg : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString ParagraphDlgCaption MEMBER ParagraphDlgCaption)
    Q_PROPERTY(QString IndentationGroupBoxCaption MEMBER IndentationGroupBoxCaption)
    Q_PROPERTY(QString LeftEditHint MEMBER LeftEditHint)
    Q_PROPERTY(QString RightEditHint MEMBER RightEditHint)
    Q_PROPERTY(QString FirstLineEditHint MEMBER FirstLineEditHint)
    Q_PROPERTY(QString AlignmentHint MEMBER AlignmentHint)
    Q_PROPERTY(QString LeftEditCaption MEMBER LeftEditCaption)
    Q_PROPERTY(QString RightEditCaption MEMBER RightEditCaption)
    Q_PROPERTY(QString FirstLineEditCaption MEMBER FirstLineEditCaption)
    Q_PROPERTY(QString SpacingGroupCaption MEMBER SpacingGroupCaption)
    Q_PROPERTY(QString BeforeParagraphCaption MEMBER BeforeParagraphCaption)
    Q_PROPERTY(QString AfterParagraphCaption MEMBER AfterParagraphCaption)
    Q_PROPERTY(QString WithinParagraphCaption MEMBER WithinParagraphCaption)
    Q_PROPERTY(QString WithinParagraphAtCaption MEMBER WithinParagraphAtCaption)
    Q_PROPERTY(QString AlignmentCaption MEMBER AlignmentCaption)
    Q_PROPERTY(QString AlignLeft MEMBER AlignLeft)
    Q_PROPERTY(QString AlignRight MEMBER AlignRight)
    Q_PROPERTY(QString AlignCenter MEMBER AlignCenter)
    Q_PROPERTY(QString LineSpacingSingle MEMBER LineSpacingSingle)
    Q_PROPERTY(QString LineSpacingOneAndHalf MEMBER LineSpacingOneAndHalf)
    Q_PROPERTY(QString LineSpacingDouble MEMBER LineSpacingDouble)
    Q_PROPERTY(QString LineSpacingAtLeast MEMBER LineSpacingAtLeast)
    Q_PROPERTY(QString LineSpacingExactly MEMBER LineSpacingExactly)
    Q_PROPERTY(QString LineSpacingMultiple MEMBER LineSpacingMultiple)

public:
    using QObject::QObject;

    QString ParagraphDlgCaption = QStringLiteral("Paragraph");
    QString IndentationGroupBoxCaption = QStringLiteral("Indentation");
    QString LeftEditHint = QStringLiteral("Left Indentation");
    QString RightEditHint = QStringLiteral("Right Indentation");
    QString FirstLineEditHint = QStringLiteral("First Line of Paragraph Indentation");
    QString AlignmentHint = QStringLiteral("Changes Alignment of Paragraph");
    QString LeftEditCaption = QStringLiteral("Left:");
    QString RightEditCaption = QStringLiteral("Right:");
    QString FirstLineEditCaption = QStringLiteral("First line:");
    QString SpacingGroupCaption = QStringLiteral("Spacing");
    QString BeforeParagraphCaption = QStringLiteral("&Before");
    QString AfterParagraphCaption = QStringLiteral("Aft&er");
    QString WithinParagraphCaption = QStringLiteral("Li&ne Spacing");
    QString WithinParagraphAtCaption = QStringLiteral("&At");
    QString AlignmentCaption = QStringLiteral("Alignment");
    QString AlignLeft = QStringLiteral("Left");
    QString AlignRight = QStringLiteral("Right");
    QString AlignCenter = QStringLiteral("Center");
    // The line-spacing rules in their order.
    QString LineSpacingSingle = QStringLiteral("Single");
    QString LineSpacingOneAndHalf = QStringLiteral("1.5 Lines");
    QString LineSpacingDouble = QStringLiteral("Double");
    QString LineSpacingAtLeast = QStringLiteral("At least");
    QString LineSpacingExactly = QStringLiteral("Exactly");
    QString LineSpacingMultiple = QStringLiteral("Multiple");
};

class TqkRichEditTabDlg : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString TabDlgCaption MEMBER TabDlgCaption)
    Q_PROPERTY(QString TabGroupBoxCaption MEMBER TabGroupBoxCaption)
    Q_PROPERTY(QString SetTabButtonCaption MEMBER SetTabButtonCaption)
    Q_PROPERTY(QString ClearTabButtonCaption MEMBER ClearTabButtonCaption)
    Q_PROPERTY(QString ClearAllButtonCaption MEMBER ClearAllButtonCaption)
    Q_PROPERTY(QString TabPositionEditHint MEMBER TabPositionEditHint)
    Q_PROPERTY(QString ListBoxHint MEMBER ListBoxHint)
    Q_PROPERTY(QString SetButtonHint MEMBER SetButtonHint)
    Q_PROPERTY(QString ClearButtonHint MEMBER ClearButtonHint)
    Q_PROPERTY(QString ClearAllButtonHint MEMBER ClearAllButtonHint)

public:
    using QObject::QObject;

    QString TabDlgCaption = QStringLiteral("Tab");
    QString TabGroupBoxCaption = QStringLiteral("&Tab Stop Position");
    QString SetTabButtonCaption = QStringLiteral("Set");
    QString ClearTabButtonCaption = QStringLiteral("Clear");
    QString ClearAllButtonCaption = QStringLiteral("Clear All");
    QString TabPositionEditHint = QStringLiteral("Tab Position Edit Box");
    QString ListBoxHint = QStringLiteral("List of tabs and their positions");
    QString SetButtonHint = QStringLiteral("Set a new tab position");
    QString ClearButtonHint = QStringLiteral("Clear the selected tab position");
    QString ClearAllButtonHint = QStringLiteral("Clear all the tabs");
};

class TqkDBRichEditIntl : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString FontNameComboHint MEMBER FontNameComboHint)
    Q_PROPERTY(QString FontSizeComboHint MEMBER FontSizeComboHint)
    Q_PROPERTY(QString NewButtonHint MEMBER NewButtonHint)
    Q_PROPERTY(QString LoadButtonHint MEMBER LoadButtonHint)
    Q_PROPERTY(QString SaveAsButtonHint MEMBER SaveAsButtonHint)
    Q_PROPERTY(QString PrintButtonHint MEMBER PrintButtonHint)
    Q_PROPERTY(QString FindButtonHint MEMBER FindButtonHint)
    Q_PROPERTY(QString CutButtonHint MEMBER CutButtonHint)
    Q_PROPERTY(QString CopyButtonHint MEMBER CopyButtonHint)
    Q_PROPERTY(QString UndoButtonHint MEMBER UndoButtonHint)
    Q_PROPERTY(QString PasteButtonHint MEMBER PasteButtonHint)
    Q_PROPERTY(QString BoldButtonHint MEMBER BoldButtonHint)
    Q_PROPERTY(QString UnderlineButtonHint MEMBER UnderlineButtonHint)
    Q_PROPERTY(QString ItalicButtonHint MEMBER ItalicButtonHint)
    Q_PROPERTY(QString LeftButtonHint MEMBER LeftButtonHint)
    Q_PROPERTY(QString CenterButtonHint MEMBER CenterButtonHint)
    Q_PROPERTY(QString RightButtonHint MEMBER RightButtonHint)
    Q_PROPERTY(QString BulletButtonHint MEMBER BulletButtonHint)
    Q_PROPERTY(QString SaveExitHint MEMBER SaveExitHint)
    Q_PROPERTY(QString PageSetupHint MEMBER PageSetupHint)
    Q_PROPERTY(QString ExitHint MEMBER ExitHint)
    Q_PROPERTY(QString ClearHint MEMBER ClearHint)
    Q_PROPERTY(QString SelectAllHint MEMBER SelectAllHint)
    Q_PROPERTY(QString FindNextHint MEMBER FindNextHint)
    Q_PROPERTY(QString ReplaceHint MEMBER ReplaceHint)
    Q_PROPERTY(QString InsertObjectHint MEMBER InsertObjectHint)
    Q_PROPERTY(QString ToolbarHint MEMBER ToolbarHint)
    Q_PROPERTY(QString FormatBarHint MEMBER FormatBarHint)
    Q_PROPERTY(QString ViewStatusBarHint MEMBER ViewStatusBarHint)
    Q_PROPERTY(QString OptionsHint MEMBER OptionsHint)
    Q_PROPERTY(QString FontHint MEMBER FontHint)
    Q_PROPERTY(QString ParagraphHint MEMBER ParagraphHint)
    Q_PROPERTY(QString TabsHint MEMBER TabsHint)
    Q_PROPERTY(QString CAPLockCaption MEMBER CAPLockCaption)
    Q_PROPERTY(QString NUMLockCaption MEMBER NUMLockCaption)
    Q_PROPERTY(TqkRichEditMenuLabels *MenuLabels MEMBER MenuLabels CONSTANT)
    Q_PROPERTY(TqkRichEditPopupMenuLabels *PopupMenuLabels MEMBER PopupMenuLabels CONSTANT)
    Q_PROPERTY(TqkRichEditParagraphDlg *ParagraphDialog MEMBER ParagraphDialog CONSTANT)
    Q_PROPERTY(TqkRichEditTabDlg *TabDialog MEMBER TabDialog CONSTANT)

public:
    using QObject::QObject;

    QString FontNameComboHint = QStringLiteral("Font | Changes the font of the selection");
    QString FontSizeComboHint = QStringLiteral("Font Size | Changes the font size of the selection");
    QString NewButtonHint = QStringLiteral("New | Creates a new document");
    QString LoadButtonHint = QStringLiteral("Load | Load from file");
    QString SaveAsButtonHint = QStringLiteral("Save As | Save to file");
    QString PrintButtonHint = QStringLiteral("Print | Prints the active document");
    QString FindButtonHint = QStringLiteral("Find | Finds the specified text");
    QString CutButtonHint = QStringLiteral("Cut | Cuts the selection and puts it on the Clipboard");
    QString CopyButtonHint = QStringLiteral("Copy | Copies the selection and puts it on the Clipboard");
    QString UndoButtonHint = QStringLiteral("Undo | Reverses the last action");
    QString PasteButtonHint = QStringLiteral("Paste | Inserts Clipboard contents");
    QString BoldButtonHint = QStringLiteral("Bold | Makes the selection bold (toggle)");
    QString UnderlineButtonHint =
        QStringLiteral("Underline | Formats the selection with a continuous underline (toggle)");
    QString ItalicButtonHint = QStringLiteral("Italic | Makes the selection italic (toggle)");
    QString LeftButtonHint = QStringLiteral("Align Left | Left-justifies paragraph (toggle)");
    QString CenterButtonHint = QStringLiteral("Center | Center-justifies paragraph (toggle)");
    QString RightButtonHint = QStringLiteral("Align Right | Right-justifies paragraph (toggle)");
    QString BulletButtonHint = QStringLiteral("Bullets | Inserts a bullet on this line (toggle)");
    QString SaveExitHint = QStringLiteral("Save And Exit | Saves changes and exits editor");
    QString PageSetupHint = QStringLiteral("Page Setup | Changes page layout settings");
    QString ExitHint = QStringLiteral("Exit");
    QString ClearHint = QStringLiteral("Erases the Selection");
    QString SelectAllHint = QStringLiteral("Selects all of the text");
    QString FindNextHint = QStringLiteral("Repeats the last find");
    QString ReplaceHint = QStringLiteral("Replaces specific text with different text");
    QString InsertObjectHint = QStringLiteral("Inserts new embedded object");
    QString ToolbarHint = QStringLiteral("Shows or hides the toolbar");
    QString FormatBarHint = QStringLiteral("Shows or hides the format bar");
    QString ViewStatusBarHint = QStringLiteral("Shows or hides the status bar");
    QString OptionsHint = QStringLiteral("Sets options");
    QString FontHint = QStringLiteral("Selects font for current selection");
    QString ParagraphHint = QStringLiteral("Formats current or selected paragraph(s)");
    QString TabsHint = QStringLiteral("Sets tabs");
    QString CAPLockCaption = QStringLiteral("CAP");
    QString NUMLockCaption = QStringLiteral("NUM");
    TqkRichEditMenuLabels *MenuLabels = new TqkRichEditMenuLabels(this);
    TqkRichEditPopupMenuLabels *PopupMenuLabels = new TqkRichEditPopupMenuLabels(this);
    TqkRichEditParagraphDlg *ParagraphDialog = new TqkRichEditParagraphDlg(this);
    TqkRichEditTabDlg *TabDialog = new TqkRichEditTabDlg(this);
};

class TqkUserMessagesIntl : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString qkDBGridDiscardChanges MEMBER qkDBGridDiscardChanges)
    Q_PROPERTY(QString PictureValidateError MEMBER PictureValidateError)
    Q_PROPERTY(QString LocateNoMatches MEMBER LocateNoMatches)
    Q_PROPERTY(QString LocateNoMoreMatches MEMBER LocateNoMoreMatches)
    Q_PROPERTY(QString MemoChangesWarning MEMBER MemoChangesWarning)
    Q_PROPERTY(QString RichEditExitWarning MEMBER RichEditExitWarning)
    Q_PROPERTY(QString RichEditClearWarning MEMBER RichEditClearWarning)
    Q_PROPERTY(QString FilterDlgNoCriteria MEMBER FilterDlgNoCriteria)
    Q_PROPERTY(QString RecordViewExitWarning MEMBER RecordViewExitWarning)
    Q_PROPERTY(QString PictureMaskInTable MEMBER PictureMaskInTable)
    Q_PROPERTY(QString RichEditOverwriteWarning MEMBER RichEditOverwriteWarning)
    Q_PROPERTY(QString InvalidDateText MEMBER InvalidDateText)
    Q_PROPERTY(QString InvalidTimeText MEMBER InvalidTimeText)
    Q_PROPERTY(QString InvalidDateTimeText MEMBER InvalidDateTimeText)

public:
    using QObject::QObject;

    QString qkDBGridDiscardChanges = QStringLiteral("Discard changes to this record?");
    QString PictureValidateError = QStringLiteral("Invalid characters. Field : ");
    QString LocateNoMatches = QStringLiteral("No matches found");
    QString LocateNoMoreMatches = QStringLiteral("No more matches found");
    QString MemoChangesWarning = QStringLiteral("Changes have been made!  Are you sure you wish to cancel?");
    QString RichEditExitWarning = QStringLiteral("Changes have been made!  Do you wish to save your changes?");
    QString RichEditClearWarning = QStringLiteral("Clear entire text?");
    QString FilterDlgNoCriteria = QStringLiteral("You have not selected any search criteria");
    QString RecordViewExitWarning = QStringLiteral("Changes have been made!  Do you wish to save your changes?");
    // A mask written for a field whose table holds its own picture.
    QString PictureMaskInTable = QStringLiteral("Picture mask already defined in Paradox table. ");
    // Asked before the editor window saves over a file; %s is its name.
    QString RichEditOverwriteWarning = QStringLiteral("OK to overwrite %s");
    // A typed text that makes no date, time, or date and time; %1 is the text.
    QString InvalidDateText = QStringLiteral("„%1“ ist kein gültiges Datum.");
    QString InvalidTimeText = QStringLiteral("„%1“ ist keine gültige Uhrzeit.");
    QString InvalidDateTimeText = QStringLiteral("„%1“ ist keine gültige Angabe von Datum und Uhrzeit.");
};

class TqkIntl : public QObject
{
    Q_OBJECT
    Q_PROPERTY(TqkDBNavigatorIntl *Navigator MEMBER Navigator CONSTANT)
    Q_PROPERTY(TqkSearchDialogIntl *SearchDialog MEMBER SearchDialog CONSTANT)
    Q_PROPERTY(TqkLocateDialogIntl *LocateDialog MEMBER LocateDialog CONSTANT)
    Q_PROPERTY(TqkMonthCalendarIntl *MonthCalendar MEMBER MonthCalendar CONSTANT)
    Q_PROPERTY(TqkFilterDialogIntl *FilterDialog MEMBER FilterDialog CONSTANT)
    Q_PROPERTY(TqkDBRichEditIntl *RichEdit MEMBER RichEdit CONSTANT)
    Q_PROPERTY(TqkUserMessagesIntl *UserMessages MEMBER UserMessages CONSTANT)
    Q_PROPERTY(bool OKCancelBitmapped MEMBER OKCancelBitmapped)
    Q_PROPERTY(QString BtnOKCaption MEMBER BtnOKCaption)
    Q_PROPERTY(QString BtnCancelCaption MEMBER BtnCancelCaption)
    Q_PROPERTY(TqkCheckBoxInGridStyle CheckBoxInGridStyle READ CheckBoxInGridStyle WRITE SetCheckBoxInGridStyle)
    Q_PROPERTY(QString VersionTessarion READ VersionTessarion WRITE SetVersionTessarion)
    Q_PROPERTY(int FilterMemoSize MEMBER FilterMemoSize)
    Q_PROPERTY(bool UseLocateMethodForSearch MEMBER UseLocateMethodForSearch)
    Q_PROPERTY(TFontStyles DialogFontStyle MEMBER DialogFontStyle)
    Q_PROPERTY(int DefaultEpochYear MEMBER DefaultEpochYear)
    Q_PROPERTY(bool Connected READ Connected WRITE SetConnected)

public:
    explicit TqkIntl(QObject *owner = nullptr);
    ~TqkIntl() override;

    TqkDBNavigatorIntl *Navigator = new TqkDBNavigatorIntl(this);
    TqkSearchDialogIntl *SearchDialog = new TqkSearchDialogIntl(this);
    TqkLocateDialogIntl *LocateDialog = new TqkLocateDialogIntl(this);
    TqkMonthCalendarIntl *MonthCalendar = new TqkMonthCalendarIntl(this);
    TqkFilterDialogIntl *FilterDialog = new TqkFilterDialogIntl(this);
    TqkDBRichEditIntl *RichEdit = new TqkDBRichEditIntl(this);
    TqkUserMessagesIntl *UserMessages = new TqkUserMessagesIntl(this);
    bool OKCancelBitmapped = true;
    QString BtnOKCaption = QStringLiteral("&OK");
    QString BtnCancelCaption = QStringLiteral("Cancel");
    int FilterMemoSize = 65536;
    bool UseLocateMethodForSearch = true;
    TFontStyles DialogFontStyle;
    int DefaultEpochYear = 1950;

    TqkCheckBoxInGridStyle CheckBoxInGridStyle() const { return m_checkBoxInGridStyle; }
    void SetCheckBoxInGridStyle(TqkCheckBoxInGridStyle style);
    // The library version; it cannot be changed.
    QString VersionTessarion() const { return QStringLiteral("4.02B"); }
    void SetVersionTessarion(const QString &) {}
    bool Connected() const { return m_connected; }
    void SetConnected(bool connected);

    // Called once the instance has been read from a form.
    virtual void Loaded();

    bool IsGlobal() const;

private:
    void CopyIntoGlobal() const;

    TqkCheckBoxInGridStyle m_checkBoxInGridStyle = cbStyleAuto;
    bool m_connected = false;
};

// The global instance every library class reads. It is never null: before the
// application object exists and after the instance has been freed at shut-down
// readers see an instance with the default texts.
TqkIntl &qkIntl();
int qkFilterMemoSize();

// Counted: the first call creates the global instance owned by the
// application object, the last finalisation frees it. The application object's
// construction runs the first initialisation.
void qkIntlInitialize();
void qkIntlFinalize();
