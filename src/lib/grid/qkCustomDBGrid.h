#pragma once

#include "lib/edit/qkKeyAdapter.h"
#include "lib/grid/qkCustomGrid.h"
#include "lib/grid/qkGridDataLink.h"
#include "lib/grid/qkIButton.h"
#include "lib/grid/qkImageList.h"

#include <QBasicTimer>
#include <QColor>
#include <QFont>
#include <QPixmap>
#include <QPointer>
#include <QStringList>

#include <functional>
#include <memory>
#include <vector>

class TDataSet;
class TDataSource;
class TField;
class TqkDataSource;
class TqkInplaceEdit;
class QPainter;

enum TqkDBGridOption {
    dgEditing = 1 << 0,
    dgAlwaysShowEditor = 1 << 1,
    dgTitles = 1 << 2,
    dgIndicator = 1 << 3,
    dgColumnResize = 1 << 4,
    dgColLines = 1 << 5,
    dgRowLines = 1 << 6,
    dgTabs = 1 << 7,
    dgRowSelect = 1 << 8,
    dgAlwaysShowSelection = 1 << 9,
    dgConfirmDelete = 1 << 10,
    dgCancelOnExit = 1 << 11,
    dgWordWrap = 1 << 12,
    dgPerfectRowFit = 1 << 13,
    dgMultiSelect = 1 << 14,
    dgShowFooter = 1 << 15,
    dgFooter3DCells = 1 << 16,
    dgNoLimitColSize = 1 << 17,
    dgTrailingEllipsis = 1 << 18,
};
using TqkDBGridOptions = int;
enum TqkDBGridKeyOption { dgEnterToTab = 1, dgAllowDelete = 2, dgAllowInsert = 4 };
using TqkDBGridKeyOptions = int;
enum TIndicatorColorType { icBlack, icYellow };

using TqkGridNotifyEvent = std::function<void(QObject *sender)>;
using TqkGridColumnEvent = std::function<void(QObject *sender, int column)>;
using TqkGridMovedEvent = std::function<void(QObject *sender, int fromIndex, int toIndex)>;
using TqkGridFieldEvent = std::function<void(QObject *sender, TField *field)>;
using TqkGridKeyEvent = std::function<void(QObject *sender, int &key, qk::TShiftState shift)>;

class TqkGridFooter;

// What OnCalcTitleImage may set for a title: the image of the title image
// list, its place (0 left of the text, 1 right of it, 2 alone and centred)
// and its distance from the cell's edge.
struct TqkTitleImageAttributes
{
    int ImageIndex = -1;
    int ImagePlacement = 1;
    int Margin = 3;
};

// The data-aware grid: one row per buffered record of the data set, one
// column per mapped field. Rows are painted by switching the link's active
// record; the vertical scroll bar shows the position in the data set
// without reading it all.
class TqkCustomDBGrid : public TCustomGrid
{
    Q_OBJECT

public:
    static constexpr int DefaultIndicatorWidth = 11;

    explicit TqkCustomDBGrid(QWidget *parent = nullptr);
    ~TqkCustomDBGrid() override;

    TqkDataSource *DataSource() const;
    void SetDataSource(TqkDataSource *source);
    TqkGridDataLink *DataLink() const { return m_dataLink; }
    TDataSet *DataSet() const;

    const QStringList &Selected() const { return m_selected; }
    void SetSelected(const QStringList &lines);
    bool UseTFields() const { return m_useTFields; }
    void SetUseTFields(bool use);
    TqkDBGridOptions Options() const { return m_options; }
    void SetOptions(TqkDBGridOptions options);
    TqkDBGridKeyOptions KeyOptions() const { return m_keyOptions; }
    void SetKeyOptions(TqkDBGridKeyOptions options) { m_keyOptions = options; }
    int FixedCols() const { return m_dataFixedCols; }
    void SetFixedCols(int count);
    QFont TitleFont() const { return m_titleFont; }
    void SetTitleFont(const QFont &font);
    QColor TitleColor() const { return m_titleColor; }
    void SetTitleColor(const QColor &color);
    Qt::Alignment TitleAlignment() const { return m_titleAlignment; }
    void SetTitleAlignment(Qt::Alignment alignment);
    int TitleLines() const { return m_titleLines; }
    void SetTitleLines(int lines);
    int RowHeightPercent() const { return m_rowHeightPercent; }
    void SetRowHeightPercent(int percent);
    TIndicatorColorType IndicatorColor() const { return m_indicatorColor; }
    void SetIndicatorColor(TIndicatorColorType color);
    QColor FooterColor() const { return m_footerColor; }
    void SetFooterColor(const QColor &color);
    QColor FooterCellColor() const { return m_footerCellColor; }
    void SetFooterCellColor(const QColor &color);
    bool ShowHorzScrollBar() const { return m_showHorzScrollBar; }
    void SetShowHorzScrollBar(bool show);
    int DragVertOffset() const { return m_dragVertOffset; }
    void SetDragVertOffset(int offset) { m_dragVertOffset = offset; }
    TImageList *ImageList() const { return m_imageList; }
    void SetImageList(TImageList *list);
    TImageList *TitleImageList() const { return m_titleImageList; }
    void SetTitleImageList(TImageList *list);
    TqkIButton *IndicatorButton() const { return m_indicatorButton; }
    int IndicatorWidth() const { return m_indicatorWidth; }
    // The button of the top-left cell: the indicator column takes its width.
    void RegisterIndicatorButton(TqkIButton *button);
    void IndicatorButtonResized();
    int FooterHeight() const { return m_footerHeight; }
    void SetFooterHeight(int height);
    bool ShowVertScrollBar() const { return m_showVertScrollBar; }
    void SetShowVertScrollBar(bool show);
    bool ReadOnly() const { return m_readOnly; }
    void SetReadOnly(bool readOnly) { m_readOnly = readOnly; }
    bool EditCalculated() const { return m_editCalculated; }
    void SetEditCalculated(bool edit) { m_editCalculated = edit; }
    bool TitleButtons() const { return m_titleButtons; }
    void SetTitleButtons(bool buttons);
    bool DefaultDrawing() const { return m_defaultDrawing; }
    void SetDefaultDrawing(bool on) { m_defaultDrawing = on; }
    QStringList ControlType() const { return m_controlType; }
    void SetControlType(const QStringList &lines);
    bool ControlInfoInDataset() const { return m_controlInfoInDataset; }
    void SetControlInfoInDataset(bool inDataset);

    int GetFieldCount() const { return m_dataLink->FieldCount(); }
    TField *GetFields(int index) const { return m_dataLink->GetFields(index); }
    TField *GetColField(int dataCol) const;
    TField *SelectedField() const { return GetColField(SelectedIndex()); }
    int SelectedIndex() const { return RawToDataCol(Col()); }
    int RawToDataCol(int col) const { return col - m_indicatorOffset; }
    int RawToDataRow(int row) const { return row - m_titleOffset; }
    int TitleOffset() const { return m_titleOffset; }
    int IndicatorOffset() const { return m_indicatorOffset; }
    TqkColumn *GetColumn(const QString &fieldName);
    int ColumnCount() const { return int(m_columns.size()); }
    TqkColumn *Columns(int index) const { return m_columns.at(size_t(index)).get(); }
    bool ColumnReadOnlyByLine(const QString &fieldName) const;
    // The control-type lines in force: the data set's or the grid's own.
    QStringList GetControlInfo() const;
    virtual void GetControlType(const QString &fieldName, QString &type, QString &parameters) const;
    bool CanUseControlInfo(int col, int row) const;
    bool GetCheckBoxValues(int col, QString &checkedValue, QString &uncheckedValue) const;
    bool IsCheckBoxCell(int col) const;
    bool IsSelectedCheckBox(int col) const;

    void SelectColumn(int dataCol);
    void NextRow();
    void PriorRow();
    void TabToColumn(bool forward);
    void ResetEdit();
    bool ConfirmDelete();
    void UpdateScrollBar();
    void UpdateRowCount();

    // The link's notifications.
    virtual void LayoutChanged();
    virtual void LinkActive(bool active);
    virtual void DataChanged();
    virtual void Scroll(int distance);
    void EditingChanged();
    void RecordChanged(TField *field);
    virtual void UpdateData();
    void InvalidateFooter();

    // The in-place editor's protocol.
    bool CanEditModify();
    // Whether the current field may hold the typed character.
    bool CanEditAcceptKey(QChar key) const;
    void EditTextChanged(const QString &text);
    // Writes the typed text into the field now (Enter, leaving the grid).
    void PostPendingText();

    TqkGridColumnEvent OnColWidthChanged;
    TqkGridMovedEvent OnColumnMoved;
    TqkGridNotifyEvent OnColEnter;
    TqkGridNotifyEvent OnColExit;
    TqkGridNotifyEvent OnTopRowChanged;
    TqkGridNotifyEvent OnRowChanged;
    TqkGridNotifyEvent OnCellChanged;
    TqkGridFieldEvent OnFieldChanged;
    TqkGridNotifyEvent OnUpdateFooter;
    std::function<void(QObject *sender, const QString &fieldName)> OnTitleButtonClick;
    std::function<void(QObject *sender, TField *field, TGridDrawState state, bool highlight, QFont &font,
                       QColor &brush)>
        OnCalcCellColors;
    std::function<void(QObject *sender, QPainter &painter, const QRect &rect, TField *field, TGridDrawState state)>
        OnDrawDataCell;
    TqkGridColumnEvent OnLeftColChanged;
    std::function<void(QObject *sender, const QString &fieldName, QFont &font, QColor &brush, Qt::Alignment &alignment)>
        OnCalcTitleAttributes;
    std::function<void(QObject *sender, TField *field, TqkTitleImageAttributes &attributes)> OnCalcTitleImage;
    std::function<void(QObject *sender, QPainter &painter, TField *field, const QRect &rect, bool &defaultDrawing)>
        OnDrawTitleCell;
    std::function<void(QObject *sender, QPainter &painter, const QRect &rect, TField *field, const QString &text,
                       bool &defaultDrawing)>
        OnDrawFooterCell;
    TqkGridKeyEvent OnKeyDown;
    // After the grid has moved to the pressed cell; x and y in the cells' area.
    std::function<void(QObject *sender, Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y)> OnMouseDown;
    std::function<void(QObject *sender, bool passesPictureTest)> OnCheckValue;

    void PaintFooter(QPainter &painter, const QRect &band);
    // The text painted for the field in the painted row.
    virtual QString CellText(TField *field) const;

protected:
    void DrawCell(QPainter &painter, int col, int row, const QRect &rect, TGridDrawState state) override;
    virtual bool HighlightCell(int col, int row, TGridDrawState state);
    virtual bool IsRowSelected(int dataRow) const;
    virtual void DrawCheckBox(QPainter &painter, const QRect &rect, bool checked);
    virtual QString CheckBoxCellValue(int col, TField *field) const;
    // The cell shows something else than text the editor could take.
    virtual bool CellHasPaintedControl(int col) const;
    virtual void DefineFieldMap();
    virtual void SetColumnAttributes();
    virtual void ColumnMoved(int fromIndex, int toIndex);
    virtual void DoFieldChanged(TField *field);
    virtual void DataCellClicked(const QPoint &cell, Qt::KeyboardModifiers modifiers);
    virtual void KeyPressChar(QKeyEvent *event);
    virtual void EditCellByF2();
    // A key for a control over the current cell; true when it took it.
    virtual bool HandOverKey(int &key, const QKeyEvent &event);
    void ColWidthsChanged(int sizedCol) override;
    bool CanSizeColumns() const override { return m_options & dgColumnResize; }
    void changeEvent(QEvent *event) override;
    void PaintOver(QPainter &painter) override;
    void timerEvent(QTimerEvent *event) override;
    void showEvent(QShowEvent *event) override;
    bool viewportEvent(QEvent *event) override;
    bool event(QEvent *event) override;
    QWidget *CreateEditor() override;
    bool CanEditShow() const override;
    void LoadEditor(QWidget *editor) override;
    QRect EditorRect(const QRect &cell) const override;
    void SizeChanged() override;
    void TopLeftChanged() override;
    bool EditorHasMask() const;

    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    // The focus went to another control or window: an untouched new record
    // is dropped with dgCancelOnExit, else the typed text is written.
    virtual void LeaveGrid();

public:
    // The grid's own key handling; the key is 0 afterwards when consumed.
    void KeyDown(int &key, qk::TShiftState shift);

private:
    // Inside: the grid, its editor or a control over a cell has the focus;
    // away: a box or drop-down over the grid, or no window of the program.
    enum class FocusPlace { Outside, Inside, Away };
    void focusMoved(QWidget *now);
    bool opensOverGrid(const QWidget *window) const;
    void updateRowHeights();
    void updateActiveRow();
    void fillColumns();
    int measureTitle(const QString &title) const;
    void drawTitleCell(QPainter &painter, int col, const QRect &rect);
    void drawIndicatorCell(QPainter &painter, int row, const QRect &rect, const QColor &background);
    void drawDataCell(QPainter &painter, int col, int row, const QRect &rect, TGridDrawState state);
    void drawCheckBoxCell(QPainter &painter, int col, const QRect &rect, const QColor &background);
    // Cells whose control type paints them: check boxes, bitmaps, image-list pictures.
    bool drawCustomCell(QPainter &painter, int col, const QRect &rect, const QColor &background);
    bool drawPictureCell(QPainter &painter, TField *field, const QString &type, const QString &parameters,
                         const QRect &rect, const QColor &background);
    // The title image of OnCalcTitleImage; the rectangle left for the text, empty for none.
    QRect drawTitleImage(QPainter &painter, int col, const QRect &rect, bool pressed);
    void paintFooterCell(QPainter &painter, int col, const QRect &cell);
    void updateHorzScrollBarPolicy();
    QString titleOf(int dataCol) const;
    bool validateEditor();
    void scrollBarAction(int action);
    void scrollToThumb(int position);
    // Fires the row and footer events when the current record is another one than last time.
    void checkRecordChange();
    TDataSet *masterDataSet() const;
    bool masterRecordChanged();
    // OnCellChanged, unless a click holds it back to fire it once at its end.
    void doCellChanged();
    // Entering the current column: OnColEnter, then OnCellChanged.
    void colEnter();
    // With dgAlwaysShowEditor the editor stands on every cell that can take it.
    void keepEditorShown();
    void drawTitleButtonFrame(QPainter &painter, const QRect &rect, bool pressed);
    // A title released: a click of the title button, or a column dropped on another.
    void finishTitlePress(const QPoint &pos);
    void startColumnDrag(const QPoint &pos);
    void fireMouseDown(const QMouseEvent *event);
    void moveToCell(const QPoint &cell);
    void dragSelect(const QPoint &pos);
    void selectScrollTick();
    void moveBy(int distance);
    void writeText(TField *field, const QString &text);
    void placeFooter();
    void placeFooterBand();
    int footerBandHeight() const;
    bool colHasTabStop(int dataCol) const;

    TqkGridDataLink *m_dataLink;
    std::vector<std::unique_ptr<TqkColumn>> m_columns;
    TqkColumn m_spareColumn;
    TqkGridFooter *m_footer;
    QStringList m_selected;
    QStringList m_controlType;
    bool m_controlInfoInDataset = true;
    bool m_useTFields = true;
    TqkDBGridOptions m_options;
    TqkDBGridKeyOptions m_keyOptions = dgAllowDelete | dgAllowInsert;
    int m_dataFixedCols = 0;
    QFont m_titleFont;
    QColor m_titleColor;
    Qt::Alignment m_titleAlignment = Qt::AlignLeft;
    int m_titleLines = 1;
    int m_rowHeightPercent = 100;
    TIndicatorColorType m_indicatorColor = icBlack;
    QColor m_footerColor;
    QColor m_footerCellColor;
    bool m_showHorzScrollBar = true;
    int m_dragVertOffset = 15;
    QPointer<TImageList> m_imageList;
    QPointer<TImageList> m_titleImageList;
    QPointer<TqkIButton> m_indicatorButton;
    int m_indicatorWidth = DefaultIndicatorWidth;
    int m_footerHeight = 0;
    bool m_showVertScrollBar = true;
    bool m_readOnly = false;
    bool m_editCalculated = false;
    bool m_defaultDrawing = true;
    int m_titleOffset = 0;
    int m_indicatorOffset = 0;
    int m_titleTextOffset = 2;
    int m_layoutDepth = 0;
    bool m_inRowCount = false;
    bool m_movingByKey = false;
    bool m_inColExit = false;
    QString m_pendingText;
    QString m_previousText;
    TBookmark m_lastRecord;
    TBookmark m_masterRecord;
    bool m_footerChangeMarked = false;
    bool m_titleButtons = false;
    int m_pressedTitleCol = -1;
    QPoint m_titlePressPoint;
    bool m_draggingColumn = false;
    QPixmap m_dragImage;
    int m_dragGrabOffset = 0;
    QPoint m_dragPos;
    bool m_dragMovingRight = false;
    QBasicTimer m_dragTimer;
    bool m_selectingByMouse = false;
    // -1 above the rows, 1 below them, 0 over them.
    int m_selectScrolling = 0;
    QBasicTimer m_selectTimer;
    bool m_holdCellChanged = false;
    bool m_cellChangedHeld = false;
    bool m_titleFontSet = false;
    int m_enteredCol = -1;
    bool m_colEnterPending = false;
    int m_lastLeftCol = 0;
    FocusPlace m_focusPlace = FocusPlace::Outside;
    QMetaObject::Connection m_focusWatch;
};
