#include "lib/grid/qkDBGrid.h"

#include "lib/data/Qkcommon.h"
#include "lib/data/QkcommonData.h"
#include "lib/data/QkcommonPaint.h"
#include "lib/data/Qkprops.h"
#include "lib/edit/Qkdbcomb.h"
#include "lib/edit/qkdbdatetimepicker.h"
#include "lib/grid/qkMemoDialog.h"
#include "lib/rich/qkriched.h"
#include "platform/db/TDataSet.h"
#include "platform/ui/UiServices.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QScopedValueRollback>
#include <QTextEdit>

#include <algorithm>

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
    linkCheck();
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
    return IsRowSelected(DataLink()->ActiveRecord());
}

// The record being edited or inserted is not the one that was selected:
// it counts as not selected until it is posted.
bool TqkDBGrid::IsRowSelected(int dataRow) const
{
    TDataSet *dataSet = DataSet();
    if (!dataSet || !dataSet->Active() || m_selectedIds.isEmpty())
        return false;
    // While a record is edited the selection is out of view: no row shows selected.
    if (dataSet->State() == dsEdit || dataSet->State() == dsInsert)
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
    if (!dataSet || !dataSet->Active())
        return;
    if (m_anchorSet) {
        dataSet->CheckBrowseMode();
        m_anchor = dataSet->GetBookmark();
    }
    if (IsSelected() || !acceptSelection(true))
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
    const TBookmark anchorBefore = m_anchor;
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
    TDataSet *dataSet = DataSet();
    if ((m_multiSelectOptions & msoShiftSelect) && (ctrl || shift || (m_multiSelectOptions & msoAutoUnselect))) {
        m_anchorSet = true;
        if (m_anchor.rowId == anchorBefore.rowId && m_anchor.valid == anchorBefore.valid)
            m_anchor = dataSet->GetBookmark();
    }
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
    return IsRowSelected(DataLink()->ActiveRecord()) ? checkedValue : uncheckedValue;
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
    return TqkCustomDBGrid::CellHasPaintedControl(col) || IsMemoCell(col) || isDateTimeCell(col)
           || GetCustomControl(col);
}

// Embedded controls.

namespace {

bool isEditControl(const QObject *object)
{
    return qobject_cast<const QLineEdit *>(object) || qobject_cast<const QTextEdit *>(object);
}

// Control-type lines: field name; type; parameters.
QStringList controlLine(const QString &line)
{
    return line.split(QLatin1Char(';'));
}

}

void TqkDBGrid::SetEditControlOptions(TqkEditControlOptions options)
{
    m_editControlOptions = options;
    hideEmbedded();
    InvalidateGrid();
}

bool TqkDBGrid::isDateTimeCell(int col) const
{
    TField *field = GetColField(RawToDataCol(col));
    // Without custom controls the date cells are typed into like the others.
    if (!field || (m_editControlOptions & (ecoDisableDateTimePicker | ecoDisableCustomControls)))
        return false;
    const TFieldType type = field->DataType();
    return type == ftDate || type == ftDateTime || type == ftTime;
}

QWidget *TqkDBGrid::FindEditControl(const QString &name) const
{
    // A wired control lives on the grid, away from the form or module it came from.
    QObject *found = findChild<QWidget *>(name.section(QLatin1Char('.'), -1), Qt::FindDirectChildrenOnly);
    if (!found && name.contains(QLatin1Char('.'))) {
        QObject *module = DataSet() ? DataSet()->parent() : nullptr;
        found = module ? module->findChild<QWidget *>(name.section(QLatin1Char('.'), 1)) : nullptr;
    } else if (!found) {
        auto *self = const_cast<TqkDBGrid *>(this);
        QObject *root = (m_editControlOptions & ecoSearchOwnerForm) ? qkGetParentForm(self) : window();
        found = root ? root->findChild<QWidget *>(name) : nullptr;
    }
    return isEditControl(found) ? static_cast<QWidget *>(found) : nullptr;
}

QWidget *TqkDBGrid::namedControl(int col, bool richEdit) const
{
    TField *field = GetColField(RawToDataCol(col));
    if (!field || !CanUseControlInfo(col, Row()))
        return nullptr;
    for (const QString &line : GetControlInfo()) {
        const QStringList parts = controlLine(line);
        if (parts.size() < 3 || parts[0].compare(field->FieldName(), Qt::CaseInsensitive) != 0)
            continue;
        const bool wanted = richEdit ? parts[1].compare(QLatin1String("RichEdit"), Qt::CaseInsensitive) == 0
                                     : qkIsEditControlType(parts[1]);
        if (wanted)
            return FindEditControl(parts[2]);
    }
    return nullptr;
}

QWidget *TqkDBGrid::GetCustomControl(int col) const
{
    if (m_editControlOptions & ecoDisableCustomControls)
        return nullptr;
    QWidget *control = namedControl(col, false);
    if (!control)
        return nullptr;
    // The record view shows its own controls; they never move into a grid.
    const QObject *form = qkGetParentForm(control);
    return form && form->inherits("TqkRecordViewForm") ? nullptr : control;
}

QWidget *TqkDBGrid::GetRichEditControl(int col) const
{
    return namedControl(col, true);
}

void TqkDBGrid::GetControlType(const QString &fieldName, QString &type, QString &parameters) const
{
    TqkCustomDBGrid::GetControlType(fieldName, type, parameters);
    if ((m_editControlOptions & ecoDisableCustomControls) && qkIsEditControlType(type)) {
        type.clear();
        parameters.clear();
    }
}

void TqkDBGrid::bindControl(QWidget *control, const QString &fieldName)
{
    if (control->parentWidget() != this) {
        control->hide();
        control->setParent(this);
    }
    qkSetDataSource(control, DataLink()->DataSource());
    qkSetDataField(control, fieldName);
    control->setFont(font());
    if (auto *edit = qobject_cast<QLineEdit *>(control))
        edit->setFrame(false);
    else if (auto *frame = qobject_cast<QFrame *>(control))
        frame->setFrameShape(QFrame::NoFrame);
}

void TqkDBGrid::WireEditControls()
{
    if ((m_editControlOptions & ecoDisableCustomControls) || !DataSet())
        return;
    for (const QString &line : GetControlInfo()) {
        const QStringList parts = controlLine(line);
        if (parts.size() < 3
            || !(qkIsEditControlType(parts[1])
                 || parts[1].compare(QLatin1String("RichEdit"), Qt::CaseInsensitive) == 0))
            continue;
        if (QWidget *control = FindEditControl(parts[2])) {
            bindControl(control, parts[0]);
            control->hide();
        }
    }
}

QWidget *TqkDBGrid::embeddedFor(int col)
{
    if (QWidget *control = GetCustomControl(col))
        return control;
    return isDateTimeCell(col) ? dateTimePicker() : nullptr;
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
    QWidget *control = field && !cell.isEmpty() && gridEditable() ? embeddedFor(Col()) : nullptr;
    if (!control) {
        hideEmbedded();
        return;
    }
    if (m_embedded && m_embedded != control)
        hideEmbedded();
    bindControl(control, field->FieldName());
    control->setGeometry(cell.translated(viewport()->geometry().topLeft()));
    control->show();
    control->raise();
    m_embedded = control;
    if (AlwaysShowEditor() && hasFocus())
        control->setFocus();
}

// A calculated column still takes the focus when a control, a selection
// check box or a picture stands in it.
void TqkDBGrid::SetColumnAttributes()
{
    TqkCustomDBGrid::SetColumnAttributes();
    for (int dataCol = 0; dataCol < GetFieldCount(); ++dataCol) {
        const int col = dataCol + IndicatorOffset();
        TField *field = GetFields(dataCol);
        if (!field || !field->Calculated() || col < FixedColCount())
            continue;
        const bool picture = TqkCustomDBGrid::CellHasPaintedControl(col) && !IsCheckBoxCell(col);
        if (GetCustomControl(col) || IsSelectedCheckBox(col) || picture)
            SetTabStops(col, true);
    }
}

void TqkDBGrid::LeaveGrid()
{
    TqkCustomDBGrid::LeaveGrid();
    hideEmbedded();
}

// What the grid writes, the control over the cell writes first.
void TqkDBGrid::UpdateData()
{
    if (m_embedded && m_embedded->isVisible() && !m_inEmbeddedUpdate) {
        const QScopedValueRollback guard(m_inEmbeddedUpdate, true);
        if (auto *link = m_embedded->findChild<TDataLink *>())
            link->UpdateRecord();
    }
    TqkCustomDBGrid::UpdateData();
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
    if (active)
        linkCheck();
}

void TqkDBGrid::linkCheck()
{
    TDataSet *dataSet = DataSet();
    if (m_inLinkCheck || !dataSet || !dataSet->Active())
        return;
    const QScopedValueRollback guard(m_inLinkCheck, true);
    WireEditControls();
    dataSet->DisableControls();
    try {
        hideEmbedded();
        if (ControlInfoInDataset()) {
            QStringList lookupFields = qkGetLookupFields(dataSet).value_or(QStringList());
            QStringList lookupLinks = qkGetLookupLinks(dataSet).value_or(QStringList());
            QStringList controlTypes = qkGetControlTypes(dataSet).value_or(QStringList());
            qkRemoveMissingFieldLines(dataSet, &lookupFields, &lookupLinks, &controlTypes);
            qkWriteList(dataSet, QStringLiteral("LookupFields"), lookupFields);
            qkWriteList(dataSet, QStringLiteral("LookupLinks"), lookupLinks);
            qkWriteList(dataSet, QStringLiteral("ControlType"), controlTypes);
        }
        const bool hasCalculated = std::any_of(dataSet->FieldList().begin(), dataSet->FieldList().end(),
                                               [](const TField *field) { return field->Calculated(); });
        if (!Selected().isEmpty() && !hasCalculated) {
            if (UseTFields()) {
                qkApplyFieldLayout(dataSet, Selected());
            } else {
                WireEditControls();
                LayoutChanged();
            }
        }
        UpdateRowCount();
    } catch (...) {
        dataSet->EnableControls();
        throw;
    }
    dataSet->EnableControls();
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
    if (!altDown && !typed && key != qk::VK_F2 && !qkIsEditKey(event.key()))
        return false;
    control->setFocus();
    key = 0;
    if (altDown) {
        qkSimulateKey(control, Qt::Key_Down, Qt::Key_Alt);
        return true;
    }
    QKeyEvent replay(QEvent::KeyPress, event.key(), event.modifiers(), event.text());
    QApplication::sendEvent(control, &replay);
    return true;
}

QString TqkDBGrid::CellText(TField *field) const
{
    QString type;
    QString parameters;
    GetControlType(field->FieldName(), type, parameters);
    if (field->IsBlob() && type.compare(QLatin1String("RichEdit"), Qt::CaseInsensitive) == 0)
        return richCellText(field);
    if (field->DataType() == ftMemo) {
        TDataSet *dataSet = DataSet();
        if (dataSet->IsEmpty() && dataSet->State() != dsInsert)
            return {};
        return (m_memoAttributes & mGridShow) ? field->AsString() : QStringLiteral("(Memo)");
    }
    QString text;
    if (qkIsEditControlType(type) && comboCellText(field, text))
        return text;
    return TqkCustomDBGrid::CellText(field);
}

// A combo's list shows its display texts for the stored values; so does the cell.
bool TqkDBGrid::comboCellText(TField *field, QString &text) const
{
    for (const QString &line : GetControlInfo()) {
        const QStringList parts = controlLine(line);
        if (parts.size() < 3 || parts[0].compare(field->FieldName(), Qt::CaseInsensitive) != 0
            || !qkIsEditControlType(parts[1]))
            continue;
        auto *combo = qobject_cast<TqkDBCustomEdit *>(FindEditControl(parts[2]));
        return combo && combo->MapValueToDisplay(field->Text(), text) && !text.isEmpty();
    }
    return false;
}

TqkDBRichEdit *TqkDBGrid::cellRichEdit() const
{
    if (!m_cellRichEdit) {
        m_cellRichEdit = new TqkDBRichEdit(const_cast<TqkDBGrid *>(this));
        m_cellRichEdit->hide();
    }
    return m_cellRichEdit;
}

QString TqkDBGrid::richCellText(TField *field) const
{
    TqkDBRichEdit *edit = cellRichEdit();
    if (field->AsBytes().startsWith("{\\rtf"))
        edit->LoadFromField(field);
    else
        edit->setPlainText(field->AsString());
    return edit->toPlainText();
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
    const bool onCheckBox = IsCheckBoxCell(cell.x());
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
        if (handOverToRichEdit(cell.x()))
            return;
        if (IsMemoCell(cell.x()))
            ShowMemoDialog();
        else if (IsCheckBoxCell(cell.x()) && !(m_editControlOptions & ecoCheckboxSingleClick)
                 && (gridEditable() || IsSelectedCheckBox(cell.x())))
            ToggleCheckBox(cell.x(), cell.y());
    });
}

void TqkDBGrid::KeyPressChar(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Space && IsCheckBoxCell(Col())) {
        if (gridEditable() || IsSelectedCheckBox(Col()))
            ToggleCheckBox(Col(), Row());
        return;
    }
    if (!IsMemoCell(Col()))
        TqkCustomDBGrid::KeyPressChar(event);
}

void TqkDBGrid::EditCellByF2()
{
    if (handOverToRichEdit(Col()))
        return;
    if (IsMemoCell(Col()))
        ShowMemoDialog();
    else
        TqkCustomDBGrid::EditCellByF2();
}

// The rich edit of a rich text cell opens its own editor on F2.
bool TqkDBGrid::handOverToRichEdit(int col)
{
    QWidget *richEdit = GetRichEditControl(col);
    if (!richEdit)
        return false;
    QKeyEvent press(QEvent::KeyPress, Qt::Key_F2, Qt::NoModifier);
    QApplication::sendEvent(richEdit, &press);
    return true;
}
