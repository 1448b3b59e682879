#pragma once

#include "lib/edit/qkGridHost.h"
#include "lib/grid/qkCustomDBGrid.h"

#include <QPointer>
#include <QSet>
#include <QTimer>
#include <QVector>

class TqkMemoDialog;
class TqkDBDateTimePicker;
class TqkDBRichEdit;

enum TqkMemoAttribute { mSizeable = 1, mWordWrap = 2, mGridShow = 4, mViewOnly = 8, mDisableDialog = 16 };
using TqkMemoAttributes = int;
enum TqkEditControlOption {
    ecoCheckboxSingleClick = 1,
    ecoSearchOwnerForm = 2,
    ecoDisableCustomControls = 4,
    ecoDisableDateTimePicker = 8
};
using TqkEditControlOptions = int;
enum TqkMultiSelectOption { msoAutoUnselect = 1, msoShiftSelect = 2 };
using TqkMultiSelectOptions = int;

using TqkSelectRecordEvent = std::function<void(QObject *grid, bool selecting, bool &accept)>;
using TqkCreateDTPEvent = std::function<void(QObject *sender, TqkDBDateTimePicker *picker)>;
using TqkMemoOpenEvent = std::function<void(QObject *grid, TqkMemoDialog *dialog)>;
using TqkMemoCloseEvent = std::function<void(QObject *grid, bool cancel)>;

// The published grid: multi-selection of records, check boxes bound to a
// field or to the selection, memo cells and their dialog; the edit controls
// find it as the grid they sit in.
class TqkDBGrid : public TqkCustomDBGrid, public TqkGridHost
{
    Q_OBJECT

public:
    explicit TqkDBGrid(QWidget *parent = nullptr);

    TqkMemoAttributes MemoAttributes() const { return m_memoAttributes; }
    void SetMemoAttributes(TqkMemoAttributes attributes);
    TqkEditControlOptions EditControlOptions() const { return m_editControlOptions; }
    void SetEditControlOptions(TqkEditControlOptions options);
    TqkMultiSelectOptions MultiSelectOptions() const { return m_multiSelectOptions; }
    void SetMultiSelectOptions(TqkMultiSelectOptions options) { m_multiSelectOptions = options; }

    void SelectRecord();
    void UnselectRecord();
    void UnselectAll();
    bool IsSelected();
    bool IsSelectedRow(int dataRow) const { return IsRowSelected(dataRow); }
    // Selects every record from one bookmark to the other, both included.
    void SelectRange(const TBookmark &from, const TBookmark &to);
    const QVector<TBookmark> &SelectedBookmarks() const { return m_selectedOrder; }
    int SelectedCount() const { return int(m_selectedOrder.size()); }
    void ToggleCheckBox(int col, int row);
    void ShowMemoDialog();
    bool IsMemoCell(int col) const;

    // The edit control named in a cell's control-type line, shown over the
    // cell instead of the in-place editor; null when none.
    QWidget *GetCustomControl(int col) const;
    // The rich edit named by the "RichEdit" line of a cell's field; null when none.
    QWidget *GetRichEditControl(int col) const;
    QWidget *CurrentEmbeddedControl() const { return m_embedded; }
    // An edit control of the owner form, or with "module.name" of the data
    // set's owner; null when there is none of that name.
    QWidget *FindEditControl(const QString &name) const;
    // Binds every control named in the control-type lines to the grid.
    void WireEditControls();

    QString CellText(TField *field) const override;

    TqkSelectRecordEvent OnMultiSelectRecord;
    TqkCreateDTPEvent OnCreateDateTimePicker;
    TqkMemoOpenEvent OnMemoOpen;
    TqkMemoCloseEvent OnMemoClose;

    // The grid as the edit controls see it.
    bool AlwaysShowEditor() const override { return Options() & dgAlwaysShowEditor; }
    bool TabsMoveColumns() const override { return Options() & dgTabs; }
    bool GridHasFocus() const override { return hasFocus(); }
    bool TakeFocus() override;
    void GridKeyDown(int &key, qk::TShiftState shift) override { KeyDown(key, shift); }
    void FireOnKeyDown(int &key, qk::TShiftState shift) override;
    QColor GridFontColor() const override { return palette().color(QPalette::Text); }

protected:
    bool IsRowSelected(int dataRow) const override;
    QString CheckBoxCellValue(int col, TField *field) const override;
    bool CellHasPaintedControl(int col) const override;
    void DataCellClicked(const QPoint &cell, Qt::KeyboardModifiers modifiers) override;
    void KeyPressChar(QKeyEvent *event) override;
    void EditCellByF2() override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void CellMoved() override;
    void TopLeftChanged() override;
    void SizeChanged() override;
    void Scroll(int distance) override;
    void DataChanged() override;
    void LinkActive(bool active) override;
    bool HandOverKey(int &key, const QKeyEvent &event) override;
    void UpdateData() override;
    void SetColumnAttributes() override;
    void GetControlType(const QString &fieldName, QString &type, QString &parameters) const override;
    void LeaveGrid() override;

private:
    // The library's data sets only; the lists of missing fields are cleaned
    // and the stored layout applied.
    void linkCheck();
    // The control a control-type line of the cell's field names; null when none.
    QWidget *namedControl(int col, bool richEdit) const;
    // The custom control of the cell, else the grid's picker for a date or time field.
    QWidget *embeddedFor(int col);
    void bindControl(QWidget *control, const QString &fieldName);
    QString richCellText(TField *field) const;
    bool comboCellText(TField *field, QString &text) const;
    TqkDBRichEdit *cellRichEdit() const;
    bool handOverToRichEdit(int col);
    bool acceptSelection(bool selecting);
    void addSelection(const TBookmark &bookmark);
    void removeSelection(const TBookmark &bookmark);
    void multiSelectClick(Qt::KeyboardModifiers modifiers);
    bool gridEditable() const;
    bool isDateTimeCell(int col) const;
    TqkDBDateTimePicker *dateTimePicker();
    // Places the control over the current cell from the event loop, never while painting.
    void scheduleEmbedded();
    void placeEmbedded();
    void hideEmbedded();

    TqkMemoAttributes m_memoAttributes = mSizeable | mWordWrap;
    TqkEditControlOptions m_editControlOptions = ecoSearchOwnerForm;
    TqkMultiSelectOptions m_multiSelectOptions = 0;
    // Looked up by row id on every painted row; the list keeps the order of selection.
    QSet<qint64> m_selectedIds;
    QVector<TBookmark> m_selectedOrder;
    TBookmark m_anchor;
    // Once a click took part in Shift selection, each selected record becomes the anchor.
    bool m_anchorSet = false;
    TqkDBDateTimePicker *m_dateTimePicker = nullptr;
    mutable TqkDBRichEdit *m_cellRichEdit = nullptr;
    QPointer<QWidget> m_embedded;
    bool m_inLinkCheck = false;
    bool m_inEmbeddedUpdate = false;
    QTimer m_embeddedTimer;
};
