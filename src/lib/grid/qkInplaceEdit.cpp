#include "lib/grid/qkInplaceEdit.h"

#include "lib/data/Qkcommon.h"
#include "lib/grid/qkCustomDBGrid.h"
#include "platform/db/FieldClasses.h"
#include "platform/db/TDataSet.h"
#include "platform/ui/UiServices.h"

TqkInplaceEdit::TqkInplaceEdit(TqkCustomDBGrid *grid) : TqkCustomMaskEdit(grid->viewport()), m_grid(grid)
{
    setFrame(false);
    hide();
    // Typing, pasting and the picture's completions all change the text; loading it does not count.
    connect(this, &QLineEdit::textChanged, m_grid, [this](const QString &text) {
        if (!m_loading)
            m_grid->EditTextChanged(pendingText(text));
    });
}

// Memos keep the line breaks they are stored with.
QString TqkInplaceEdit::pendingText(const QString &text) const
{
    return m_memo && MultiLine() ? QString(text).replace(QLatin1Char('\n'), QLatin1String("\r\n")) : text;
}

void TqkInplaceEdit::Load(TField *field, bool wordWrap)
{
    m_memo = field->DataType() == ftMemo;
    const bool secondLineFits = height() >= 2 * fontMetrics().height();
    const bool multiLine = m_memo || (wordWrap && secondLineFits);
    SetMultiLine(multiLine);
    SetWordWrap(wordWrap && multiLine);
    takePicture(field);
    SetMaxLength(field->DataType() == ftString ? field->Size() : 0);
    setAlignment(field->Alignment() == taRightJustify ? Qt::AlignRight : Qt::AlignLeft);
    m_loading = true;
    setText(field->Text());
    m_loading = false;
    selectAll();
}

void TqkInplaceEdit::takePicture(TField *field)
{
    const TqkPictureMaskSetting setting = qkGetPictureMask(field->DataSet(), field->FieldName(), true);
    m_hasMask = !setting.Mask.isEmpty() && setting.UseInGrid;
    Picture()->SetPictureMask(m_hasMask ? setting.Mask : QString());
    Picture()->SetAutoFill(setting.AutoFill);
    Picture()->SetAllowInvalidExit(false);
    SetUsePictureMask(m_hasMask);
    // The field's own edit mask steps in where no picture does.
    SetEditMask(m_hasMask ? QString() : field->EditMask());
    // The editor's checks ask whether a handler listens; the grid's is the one.
    OnCheckValue = m_grid->OnCheckValue;
}

// The user learns at once whether the value standing in the cell passes its picture.
void TqkInplaceEdit::EnterFocus()
{
    TField *field = m_grid->SelectedField();
    if (!field)
        return;
    takePicture(field);
    CheckPictureText(field->Text());
}

void TqkInplaceEdit::KeyUp(int &key, qk::TShiftState shift)
{
    if (key == qk::VK_DELETE && OnCheckValue)
        CheckPictureText(text());
    TqkCustomMaskEdit::KeyUp(key, shift);
}

// A character the field could never store is refused as it is typed, not when the record is posted.
void TqkInplaceEdit::KeyPress(QChar &key)
{
    const ushort code = key.unicode();
    if (code >= 32 && !m_grid->CanEditAcceptKey(key)) {
        ui::services().beep();
        key = QChar();
        return;
    }
    TqkCustomMaskEdit::KeyPress(key);
}

bool TqkInplaceEdit::WantsKey(int key, qk::TShiftState shift)
{
    return key == qk::VK_TAB || key == qk::VK_RETURN || key == qk::VK_ESCAPE || TqkCustomMaskEdit::WantsKey(key, shift);
}

// Keys that leave the cell are the grid's; the rest edit the text.
void TqkInplaceEdit::KeyDown(int &key, qk::TShiftState shift)
{
    const bool ctrl = shift & Qt::ControlModifier;
    const bool atStart = cursorPosition() == 0 && !hasSelectedText();
    const bool atEnd = cursorPosition() == text().size() && !hasSelectedText();
    switch (key) {
    case qk::VK_UP:
    case qk::VK_DOWN:
    case qk::VK_PRIOR:
    case qk::VK_NEXT:
    case qk::VK_TAB:
    case qk::VK_RETURN:
    case qk::VK_ESCAPE:
    case qk::VK_INSERT:
        m_grid->KeyDown(key, shift);
        break;
    case qk::VK_LEFT:
        if (atStart || ctrl)
            m_grid->KeyDown(key, shift);
        break;
    case qk::VK_RIGHT:
        if (atEnd || ctrl)
            m_grid->KeyDown(key, shift);
        break;
    case qk::VK_DELETE:
        if (ctrl)
            m_grid->KeyDown(key, shift);
        break;
    default:
        break;
    }
}
