#include "lib/grid/qkCustomDBGrid.h"

#include "lib/data/Qkcommon.h"
#include "lib/data/QkcommonData.h"
#include "lib/data/Qkdatsrc.h"
#include "lib/data/Qkintl.h"
#include "lib/data/Qkprops.h"
#include "lib/data/QkstrDate.h"
#include "lib/edit/qkCellText.h"
#include "lib/edit/qkdbedit.h"
#include "lib/grid/qkGridFooter.h"
#include "lib/grid/qkGridNumbers.h"
#include "lib/grid/qkGridPictures.h"
#include "lib/grid/qkInplaceEdit.h"
#include "platform/db/TDataSet.h"
#include "platform/ui/UiServices.h"

#include <QApplication>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScopedValueRollback>
#include <QScrollBar>
#include <QTimerEvent>

#include <cmath>

namespace {

constexpr int scrollRange = 200;
constexpr int selectScrollInterval = 60;
constexpr int checkBoxSize = 10;

QString token(const QString &line, int index)
{
    return line.section(QLatin1Char('\t'), index, index);
}

int tokenCount(const QString &line)
{
    return int(line.count(QLatin1Char('\t'))) + 1;
}

}

TqkCustomDBGrid::TqkCustomDBGrid(QWidget *parent)
    : TCustomGrid(parent), m_dataLink(new TqkGridDataLink(this)), m_spareColumn(QString(), this, true),
      m_footer(new TqkGridFooter(this)),
      m_options(dgEditing | dgTitles | dgIndicator | dgColumnResize | dgColLines | dgRowLines | dgTabs | dgConfirmDelete
                | dgCancelOnExit | dgWordWrap),
      m_titleFont(font()), m_titleColor(palette().color(QPalette::Button)),
      m_footerColor(palette().color(QPalette::Button)), m_footerCellColor(palette().color(QPalette::Button))
{
    verticalScrollBar()->setTracking(false);
    m_focusWatch =
        connect(qApp, &QApplication::focusChanged, this, [this](QWidget *, QWidget *now) { focusMoved(now); });
    connect(verticalScrollBar(), &QScrollBar::actionTriggered, this,
            [this](int action) { qkRunShowingErrors([&] { scrollBarAction(action); }); });
    LayoutChanged();
}

TqkCustomDBGrid::~TqkCustomDBGrid()
{
    // The focus leaves a grid being destroyed after its own parts are gone.
    disconnect(m_focusWatch);
    m_dataLink->SetDataSource(nullptr);
}

TqkDataSource *TqkCustomDBGrid::DataSource() const
{
    return qobject_cast<TqkDataSource *>(m_dataLink->DataSource());
}

void TqkCustomDBGrid::SetDataSource(TqkDataSource *source)
{
    m_dataLink->SetDataSource(source);
    LayoutChanged();
}

TDataSet *TqkCustomDBGrid::DataSet() const
{
    return m_dataLink->DataSet();
}

void TqkCustomDBGrid::SetSelected(const QStringList &lines)
{
    m_selected = lines;
    LayoutChanged();
}

void TqkCustomDBGrid::SetUseTFields(bool use)
{
    m_useTFields = use;
    LayoutChanged();
}

void TqkCustomDBGrid::SetOptions(TqkDBGridOptions options)
{
    m_options = options;
    LayoutChanged();
}

void TqkCustomDBGrid::SetFixedCols(int count)
{
    if (count < 0 || (DataSet() && DataSet()->Active() && count + m_indicatorOffset >= ColCount())) {
        ui::services().messageBox(QStringLiteral("Invalid value for FixedCols"), QString(), ui::MsgIcon::Warning,
                                  ui::MsgButtons::Ok);
        return;
    }
    m_dataFixedCols = count;
    LayoutChanged();
}

void TqkCustomDBGrid::SetTitleFont(const QFont &titleFont)
{
    m_titleFont = titleFont;
    m_titleFontSet = true;
    if (m_options & dgTitles)
        LayoutChanged();
}

// While neither the grid's font nor the title font was set, the title row
// takes the font the grid inherits; any font change lays the grid out again.
void TqkCustomDBGrid::changeEvent(QEvent *event)
{
    TCustomGrid::changeEvent(event);
    if (event->type() != QEvent::FontChange)
        return;
    if (!m_titleFontSet && !testAttribute(Qt::WA_SetFont))
        m_titleFont = font();
    LayoutChanged();
}

void TqkCustomDBGrid::SetTitleColor(const QColor &color)
{
    if (color == m_titleColor)
        return;
    m_titleColor = color;
    LayoutChanged();
}

void TqkCustomDBGrid::SetTitleAlignment(Qt::Alignment alignment)
{
    m_titleAlignment = alignment;
    InvalidateGrid();
}

void TqkCustomDBGrid::SetTitleButtons(bool buttons)
{
    m_titleButtons = buttons;
    InvalidateGrid();
}

void TqkCustomDBGrid::SetTitleLines(int lines)
{
    m_titleLines = std::max(1, lines);
    LayoutChanged();
}

void TqkCustomDBGrid::SetRowHeightPercent(int percent)
{
    m_rowHeightPercent = percent;
    LayoutChanged();
}

void TqkCustomDBGrid::SetIndicatorColor(TIndicatorColorType color)
{
    m_indicatorColor = color;
    InvalidateGrid();
}

void TqkCustomDBGrid::SetFooterColor(const QColor &color)
{
    m_footerColor = color;
    InvalidateFooter();
}

void TqkCustomDBGrid::SetFooterCellColor(const QColor &color)
{
    m_footerCellColor = color;
    InvalidateFooter();
}

void TqkCustomDBGrid::SetShowHorzScrollBar(bool show)
{
    m_showHorzScrollBar = show;
    updateHorzScrollBarPolicy();
}

// The bar shows only when it is wanted and the columns are wider than the grid.
void TqkCustomDBGrid::updateHorzScrollBarPolicy()
{
    int total = 0;
    for (int col = 0; col < ColCount(); ++col)
        total += ColWidths(col) + ((m_options & dgColLines) ? GridLineWidth() : 0);
    total += 1 + (m_showVertScrollBar ? verticalScrollBar()->sizeHint().width() + 1 : 0);
    const bool needed = m_showHorzScrollBar && total > width() - 2 * frameWidth();
    setHorizontalScrollBarPolicy(needed ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
}

void TqkCustomDBGrid::SetImageList(TImageList *list)
{
    m_imageList = list;
    InvalidateGrid();
}

void TqkCustomDBGrid::SetTitleImageList(TImageList *list)
{
    m_titleImageList = list;
    InvalidateGrid();
}

void TqkCustomDBGrid::RegisterIndicatorButton(TqkIButton *button)
{
    m_indicatorButton = button;
    IndicatorButtonResized();
}

void TqkCustomDBGrid::IndicatorButtonResized()
{
    if (!m_indicatorButton)
        return;
    m_indicatorWidth = m_indicatorButton->width() - 1;
    LayoutChanged();
}

void TqkCustomDBGrid::SetFooterHeight(int height)
{
    m_footerHeight = height;
    LayoutChanged();
}

void TqkCustomDBGrid::SetShowVertScrollBar(bool show)
{
    m_showVertScrollBar = show;
    setVerticalScrollBarPolicy(show ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    UpdateScrollBar();
}

void TqkCustomDBGrid::SetControlType(const QStringList &lines)
{
    m_controlType = lines;
    InvalidateGrid();
}

void TqkCustomDBGrid::SetControlInfoInDataset(bool inDataset)
{
    m_controlInfoInDataset = inDataset;
    InvalidateGrid();
}

TField *TqkCustomDBGrid::GetColField(int dataCol) const
{
    return m_dataLink->Active() ? m_dataLink->GetFields(dataCol) : nullptr;
}

TqkColumn *TqkCustomDBGrid::GetColumn(const QString &fieldName)
{
    for (const auto &column : m_columns)
        if (column->FieldName().compare(fieldName, Qt::CaseInsensitive) == 0)
            return column.get();
    return &m_spareColumn;
}

bool TqkCustomDBGrid::ColumnReadOnlyByLine(const QString &fieldName) const
{
    int index = -1;
    if (m_useTFields || !qkFindFieldInList(m_selected, fieldName, index))
        return false;
    return token(m_selected[index], 3) == QLatin1String("T");
}

QStringList TqkCustomDBGrid::GetControlInfo() const
{
    if (m_controlInfoInDataset)
        return qkGetControlTypes(DataSet()).value_or(QStringList());
    return m_controlType;
}

void TqkCustomDBGrid::GetControlType(const QString &fieldName, QString &type, QString &parameters) const
{
    type.clear();
    parameters.clear();
    if (m_controlInfoInDataset) {
        qkGetControlType(DataSet(), fieldName, type, parameters);
        return;
    }
    for (const QString &line : m_controlType) {
        const QStringList parts = line.split(QLatin1Char(';'));
        if (parts.size() >= 2 && parts[0] == fieldName) {
            type = parts[1];
            parameters = parts.mid(2).join(QLatin1Char(';'));
        }
    }
}

bool TqkCustomDBGrid::CanUseControlInfo(int col, int) const
{
    const int dataCol = RawToDataCol(col);
    return dataCol >= 0 && dataCol < GetFieldCount() && qkIsLibraryDataSet(DataSet());
}

bool TqkCustomDBGrid::GetCheckBoxValues(int col, QString &checkedValue, QString &uncheckedValue) const
{
    TField *field = GetColField(RawToDataCol(col));
    if (!field || !CanUseControlInfo(col, 0))
        return false;
    QString type;
    QString parameters;
    GetControlType(field->FieldName(), type, parameters);
    if (type.compare(QLatin1String("CheckBox"), Qt::CaseInsensitive) != 0)
        return false;
    checkedValue = parameters.section(QLatin1Char(';'), 0, 0);
    uncheckedValue = parameters.section(QLatin1Char(';'), 1, 1);
    return true;
}

bool TqkCustomDBGrid::IsSelectedCheckBox(int col) const
{
    QString checkedValue;
    QString uncheckedValue;
    TField *field = GetColField(RawToDataCol(col));
    return field && GetCheckBoxValues(col, checkedValue, uncheckedValue)
           && field->FieldName().compare(QLatin1String("selected"), Qt::CaseInsensitive) == 0;
}

// Layout.

void TqkCustomDBGrid::LayoutChanged()
{
    if (m_layoutDepth > 0)
        return;
    ++m_layoutDepth;
    m_titleOffset = (m_options & dgTitles) ? 1 : 0;
    m_indicatorOffset = (m_options & dgIndicator) ? 1 : 0;
    SetGridLineWidth((m_options & (dgColLines | dgRowLines)) ? 1 : 0);
    updateRowHeights();
    m_dataLink->ClearMapping();
    if (m_dataLink->Active())
        DefineFieldMap();
    int dataCols = std::max(1, GetFieldCount());
    if (GetFieldCount() == 0 && !m_useTFields && !m_selected.isEmpty())
        dataCols = int(m_selected.size());
    SetColCount(m_indicatorOffset + dataCols);
    if (m_indicatorOffset)
        SetColWidths(0, m_indicatorWidth);
    SetFixedColCount(std::min(ColCount() - 1, m_indicatorOffset + m_dataFixedCols));
    fillColumns();
    HideEditor();
    UpdateRowCount();
    SetColumnAttributes();
    placeFooter();
    updateHorzScrollBarPolicy();
    --m_layoutDepth;
    updateActiveRow();
    UpdateScrollBar();
    InvalidateGrid();
}

void TqkCustomDBGrid::DefineFieldMap()
{
    TDataSet *dataSet = DataSet();
    if (m_useTFields) {
        for (TField *field : dataSet->FieldList())
            if (field->Visible())
                m_dataLink->AddMapping(field->FieldName());
        return;
    }
    for (int index = 0; index < m_selected.size();) {
        if (m_dataLink->AddMapping(token(m_selected[index], 0)))
            ++index;
        else
            m_selected.removeAt(index);
    }
}

void TqkCustomDBGrid::fillColumns()
{
    std::vector<std::unique_ptr<TqkColumn>> columns;
    for (int index = 0; index < GetFieldCount(); ++index) {
        const QString name = GetFields(index)->FieldName();
        auto column = std::make_unique<TqkColumn>(name, this);
        column->SetFooterValue(GetColumn(name)->FooterValue());
        columns.push_back(std::move(column));
    }
    m_columns = std::move(columns);
}

int TqkCustomDBGrid::measureTitle(const QString &title) const
{
    const QFontMetrics metrics(m_titleFont);
    int widest = 0;
    for (const QString &piece : title.split(QLatin1Char('~')))
        widest = std::max(widest, metrics.horizontalAdvance(piece));
    return widest + 4;
}

QString TqkCustomDBGrid::titleOf(int dataCol) const
{
    TField *field = GetFields(dataCol);
    if (!field)
        return {};
    int index = -1;
    // An empty title token stands for no title, as a missing one does.
    const QString title = !m_useTFields && qkFindFieldInList(m_selected, field->FieldName(), index)
                              ? token(m_selected[index], 2)
                              : QString();
    return title.isEmpty() ? field->DisplayLabel() : title;
}

void TqkCustomDBGrid::SetColumnAttributes()
{
    const int zeroWidth = QFontMetrics(font()).horizontalAdvance(QLatin1Char('0'));
    for (int dataCol = 0; dataCol < GetFieldCount(); ++dataCol) {
        TField *field = GetFields(dataCol);
        int index = -1;
        int chars = field->DisplayWidth();
        if (!m_useTFields && qkFindFieldInList(m_selected, field->FieldName(), index))
            chars = token(m_selected[index], 1).toInt();
        int width = chars * zeroWidth + 4;
        if ((m_options & dgTitles) && !(m_options & dgNoLimitColSize))
            width = std::max(width, measureTitle(titleOf(dataCol)));
        const int col = dataCol + m_indicatorOffset;
        SetColWidths(col, width);
        SetTabStops(col, colHasTabStop(dataCol) && col >= FixedColCount());
    }
}

bool TqkCustomDBGrid::colHasTabStop(int dataCol) const
{
    TField *field = GetFields(dataCol);
    if (!field || field->ReadOnly() || ColumnReadOnlyByLine(field->FieldName()))
        return false;
    return m_editCalculated || !field->Calculated();
}

void TqkCustomDBGrid::updateRowHeights()
{
    const int rowHeight =
        (QFontMetrics(font()).height() + 2 + ((m_options & dgRowLines) ? 1 : 0)) * m_rowHeightPercent / 100;
    SetDefaultRowHeight(rowHeight);
    if (m_options & dgTitles) {
        const int titleHeight =
            QFontMetrics(m_titleFont).height() * m_titleLines + 4 + ((m_options & dgRowLines) ? 0 : 1);
        SetRowHeights(0, titleHeight);
    }
    m_titleTextOffset = 2;
    if ((m_options & dgTitles) && (m_options & dgIndicator) && m_indicatorButton) {
        const int height = std::max(RowHeights(0), m_indicatorButton->height());
        m_titleTextOffset = (height - RowHeights(0)) / 2 + 2;
        SetRowHeights(0, (m_options & dgRowLines) ? height - 1 : height + 1);
    }
}

void TqkCustomDBGrid::UpdateRowCount()
{
    if (m_inRowCount)
        return;
    m_inRowCount = true;
    SetFixedRows(0);
    if (m_dataLink->Active() && !DataSet()->IsEmpty()) {
        SetRowCount(1000);
        SetFixedRows(m_titleOffset);
        updateRowHeights();
        const int visible = std::max(1, VisibleRowCount());
        // A smaller grid loses the rows below: the current one moves up into view.
        if (visible < m_dataLink->BufferCount() && m_dataLink->ActiveRecord() >= visible) {
            InvalidateGrid();
            if (OnTopRowChanged)
                OnTopRowChanged(this);
        }
        m_dataLink->SetBufferCount(visible);
        SetRowCount(m_dataLink->RecordCount() + m_titleOffset);
    } else {
        SetRowCount(m_titleOffset + 1);
        updateRowHeights();
    }
    SetFixedRows(m_titleOffset);
    SetTopRow(m_titleOffset);
    m_inRowCount = false;
    updateActiveRow();
}

void TqkCustomDBGrid::updateActiveRow()
{
    if (!m_dataLink->Active() || m_layoutDepth > 0)
        return;
    const int row = std::min(m_dataLink->ActiveRecord() + m_titleOffset, RowCount() - 1);
    if (row != Row()) {
        if (!(m_options & dgAlwaysShowEditor))
            HideEditor();
        FocusCell(Col(), row);
    }
}

void TqkCustomDBGrid::ColWidthsChanged(int sizedCol)
{
    if (m_layoutDepth > 0 || !m_dataLink->Active())
        return;
    const int zeroWidth = QFontMetrics(font()).horizontalAdvance(QLatin1Char('0'));
    QVector<int> widths;
    for (int dataCol = 0; dataCol < GetFieldCount(); ++dataCol)
        widths.append((ColWidths(dataCol + m_indicatorOffset) + zeroWidth / 2 - 7) / zeroWidth);
    // Each field's new width lays the grid out again: all are read before the first is written.
    ++m_layoutDepth;
    for (int dataCol = 0; dataCol < widths.size(); ++dataCol) {
        const int chars = widths[dataCol];
        TField *field = GetFields(dataCol);
        int index = -1;
        if (m_useTFields)
            field->SetDisplayWidth(chars);
        else if (qkFindFieldInList(m_selected, field->FieldName(), index)) {
            const QString &line = m_selected[index];
            QString rebuilt =
                token(line, 0) + QLatin1Char('\t') + QString::number(chars) + QLatin1Char('\t') + token(line, 2);
            if (tokenCount(line) >= 4)
                rebuilt += QLatin1Char('\t') + token(line, 3);
            m_selected[index] = rebuilt;
        }
    }
    --m_layoutDepth;
    if (m_useTFields)
        SetColumnAttributes();
    placeFooter();
    updateHorzScrollBarPolicy();
    if (OnColWidthChanged)
        OnColWidthChanged(this, sizedCol);
}

void TqkCustomDBGrid::ColumnMoved(int fromIndex, int toIndex)
{
    // Typed text belongs to the field it was typed into, wherever its column goes.
    if (!validateEditor())
        return;
    PostPendingText();
    if (!m_useTFields) {
        if (fromIndex >= 0 && toIndex >= 0 && fromIndex < m_selected.size() && toIndex < m_selected.size())
            m_selected.move(fromIndex, toIndex);
        LayoutChanged();
    } else if (GetFields(fromIndex) && GetFields(toIndex)) {
        GetFields(fromIndex)->SetIndex(GetFields(toIndex)->Index());
    }
    InvalidateFooter();
    if (OnColumnMoved)
        OnColumnMoved(this, fromIndex, toIndex);
}

// Notifications of the link.

void TqkCustomDBGrid::LinkActive(bool active)
{
    m_lastRecord = TBookmark{};
    m_masterRecord = TBookmark{};
    m_footerChangeMarked = true;
    if (!active)
        HideEditor();
    LayoutChanged();
    UpdateScrollBar();
    if (!active)
        m_enteredCol = -1;
    else if (!testAttribute(Qt::WA_WState_Created))
        m_colEnterPending = true;
    else if (Col() != m_enteredCol)
        colEnter();
    checkRecordChange();
}

void TqkCustomDBGrid::DataChanged()
{
    UpdateRowCount();
    UpdateScrollBar();
    updateActiveRow();
    InvalidateEditor();
    InvalidateGrid();
    checkRecordChange();
}

void TqkCustomDBGrid::Scroll(int distance)
{
    UpdateScrollBar();
    updateActiveRow();
    if (!(m_options & dgAlwaysShowEditor))
        HideEditor();
    InvalidateEditor();
    InvalidateGrid();
    keepEditorShown();
    if (distance != 0 && OnTopRowChanged)
        OnTopRowChanged(this);
    checkRecordChange();
}

void TqkCustomDBGrid::keepEditorShown()
{
    if ((m_options & dgAlwaysShowEditor) && !m_movingByKey
        && (hasFocus() || (InplaceEditor() && InplaceEditor()->hasFocus())) && !CellHasPaintedControl(Col()))
        ShowEditor();
}

void TqkCustomDBGrid::checkRecordChange()
{
    TDataSet *dataSet = DataSet();
    if (!dataSet || !dataSet->Active() || (!OnRowChanged && !OnCellChanged && !OnUpdateFooter))
        return;
    const TBookmark current = dataSet->GetBookmark();
    if (!m_lastRecord.valid || current.rowId != m_lastRecord.rowId) {
        if (OnRowChanged)
            OnRowChanged(this);
        doCellChanged();
        m_lastRecord = current;
    }
    if (!OnUpdateFooter || dataSet->State() != dsBrowse)
        return;
    const bool masterMoved = masterRecordChanged();
    if (m_footerChangeMarked || masterMoved || !dataSet->BookmarkValid(m_lastRecord)) {
        m_footerChangeMarked = false;
        OnUpdateFooter(this);
    }
}

TDataSet *TqkCustomDBGrid::masterDataSet() const
{
    QObject *master = qkGetMasterSource(DataSet());
    if (!master)
        master = qkGetDataSource(DataSet());
    auto *source = qobject_cast<TDataSource *>(master);
    return source ? source->DataSet() : nullptr;
}

// Footer sums follow the master record even when the detail's own current record stays.
bool TqkCustomDBGrid::masterRecordChanged()
{
    TDataSet *master = masterDataSet();
    if (!master || !master->Active() || master->IsEmpty())
        return false;
    const TBookmark current = master->GetBookmark();
    const bool changed = !m_masterRecord.valid || !qkSameRecord(qkCompareBookmarks(master, current, m_masterRecord));
    m_masterRecord = current;
    return changed;
}

void TqkCustomDBGrid::EditingChanged()
{
    if (TDataSet *dataSet = DataSet(); dataSet && (dataSet->State() == dsEdit || dataSet->State() == dsInsert))
        m_footerChangeMarked = true;
    InvalidateCell(0, Row());
    InvalidateRow(Row());
}

void TqkCustomDBGrid::RecordChanged(TField *field)
{
    if (m_dataLink->InUpdateData())
        return;
    InvalidateRow(Row());
    m_dataLink->SetModified(false);
    TField *current = SelectedField();
    if ((!field || field == current) && current && current->Text() != m_pendingText) {
        m_pendingText = current->Text();
        InvalidateEditor();
    }
    TDataSet *dataSet = DataSet();
    if (field && dataSet && (dataSet->State() == dsEdit || dataSet->State() == dsInsert))
        DoFieldChanged(field);
}

void TqkCustomDBGrid::DoFieldChanged(TField *field)
{
    if (OnFieldChanged)
        OnFieldChanged(this, field);
}

void TqkCustomDBGrid::UpdateData()
{
    TField *field = SelectedField();
    if (!m_dataLink->Modified() || !field)
        return;
    m_previousText = field->Text();
    writeText(field, m_pendingText);
    m_dataLink->SetModified(false);
    if (m_previousText != m_pendingText)
        DoFieldChanged(field);
}

// A number is taken as the grid shows it, thousands points and all; a typed
// date changes the day of a date-time value, not its time of day.
void TqkCustomDBGrid::writeText(TField *field, const QString &text)
{
    if (gridnumbers::isNumberField(field)) {
        field->SetText(gridnumbers::withoutGroupingMarks(text));
        return;
    }
    if (field->DataType() != ftDateTime || !qkIsValidDateText(text)) {
        field->SetText(text);
        return;
    }
    int pos = 1;
    TDateTime date = 0;
    qkScanDate(text, pos, date);
    const TDateTime current = field->IsNull() ? 0 : field->AsDateTime();
    // Before the epoch the day counts down while the time of day still counts up.
    const double timeOfDay = std::abs(current - std::trunc(current));
    field->SetAsDateTime(date < 0 ? std::trunc(date) - timeOfDay : std::trunc(date) + timeOfDay);
}

void TqkCustomDBGrid::PostPendingText()
{
    if (m_dataLink->Modified())
        m_dataLink->UpdateRecord();
}

// The vertical scroll bar.

void TqkCustomDBGrid::UpdateScrollBar()
{
    QScrollBar *bar = verticalScrollBar();
    TDataSet *dataSet = DataSet();
    if (!m_showVertScrollBar || !m_dataLink->Active() || !dataSet) {
        bar->setRange(0, 0);
        return;
    }
    int position = 2;
    int maximum = 4;
    if (dataSet->IsSequenced()) {
        maximum = scrollRange;
        const int count = std::max(2, dataSet->RecordCount());
        position = dataSet->Bof()   ? 0
                   : dataSet->Eof() ? scrollRange
                                    : (dataSet->RecNo() - 1) * scrollRange / (count - 1);
    } else if (dataSet->Bof() || dataSet->Eof()) {
        position = dataSet->Bof() ? 0 : maximum;
    }
    bar->setRange(0, maximum);
    bar->setPageStep(maximum / 10);
    if (bar->value() != position)
        bar->setValue(position);
    bar->setSliderPosition(position);
}

void TqkCustomDBGrid::scrollBarAction(int action)
{
    TDataSet *dataSet = DataSet();
    if (!m_dataLink->Active() || !dataSet || focusPolicy() == Qt::NoFocus)
        return;
    switch (action) {
    case QAbstractSlider::SliderSingleStepSub:
        PriorRow();
        break;
    case QAbstractSlider::SliderSingleStepAdd:
        NextRow();
        break;
    case QAbstractSlider::SliderPageStepSub:
        moveBy(-VisibleRowCount());
        break;
    case QAbstractSlider::SliderPageStepAdd:
        moveBy(VisibleRowCount());
        break;
    case QAbstractSlider::SliderToMinimum:
        dataSet->First();
        break;
    case QAbstractSlider::SliderToMaximum:
        dataSet->Last();
        break;
    case QAbstractSlider::SliderMove:
        scrollToThumb(verticalScrollBar()->sliderPosition());
        break;
    default:
        break;
    }
    UpdateScrollBar();
}

void TqkCustomDBGrid::scrollToThumb(int position)
{
    TDataSet *dataSet = DataSet();
    if (!dataSet->IsSequenced()) {
        static constexpr int pageUp = 1;
        static constexpr int pageDown = 3;
        if (position == 0)
            dataSet->First();
        else if (position == pageUp)
            moveBy(-VisibleRowCount());
        else if (position == pageDown)
            moveBy(VisibleRowCount());
        else if (position == 4)
            dataSet->Last();
        return;
    }
    dataSet->CheckBrowseMode();
    if (position <= 0)
        dataSet->First();
    else if (position >= scrollRange)
        dataSet->Last();
    else
        dataSet->SetRecNo(dataSet->RecordCount() * position / scrollRange + 1);
}

// Moving.

bool TqkCustomDBGrid::validateEditor()
{
    auto *editor = qobject_cast<TqkInplaceEdit *>(InplaceEditor());
    if (!editor || !editor->isVisible() || !editor->HasMask() || !m_dataLink->Modified())
        return true;
    if (editor->ValidateText(editor->text()) || editor->Picture()->AllowInvalidExit())
        return true;
    editor->selectAll();
    TDataSet *dataSet = DataSet();
    if (const TqkInvalidValueEvent onInvalid = qkGetOnInvalidValue(dataSet)) {
        onInvalid(dataSet, SelectedField());
        return false;
    }
    ui::services().beep();
    throw EInvalidOperation(
        QStringLiteral("Ungültiger Eingabewert. Benutzen Sie die ESC-Taste, um die Änderungen rückgängig zu machen."));
}

void TqkCustomDBGrid::SelectColumn(int dataCol)
{
    if (!validateEditor())
        return;
    PostPendingText();
    dataCol = std::clamp(dataCol, 0, std::max(0, GetFieldCount() - 1));
    dataCol = std::max(dataCol, m_dataFixedCols);
    const int col = dataCol + m_indicatorOffset;
    if (col == Col())
        return;
    if (!m_inColExit && OnColExit) {
        const int before = Col();
        m_inColExit = true;
        OnColExit(this);
        m_inColExit = false;
        if (Col() != before)
            return;
    }
    const bool keepEditor = !m_movingByKey && (m_options & dgAlwaysShowEditor);
    HideEditor();
    SetCol(col);
    if (keepEditor)
        ShowEditor();
    colEnter();
}

void TqkCustomDBGrid::colEnter()
{
    m_enteredCol = Col();
    m_colEnterPending = false;
    if (OnColEnter)
        OnColEnter(this);
    doCellChanged();
}

// A grid opened before it was shown tells its first column once it shows.
void TqkCustomDBGrid::showEvent(QShowEvent *event)
{
    TCustomGrid::showEvent(event);
    if (m_colEnterPending && m_dataLink->Active())
        colEnter();
}

void TqkCustomDBGrid::doCellChanged()
{
    if (m_holdCellChanged)
        m_cellChangedHeld = true;
    else if (OnCellChanged)
        OnCellChanged(this);
}

void TqkCustomDBGrid::NextRow()
{
    TDataSet *dataSet = DataSet();
    if (!validateEditor())
        return;
    if (dataSet->State() == dsInsert && !dataSet->Modified() && !m_dataLink->Modified()) {
        if (dataSet->Eof())
            return;
        dataSet->Cancel();
    } else {
        PostPendingText();
        dataSet->Next();
    }
    if (dataSet->Eof() && dataSet->CanModify() && (m_options & dgEditing) && (m_keyOptions & dgAllowInsert)
        && !m_readOnly)
        dataSet->Append();
}

void TqkCustomDBGrid::PriorRow()
{
    TDataSet *dataSet = DataSet();
    if (!validateEditor())
        return;
    // The untouched record appended at the end goes; one inserted between
    // others is dropped by the move itself, which goes on to the record above.
    if (dataSet->State() == dsInsert && dataSet->Eof() && !dataSet->Modified() && !m_dataLink->Modified()) {
        dataSet->Cancel();
        return;
    }
    PostPendingText();
    dataSet->Prior();
}

void TqkCustomDBGrid::moveBy(int distance)
{
    if (!validateEditor())
        return;
    PostPendingText();
    DataSet()->MoveBy(distance);
}

void TqkCustomDBGrid::TabToColumn(bool forward)
{
    const int count = GetFieldCount();
    if (count == 0)
        return;
    const int start = SelectedIndex();
    int dataCol = start;
    do {
        dataCol += forward ? 1 : -1;
        if (dataCol >= count) {
            PostPendingText();
            m_movingByKey = true;
            NextRow();
            m_movingByKey = false;
            dataCol = 0;
        } else if (dataCol < m_dataFixedCols) {
            PostPendingText();
            PriorRow();
            dataCol = count - 1;
        }
        if (TabStops(dataCol + m_indicatorOffset)) {
            SelectColumn(dataCol);
            return;
        }
    } while (dataCol != start);
}

void TqkCustomDBGrid::ResetEdit()
{
    TDataSet *dataSet = DataSet();
    if (m_dataLink->Modified()) {
        m_dataLink->SetModified(false);
        RecordChanged(nullptr);
        if (TField *field = SelectedField())
            m_pendingText = field->Text();
        InvalidateEditor();
        return;
    }
    if (!dataSet || (dataSet->State() != dsEdit && dataSet->State() != dsInsert))
        return;
    if (dataSet->Modified()
        && ui::services().messageBox(qkIntl().UserMessages->qkDBGridDiscardChanges, QString(), ui::MsgIcon::Question,
                                     ui::MsgButtons::YesNo)
               != ui::IDYES)
        return;
    dataSet->Cancel();
}

bool TqkCustomDBGrid::ConfirmDelete()
{
    if (!(m_options & dgConfirmDelete))
        return true;
    return ui::services().messageBox(QStringLiteral("Datensatz löschen?"), QString(), ui::MsgIcon::Question,
                                     ui::MsgButtons::OkCancel)
           == ui::IDOK;
}

// Keys.

void TqkCustomDBGrid::keyPressEvent(QKeyEvent *event)
{
    int key = qk::virtualKeyOf(event);
    const qk::TShiftState shift = event->modifiers();
    qkRunShowingErrors([&] {
        if (OnKeyDown)
            OnKeyDown(this, key, shift);
        if (key != 0 && HandOverKey(key, *event))
            return;
        if (key != 0)
            KeyDown(key, shift);
        if (key != 0)
            KeyPressChar(event);
    });
}

// With dgTabs, Tab and Shift+Tab are the grid's own keys on every cell,
// never the form's way to the next control.
bool TqkCustomDBGrid::event(QEvent *event)
{
    if (event->type() == QEvent::KeyPress && (m_options & dgTabs) && m_dataLink->Active()) {
        auto *keyEvent = static_cast<QKeyEvent *>(event);
        const bool tab = keyEvent->key() == Qt::Key_Tab || keyEvent->key() == Qt::Key_Backtab;
        if (tab && !(keyEvent->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
            keyPressEvent(keyEvent);
            return true;
        }
    }
    return TCustomGrid::event(event);
}

void TqkCustomDBGrid::KeyDown(int &key, qk::TShiftState shift)
{
    TDataSet *dataSet = DataSet();
    if (!m_dataLink->Active() || !dataSet)
        return;
    const bool ctrl = shift & Qt::ControlModifier;
    const bool rowSelect = m_options & dgRowSelect;
    const int consumed = key;
    key = 0;
    switch (consumed) {
    case qk::VK_UP:
        ctrl ? moveBy(-m_dataLink->ActiveRecord()) : PriorRow();
        break;
    case qk::VK_DOWN:
        ctrl ? moveBy(m_dataLink->RecordCount() - 1 - m_dataLink->ActiveRecord()) : NextRow();
        break;
    case qk::VK_PRIOR:
        ctrl ? moveBy(-m_dataLink->ActiveRecord()) : moveBy(-VisibleRowCount());
        break;
    case qk::VK_NEXT:
        ctrl ? moveBy(m_dataLink->RecordCount() - 1 - m_dataLink->ActiveRecord()) : moveBy(VisibleRowCount());
        break;
    case qk::VK_LEFT:
        if (ctrl)
            SelectColumn(0);
        else
            rowSelect ? PriorRow() : SelectColumn(SelectedIndex() - 1);
        break;
    case qk::VK_RIGHT:
        if (ctrl)
            SelectColumn(GetFieldCount() - 1);
        else
            rowSelect ? NextRow() : SelectColumn(SelectedIndex() + 1);
        break;
    case qk::VK_HOME:
        if (ctrl || rowSelect || dataSet->FieldCount() == 1)
            dataSet->First();
        else
            SelectColumn(0);
        break;
    case qk::VK_END:
        if (ctrl || rowSelect || dataSet->FieldCount() == 1)
            dataSet->Last();
        else
            SelectColumn(GetFieldCount() - 1);
        break;
    case qk::VK_TAB:
        if ((shift & Qt::AltModifier) || !(m_options & dgTabs))
            key = consumed;
        else
            TabToColumn(!(shift & Qt::ShiftModifier));
        break;
    case qk::VK_RETURN:
        if (m_keyOptions & dgEnterToTab)
            TabToColumn(!(shift & Qt::ShiftModifier));
        else if (!(m_options & dgAlwaysShowEditor))
            PostPendingText();
        break;
    case qk::VK_ESCAPE:
        ResetEdit();
        if (!(m_options & dgAlwaysShowEditor))
            HideEditor();
        else if (auto *editor = qobject_cast<TqkInplaceEdit *>(InplaceEditor()); editor && OnCheckValue)
            editor->ValidateText(editor->text());
        break;
    case qk::VK_INSERT:
        if (!m_readOnly && (m_options & dgEditing) && (m_keyOptions & dgAllowInsert))
            dataSet->Insert();
        break;
    case qk::VK_F2:
        EditCellByF2();
        break;
    case qk::VK_DELETE:
        if (ctrl && (m_keyOptions & dgAllowDelete) && !m_readOnly && dataSet->CanModify() && (m_options & dgEditing)
            && ConfirmDelete()) {
            dataSet->Delete();
            HideEditor();
        } else if (!ctrl) {
            key = consumed;
        }
        break;
    default:
        key = consumed;
    }
}

bool TqkCustomDBGrid::HandOverKey(int &, const QKeyEvent &)
{
    return false;
}

void TqkCustomDBGrid::EditCellByF2()
{
    TField *field = SelectedField();
    if (field && !field->IsBlob() && !CellHasPaintedControl(Col()))
        ShowEditor();
}

// A typed character opens the editor and goes to it, as typing into a cell does.
void TqkCustomDBGrid::KeyPressChar(QKeyEvent *event)
{
    const QString text = event->text();
    if (text.isEmpty() || !text.at(0).isPrint() || !(m_options & dgEditing) || m_readOnly
        || CellHasPaintedControl(Col()) || !SelectedField() || SelectedField()->IsBlob())
        return;
    if (!CanEditModify())
        return;
    ShowEditorNow();
    auto *editor = qobject_cast<TqkInplaceEdit *>(InplaceEditor());
    if (!editor || !editor->isVisible())
        return;
    editor->clear();
    QKeyEvent replay(QEvent::KeyPress, event->key(), event->modifiers(), text);
    QApplication::sendEvent(editor, &replay);
}

// Mouse.

void TqkCustomDBGrid::mousePressEvent(QMouseEvent *event)
{
    const QPoint pos = event->position().toPoint();
    const QPoint cell = MouseCoord(pos.x(), pos.y());
    if (event->button() != Qt::LeftButton || cell.y() < m_titleOffset || cell.x() < 0 || !m_dataLink->Active()) {
        TCustomGrid::mousePressEvent(event);
        if (event->button() == Qt::LeftButton && !InSizing() && cell.y() >= 0 && cell.y() < m_titleOffset
            && cell.x() >= m_indicatorOffset) {
            m_pressedTitleCol = cell.x();
            m_titlePressPoint = pos;
            m_draggingColumn = false;
            InvalidateCell(cell.x(), cell.y());
            event->accept();
        }
        fireMouseDown(event);
        return;
    }
    setFocus(Qt::MouseFocusReason);
    qkRunShowingErrors([&] { DataCellClicked(cell, event->modifiers()); });
    m_selectingByMouse = true;
    fireMouseDown(event);
}

void TqkCustomDBGrid::fireMouseDown(const QMouseEvent *event)
{
    if (OnMouseDown)
        OnMouseDown(this, event->button(), event->modifiers(), int(event->position().x()), int(event->position().y()));
}

void TqkCustomDBGrid::DataCellClicked(const QPoint &cell, Qt::KeyboardModifiers)
{
    if (cell == QPoint(Col(), Row())) {
        if (!CellHasPaintedControl(cell.x()) && (m_options & dgEditing) && !m_readOnly)
            ShowEditor();
        return;
    }
    moveToCell(cell);
}

// The record and the column of the cell become current with the editor
// hidden; OnCellChanged fires once at the end.
void TqkCustomDBGrid::moveToCell(const QPoint &cell)
{
    m_cellChangedHeld = false;
    {
        const QScopedValueRollback hold(m_holdCellChanged, true);
        if (cell.y() != Row()) {
            const QScopedValueRollback byKey(m_movingByKey, true);
            moveBy(cell.y() - Row());
        }
        if (cell.x() >= FixedColCount())
            SelectColumn(RawToDataCol(cell.x()));
    }
    if (m_cellChangedHeld && OnCellChanged)
        OnCellChanged(this);
}

// Dragging with the button held moves the current cell under the mouse;
// above or below the rows the records scroll on a timer.
void TqkCustomDBGrid::dragSelect(const QPoint &pos)
{
    const int dataTop = m_titleOffset ? RowPitch(0) : 0;
    m_selectScrolling = pos.y() < dataTop ? -1 : pos.y() >= viewport()->height() ? 1 : 0;
    if (m_selectScrolling != 0) {
        if (!m_selectTimer.isActive())
            m_selectTimer.start(selectScrollInterval, this);
        return;
    }
    m_selectTimer.stop();
    const QPoint cell = MouseCoord(std::clamp(pos.x(), 0, viewport()->width() - 1), pos.y());
    if (cell.x() < FixedColCount() || cell.y() < m_titleOffset || RawToDataRow(cell.y()) >= m_dataLink->RecordCount()
        || cell == QPoint(Col(), Row()))
        return;
    moveToCell(cell);
}

// Up goes to the record before the first visible one, down to the one after the last.
void TqkCustomDBGrid::selectScrollTick()
{
    // A release the grid never heard of (a message box took it) ends the drag too.
    if (!(QGuiApplication::mouseButtons() & Qt::LeftButton)) {
        m_selectingByMouse = false;
        m_selectTimer.stop();
        return;
    }
    const QScopedValueRollback byKey(m_movingByKey, true);
    if (m_selectScrolling < 0)
        moveBy(-m_dataLink->ActiveRecord() - 1);
    else
        moveBy(m_dataLink->RecordCount() - m_dataLink->ActiveRecord());
}

void TqkCustomDBGrid::mouseMoveEvent(QMouseEvent *event)
{
    const QPoint pos = event->position().toPoint();
    static constexpr int dragThreshold = 2;
    if (m_pressedTitleCol >= FixedColCount() && !m_draggingColumn
        && (std::abs(pos.x() - m_titlePressPoint.x()) > dragThreshold
            || std::abs(pos.y() - m_titlePressPoint.y()) > dragThreshold)) {
        startColumnDrag(pos);
    } else if (m_draggingColumn) {
        m_dragMovingRight = pos.x() > m_dragPos.x();
        m_dragPos = pos;
        viewport()->update();
    } else if (m_selectingByMouse && (event->buttons() & Qt::LeftButton)) {
        qkRunShowingErrors([&] { dragSelect(pos); });
    }
    TCustomGrid::mouseMoveEvent(event);
}

// The dragged column travels as a picture of itself, title drawn unpressed,
// a fixed distance below the grid's top.
void TqkCustomDBGrid::startColumnDrag(const QPoint &pos)
{
    m_draggingColumn = true;
    const QRect title = CellRect(m_pressedTitleCol, 0);
    m_dragGrabOffset = pos.x() - title.left();
    m_dragPos = pos;
    m_dragImage = viewport()->grab(QRect(title.left(), 0, title.width(), viewport()->height()));
    QPainter frame(&m_dragImage);
    frame.setPen(palette().color(QPalette::WindowText));
    frame.drawRect(QRect(QPoint(0, 0), m_dragImage.deviceIndependentSize().toSize()).adjusted(0, 0, -1, -1));
    frame.end();
    m_dragTimer.start(100, this);
    viewport()->setCursor(Qt::DragMoveCursor);
    InvalidateGrid();
}

void TqkCustomDBGrid::PaintOver(QPainter &painter)
{
    if (m_draggingColumn && !m_dragImage.isNull())
        painter.drawPixmap(m_dragPos.x() - m_dragGrabOffset, m_dragVertOffset, m_dragImage);
}

// Past the right or left edge the grid scrolls a column at each tick, so a
// column can be dropped on one out of view.
void TqkCustomDBGrid::timerEvent(QTimerEvent *event)
{
    if (event->timerId() == m_selectTimer.timerId()) {
        qkRunShowingErrors([this] { selectScrollTick(); });
        return;
    }
    if (event->timerId() != m_dragTimer.timerId()) {
        TCustomGrid::timerEvent(event);
        return;
    }
    const int left = m_dragPos.x() - m_dragGrabOffset;
    const int right = left + int(m_dragImage.deviceIndependentSize().width());
    const int firstScrolling = CellRect(LeftCol(), 0).left();
    if (m_dragMovingRight && right > viewport()->width() && LeftCol() + VisibleColCount() < ColCount())
        SetLeftCol(LeftCol() + 1);
    else if (!m_dragMovingRight && left < firstScrolling && LeftCol() > FixedColCount())
        SetLeftCol(LeftCol() - 1);
    viewport()->update();
}

void TqkCustomDBGrid::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton) {
        m_selectingByMouse = false;
        m_selectTimer.stop();
    }
    if (m_pressedTitleCol >= 0 && event->button() == Qt::LeftButton)
        qkRunShowingErrors([&] { finishTitlePress(event->position().toPoint()); });
    TCustomGrid::mouseReleaseEvent(event);
}

void TqkCustomDBGrid::finishTitlePress(const QPoint &pos)
{
    const int pressed = m_pressedTitleCol;
    const bool dragged = m_draggingColumn;
    m_pressedTitleCol = -1;
    m_draggingColumn = false;
    m_dragTimer.stop();
    m_dragImage = QPixmap();
    viewport()->unsetCursor();
    InvalidateGrid();
    if (dragged) {
        // A column is dropped on the column under the mouse, at any height.
        const QPoint column = MouseCoord(pos.x(), std::clamp(pos.y(), 0, std::max(0, RowHeights(0) - 1)));
        const int target = column.x() >= 0 ? std::max(column.x(), FixedColCount()) : ColCount() - 1;
        if (target != pressed)
            ColumnMoved(RawToDataCol(pressed), RawToDataCol(target));
        return;
    }
    TField *field = GetColField(RawToDataCol(pressed));
    if (m_titleButtons && MouseCoord(pos.x(), pos.y()) == QPoint(pressed, 0) && field && OnTitleButtonClick)
        OnTitleButtonClick(this, field->FieldName());
}

void TqkCustomDBGrid::mouseDoubleClickEvent(QMouseEvent *event)
{
    qkRunShowingErrors([&] { PostPendingText(); });
    TCustomGrid::mouseDoubleClickEvent(event);
}

void TqkCustomDBGrid::focusInEvent(QFocusEvent *event)
{
    TCustomGrid::focusInEvent(event);
    keepEditorShown();
}

void TqkCustomDBGrid::focusOutEvent(QFocusEvent *event)
{
    TCustomGrid::focusOutEvent(event);
    InvalidateGrid();
}

// The grid's editor, the controls over its cells, and the boxes, drop-downs
// and windows opened over its window all take the focus while the user
// stays in the grid; and the user may leave from any of them. So leaving is
// told from where the focus goes, wherever it comes from: with no window of
// the program active (minimised, another program) the user has not left yet.
void TqkCustomDBGrid::focusMoved(QWidget *now)
{
    if (now && (now == this || isAncestorOf(now))) {
        m_focusPlace = FocusPlace::Inside;
        return;
    }
    if (m_focusPlace == FocusPlace::Outside)
        return;
    if (!now || opensOverGrid(now->window())) {
        m_focusPlace = FocusPlace::Away;
        return;
    }
    m_focusPlace = FocusPlace::Outside;
    qkRunShowingErrors([this] { LeaveGrid(); });
}

// A box or a drop-down over the grid's window gives the focus back when it closes.
bool TqkCustomDBGrid::opensOverGrid(const QWidget *window) const
{
    if (!window->isModal() && window->windowType() != Qt::Popup)
        return false;
    for (const QWidget *owner = window->parentWidget(); owner; owner = owner->parentWidget())
        if (owner == this->window())
            return true;
    return false;
}

void TqkCustomDBGrid::LeaveGrid()
{
    TDataSet *dataSet = DataSet();
    if (!dataSet || !m_dataLink->Active())
        return;
    if ((m_options & dgCancelOnExit) && dataSet->State() == dsInsert && !dataSet->Modified() && !m_dataLink->Modified())
        dataSet->Cancel();
    else
        PostPendingText();
}

void TqkCustomDBGrid::SizeChanged()
{
    if (m_layoutDepth > 0)
        return;
    HideEditor();
    UpdateRowCount();
    placeFooter();
    updateHorzScrollBarPolicy();
}

void TqkCustomDBGrid::TopLeftChanged()
{
    InvalidateFooter();
    if (LeftCol() != m_lastLeftCol) {
        m_lastLeftCol = LeftCol();
        if (OnLeftColChanged)
            OnLeftColChanged(this, LeftCol());
    }
}

// The editor.

QWidget *TqkCustomDBGrid::CreateEditor()
{
    return new TqkInplaceEdit(this);
}

bool TqkCustomDBGrid::CanEditShow() const
{
    return TCustomGrid::CanEditShow() && (m_options & dgEditing) && !m_readOnly && m_dataLink->Active()
           && SelectedField() && !CellHasPaintedControl(Col()) && !(m_options & dgRowSelect);
}

void TqkCustomDBGrid::LoadEditor(QWidget *editor)
{
    auto *inplace = qobject_cast<TqkInplaceEdit *>(editor);
    TField *field = SelectedField();
    if (!inplace || !field)
        return;
    m_pendingText = field->Text();
    inplace->Load(field, m_options & dgWordWrap);
}

// A number shows whole while it is edited: the editor grows over the cells
// beside it, to the left for a number standing at the right, but never over
// the fixed columns.
QRect TqkCustomDBGrid::EditorRect(const QRect &cell) const
{
    auto *editor = qobject_cast<TqkInplaceEdit *>(InplaceEditor());
    TField *field = SelectedField();
    if (!editor || !field || editor->MultiLine() || !gridnumbers::isNumberField(field))
        return cell;
    static constexpr int lineMarginsAndCaret = 6;
    const int width =
        std::max(cell.width(), editor->fontMetrics().horizontalAdvance(editor->text()) + lineMarginsAndCaret);
    const int fixedRight = FixedColCount() > 0 ? CellRect(FixedColCount() - 1, Row()).right() + 1 : 0;
    const int left = field->Alignment() == taRightJustify ? cell.right() + 1 - width : cell.left();
    const int placed = std::clamp(left, fixedRight, std::max(fixedRight, viewport()->width() - width));
    return QRect(placed, cell.top(), std::min(width, viewport()->width() - placed), cell.height());
}

bool TqkCustomDBGrid::EditorHasMask() const
{
    auto *editor = qobject_cast<TqkInplaceEdit *>(InplaceEditor());
    return editor && editor->HasMask();
}

bool TqkCustomDBGrid::CanEditModify()
{
    TDataSet *dataSet = DataSet();
    TField *field = SelectedField();
    if (m_readOnly || !m_dataLink->Active() || m_dataLink->ReadOnly() || !field)
        return false;
    if (!(m_keyOptions & dgAllowInsert) && dataSet->Bof() && dataSet->Eof() && dataSet->State() == dsBrowse)
        return false;
    const bool calculatedEditable = field->Calculated() && m_editCalculated && !field->ReadOnly();
    if (!field->CanModify() && !calculatedEditable)
        return false;
    if (ColumnReadOnlyByLine(field->FieldName()))
        return false;
    m_dataLink->Edit();
    if (!m_dataLink->Editing())
        return false;
    m_dataLink->SetModified(true);
    return true;
}

bool TqkCustomDBGrid::CanEditAcceptKey(QChar key) const
{
    TField *field = SelectedField();
    return field && qkFieldAcceptsChar(field, key);
}

void TqkCustomDBGrid::EditTextChanged(const QString &text)
{
    if (!m_dataLink->Modified() && !CanEditModify()) {
        InvalidateEditor();
        return;
    }
    m_pendingText = text;
    m_dataLink->SetModified(true);
}

bool TqkCustomDBGrid::IsCheckBoxCell(int col) const
{
    QString checkedValue;
    QString uncheckedValue;
    return GetCheckBoxValues(col, checkedValue, uncheckedValue);
}

bool TqkCustomDBGrid::CellHasPaintedControl(int col) const
{
    TField *field = GetColField(RawToDataCol(col));
    if (!field || !CanUseControlInfo(col, 0))
        return false;
    QString type;
    QString parameters;
    GetControlType(field->FieldName(), type, parameters);
    return type.compare(QLatin1String("CheckBox"), Qt::CaseInsensitive) == 0
           || type.compare(QLatin1String("Bitmap"), Qt::CaseInsensitive) == 0
           || type.compare(QLatin1String("ImageIndex"), Qt::CaseInsensitive) == 0;
}

// Painting.

void TqkCustomDBGrid::DrawCell(QPainter &painter, int col, int row, const QRect &rect, TGridDrawState state)
{
    const bool fixed = state & gdFixed;
    painter.setFont(fixed ? m_titleFont : font());
    const QColor background = fixed ? m_titleColor : palette().color(QPalette::Base);
    if (row < m_titleOffset) {
        if (col >= m_indicatorOffset)
            drawTitleCell(painter, col, rect);
        else
            painter.fillRect(rect, background);
        return;
    }
    if (col < m_indicatorOffset) {
        painter.fillRect(rect, background);
        drawIndicatorCell(painter, row, rect, background);
        return;
    }
    if (!m_dataLink->Active() || RawToDataRow(row) >= m_dataLink->RecordCount()) {
        painter.fillRect(rect, background);
        return;
    }
    drawDataCell(painter, col, row, rect, state);
}

void TqkCustomDBGrid::drawTitleCell(QPainter &painter, int col, const QRect &rect)
{
    TField *field = GetColField(RawToDataCol(col));
    QString title = titleOf(RawToDataCol(col));
    if (title.isEmpty() && !m_useTFields && RawToDataCol(col) < m_selected.size())
        title = token(m_selected[RawToDataCol(col)], 2);
    QFont titleFont = m_titleFont;
    QColor brush = m_titleColor;
    Qt::Alignment alignment = m_titleAlignment;
    if (OnCalcTitleAttributes)
        OnCalcTitleAttributes(this, field ? field->FieldName() : QString(), titleFont, brush, alignment);
    painter.setFont(titleFont);
    painter.fillRect(rect, brush);
    const bool pressed = m_titleButtons && col == m_pressedTitleCol && !m_draggingColumn;
    const QRect textRect = drawTitleImage(painter, col, rect, pressed);
    bool defaultDrawing = true;
    if (OnDrawTitleCell)
        OnDrawTitleCell(this, painter, field, rect, defaultDrawing);
    if (defaultDrawing && !textRect.isEmpty()) {
        const int lines = m_titleLines == 1 ? 1 : int(title.count(QLatin1Char('~'))) + 1;
        title.replace(QLatin1Char('~'), QLatin1Char('\n'));
        const int textHeight = QFontMetrics(titleFont).height();
        const int top = int(rect.height() * 0.5 - textHeight * lines * 0.5) + (pressed ? 1 : 0);
        painter.setPen(palette().color(QPalette::ButtonText));
        const int flags = (lines == 1 ? ctEndEllipsis : 0) | (OnDrawTitleCell ? ctKeepPixels : 0)
                          | (m_useTFields ? 0 : ctAccelerator);
        painter.setBrush(brush);
        WriteCellText(painter, textRect, pressed ? 4 : 3, flags, alignment, title, top - (textRect.top() - rect.top()));
    }
    if (m_titleButtons && !m_draggingColumn)
        drawTitleButtonFrame(painter, rect, pressed);
}

QRect TqkCustomDBGrid::drawTitleImage(QPainter &painter, int col, const QRect &rect, bool pressed)
{
    TqkTitleImageAttributes attributes;
    if (OnCalcTitleImage)
        OnCalcTitleImage(this, GetColField(RawToDataCol(col)), attributes);
    const QImage image = m_titleImageList ? m_titleImageList->Image(attributes.ImageIndex) : QImage();
    if (attributes.ImageIndex < 0 || image.isNull())
        return rect;
    const int top = (rect.top() + rect.bottom() - image.height()) / 2 + (pressed ? 1 : 0);
    static constexpr int imageOnly = 2;
    static constexpr int leftOfText = 0;
    if (attributes.ImagePlacement == imageOnly) {
        painter.drawImage(rect.left() + (rect.width() - image.width()) / 2, top, image);
        return {};
    }
    QRect textRect = rect;
    if (attributes.ImagePlacement == leftOfText) {
        painter.drawImage(rect.left() + attributes.Margin, top, image);
        textRect.setLeft(rect.left() + attributes.Margin + image.width());
    } else {
        painter.drawImage(rect.right() - attributes.Margin - image.width() + 1, top, image);
        textRect.setRight(rect.right() - attributes.Margin - image.width());
    }
    return textRect;
}

void TqkCustomDBGrid::drawTitleButtonFrame(QPainter &painter, const QRect &rect, bool pressed)
{
    const QColor light = palette().color(pressed ? QPalette::Dark : QPalette::Light);
    const QColor dark = palette().color(pressed ? QPalette::Light : QPalette::Dark);
    for (int inset = 0; inset < 2; ++inset)
        gridpictures::drawFrame(painter, rect.adjusted(inset, inset, -inset - 1, -inset - 1), light, dark);
}

void TqkCustomDBGrid::drawIndicatorCell(QPainter &painter, int row, const QRect &rect, const QColor &background)
{
    // The arrow shows where the records will appear even before a data set is linked.
    if (row != Row())
        return;
    const TDataSetState state = DataSet() ? DataSet()->State() : dsBrowse;
    const gridpictures::IndicatorGlyph glyph = state == dsEdit     ? gridpictures::IndicatorGlyph::Edit
                                               : state == dsInsert ? gridpictures::IndicatorGlyph::Insert
                                                                   : gridpictures::IndicatorGlyph::Arrow;
    gridpictures::drawIndicatorGlyph(painter, rect, gridpictures::indicatorGlyph(glyph), background,
                                     m_indicatorColor == icYellow);
}

void TqkCustomDBGrid::drawDataCell(QPainter &painter, int col, int row, const QRect &rect, TGridDrawState state)
{
    const int saved = m_dataLink->ActiveRecord();
    m_dataLink->SetActiveRecord(RawToDataRow(row));
    const bool highlight = HighlightCell(col, row, state);
    const bool fixed = state & gdFixed;
    const QColor plain = fixed ? m_titleColor : palette().color(QPalette::Base);
    QColor background = highlight ? palette().color(QPalette::Highlight) : plain;
    QFont cellFont = fixed ? m_titleFont : font();
    TField *field = GetColField(RawToDataCol(col));
    if (OnCalcCellColors)
        OnCalcCellColors(this, field, state, highlight, cellFont, background);
    painter.setFont(cellFont);
    painter.setPen(highlight ? palette().color(QPalette::HighlightedText) : palette().color(QPalette::Text));
    if (!drawCustomCell(painter, col, rect, background)) {
        painter.fillRect(rect, background);
        if (field && m_defaultDrawing) {
            const bool ellipsis = (m_options & dgTrailingEllipsis)
                                  && (!(m_options & dgWordWrap) || rect.height() < 2 * QFontMetrics(cellFont).height());
            const int flags = (m_options & dgWordWrap ? ctWordBreak : 0) | (ellipsis ? ctEndEllipsis : 0);
            const Qt::Alignment alignment = qkAlignmentOf(field->Alignment());
            QString text = CellText(field);
            if (gridnumbers::isNumberField(field)) {
                const gridnumbers::CellNumber number =
                    gridnumbers::fitNumber(cellFont, text, qkCellTextArea(rect, 3, 2, alignment).width());
                painter.setFont(number.font);
                text = number.text;
            }
            // A number set smaller stands on the line the others stand on.
            const int top = 2 + QFontMetrics(cellFont).ascent() - QFontMetrics(painter.font()).ascent();
            painter.setBrush(background);
            WriteCellText(painter, rect, 3, flags, alignment, text, top);
        }
        if (OnDrawDataCell)
            OnDrawDataCell(this, painter, rect, field, state);
    }
    m_dataLink->SetActiveRecord(saved);
}

bool TqkCustomDBGrid::HighlightCell(int, int row, TGridDrawState state)
{
    if (m_options & dgMultiSelect)
        return IsRowSelected(RawToDataRow(row));
    if (m_options & dgRowSelect)
        return row == Row() && ((m_options & dgAlwaysShowSelection) || hasFocus());
    if (!(state & gdSelected))
        return false;
    return (m_options & dgAlwaysShowSelection) || hasFocus();
}

bool TqkCustomDBGrid::IsRowSelected(int) const
{
    return false;
}

QString TqkCustomDBGrid::CellText(TField *field) const
{
    return field->DisplayText();
}

QString TqkCustomDBGrid::CheckBoxCellValue(int, TField *field) const
{
    return field->Text();
}

bool TqkCustomDBGrid::drawCustomCell(QPainter &painter, int col, const QRect &rect, const QColor &background)
{
    TField *field = GetColField(RawToDataCol(col));
    if (!field || !CanUseControlInfo(col, 0))
        return false;
    QString type;
    QString parameters;
    GetControlType(field->FieldName(), type, parameters);
    if (type.compare(QLatin1String("CheckBox"), Qt::CaseInsensitive) == 0) {
        drawCheckBoxCell(painter, col, rect, background);
        return true;
    }
    return drawPictureCell(painter, field, type, parameters, rect, background);
}

bool TqkCustomDBGrid::drawPictureCell(QPainter &painter, TField *field, const QString &type, const QString &parameters,
                                      const QRect &rect, const QColor &background)
{
    if (type.compare(QLatin1String("Bitmap"), Qt::CaseInsensitive) == 0) {
        const QImage bitmap = field->IsNull() ? QImage() : QImage::fromData(field->AsBytes());
        gridpictures::drawBitmapCell(painter, rect, background, bitmap, parameters.section(';', 0, 0),
                                     parameters.section(';', 1, 1));
        return true;
    }
    if (type.compare(QLatin1String("ImageIndex"), Qt::CaseInsensitive) != 0)
        return false;
    const TFieldType dataType = field->DataType();
    const bool numeric = (dataType >= ftSmallint && dataType <= ftWord) || dataType == ftAutoInc
                         || (dataType >= ftFloat && dataType <= ftBCD);
    if (!numeric || !m_imageList)
        return false;
    const int index = field->IsNull() ? -1 : int(std::lround(field->AsFloat()));
    const QImage image = index >= 0 ? m_imageList->Image(index) : QImage();
    const bool shrink = parameters.section(';', 0, 0).compare(QLatin1String("Shrink To Fit"), Qt::CaseInsensitive) == 0;
    gridpictures::drawImageCell(painter, rect, background, image, shrink);
    return true;
}

void TqkCustomDBGrid::drawCheckBoxCell(QPainter &painter, int col, const QRect &rect, const QColor &background)
{
    painter.fillRect(rect, background);
    QString checkedValue;
    QString uncheckedValue;
    GetCheckBoxValues(col, checkedValue, uncheckedValue);
    TField *field = GetColField(RawToDataCol(col));
    const bool checked = CheckBoxCellValue(col, field).compare(checkedValue, Qt::CaseInsensitive) == 0;
    const QRect box((rect.left() + rect.right() - checkBoxSize) / 2, (rect.top() + rect.bottom() - checkBoxSize) / 2,
                    checkBoxSize, checkBoxSize);
    DrawCheckBox(painter, box, checked);
}

// The new control look draws a check mark; the X belongs to the old one.
void TqkCustomDBGrid::DrawCheckBox(QPainter &painter, const QRect &box, bool checked)
{
    if (qkIntl().CheckBoxInGridStyle() == cbStyleXmark)
        gridpictures::drawXMarkBox(painter, box, checked, palette());
    else
        gridpictures::drawCheckMarkBox(painter, box, checked, isEnabled(), palette());
}

// Footer.

int TqkCustomDBGrid::footerBandHeight() const
{
    if (!(m_options & dgShowFooter))
        return 0;
    const int height = m_footerHeight > 0 ? m_footerHeight : DefaultRowHeight() + 4;
    return height + ((m_options & dgFooter3DCells) ? 2 : 0);
}

void TqkCustomDBGrid::placeFooter()
{
    const int height = footerBandHeight();
    setViewportMargins(0, 0, 0, height);
    placeFooterBand();
}

// The band sits right under the rows, also when a scroll bar comes or goes.
void TqkCustomDBGrid::placeFooterBand()
{
    const int height = footerBandHeight();
    const QRect area = viewport()->geometry();
    m_footer->setGeometry(area.left(), area.bottom() + 1, area.width(), height);
    m_footer->setVisible(height > 0);
    m_footer->update();
}

bool TqkCustomDBGrid::viewportEvent(QEvent *event)
{
    if (event->type() == QEvent::Resize)
        placeFooterBand();
    return TCustomGrid::viewportEvent(event);
}

void TqkCustomDBGrid::InvalidateFooter()
{
    m_footer->update();
}

void TqkCustomDBGrid::PaintFooter(QPainter &painter, const QRect &band)
{
    painter.fillRect(band, m_footerColor);
    painter.setPen(palette().color(QPalette::Button));
    painter.drawLine(band.topLeft(), band.topRight());
    painter.setPen(palette().color(QPalette::Dark));
    painter.drawLine(band.bottomLeft(), band.bottomRight());
    if (!m_dataLink->Active())
        return;
    painter.setFont(font());
    for (int col = m_indicatorOffset; col < ColCount(); ++col) {
        const QRect cell = CellRect(col, 0);
        if (!cell.isEmpty() && RawToDataCol(col) < ColumnCount())
            paintFooterCell(painter, col, QRect(cell.left(), band.top() + 2, cell.width(), band.height() - 4));
    }
}

void TqkCustomDBGrid::paintFooterCell(QPainter &painter, int col, const QRect &cell)
{
    painter.fillRect(cell, m_footerCellColor);
    TField *field = GetColField(RawToDataCol(col));
    const QString text = Columns(RawToDataCol(col))->FooterValue();
    bool defaultDrawing = true;
    if (OnDrawFooterCell)
        OnDrawFooterCell(this, painter, cell, field, text, defaultDrawing);
    if (defaultDrawing) {
        painter.setPen(palette().color(QPalette::Text));
        painter.setFont(font());
        const Qt::Alignment alignment = field ? qkAlignmentOf(field->Alignment()) : Qt::AlignLeft;
        painter.setBrush(m_footerCellColor);
        WriteCellText(painter, cell, 3, ctEndEllipsis, alignment, text, 1);
    }
    gridpictures::drawFrame(painter, cell, palette().color(QPalette::Dark), palette().color(QPalette::Light));
    if (!(m_options & dgFooter3DCells))
        return;
    gridpictures::drawFrame(painter, cell.adjusted(1, 1, -1, -1), Qt::black, palette().color(QPalette::Button));
}
