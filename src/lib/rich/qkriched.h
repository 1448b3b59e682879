#pragma once

#include "lib/data/qkDialog.h"
#include "lib/rich/qkPrintMargins.h"
#include "lib/rich/qkRichEditStrings.h"
#include "lib/rich/qkRichFindDialogs.h"
#include "platform/db/TDataSet.h"
#include "platform/db/TDataSource.h"

#include <QPointer>
#include <QTextEdit>

#include <functional>
#include <memory>
#include <optional>

class QAbstractButton;
class QMenu;
class QPrinter;
class QTextBlockFormat;
class TField;
class TFieldDataLink;

enum TqkRichEditWidth { rewWindowSize, rewPrinterSize };

// Option sets are flags: each member is its bit of the stored 16-bit set,
// so `EditorOptions |= reoShowLoad` adds the member.
enum TqkRichEditPopupOption {
    rpoPopupEdit = 0x1,
    rpoPopupCut = 0x2,
    rpoPopupCopy = 0x4,
    rpoPopupPaste = 0x8,
    rpoPopupBold = 0x10,
    rpoPopupItalic = 0x20,
    rpoPopupUnderline = 0x40,
    rpoPopupFont = 0x80,
    rpoPopupBullet = 0x100,
    rpoPopupParagraph = 0x200,
    rpoPopupTabs = 0x400,
    rpoPopupFind = 0x800,
    rpoPopupReplace = 0x1000,
    rpoPopupInsertObject = 0x2000
};
Q_DECLARE_FLAGS(TqkRichEditPopupOptions, TqkRichEditPopupOption)
Q_DECLARE_OPERATORS_FOR_FLAGS(TqkRichEditPopupOptions)

enum TqkRichEditOption {
    reoShowLoad = 0x1,
    reoShowSaveAs = 0x2,
    reoShowSaveExit = 0x4,
    reoShowPrint = 0x8,
    reoShowPageSetup = 0x10,
    reoShowFormatBar = 0x20,
    reoShowToolBar = 0x40,
    reoShowStatusBar = 0x80,
    reoShowHints = 0x100,
    reoShowRuler = 0x200,
    reoShowInsertObject = 0x400,
    reoCloseOnEscape = 0x800,
    reoFlatButtons = 0x1000
};
Q_DECLARE_FLAGS(TqkRichEditOptions, TqkRichEditOption)
Q_DECLARE_OPERATORS_FOR_FLAGS(TqkRichEditOptions)

enum TqkRichEditOleOption { reoAdjustPopupMenu = 0x1, reoDisableOLE = 0x2 };
Q_DECLARE_FLAGS(TqkRichEditOleOptions, TqkRichEditOleOption)
Q_DECLARE_OPERATORS_FOR_FLAGS(TqkRichEditOleOptions)

enum TqkSearchType { stWholeWord = 0x1, stMatchCase = 0x2 };
Q_DECLARE_FLAGS(TqkSearchTypes, TqkSearchType)
Q_DECLARE_OPERATORS_FOR_FLAGS(TqkSearchTypes)

using TqkURLOpenEvent = std::function<void(QObject *sender, const QString &url, bool &useDefault)>;
// Asked before the user changes protected text from startPos to endPos;
// allowChange comes in False.
using TRichEditProtectChange = std::function<void(QObject *sender, int startPos, int endPos, bool &allowChange)>;
using TqkOnRichEditDlgEvent = std::function<void(QWidget *dialog)>;

// The library's rich text control over QTextEdit; its text is read and
// written as RTF in the old control's shape.
class TqkCustomRichEdit : public QTextEdit
{
    Q_OBJECT
    Q_PROPERTY(bool AutoURLDetect READ AutoURLDetect WRITE SetAutoURLDetect)
    Q_PROPERTY(int PopupOptions READ PopupOptionBits WRITE SetPopupOptionBits)
    Q_PROPERTY(int EditorOptions READ EditorOptionBits WRITE SetEditorOptionBits)
    Q_PROPERTY(QString EditorCaption MEMBER EditorCaption)
    Q_PROPERTY(int MeasurementUnits READ MeasurementUnitsOrdinal WRITE SetMeasurementUnitsOrdinal)
    Q_PROPERTY(int EditWidth READ EditWidthOrdinal WRITE SetEditWidthOrdinal)
    Q_PROPERTY(int OleOptions READ OleOptionBits WRITE SetOleOptionBits)
    Q_PROPERTY(QString PrintJobName MEMBER PrintJobName)
    Q_PROPERTY(bool WordWrap READ WordWrap WRITE SetWordWrap)
    Q_PROPERTY(int RichEditVersion READ StoredRichEditVersion WRITE SetRichEditVersion)
    Q_PROPERTY(QByteArray Data READ Data WRITE SetData)
    Q_PROPERTY(int MaxLength READ MaxLength WRITE SetMaxLength)

public:
    static constexpr TqkRichEditPopupOptions defaultPopupOptions = TqkRichEditPopupOptions::fromInt(0x3F8F);
    static constexpr TqkRichEditPopupOptions readOnlyPopupMask = TqkRichEditPopupOptions::fromInt(0xC80F);
    static constexpr TqkRichEditOptions defaultEditorOptions = TqkRichEditOptions::fromInt(0x1FFC);

    // Invokable, so that the editor window edits in an instance of the
    // caller's own class.
    Q_INVOKABLE explicit TqkCustomRichEdit(QWidget *parent = nullptr);
    ~TqkCustomRichEdit() override;

    TqkRichEditStrings &Lines() { return m_lines; }
    TqkPrintMargins *PrintMargins() const { return m_printMargins; }
    TqkFormPosition EditorPosition;
    TqkRichEditOptions EditorOptions = defaultEditorOptions;
    QString EditorCaption = QStringLiteral("Edit Rich Text");
    TqkRichEditOleOptions OleOptions;
    QString PrintJobName;
    TqkURLOpenEvent OnURLOpen;
    TqkOnRichEditDlgEvent OnInitDialog;
    TqkOnRichEditDlgEvent OnCloseDialog;
    TqkOnRichEditDlgEvent OnCreateDialog;
    TRichEditProtectChange OnProtectChange;

    // The caller's own buttons that the editor window shows in its tool
    // bar; assigning one hides it where it stands.
    QAbstractButton *UserSpeedButton1() const { return m_userSpeedButtons[0]; }
    QAbstractButton *UserSpeedButton2() const { return m_userSpeedButtons[1]; }
    void SetUserSpeedButton1(QAbstractButton *button) { setUserSpeedButton(0, button); }
    void SetUserSpeedButton2(QAbstractButton *button) { setUserSpeedButton(1, button); }

    bool AutoURLDetect() const { return m_autoUrlDetect; }
    void SetAutoURLDetect(bool on);
    TqkRichEditPopupOptions PopupOptions() const { return m_popupOptions; }
    void SetPopupOptions(TqkRichEditPopupOptions options) { m_popupOptions = options; }
    // The sets as stored in form descriptions: their bits in 16.
    int PopupOptionBits() const { return m_popupOptions.toInt(); }
    void SetPopupOptionBits(int bits) { m_popupOptions = TqkRichEditPopupOptions::fromInt(bits & 0xFFFF); }
    int EditorOptionBits() const { return EditorOptions.toInt(); }
    void SetEditorOptionBits(int bits) { EditorOptions = TqkRichEditOptions::fromInt(bits & 0xFFFF); }
    int OleOptionBits() const { return OleOptions.toInt(); }
    void SetOleOptionBits(int bits) { OleOptions = TqkRichEditOleOptions::fromInt(bits & 0xFFFF); }
    TqkMeasurementUnits MeasurementUnits() const { return m_units; }
    void SetMeasurementUnits(TqkMeasurementUnits units) { m_units = units; }
    int MeasurementUnitsOrdinal() const { return m_units; }
    void SetMeasurementUnitsOrdinal(int units) { m_units = TqkMeasurementUnits(units); }
    TqkRichEditWidth EditWidth() const { return m_editWidth; }
    void SetEditWidth(TqkRichEditWidth width);
    int EditWidthOrdinal() const { return m_editWidth; }
    void SetEditWidthOrdinal(int width) { SetEditWidth(TqkRichEditWidth(width)); }
    bool WordWrap() const { return m_wordWrap; }
    void SetWordWrap(bool wrap);
    // The most characters (paragraph ends count one) the user may bring
    // into the text; 0 for no limit. Text loaded by the program is not cut.
    int MaxLength() const { return m_maxLength; }
    void SetMaxLength(int length) { m_maxLength = std::max(0, length); }
    bool PlainText() const { return m_plainText; }
    void SetPlainText(bool plain) { m_plainText = plain; }
    int PaperSize() const { return m_paperSize; }
    void SetPaperSize(int code);
    bool Landscape() const { return m_landscape; }
    void SetLandscape(bool landscape);
    int LeftTextOffset() const { return m_leftTextOffset; }
    void SetLeftTextOffset(int pixels);
    int ScreenPixelsPerInch() const { return m_screenPixelsPerInch; }

    // Stored in form descriptions: the version reads as written and is
    // always written as 2; Data is a 32-bit little-endian count followed
    // by the rich text, for a control without a data field.
    int RichEditVersion() const { return m_richEditVersion; }
    void SetRichEditVersion(int version) { m_richEditVersion = version; }
    // What a form description stores: always 2, and the control is then 2.
    int StoredRichEditVersion()
    {
        m_richEditVersion = 2;
        return 2;
    }
    QByteArray Data();
    void SetData(const QByteArray &block);
    // Descriptions without "RichEditVersion" load as version 1.
    void BeginReadState() { m_richEditVersion = 1; }
    bool TextReadFromDescription() const { return m_textFromDescription; }

    virtual bool GetReadOnly() const { return isReadOnly(); }
    virtual void BeginEdit() {}
    virtual void UpdateData() {}
    virtual bool IsLoaded() const { return true; }
    virtual TField *GetField() const { return nullptr; }
    virtual void DoURLOpen(const QString &url, bool &useDefault);
    virtual int FindText(const QString &text, int start, int length, TqkSearchTypes options);
    // Reads rich text (or plain text when PlainText) from the stream's
    // position; rich text that is not RTF is taken as plain text.
    virtual void StreamIn(QIODevice &stream, bool cutAfterFirstParagraph, bool inSelection);
    // Inserts a picture chosen by the user, the only embedded object we
    // can make; true when one was inserted.
    virtual bool InsertObject();
    // Inserts a PNG or JPEG file at the caret; false when it is no picture.
    bool InsertPicture(const QString &path);
    // The editor window; the base control has none and answers false.
    virtual bool Execute();
    virtual void Find();
    virtual void Replace();
    virtual void FontDialog();
    virtual void ParagraphDialog();
    virtual void TabDialog();
    virtual void FindNext();
    virtual void ReplaceNext();
    virtual void DoInitDialog(QWidget *dialog);
    virtual void DoCloseDialog(QWidget *dialog);
    virtual void DoCreateDialog(QWidget *dialog);

    QByteArray StreamOut() const;
    void LoadFromField(TField *field);
    // The field takes the control's rich text, as a blob field's Assign of the lines does.
    void SaveToField(TField &field) const;
    void CopyTo(QTextEdit &target);
    // What was wrong with the last rich text loaded; empty when it was sound.
    const QStringList &LoadProblems() const { return m_loadProblems; }

    void SetSelectionFont(const QString &name, double size, const QColor &color, bool bold, bool italic, bool underline,
                          bool strikeOut);
    void SetBullet(bool on);
    // Changes every paragraph the selection touches, each from its own
    // format, as one undo step: a format set for several paragraphs takes
    // only what the user changed.
    void ChangeParagraphs(const std::function<void(QTextBlockFormat &)> &change);
    // Marks the selection as protected, or frees it.
    void SetSelProtected(bool on);
    // The clipboard operations as the user runs them: protected text stays.
    void CutToClipboard();
    void ClearSelection();
    void ToggleBold();
    void ToggleItalic();
    void ToggleUnderline();
    bool CanPaste() const;
    bool HasFindText() const { return !m_lastFindText.isEmpty(); }
    bool HasSelection() const { return textCursor().hasSelection(); }
    QMenu *PopupMenu() const { return m_popup; }
    TqkFindDialog *FindDialog() const { return m_findDialog; }
    TqkFindDialog *ReplaceDialog() const { return m_replaceDialog; }
    int SearchLimit() const { return m_searchLimit; }
    // Prints the text with the control's margins and paper through the
    // printer, one page after the other; false when the printer failed.
    bool Print(const QString &title);
    // Sets the printer up for the program's current printer (the built-in
    // PDF printer writes a file); false when that printer cannot print.
    bool PrepareForPrinting(QPrinter &printer, const QString &title) const;
    // Prints `copies` copies of the text through a printer set up already.
    bool PrintTo(QPrinter &printer, const QString &title, int copies);
    void updateEditingRectangle();

protected:
    bool m_streaming = false;
    // The characters from start to end that an edit replaces by `inserted`
    // new ones.
    struct TextChange
    {
        int start;
        int end;
        int inserted;
    };
    // Whether the user may make the change: protected text only when
    // OnProtectChange allows it, new text only within MaxLength. A refused
    // change beeps.
    bool MayChange(const TextChange &change);
    void keyPressEvent(QKeyEvent *event) override;
    void inputMethodEvent(QInputMethodEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    // The clipboard carries rich text as RTF, as between the old controls.
    QMimeData *createMimeDataFromSelection() const override;
    bool canInsertFromMimeData(const QMimeData *source) const override;
    void insertFromMimeData(const QMimeData *source) override;
    void loadBytes(const QByteArray &bytes, bool cutAfterFirstParagraph, bool inSelection);
    // Text loaded from a field but not as the editable memo, such as the
    // first paragraph a grid shows, must never be written back.
    virtual void forgetLoadedMemo() {}

private:
    std::optional<TextChange> keyChange(const QKeyEvent &event) const;
    bool touchesProtectedText(const TextChange &change) const;
    int textLength() const;
    void searchStep(TqkFindDialog &dialog, bool replacing);
    void openSearchDialog(TqkFindDialog &dialog);
    void buildPopup();
    void updatePopup();
    void updateLinks();
    QString linkAt(const QPoint &position) const;
    void setUserSpeedButton(int index, QAbstractButton *button);

    TqkRichEditStrings m_lines{*this};
    // Cleared when the button goes away.
    QPointer<QAbstractButton> m_userSpeedButtons[2];
    TqkPrintMargins *m_printMargins;
    QMenu *m_popup = nullptr;
    QPointer<TqkFindDialog> m_findDialog;
    QPointer<TqkFindDialog> m_replaceDialog;
    QString m_lastFindText;
    int m_searchLimit = 0;
    bool m_wrapped = false;
    bool m_savedHideSelection = true;
    bool m_autoUrlDetect = false;
    bool m_linkPressed = false;
    bool m_wordWrap = true;
    bool m_plainText = false;
    bool m_textFromDescription = false;
    TqkRichEditPopupOptions m_popupOptions = defaultPopupOptions;
    int m_paperSize = 1;
    int m_maxLength = 0;
    bool m_landscape = false;
    int m_leftTextOffset = 3;
    int m_richEditVersion = 2;
    int m_screenPixelsPerInch;
    TqkMeasurementUnits m_units = muInches;
    TqkRichEditWidth m_editWidth = rewWindowSize;
    QStringList m_loadProblems;
};

// The data-aware rich text control: shows and edits a memo or blob field
// and writes the rich text back into it.
class TqkDBRichEdit : public TqkCustomRichEdit
{
    Q_OBJECT
    Q_PROPERTY(QString DataField READ DataField WRITE SetDataField)
    Q_PROPERTY(TDataSource *DataSource READ DataSource WRITE SetDataSource)
    Q_PROPERTY(bool AutoDisplay READ AutoDisplay WRITE SetAutoDisplay)
    Q_PROPERTY(bool ReadOnly READ ReadOnly WRITE SetReadOnly)

public:
    Q_INVOKABLE explicit TqkDBRichEdit(QWidget *parent = nullptr);
    ~TqkDBRichEdit() override;

    QString DataField() const;
    void SetDataField(const QString &name);
    TDataSource *DataSource() const;
    void SetDataSource(TDataSource *source);
    bool AutoDisplay() const { return m_autoDisplay; }
    void SetAutoDisplay(bool on);
    bool ReadOnly() const;
    void SetReadOnly(bool readOnly);
    TFieldDataLink *DataLink() const { return m_link.get(); }
    bool MemoLoaded() const { return m_memoLoaded; }
    void LoadMemo();

    bool GetReadOnly() const override;
    void BeginEdit() override;
    void UpdateData() override;
    bool IsLoaded() const override { return m_memoLoaded; }
    TField *GetField() const override;

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void forgetLoadedMemo() override { m_memoLoaded = false; }

private:
    void dataChange();
    void editingChange();
    void textChange();
    bool isBlobField() const;
    void refreshFieldText();

    std::unique_ptr<TFieldDataLink> m_link;
    bool m_autoDisplay = true;
    bool m_memoLoaded = false;
    bool m_focused = false;
    bool m_ownReadOnly = false;
    QString m_snapshot;
    bool m_hasSnapshot = false;
};
