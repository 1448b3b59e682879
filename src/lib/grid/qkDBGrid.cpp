#include "lib/grid/qkDBGrid.h"

#include "lib/data/QkcommonData.h"
#include "lib/data/QkcommonPaint.h"
#include "lib/edit/qkdbdatetimepicker.h"
#include "lib/grid/qkMemoDialog.h"
#include "platform/db/TDataSet.h"
#include "platform/ui/UiServices.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>

namespace {

bool isSelectedFieldName(const TField *field)
{
    return field && field->FieldName().compare(QLatin1String("selected"), Qt::CaseInsensitive) == 0;
}

}

TqkDBGrid::TqkDBGrid(QWidget *parent) : TqkCustomDBGrid(parent)
{
    m_embeddedTimer.setSingleShot(true);
    m_embeddedTimer.setInterval(0);
    connect(&m_embeddedTimer, &QTimer::timeout, this, [this] { placeEmbedded(); });
}

void TqkDBGrid::SetMemoAttributes(TqkMemoAttributes attributes)
{
    m_memoAttributes = attributes;
    InvalidateGrid();
}

bool TqkDBGrid::TakeFocus()
{
    setFocus(Qt::OtherFocusReason);
    return hasFocus();
}

void TqkDBGrid::FireOnKeyDown(int &key, qk::TShiftState shift)
{
    if (OnKeyDown)
        OnKeyDown(this, key, shift);
}

// Selection.

bool TqkDBGrid::acceptSelection(bool selecting)
{
    bool accept = true;
    if (OnMultiSelectRecord)
        OnMultiSelectRecord(this, selecting, accept);
    return accept;
}

void TqkDBGrid::addSelection(const TBookmark &bookmark)
{
    if (!bookmark.valid || m_selectedIds.contains(bookmark.rowId))
        return;
    m_selectedIds.insert(bookmark.rowId);
    m_selectedOrder.append(bookmark);
}

void TqkDBGrid::removeSelection(const TBookmark &bookmark)
{
    if (!m_selectedIds.remove(bookmark.rowId))
        return;
    m_selectedOrder.removeIf([&](const TBookmark &listed) { return listed.rowId == bookmark.rowId; });
}

bool TqkDBGrid::IsSelected()
{
    TDataSet *dataSet = DataSet();
    return dataSet && dataSet->Active() && m_selectedIds.contains(dataSet->GetBookmark().rowId);
}

bool TqkDBGrid::IsRowSelected(int dataRow) const
{
    TDataSet *dataSet = DataSet();
    if (!dataSet || !dataSet->Active() || m_selectedIds.isEmpty())
        return false;
    const int saved = DataLink()->ActiveRecord();
    DataLink()->SetActiveRecord(dataRow);
    const TBookmark bookmark = dataSet->activeBookmark();
    DataLink()->SetActiveRecord(saved);
    return bookmark.valid && m_selectedIds.contains(bookmark.rowId);
}

void TqkDBGrid::SelectRecord()
{
    TDataSet *dataSet = DataSet();
    if (!dataSet || !dataSet->Active() || IsSelected() || !acceptSelection(true))
        return;
    dataSet->CheckBrowseMode();
    addSelection(dataSet->GetBookmark());
    InvalidateRow(Row());
}

void TqkDBGrid::UnselectRecord()
{
    if (!IsSelected() || !acceptSelection(false))
        return;
    removeSelection(DataSet()->GetBookmark());
    InvalidateRow(Row());
}

void TqkDBGrid::UnselectAll()
{
    m_selectedIds.clear();
    m_selectedOrder.clear();
    InvalidateGrid();
}

void TqkDBGrid::SelectRange(const TBookmark &from, const TBookmark &to)
{
    TDataSet *dataSet = DataSet();
    if (!dataSet || !dataSet->BookmarkValid(from) || !dataSet->BookmarkValid(to))
        return;
    const bool forward = dataSet->CompareBookmarks(from, to) <= 0;
    const TBookmark first = forward ? from : to;
    const TBookmark last = forward ? to : from;
    dataSet->DisableControls();
    try {
        dataSet->GotoBookmark(first);
        while (!dataSet->Eof()) {
            const TBookmark current = dataSet->GetBookmark();
            addSelection(current);
            if (current.rowId == last.rowId)
                break;
            dataSet->Next();
        }
        dataSet->GotoBookmark(from);
    } catch (...) {
        dataSet->EnableControls();
        throw;
    }
    dataSet->EnableControls();
    InvalidateGrid();
}

void TqkDBGrid::multiSelectClick(Qt::KeyboardModifiers modifiers)
{
    const bool ctrl = modifiers & Qt::ControlModifier;
    const bool shift = modifiers & Qt::ShiftModifier;
    if (!ctrl && !shift) {
        if (m_multiSelectOptions & msoAutoUnselect) {
            UnselectAll();
            SelectRecord();
        }
    } else {
        IsSelected() ? UnselectRecord() : SelectRecord();
    }
    const TBookmark anchorBefore = m_anchor;
    TDataSet *dataSet = DataSet();
    if ((m_multiSelectOptions & msoShiftSelect) && (ctrl || shift || (m_multiSelectOptions & msoAutoUnselect))
        && !(shift && anchorBefore.valid))
        m_anchor = dataSet->GetBookmark();
    if (shift && anchorBefore.valid && dataSet->BookmarkValid(anchorBefore))
        SelectRange(dataSet->GetBookmark(), anchorBefore);
}

// Check boxes and memo cells.

QString TqkDBGrid::CheckBoxCellValue(int col, TField *field) const
{
    if (!field->Calculated() || !isSelectedFieldName(field))
        return TqkCustomDBGrid::CheckBoxCellValue(col, field);
    QString checkedValue;
    QString uncheckedValue;
    GetCheckBoxValues(col, checkedValue, uncheckedValue);
    const TBookmark painted = DataSet()->activeBookmark();
    return painted.valid && m_selectedIds.contains(painted.rowId) ? checkedValue : uncheckedValue;
}

bool TqkDBGrid::gridEditable() const
{
    return (Options() & dgEditing) && !ReadOnly();
}

void TqkDBGrid::ToggleCheckBox(int col, int row)
{
    QString checkedValue;
    QString uncheckedValue;
    TField *field = GetColField(RawToDataCol(col));
    if (!field || !GetCheckBoxValues(col, checkedValue, uncheckedValue) || field->ReadOnly()
        || ColumnReadOnlyByLine(field->FieldName()))
        return;
    if (field->Calculated() && isSelectedFieldName(field)) {
        IsSelected() ? UnselectRecord() : SelectRecord();
        return;
    }
    TDataSet *dataSet = DataSet();
    const bool editing = dataSet->State() == dsEdit || dataSet->State() == dsInsert;
    if (!editing && !DataLink()->DataSource()->AutoEdit())
        return;
    DataLink()->Edit();
    field->SetText(field->Text().compare(checkedValue, Qt::CaseInsensitive) == 0 ? uncheckedValue : checkedValue);
    InvalidateCell(col, row);
}

bool TqkDBGrid::IsMemoCell(int col) const
{
    TField *field = GetColField(RawToDataCol(col));
    return field && field->DataType() == ftMemo;
}

bool TqkDBGrid::CellHasPaintedControl(int col) const
{
    return TqkCustomDBGrid::CellHasPaintedControl(col) || IsMemoCell(col) || isDateTimeCell(col);
}

// Embedded controls.

bool TqkDBGrid::isDateTimeCell(int col) const
{
    TField *field = GetColField(RawToDataCol(col));
    if (!field || (m_editControlOptions & ecoDisableDateTimePicker))
        return false;
    const TFieldType type = field->DataType();
    return type == ftDate || type == ftDateTime;
}

QWidget *TqkDBGrid::GetCustomControl(int col) const
{
    if (!isDateTimeCell(col) || !gridEditable())
        return nullptr;
    return m_dateTimePicker;
}

TqkDBDateTimePicker *TqkDBGrid::dateTimePicker()
{
    if (!m_dateTimePicker) {
        m_dateTimePicker = new TqkDBDateTimePicker(this);
        m_dateTimePicker->hide();
        if (OnCreateDateTimePicker)
            OnCreateDateTimePicker(this, m_dateTimePicker);
    }
    return m_dateTimePicker;
}

void TqkDBGrid::scheduleEmbedded()
{
    m_embeddedTimer.start();
}

void TqkDBGrid::hideEmbedded()
{
    if (!m_embedded)
        return;
    if (m_embedded->hasFocus())
        setFocus();
    m_embedded->hide();
    m_embedded = nullptr;
}

void TqkDBGrid::placeEmbedded()
{
    const QRect cell = CellRect(Col(), Row());
    TField *field = SelectedField();
    if (!field || cell.isEmpty() || !isDateTimeCell(Col()) || !gridEditable()) {
        hideEmbedded();
        return;
    }
    TqkDBDateTimePicker *picker = dateTimePicker();
    if (m_embedded && m_embedded != picker)
        hideEmbedded();
    picker->SetDataSource(DataLink()->DataSource());
    picker->SetDataField(field->FieldName());
    picker->setFont(font());
    picker->setFrame(false);
    picker->setGeometry(cell.translated(viewport()->geometry().topLeft()));
    picker->show();
    m_embedded = picker;
    if (AlwaysShowEditor() && hasFocus())
        picker->setFocus();
}

void TqkDBGrid::CellMoved()
{
    scheduleEmbedded();
}

void TqkDBGrid::TopLeftChanged()
{
    TqkCustomDBGrid::TopLeftChanged();
    scheduleEmbedded();
}

void TqkDBGrid::SizeChanged()
{
    TqkCustomDBGrid::SizeChanged();
    scheduleEmbedded();
}

void TqkDBGrid::Scroll(int distance)
{
    if (m_embedded && m_embedded->hasFocus())
        setFocus();
    TqkCustomDBGrid::Scroll(distance);
    scheduleEmbedded();
}

// Only the library's data sets carry the control lists the grid reads; any
// other data set is refused and the grid let go of it once the link settled.
void TqkDBGrid::LinkActive(bool active)
{
    if (active && !qkIsLibraryDataSet(DataSet())) {
        ui::services().messageBox(QStringLiteral("qkGrid must use an Tessarion compatible TDataSet."), QString(),
                                  ui::MsgIcon::Information, ui::MsgButtons::Ok);
        QTimer::singleShot(0, this, [this] { SetDataSource(nullptr); });
        return;
    }
    hideEmbedded();
    TqkCustomDBGrid::LinkActive(active);
}

void TqkDBGrid::DataChanged()
{
    TqkCustomDBGrid::DataChanged();
    scheduleEmbedded();
}

// Keys meant for the control over the cell go to it, with their own modifiers.
bool TqkDBGrid::HandOverKey(int &key, const QKeyEvent &event)
{
    const qk::TShiftState shift = event.modifiers();
    const QString text = event.text();
    placeEmbedded();
    QWidget *control = m_embedded;
    if (!control || !control->isVisible())
        return false;
    const bool altDown = key == qk::VK_DOWN && (shift & Qt::AltModifier);
    const bool typed = !text.isEmpty() && (text.at(0).isPrint() || key == qk::VK_BACK);
    if (!altDown && !typed && key != qk::VK_F2 && !qkIsEditKey(key))
        return false;
    control->setFocus();
    key = 0;
    QKeyEvent replay(QEvent::KeyPress, event.key(), event.modifiers(), event.text());
    QApplication::sendEvent(control, &replay);
    return true;
}

QString TqkDBGrid::CellText(TField *field) const
{
    if (field->DataType() != ftMemo)
        return TqkCustomDBGrid::CellText(field);
    TDataSet *dataSet = DataSet();
    if (dataSet->IsEmpty() && dataSet->State() != dsInsert)
        return {};
    return (m_memoAttributes & mGridShow) ? field->AsString() : QStringLiteral("(Memo)");
}

void TqkDBGrid::ShowMemoDialog()
{
    TField *field = SelectedField();
    if ((m_memoAttributes & mDisableDialog) || !field)
        return;
    TqkMemoDialog dialog;
    dialog.SetDataSource(DataLink()->DataSource());
    dialog.SetDataField(field->FieldName());
    TqkMemoAttributes attributes = m_memoAttributes;
    if (!gridEditable() || field->ReadOnly())
        attributes |= mViewOnly;
    dialog.SetMemoAttributes(attributes);
    dialog.SetCaption(QString(field->DisplayLabel()).replace(QLatin1Char('~'), QLatin1Char(' ')));
    dialog.SetFont(font());
    dialog.SetDlgLeft(-1);
    if (OnMemoOpen)
        OnMemoOpen(this, &dialog);
    const bool accepted = dialog.Execute();
    if (OnMemoClose)
        OnMemoClose(this, !accepted);
    InvalidateCell(Col(), Row());
    HideEditor();
}

// Mouse and keys.

void TqkDBGrid::DataCellClicked(const QPoint &cell, Qt::KeyboardModifiers modifiers)
{
    const bool onCheckBox = TqkCustomDBGrid::CellHasPaintedControl(cell.x());
    TqkCustomDBGrid::DataCellClicked(cell, modifiers);
    if ((Options() & dgMultiSelect) && !(onCheckBox && IsSelectedCheckBox(cell.x())))
        multiSelectClick(modifiers);
    if (onCheckBox && (m_editControlOptions & ecoCheckboxSingleClick)
        && (gridEditable() || IsSelectedCheckBox(cell.x())))
        ToggleCheckBox(cell.x(), cell.y());
}

void TqkDBGrid::mouseDoubleClickEvent(QMouseEvent *event)
{
    TqkCustomDBGrid::mouseDoubleClickEvent(event);
    const QPoint pos = event->position().toPoint();
    const QPoint cell = MouseCoord(pos.x(), pos.y());
    if (event->button() != Qt::LeftButton || cell != QPoint(Col(), Row()) || cell.y() < TitleOffset())
        return;
    qkRunShowingErrors([&] {
        if (IsMemoCell(cell.x()))
            ShowMemoDialog();
        else if (TqkCustomDBGrid::CellHasPaintedControl(cell.x()) && !(m_editControlOptions & ecoCheckboxSingleClick)
                 && (gridEditable() || IsSelectedCheckBox(cell.x())))
            ToggleCheckBox(cell.x(), cell.y());
    });
}

void TqkDBGrid::KeyPressChar(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Space && TqkCustomDBGrid::CellHasPaintedControl(Col())) {
        if (gridEditable() || IsSelectedCheckBox(Col()))
            ToggleCheckBox(Col(), Row());
        return;
    }
    if (!IsMemoCell(Col()))
        TqkCustomDBGrid::KeyPressChar(event);
}

void TqkDBGrid::EditCellByF2()
{
    if (IsMemoCell(Col()))
        ShowMemoDialog();
    else
        TqkCustomDBGrid::EditCellByF2();
}
