#pragma once

#include "lib/edit/qkKeyAdapter.h"
#include "platform/db/DbTypes.h"
#include "platform/db/TDataSet.h"
#include "platform/db/TDataSource.h"

#include <QObject>
#include <QPointer>

#include <functional>

class TDataSet;
class TDataSource;
class TField;
class TFieldDataLink;
class TqkDataSource;
class TqkDBCustomEdit;
class TqkGridHost;
class QFontMetrics;
class QPainter;

enum TqkEditDataType { qkDefault = 0, qkEdtDate = 1, qkEdtTime = 2, qkEdtDateTime = 3 };
enum TEditCharCase { ecNormal, ecUpperCase, ecLowerCase };

// Sender and whether the text passes the picture.
using TqkValidateEvent = std::function<void(QObject *sender, bool passesPictureTest)>;

// The picture settings of one control. Bound to a field, its mask and AutoFill
// live in the data set's "PictureMasks" (or the table's own picture).
class TqkDBPicture : public QObject
{
    Q_OBJECT

public:
    explicit TqkDBPicture(QWidget *owner);

    QString PictureMask() const;
    void SetPictureMask(const QString &mask);
    bool AutoFill() const;
    void SetAutoFill(bool autoFill);
    bool AllowInvalidExit() const;
    void SetAllowInvalidExit(bool allow);
    void Assign(const TqkDBPicture &source);

    bool IsBound() const;
    // Takes the bound field's mask and AutoFill into the stored settings.
    void Refresh();
    // Whether a form would store the picture with the control.
    bool IsStored() const { return !IsBound() && !m_mask.isEmpty(); }

private:
    TqkDBCustomEdit *boundEdit() const;

    QString m_mask;
    bool m_autoFill = true;
    bool m_allowInvalidExit = false;
};

// The edit with the picture filter on typed characters.
class TqkCustomMaskEdit : public TqkKeyedEdit
{
    Q_OBJECT

public:
    explicit TqkCustomMaskEdit(QWidget *parent = nullptr);

    TqkDBPicture *Picture() const { return m_picture; }
    bool UsePictureMask() const { return m_usePictureMask; }
    void SetUsePictureMask(bool use) { m_usePictureMask = use; }
    bool ExitRefused() const { return m_exitRefused; }
    // 0 means no limit.
    int MaxLength() const { return maxLength() == 32767 ? 0 : maxLength(); }
    void SetMaxLength(int length) { setMaxLength(length > 0 ? length : 32767); }

    TqkValidateEvent OnCheckValue;

    // Typed and pasted characters go in upper or lower case.
    TEditCharCase CharCase() const { return m_charCase; }
    void SetCharCase(TEditCharCase charCase) { m_charCase = charCase; }
    QString InCharCase(const QString &text) const;
    // Entering the control selects its whole text.
    bool AutoSelect() const { return m_autoSelect; }
    void SetAutoSelect(bool autoSelect) { m_autoSelect = autoSelect; }

    // More than one line: each of these shows the text in a lines window;
    // a word-wrapping edit only one line high scrolls sideways instead.
    bool WordWrap() const { return m_wordWrap; }
    void SetWordWrap(bool wordWrap);
    // Enter inserts a line break instead of reaching the dialog.
    bool WantReturns() const { return m_wantReturns; }
    void SetWantReturns(bool wantReturns);
    bool ShowVertScrollBar() const { return m_showVertScrollBar; }
    void SetShowVertScrollBar(bool show);

    bool PictureApplies() const;
    // The framework's own edit mask, in force where no picture applies.
    const QString &EditMask() const { return m_editMask; }
    void SetEditMask(const QString &mask) { m_editMask = mask; }
    // True for an empty text, an empty mask or a text the mask finds complete.
    bool PictureAccepts(const QString &text) const;
    // PictureAccepts, telling OnCheckValue in every case.
    bool CheckPictureText(const QString &text);
    // True when leaving the control with this text would be refused.
    bool RefusesExitWith(const QString &text) const;

protected:
    // A borderless host (the grid's cell) asks for the lines window itself.
    void SetMultiLine(bool multiLine);
    virtual void DoCheckValue(bool passes);
    virtual void BeginFieldEdit() {}
    void KeyPress(QChar &key) override;
    void resizeEvent(QResizeEvent *event) override;

    bool m_exitRefused = false;
    bool m_keyHandledByPicture = false;

private:
    void filterCharacter(QChar &key);
    void filterByEditMask(QChar &key);
    void recreateWindow();
    void wrapByHeight();

    TqkDBPicture *m_picture;
    QString m_editMask;
    TEditCharCase m_charCase = ecNormal;
    bool m_autoSelect = true;
    bool m_usePictureMask = false;
    bool m_wordWrap = false;
    bool m_wantReturns = false;
    bool m_showVertScrollBar = false;
    bool m_multiLine = false;
};

// The data-aware edit: a field data link, an unbound mode with a declared
// type, the check on leaving and the hooks the combo edits override.
class TqkDBCustomEdit : public TqkCustomMaskEdit
{
    Q_OBJECT

public:
    explicit TqkDBCustomEdit(QWidget *parent = nullptr);
    ~TqkDBCustomEdit() override;

    TqkDataSource *DataSource() const;
    void SetDataSource(TDataSource *source);
    QString DataField() const;
    void SetDataField(const QString &fieldName);
    bool ReadOnly() const;
    void SetReadOnly(bool readOnly);
    TField *Field() const;
    TDataSet *BoundDataSet() const;
    TFieldDataLink *DataLink() const { return m_link; }
    bool AutoFillDate() const { return m_autoFillDate; }
    void SetAutoFillDate(bool on) { m_autoFillDate = on; }
    TqkEditDataType UnboundDataType() const { return m_unboundDataType; }
    // The control's own enter and exit events; OnExit fires before the text
    // is checked against the picture.
    TNotifyEvent OnEnter;
    TNotifyEvent OnExit;
    void SetUnboundDataType(TqkEditDataType type) { m_unboundDataType = type; }
    // Refreshes the picture from the bound field before answering.
    TqkDBPicture *Picture();
    void SetPicture(const TqkDBPicture &picture);
    TAlignment FieldAlignment() const { return m_alignment; }

    void SetModified(bool modified);
    void Reset();
    bool EditCanModify() const;
    void Paste() override;
    void Cut() override;

    // The hooks of the combo edits.
    virtual bool ShowsCaret() const { return true; }
    bool CaretHidden() const override { return !ShowsCaret(); }
    virtual QRect GetTextRect() const;
    virtual void GetValueText(QString &text) const { text = this->text(); }
    // Paints the control's text into its text area at the offsets left and top.
    virtual void PaintText(QPainter &painter, const QRect &rect, int left, int top, const QString &text);
    virtual bool GetShowButton() const { return false; }
    virtual void SetShowButton(bool) {}
    virtual bool MapValueToDisplay(const QString &value, QString &displayText) const;
    virtual int GetButtonWidth() const { return 0; }
    virtual int GetTextRightEdge() const { return width() - 1; }

    // Completes a date or time on the blank key; true when it took the key.
    bool AutoFillDateTime(QChar &key);
    bool IsDateEdit() const;
    bool IsTimeEdit() const;
    bool IsDateTimeEdit() const;
    bool WholeTextSelected() const;

protected:
    void BeginFieldEdit() override;
    virtual void DataChange();
    virtual void UpdateData();
    void EditingChange();
    void showText(const QString &shown);

    bool event(QEvent *event) override;
    bool WantsKey(int key, qk::TShiftState shift) override;
    void KeyDown(int &key, qk::TShiftState shift) override;
    void KeyPress(QChar &key) override;
    void KeyUp(int &key, qk::TShiftState shift) override;
    bool ExitCheck() override;
    void EnterFocus() override;
    void InsertPastedText(const QString &text) override;
    int EditRectMargin() const override;
    bool PaintsOwnText() const override;
    void PaintOwnText(QPainter &painter) override;

    TqkGridHost *Grid() const;
    qk::TShiftState m_lastShift;
    bool m_focused = false;
    // Set while the exit runs the record update.
    bool m_leaving = false;

private:
    void SetFocused(bool focused);
    void applyAlignment();
    bool stopForReadOnly();
    void handOverToGrid(int &key, qk::TShiftState shift);
    bool caretAtStart() const;
    bool caretAtEnd() const;
    int ownPaintMargin() const;
    // Moves the painted text's rectangle and offsets to where the line writes its text.
    void placeAsTheLine(const QFontMetrics &metrics, const QString &shown, QRect &rect, int &left, int &top) const;
    QString paintedText() const;
    void writeDateTimeField(TField *field, const QString &text);
    // Raises the conversion error for a typed text an unbound date or time edit cannot read.
    void checkUnboundDateTime() const;
    void finishAutoFill(const QString &text);

    TFieldDataLink *m_link;
    TAlignment m_alignment = taLeftJustify;
    QString m_savedText;
    bool m_autoFillDate = true;
    TqkEditDataType m_unboundDataType = qkDefault;
};

class TqkDBEdit : public TqkDBCustomEdit
{
    Q_OBJECT
    Q_PROPERTY(TDataSource *DataSource READ DataSourceObject WRITE SetDataSource)
    Q_PROPERTY(QString DataField READ DataField WRITE SetDataField)
    Q_PROPERTY(bool ReadOnly READ ReadOnly WRITE SetReadOnly)
    Q_PROPERTY(bool AutoFillDate READ AutoFillDate WRITE SetAutoFillDate)
    Q_PROPERTY(bool UsePictureMask READ UsePictureMask WRITE SetUsePictureMask)
    Q_PROPERTY(bool WordWrap READ WordWrap WRITE SetWordWrap)
    Q_PROPERTY(bool WantReturns READ WantReturns WRITE SetWantReturns)
    Q_PROPERTY(bool ShowVertScrollBar READ ShowVertScrollBar WRITE SetShowVertScrollBar)
    Q_PROPERTY(bool AutoSelect READ AutoSelect WRITE SetAutoSelect)

public:
    using TqkDBCustomEdit::TqkDBCustomEdit;
    TDataSource *DataSourceObject() const;
};

// Whether the field takes the typed character (numbers refuse letters).
bool qkFieldAcceptsChar(const TField *field, QChar character);
// The same for a field of that type.
bool qkFieldTypeAcceptsChar(TFieldType type, QChar character);
