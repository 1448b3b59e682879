#include "lib/edit/qkdbedit.h"

#include "lib/data/Qkcommon.h"
#include "lib/data/QkcommonData.h"
#include "lib/data/QkcommonPaint.h"
#include "lib/data/Qkdatsrc.h"
#include "lib/data/Qkintl.h"
#include "lib/data/Qkpict.h"
#include "lib/data/Qkprops.h"
#include "lib/data/QkstrDate.h"
#include "lib/edit/qkCellText.h"
#include "lib/edit/qkEditMask.h"
#include "lib/edit/qkGridHost.h"
#include "lib/edit/qkLinesWindow.h"
#include "platform/db/TDataLink.h"
#include "platform/db/TDataSet.h"
#include "platform/db/TField.h"
#include "platform/runtime/DateConversions.h"
#include "platform/runtime/Exceptions.h"
#include "platform/runtime/FormatSettings.h"
#include "platform/ui/Application.h"
#include "platform/ui/UiServices.h"

#include <QPainter>
#include <QScopedValueRollback>
#include <QStyleOptionFrame>

#include <utility>

using namespace qk;

namespace {

const QString invalidInputMessage =
    QStringLiteral("Ungültiger Eingabewert. Verwenden Sie die ESC-Taste, um die Änderungen rückgängig zu machen.");

// The room the line leaves between its contents' edge and its text.
constexpr int lineTextMargin = 2;

QString twoDigits(int value)
{
    return QString::number(value).rightJustified(2, QLatin1Char('0'));
}

bool isMemoField(const TField *field)
{
    return field && (field->DataType() == ftMemo || field->DataType() == ftFmtMemo);
}

}

bool qkFieldAcceptsChar(const TField *field, QChar character)
{
    return !field || qkFieldTypeAcceptsChar(field->DataType(), character);
}

bool qkFieldTypeAcceptsChar(TFieldType type, QChar character)
{
    const bool sign = character == QLatin1Char('+') || character == QLatin1Char('-');
    switch (type) {
    case ftSmallint:
    case ftInteger:
    case ftWord:
    case ftAutoInc:
        return character.isDigit() || sign;
    case ftFloat:
    case ftCurrency:
    case ftBCD:
        return character.isDigit() || sign || character == FormatSettings().DecimalSeparator
               || character == FormatSettings().ThousandSeparator || character.toUpper() == QLatin1Char('E');
    default:
        return true;
    }
}

// ---------------------------------------------------------------- picture

TqkDBPicture::TqkDBPicture(QWidget *owner) : QObject(owner)
{}

TqkDBCustomEdit *TqkDBPicture::boundEdit() const
{
    auto *edit = qobject_cast<TqkDBCustomEdit *>(parent());
    if (!edit || !edit->DataLink()->DataSource() || !edit->BoundDataSet() || edit->DataField().isEmpty())
        return nullptr;
    return edit;
}

bool TqkDBPicture::IsBound() const
{
    return boundEdit() != nullptr;
}

QString TqkDBPicture::PictureMask() const
{
    if (TqkDBCustomEdit *edit = boundEdit())
        return qkGetPictureMask(edit->BoundDataSet(), edit->DataField(), true).Mask;
    return m_mask;
}

void TqkDBPicture::SetPictureMask(const QString &mask)
{
    TqkDBCustomEdit *edit = boundEdit();
    if (!edit) {
        m_mask = mask;
        return;
    }
    if (!qkTablePicture(edit->BoundDataSet(), edit->DataField()).isEmpty()) {
        ui::services().messageBox(qkIntl().UserMessages->PictureMaskInTable, ui::applicationTitle(),
                                  ui::MsgIcon::Warning, ui::MsgButtons::Ok);
        return;
    }
    m_mask = mask;
    qkSetPictureMask(edit->BoundDataSet(), edit->DataField(), mask, m_autoFill, false, true, false, false);
}

bool TqkDBPicture::AutoFill() const
{
    if (TqkDBCustomEdit *edit = boundEdit()) {
        const TqkPictureMaskSetting setting = qkGetPictureMask(edit->BoundDataSet(), edit->DataField(), true);
        if (!setting.Mask.isEmpty())
            return setting.AutoFill;
    }
    return m_autoFill;
}

void TqkDBPicture::SetAutoFill(bool autoFill)
{
    m_autoFill = autoFill;
    if (TqkDBCustomEdit *edit = boundEdit())
        qkSetPictureMask(edit->BoundDataSet(), edit->DataField(), m_mask, autoFill, false, false, true, false);
}

bool TqkDBPicture::AllowInvalidExit() const
{
    return !IsBound() && m_allowInvalidExit;
}

void TqkDBPicture::SetAllowInvalidExit(bool allow)
{
    if (!IsBound())
        m_allowInvalidExit = allow;
}

void TqkDBPicture::Assign(const TqkDBPicture &source)
{
    m_mask = source.PictureMask();
    m_autoFill = source.AutoFill();
}

void TqkDBPicture::Refresh()
{
    if (TqkDBCustomEdit *edit = boundEdit()) {
        const TqkPictureMaskSetting setting = qkGetPictureMask(edit->BoundDataSet(), edit->DataField(), true);
        m_mask = setting.Mask;
        m_autoFill = setting.AutoFill;
        m_allowInvalidExit = false;
    }
}

// ---------------------------------------------------------------- mask edit

TqkCustomMaskEdit::TqkCustomMaskEdit(QWidget *parent) : TqkKeyedEdit(parent), m_picture(new TqkDBPicture(this))
{}

void TqkCustomMaskEdit::SetWordWrap(bool wordWrap)
{
    if (std::exchange(m_wordWrap, wordWrap) != wordWrap)
        recreateWindow();
}

void TqkCustomMaskEdit::SetWantReturns(bool wantReturns)
{
    if (std::exchange(m_wantReturns, wantReturns) != wantReturns)
        recreateWindow();
}

void TqkCustomMaskEdit::SetShowVertScrollBar(bool show)
{
    if (std::exchange(m_showVertScrollBar, show) != show)
        recreateWindow();
}

void TqkCustomMaskEdit::SetMultiLine(bool multiLine)
{
    if (std::exchange(m_multiLine, multiLine) != multiLine)
        recreateWindow();
}

void TqkCustomMaskEdit::recreateWindow()
{
    SetTextWindow(m_multiLine || m_wordWrap || m_wantReturns || m_showVertScrollBar, m_wordWrap, m_showVertScrollBar);
    wrapByHeight();
}

void TqkCustomMaskEdit::resizeEvent(QResizeEvent *event)
{
    TqkKeyedEdit::resizeEvent(event);
    wrapByHeight();
}

void TqkCustomMaskEdit::wrapByHeight()
{
    if (TqkLinesWindow *lines = LinesWindow())
        lines->setLineWrapMode(m_wordWrap && !qkFitsOneLine(fontMetrics(), rect()) ? QPlainTextEdit::WidgetWidth
                                                                                   : QPlainTextEdit::NoWrap);
}

QString TqkCustomMaskEdit::InCharCase(const QString &text) const
{
    QString cased = text;
    // Character by character, as the window converts them: a sharp s stays one letter.
    for (QChar &character : cased)
        character = m_charCase == ecUpperCase   ? character.toUpper()
                    : m_charCase == ecLowerCase ? character.toLower()
                                                : character;
    return cased;
}

bool TqkCustomMaskEdit::PictureApplies() const
{
    return m_usePictureMask && !m_picture->PictureMask().isEmpty();
}

bool TqkCustomMaskEdit::PictureAccepts(const QString &text) const
{
    const QString mask = m_picture->PictureMask();
    if (text.isEmpty() || mask.isEmpty())
        return true;
    TqkPictureValidator validator(mask, m_picture->AutoFill());
    QString checked = text;
    return validator.Picture(checked, false) == picComplete;
}

bool TqkCustomMaskEdit::RefusesExitWith(const QString &text) const
{
    return PictureApplies() && !m_picture->AllowInvalidExit() && !PictureAccepts(text);
}

bool TqkCustomMaskEdit::CheckPictureText(const QString &text)
{
    const bool passes = PictureAccepts(text);
    DoCheckValue(passes);
    return passes;
}

void TqkCustomMaskEdit::DoCheckValue(bool passes)
{
    if (OnCheckValue)
        OnCheckValue(this, passes);
}

void TqkCustomMaskEdit::KeyPress(QChar &key)
{
    m_keyHandledByPicture = false;
    if (key.unicode() >= 32)
        key = InCharCase(QString(key)).at(0);
    if (!PictureApplies()) {
        if (key == QChar(13) && !m_wantReturns)
            key = QChar();
        else if (!m_editMask.isEmpty() && key.unicode() >= 32)
            filterByEditMask(key);
        return;
    }
    if (key == QChar(8)) {
        BeginFieldEdit();
        if (OnCheckValue && !isReadOnly()) {
            const int caret = cursorPosition();
            if (hasSelectedText())
                CheckPictureText(QString(text()).remove(selectionStart(), selectedText().size()));
            else
                CheckPictureText(caret > 0 ? QString(text()).remove(caret - 1, 1) : text());
        }
        return;
    }
    if (key.unicode() < 32)
        return;
    filterCharacter(key);
}

void TqkCustomMaskEdit::filterCharacter(QChar &key)
{
    const QString old = text();
    const int caret = hasSelectedText() ? selectionStart() : cursorPosition();
    const int selected = int(selectedText().size());
    QString s = QString(old).replace(caret, selected, key);
    if (MaxLength() > 0 && s.size() > MaxLength() && old.size() < s.size())
        return;
    TqkPictureValidator validator(m_picture->PictureMask(), m_picture->AutoFill());
    const TqkPicResult result = validator.Picture(s, m_picture->AutoFill());
    const int length = int(old.size());
    const int grown = int(s.size()) - length;
    bool incomplete = false;
    switch (result) {
    case picComplete:
    case picIncomplete: {
        incomplete = result == picIncomplete;
        BeginFieldEdit();
        if (!isReadOnly()) {
            setText(s);
            int newCaret = caret + 1;
            if (selected == length)
                newCaret = int(s.size());
            else if (incomplete ? selected == 0 : grown > 0)
                newCaret = caret + grown;
            setCursorPosition(qBound(0, newCaret, int(s.size())));
        }
        key = QChar();
        m_keyHandledByPicture = true;
        break;
    }
    case picError:
        if (caret + selected >= length) {
            key = QChar();
            ui::services().beep();
            return;
        }
        incomplete = true;
        break;
    default:
        break;
    }
    if (!isReadOnly())
        DoCheckValue(!incomplete);
}

// A typed character goes into the slot of the edit mask at the caret, the
// mask's literals before it written along; what the slot refuses beeps.
void TqkCustomMaskEdit::filterByEditMask(QChar &key)
{
    const TqkEditMask mask(m_editMask);
    const int start = hasSelectedText() ? selectionStart() : cursorPosition();
    QString shown = text().remove(start, selectedText().size());
    int position = start;
    const QChar typed = key;
    key = QChar();
    if (!mask.Type(shown, position, typed)) {
        ui::services().beep();
        return;
    }
    BeginFieldEdit();
    if (isReadOnly())
        return;
    setText(shown);
    setCursorPosition(position);
    m_keyHandledByPicture = true;
}

// ---------------------------------------------------------------- data-aware edit

TqkDBCustomEdit::TqkDBCustomEdit(QWidget *parent) : TqkCustomMaskEdit(parent), m_link(new TFieldDataLink(this))
{
    SetUsePictureMask(true);
    setReadOnly(true);
    m_link->OnDataChange = [this] { DataChange(); };
    m_link->OnEditingChange = [this] { EditingChange(); };
    m_link->OnUpdateData = [this] { UpdateData(); };
    connect(this, &QLineEdit::textEdited, this, [this] {
        if (!m_link->DataSource())
            setModified(true);
    });
}

TqkDBCustomEdit::~TqkDBCustomEdit()
{
    m_link->OnDataChange = nullptr;
}

// The window is made read-only; an unbound edit that is not ReadOnly becomes
// editable once it is set up, before it is first shown, so that a drop or
// paste is taken before any key.
bool TqkDBCustomEdit::event(QEvent *event)
{
    if (event->type() == QEvent::Polish && !m_link->DataSource() && !ReadOnly())
        setReadOnly(false);
    return TqkCustomMaskEdit::event(event);
}

TqkDataSource *TqkDBCustomEdit::DataSource() const
{
    return qobject_cast<TqkDataSource *>(m_link->DataSource());
}

void TqkDBCustomEdit::SetDataSource(TDataSource *source)
{
    m_link->SetDataSource(source);
}

QString TqkDBCustomEdit::DataField() const
{
    return m_link->FieldName();
}

void TqkDBCustomEdit::SetDataField(const QString &fieldName)
{
    // A length taken from the field bound before goes, so that the next
    // field's size applies.
    TField *field = Field();
    if (MaxLength() > 0 && field && field->DataType() == ftString && field->Size() == MaxLength())
        SetMaxLength(0);
    m_link->SetFieldName(fieldName);
}

bool TqkDBCustomEdit::ReadOnly() const
{
    return m_link->ReadOnly();
}

void TqkDBCustomEdit::SetReadOnly(bool readOnly)
{
    m_link->SetReadOnly(readOnly);
    setReadOnly(readOnly);
}

TField *TqkDBCustomEdit::Field() const
{
    return m_link->Field();
}

TDataSet *TqkDBCustomEdit::BoundDataSet() const
{
    return m_link->DataSet();
}

TqkDBPicture *TqkDBCustomEdit::Picture()
{
    TqkDBPicture *picture = TqkCustomMaskEdit::Picture();
    picture->Refresh();
    return picture;
}

void TqkDBCustomEdit::SetPicture(const TqkDBPicture &value)
{
    TqkDBPicture *picture = TqkCustomMaskEdit::Picture();
    picture->Assign(value);
    SetEditMask(PictureApplies() || !Field() ? QString() : Field()->EditMask());
    const QString mask = value.PictureMask();
    if (!mask.isEmpty() && picture->IsBound())
        qkSetPictureMask(BoundDataSet(), DataField(), mask, value.AutoFill(), false, true, true, false);
}

void TqkDBCustomEdit::SetModified(bool modified)
{
    if (modified && Field() && Field()->ReadOnly())
        return;
    if (modified)
        m_link->Modified();
    setModified(modified);
}

bool TqkDBCustomEdit::EditCanModify() const
{
    TField *field = Field();
    if (!field)
        return true;
    if (m_link->Edit())
        return true;
    TDataSet *dataSet = BoundDataSet();
    return !ReadOnly() && qkIsLookupOrCalcField(field) && !field->ReadOnly() && dataSet && dataSet->CanModify();
}

void TqkDBCustomEdit::Reset()
{
    if (m_link->DataSource())
        m_link->Reset();
    else
        setText(m_savedText);
    selectAll();
    setModified(false);
    if (OnCheckValue)
        CheckPictureText(text());
}

QRect TqkDBCustomEdit::GetTextRect() const
{
    QRect rect = contentsRect();
    if (GetButtonWidth() > 0 && GetShowButton())
        rect.setRight(rect.right() - GetButtonWidth());
    return rect;
}

bool TqkDBCustomEdit::MapValueToDisplay(const QString &, QString &) const
{
    return false;
}

void TqkDBCustomEdit::BeginFieldEdit()
{
    m_link->Edit();
}

TqkGridHost *TqkDBCustomEdit::Grid() const
{
    return qkGridHostOf(this);
}

void TqkDBCustomEdit::applyAlignment()
{
    // Qt paints the text of an unfocused edit aligned as its field says;
    // while focused it is typed left-aligned.
    setAlignment((hasFocus() ? Qt::AlignLeft : qkAlignmentOf(m_alignment)) | Qt::AlignVCenter);
}

void TqkDBCustomEdit::DataChange()
{
    TField *field = Field();
    if (!field) {
        m_alignment = taLeftJustify;
        applyAlignment();
        SetEditMask(QString());
        setText(QString());
        return;
    }
    SetEditMask(PictureApplies() ? QString() : field->EditMask());
    if (field->Alignment() != m_alignment) {
        setText(QString());
        m_alignment = field->Alignment();
        applyAlignment();
    }
    if (field->DataType() == ftString && MaxLength() == 0)
        SetMaxLength(field->Size());
    const bool editText = (m_focused || isMemoField(field)) && m_link->CanModify();
    showText(editText ? (isMemoField(field) ? field->AsString() : field->Text()) : field->DisplayText());
}

void TqkDBCustomEdit::showText(const QString &shown)
{
    // The same text again keeps the selection and the caret, so that a key
    // that puts the data set into edit mode still replaces the selection.
    if (text() != (MultiLine() ? qkLinesText(shown) : shown))
        setText(shown);
}

void TqkDBCustomEdit::EditingChange()
{
    setReadOnly(!m_link->Editing());
}

void TqkDBCustomEdit::UpdateData()
{
    if (isReadOnly())
        return;
    TField *field = Field();
    QString value;
    GetValueText(value);
    if (!TqkCustomMaskEdit::Picture()->PictureMask().isEmpty() && qkGetValidateWithMask(BoundDataSet())
        && !CheckPictureText(value)) {
        const TqkInvalidValueEvent onInvalid = qkGetOnInvalidValue(BoundDataSet());
        if (!onInvalid)
            throw EDatabaseError(invalidInputMessage);
        onInvalid(BoundDataSet(), field);
    } else if (!EditMask().isEmpty() && !value.isEmpty() && !TqkEditMask(EditMask()).IsValid(value)) {
        throw EDatabaseError(invalidInputMessage);
    }
    if (!field || !isModified())
        return;
    // A text the exit refuses stays out of the record: on leaving, the
    // refusal that follows tells the user; any other update of the record
    // (a post, a scroll) fails instead of storing it.
    if (RefusesExitWith(text())) {
        if (m_leaving)
            return;
        throw EDatabaseError(qkIntl().UserMessages->PictureValidateError + field->DisplayName());
    }
    if (isMemoField(field)) {
        // Memos keep the line breaks they are stored with.
        field->SetAsString(MultiLine() ? value.replace(QLatin1Char('\n'), QLatin1String("\r\n")) : value);
    } else if (m_link->Editing() || qkIsLookupOrCalcField(field)) {
        if (!value.isEmpty() && (field->DataType() == ftDateTime || field->DataType() == ftDate))
            writeDateTimeField(field, value);
        else
            field->SetText(value);
    }
}

void TqkDBCustomEdit::writeDateTimeField(TField *field, const QString &text)
{
    if (!qkIsValidDateText(text)) {
        field->SetText(text);
        return;
    }
    int pos = 1;
    TDateTime date = 0;
    if (!qkScanDate(text, pos, date))
        return;
    const TDateTime whole = StrToDateTime(text);
    field->SetAsDateTime(CombineDateTime(date, std::abs(whole - std::trunc(whole))));
}

bool TqkDBCustomEdit::stopForReadOnly()
{
    TDataSource *source = m_link->DataSource();
    if (isReadOnly() && source && !source->AutoEdit()) {
        TDataSet *dataSet = source->DataSet();
        if (!dataSet || (dataSet->State() != dsEdit && dataSet->State() != dsInsert))
            return true;
    }
    if (!source) {
        if (ReadOnly())
            return true;
        setReadOnly(false);
        return false;
    }
    TField *field = Field();
    if (!ReadOnly() && field && qkIsLookupOrCalcField(field)) {
        TDataSet *dataSet = BoundDataSet();
        if (field->ReadOnly() || !dataSet || !dataSet->CanModify())
            return true;
        dataSet->Edit();
        setReadOnly(false);
    }
    return false;
}

bool TqkDBCustomEdit::WantsKey(int key, TShiftState shift)
{
    if (key == VK_ESCAPE)
        return isModified() || Grid() != nullptr;
    if (key == VK_RETURN && WantReturns() && !(shift & Qt::ControlModifier))
        return true;
    if (key == VK_TAB || key == VK_RETURN)
        return Grid() != nullptr && (key == VK_RETURN || Grid()->TabsMoveColumns());
    return true;
}

void TqkDBCustomEdit::KeyPress(QChar &key)
{
    const ushort code = key.unicode();
    if ((code == 8 || code >= 32) && stopForReadOnly())
        return;
    if (key == QLatin1Char(' ') && m_autoFillDate && !(PictureApplies() && TqkCustomMaskEdit::Picture()->AutoFill())) {
        BeginFieldEdit();
        if (!(m_lastShift & Qt::ControlModifier) && AutoFillDateTime(key)) {
            if (OnCheckValue)
                CheckPictureText(text());
            return;
        }
    }
    TqkCustomMaskEdit::KeyPress(key);
    if (m_keyHandledByPicture)
        SetModified(true);
    QString display;
    const ushort typed = key.unicode();
    if (typed >= 32 && typed <= 255 && !MapValueToDisplay(QString(), display) && !qkFieldAcceptsChar(Field(), key)) {
        ui::services().beep();
        key = QChar();
        return;
    }
    if (typed == 8 || typed == 22 || typed == 24 || typed >= 32) {
        m_link->Edit();
        SetModified(true);
        if (!ShowsCaret())
            key = QChar();
    } else if (typed == 27) {
        Reset();
        update();
        key = QChar();
        if (TqkGridHost *grid = Grid())
            grid->TakeFocus();
    } else if (typed == 13 && WantReturns()) {
        m_link->Edit();
        SetModified(true);
    } else if (typed == 13 || typed == 9) {
        if (Grid())
            key = QChar();
    }
}

bool TqkDBCustomEdit::caretAtEnd() const
{
    return WholeTextSelected() || (!hasSelectedText() && cursorPosition() == text().size());
}

bool TqkDBCustomEdit::caretAtStart() const
{
    // Over a framework edit mask the caret at the start covers its first character.
    const bool maskCaret = !EditMask().isEmpty() && selectionStart() == 0 && selectedText().size() == 1;
    return WholeTextSelected() || maskCaret || (!hasSelectedText() && cursorPosition() == 0);
}

bool TqkDBCustomEdit::WholeTextSelected() const
{
    if (text().isEmpty())
        return true;
    return hasSelectedText() && selectionStart() == 0 && selectedText().size() == text().size();
}

void TqkDBCustomEdit::handOverToGrid(int &key, TShiftState shift)
{
    TqkGridHost *grid = Grid();
    if (!grid || (isMemoField(Field()) && !WholeTextSelected()))
        return;
    const bool alt = shift & Qt::AltModifier;
    const bool ctrl = shift & Qt::ControlModifier;
    const bool always = grid->AlwaysShowEditor();
    bool toGrid = false;
    switch (key) {
    case VK_ESCAPE:
        toGrid = !isModified();
        break;
    case VK_PRIOR:
    case VK_NEXT:
    case VK_UP:
    case VK_DOWN:
        toGrid = !alt;
        break;
    case VK_HOME:
    case VK_LEFT:
        toGrid = always && (ctrl || caretAtStart());
        break;
    case VK_END:
    case VK_RIGHT:
        toGrid = always && (ctrl || caretAtEnd());
        break;
    case VK_INSERT:
        toGrid = !(shift & Qt::ShiftModifier);
        break;
    case VK_DELETE:
        toGrid = ctrl;
        break;
    case VK_F2:
        grid->FireOnKeyDown(key, shift);
        if (key == VK_F2 && ShowsCaret())
            deselect();
        key = 0;
        return;
    default:
        break;
    }
    if (!toGrid && !ShowsCaret() && (key == VK_HOME || key == VK_END || key == VK_LEFT || key == VK_RIGHT))
        toGrid = true;
    if (toGrid)
        qkPassKeyToGrid(grid, key, shift);
    if (key != 0)
        grid->FireOnKeyDown(key, shift);
}

void TqkDBCustomEdit::KeyDown(int &key, TShiftState shift)
{
    m_lastShift = shift;
    handOverToGrid(key, shift);
    const bool lineBreak = key == VK_RETURN && WantReturns() && !(shift & Qt::ControlModifier);
    if (key == VK_TAB || (key == VK_RETURN && Grid() && !lineBreak)) {
        if (TqkGridHost *grid = Grid())
            qkPassKeyToGrid(grid, key, shift);
        return;
    }
    const bool deleting = key == VK_DELETE || (key == VK_INSERT && shift == Qt::ShiftModifier);
    if (!deleting)
        return;
    if (m_link->DataSource()) {
        m_link->Edit();
        SetModified(true);
    } else if (!ReadOnly()) {
        setReadOnly(false);
    }
}

void TqkDBCustomEdit::KeyUp(int &key, TShiftState)
{
    if (key == VK_DELETE && OnCheckValue)
        CheckPictureText(text());
}

void TqkDBCustomEdit::InsertPastedText(const QString &inserted)
{
    const QString pasted = InCharCase(inserted);
    const QString old = text();
    const int caret = cursorPosition();
    if (!m_link->DataSource()) {
        if (ReadOnly())
            return;
        setReadOnly(false);
    }
    m_link->Edit();
    if (isReadOnly())
        return;
    insert(pasted);
    SetModified(true);
    if (PictureApplies()) {
        TqkDBPicture *picture = TqkCustomMaskEdit::Picture();
        TqkPictureValidator validator(picture->PictureMask(), picture->AutoFill());
        QString rewritten = text();
        // A text the picture refuses stays as pasted; OnCheckValue and the
        // check on leaving tell the user.
        validator.Picture(rewritten, picture->AutoFill());
        const int at = cursorPosition();
        setText(rewritten);
        setCursorPosition(at);
        if (cursorPosition() == 0)
            setCursorPosition(qBound(0, caret + int(rewritten.size() - old.size()), int(rewritten.size())));
    }
    if (OnCheckValue)
        CheckPictureText(text());
}

void TqkDBCustomEdit::Paste()
{
    TqkKeyedEdit::Paste();
}

void TqkDBCustomEdit::Cut()
{
    m_link->Edit();
    if (isReadOnly())
        return;
    cut();
    SetModified(true);
    if (OnCheckValue)
        CheckPictureText(text());
}

void TqkDBCustomEdit::SetFocused(bool focused)
{
    if (m_focused == focused)
        return;
    m_focused = focused;
    applyAlignment();
    if (m_link->DataSource())
        m_link->Reset();
    else if (hasFocus())
        m_savedText = text();
}

void TqkDBCustomEdit::EnterFocus()
{
    SetFocused(true);
    if (!AutoSelect())
        deselect();
    else if (!(QGuiApplication::mouseButtons() & Qt::LeftButton))
        selectAll();
    // The handler meets the edit entered: focused, its text selected.
    if (OnEnter)
        OnEnter(this);
    TqkCustomMaskEdit::Picture()->Refresh();
    if (Grid())
        selectAll();
    if (!m_link->DataSource())
        setModified(false);
    if (!ShowsCaret())
        update();
}

bool TqkDBCustomEdit::ExitCheck()
{
    const bool wasModified = isModified();
    try {
        const QScopedValueRollback leaving(m_leaving, true);
        m_link->UpdateRecord();
        checkUnboundDateTime();
    } catch (const Exception &error) {
        selectAll();
        setModified(wasModified);
        ui::showEscapedException(error);
        return false;
    }
    m_exitRefused = false;
    if (OnExit)
        OnExit(this);
    if (PictureApplies() && isModified() && !CheckPictureText(text())
        && !TqkCustomMaskEdit::Picture()->AllowInvalidExit()) {
        selectAll();
        // The record update has not taken the text: the link stays modified,
        // so that the next update of the record meets it again.
        SetModified(true);
        ui::services().beep();
        m_exitRefused = true;
        return false;
    }
    SetFocused(false);
    setCursorPosition(0);
    if (!ShowsCaret())
        update();
    return true;
}

// ---------------------------------------------------------------- date auto-fill

// An unbound edit of a declared date or time type keeps no text its type
// cannot read, as a field of that type would refuse it.
void TqkDBCustomEdit::checkUnboundDateTime() const
{
    const QString typed = text().trimmed();
    if (m_link->DataSource() || !isModified() || typed.isEmpty())
        return;
    const TqkUserMessagesIntl &texts = *qkIntl().UserMessages;
    TDateTime value = 0;
    switch (m_unboundDataType) {
    case qkEdtDate:
        if (!TryStrToDate(typed, value))
            throw EConvertError(texts.InvalidDateText.arg(typed));
        break;
    case qkEdtTime:
        if (!TryStrToTime(typed, value))
            throw EConvertError(texts.InvalidTimeText.arg(typed));
        break;
    case qkEdtDateTime:
        if (!TryStrToDateTime(typed, value))
            throw EConvertError(texts.InvalidDateTimeText.arg(typed));
        break;
    default:
        break;
    }
}

bool TqkDBCustomEdit::IsDateEdit() const
{
    TField *field = Field();
    if (field && (field->DataType() == ftDate || field->DataType() == ftTime || field->DataType() == ftDateTime))
        return field->DataType() == ftDate;
    return m_unboundDataType == qkEdtDate;
}

bool TqkDBCustomEdit::IsTimeEdit() const
{
    TField *field = Field();
    if (field && (field->DataType() == ftDate || field->DataType() == ftTime || field->DataType() == ftDateTime))
        return field->DataType() == ftTime;
    return m_unboundDataType == qkEdtTime;
}

bool TqkDBCustomEdit::IsDateTimeEdit() const
{
    TField *field = Field();
    if (field && (field->DataType() == ftDate || field->DataType() == ftTime || field->DataType() == ftDateTime))
        return true;
    return m_unboundDataType == qkEdtDateTime;
}

void TqkDBCustomEdit::finishAutoFill(const QString &filled)
{
    setText(filled);
    setCursorPosition(int(filled.size()));
    SetModified(true);
}

bool TqkDBCustomEdit::AutoFillDateTime(QChar &key)
{
    const bool dateEdit = IsDateEdit();
    const bool timeEdit = IsTimeEdit();
    if (isReadOnly() || !(dateEdit || timeEdit || IsDateTimeEdit()))
        return false;
    const bool whole = WholeTextSelected();
    const int caret = hasSelectedText() ? selectionStart() : cursorPosition();
    if (caret < text().size() && !whole)
        return false;
    if (ReadOnly()) {
        ui::services().beep();
        return false;
    }
    key = QChar();
    QString s = whole ? QString() : text();
    const QDateTime now = ToQDateTime(Now());
    m_link->Edit();
    const TFormatSettings &fs = FormatSettings();
    const QChar ds = fs.DateSeparator;
    const QChar ts = fs.TimeSeparator;
    const bool completeDate = s.count(ds) >= 2 && !s.endsWith(ds);
    int part;
    if (timeEdit) {
        part = qkCheckTimeInput(int(s.size()), s);
    } else if (whole) {
        const TqkDateOrder order = qkDateFieldOrder(fs.ShortDateFormat);
        part = order == doDMY ? dpDay : order == doYMD ? dpYear : dpMonth;
    } else if (!completeDate && !s.endsWith(ds)) {
        finishAutoFill(s + ds);
        return true;
    } else {
        part = qkCheckDateInput(int(s.size()), s, false);
    }
    if (completeDate || timeEdit)
        part = qMax(part, 3);
    const QString format = fs.ShortDateFormat.toLower();
    if (part <= dpYear) {
        const QDate today = now.date();
        if (part == dpDay)
            s += format.contains(QLatin1String("dd")) ? twoDigits(today.day()) : QString::number(today.day());
        else if (part == dpMonth)
            s += format.contains(QLatin1String("mm")) ? twoDigits(today.month()) : QString::number(today.month());
        else
            s += fs.ShortDateFormat.contains(QLatin1String("yyyy")) ? QString::number(today.year())
                                                                    : twoDigits(today.year() % 100);
        if (!s.isEmpty() && !s.endsWith(ds) && s.count(ds) < 2)
            s += ds;
    }
    const QString am = fs.TimeAMString;
    const QString pm = fs.TimePMString;
    const QString upper = s.toUpper();
    bool timeFinished;
    // The fill writes "AM" and "PM" whatever the settings' strings are, so
    // these end the time as well as the settings' own strings.
    if (!am.isEmpty())
        timeFinished = upper.contains(am.toUpper().at(0)) || (!pm.isEmpty() && upper.contains(pm.toUpper().at(0)))
                       || upper.contains(QLatin1String("AM")) || upper.contains(QLatin1String("PM"));
    else
        timeFinished = s.count(ts) >= 2 && !s.endsWith(ts);
    // Hour digits the user typed already are closed by the separator, not
    // followed by the current hour.
    const bool hourTyped = !s.isEmpty() && s.back().isDigit() && (timeEdit || s.trimmed().contains(QLatin1Char(' ')));
    if (!dateEdit && !timeFinished && part >= dpHours && part <= dpDesignator) {
        if (s.count(ts) >= 2 && !s.endsWith(ts) && part == dpSeconds)
            part = dpDesignator;
        if ((part == dpMinutes && !s.endsWith(ts)) || (part == dpHours && hourTyped)) {
            finishAutoFill(s + ts);
            return true;
        }
        if (part == dpHours && !timeEdit && !s.endsWith(QLatin1Char(' '))) {
            finishAutoFill(s + QLatin1Char(' '));
            return true;
        }
        const QTime time = now.time();
        if (part == dpHours) {
            const int hour = am.isEmpty() ? time.hour() : (time.hour() % 12 == 0 ? 12 : time.hour() % 12);
            s += QString::number(hour) + ts;
        } else if (part == dpMinutes) {
            s += twoDigits(time.minute()) + ts;
        } else if (part == dpSeconds) {
            s += twoDigits(time.second());
        } else {
            if (!s.endsWith(QLatin1Char(' ')))
                s += QLatin1Char(' ');
            s += time.hour() < 12 ? QStringLiteral("AM") : QStringLiteral("PM");
        }
    }
    finishAutoFill(s);
    return true;
}

// ---------------------------------------------------------------- painting

// Without a border inside a grid the text stands where the grid's cells write theirs.
int TqkDBCustomEdit::EditRectMargin() const
{
    return !hasFrame() && Grid() ? 2 : TqkCustomMaskEdit::EditRectMargin();
}

// The window shows left-aligned typed text; the rest the control paints.
bool TqkDBCustomEdit::PaintsOwnText() const
{
    TqkGridHost *grid = Grid();
    return (m_alignment != taLeftJustify && !hasFocus()) || !ShowsCaret() || (grid && grid->GridHasFocus());
}

QString TqkDBCustomEdit::paintedText() const
{
    QString shown = text();
    if (echoMode() == QLineEdit::Password)
        shown.fill(QChar(0x2022));
    return shown;
}

int TqkDBCustomEdit::ownPaintMargin() const
{
    TqkGridHost *grid = Grid();
    if ((grid && grid->GridHasFocus()) || (grid && hasFocus()))
        return hasFrame() ? 3 : 2;
    return 1;
}

void TqkDBCustomEdit::PaintOwnText(QPainter &painter)
{
    painter.setFont(font());
    TqkGridHost *grid = Grid();
    QColor textColor =
        isEnabled() ? palette().color(QPalette::Text) : palette().color(QPalette::Disabled, QPalette::Text);
    if (grid && isEnabled())
        textColor = grid->GridFontColor();
    QRect rect = this->rect();
    if (hasFrame() && grid) {
        painter.setPen(palette().color(QPalette::WindowText));
        painter.drawRect(rect.adjusted(0, 0, -1, -1));
    } else if (hasFrame()) {
        QStyleOptionFrame option;
        initStyleOption(&option);
        style()->drawPrimitive(QStyle::PE_PanelLineEdit, &option, &painter, this);
    }
    painter.fillRect(rect.adjusted(1, 1, -1, -1), palette().color(QPalette::Base));
    rect = GetTextRect().adjusted(1, 1, -1, -1);
    const QString shown = paintedText();
    const bool highlighted = (hasFocus() && !ShowsCaret()) || (grid && grid->GridHasFocus());
    QColor background = palette().color(QPalette::Base);
    if (highlighted) {
        background = palette().color(QPalette::Highlight);
        textColor = palette().color(QPalette::HighlightedText);
    }
    const int textWidth = painter.fontMetrics().horizontalAdvance(shown);
    const int margin = ownPaintMargin();
    int x = margin + 1;
    if (m_alignment == taRightJustify)
        x = (GetShowButton() ? GetTextRightEdge() : rect.right()) - textWidth - margin - 1;
    else if (m_alignment == taCenter)
        x = (rect.left() + rect.right() - textWidth) / 2;
    int left = x - 1;
    int top = margin - 1;
    if (!grid && !MultiLine())
        placeAsTheLine(painter.fontMetrics(), shown, rect, left, top);
    painter.setPen(textColor);
    painter.setBrush(background);
    PaintText(painter, rect, left, top, shown);
    if (!highlighted)
        return;
    QRect focusRect = GetTextRect();
    if (hasFrame())
        focusRect.adjust(1, 1, 0, -1);
    qkDrawFocusRect(painter, focusRect, this);
}

// Outside a grid the text stands where the line itself writes it when it
// has the focus: inside the frame, two pixels in, and vertically centred,
// with room above for the dots of a capital umlaut.
void TqkDBCustomEdit::placeAsTheLine(const QFontMetrics &metrics, const QString &shown, QRect &rect, int &left,
                                     int &top) const
{
    QStyleOptionFrame option;
    initStyleOption(&option);
    const QRect line =
        style()->subElementRect(QStyle::SE_LineEditContents, &option, this).marginsRemoved(textMargins());
    rect.setTop(line.top());
    rect.setBottom(line.bottom());
    rect.setLeft(line.left());
    rect.setRight(qMin(rect.right(), line.right()));
    left = lineTextMargin;
    const int lineHeight = qMax(metrics.height(), metrics.boundingRect(shown).height());
    const int inkAbove = -metrics.tightBoundingRect(shown).top() - metrics.ascent();
    top = qMax((line.height() - lineHeight + 1) / 2, inkAbove);
}

void TqkDBCustomEdit::PaintText(QPainter &painter, const QRect &rect, int left, int top, const QString &shown)
{
    WriteCellText(painter, rect, left, WordWrap() ? ctWordBreak : 0, qkAlignmentOf(m_alignment), shown, top);
}

TDataSource *TqkDBEdit::DataSourceObject() const
{
    return DataLink()->DataSource();
}
