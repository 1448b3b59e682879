#pragma once

#include "lib/edit/Qkdotdot.h"
#include "lib/edit/qkdbedit.h"

#include <QDateTime>
#include <QListWidget>

class TqkOutsideClickCloser;

using TqkComboCloseUpEvent = std::function<void(QObject *sender, bool select)>;
// Control, item index (-1: none), the painter and rectangle to draw into, and
// whether the item is drawn selected or focused.
using TDrawItemEvent =
    std::function<void(QObject *control, int index, QPainter &painter, const QRect &rect, bool selected)>;
// Control, item index and the row's height to set (it comes in as the list's row height).
using TMeasureItemEvent = std::function<void(QObject *control, int index, int &height)>;

// Base of the library's drop-down edits: an edit with a button at its
// right edge that opens something (a list, a dialog).
class TqkDBCustomCombo : public TqkDBCustomEdit
{
    Q_OBJECT

public:
    explicit TqkDBCustomCombo(QWidget *parent = nullptr);

    TqkComboButtonStyle ButtonStyle() const { return m_button->ButtonStyle(); }
    void SetButtonStyle(TqkComboButtonStyle style) { m_button->SetButtonStyle(style); }
    bool GetShowButton() const override { return m_button->IsShown(); }
    void SetShowButton(bool show) override { m_button->SetShown(show); }
    int GetButtonWidth() const override { return m_button->IsShown() ? m_button->width() : 0; }
    int GetTextRightEdge() const override { return m_button->x() - 1; }
    TqkComboButton *Button() const { return m_button; }

    virtual void DropDown();
    virtual void CloseUp(bool accept);
    virtual bool IsDroppedDown() const { return false; }

    // The base's drop-down runs this instead of a list.
    std::function<void(QObject *sender)> OnDialog;

protected:
    void KeyDown(int &key, qk::TShiftState shift) override;
    bool WantsKey(int key, qk::TShiftState shift) override;
    void ButtonClick();
    // Alt+Up/Down and, while dropped down, Enter and Escape.
    void HandleComboKey(int &key, qk::TShiftState shift);

    bool m_inDropDown = false;

private:
    TqkComboButton *m_button;
};

enum TComboBoxStyle { csDropDown, csSimple, csDropDownList, csOwnerDrawFixed, csOwnerDrawVariable };

class TqkDBComboBox;

// The combo box's list: a top-level tool window that never takes the focus;
// the combo forwards its keys to it.
class TqkPopupListbox : public QListWidget
{
    Q_OBJECT

public:
    explicit TqkPopupListbox(TqkDBComboBox *combo);
    // The list's own key press: incremental search over its rows.
    void SearchKey(QChar key);

protected:
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    TqkDBComboBox *m_combo;
    QString m_searchText;
    QDateTime m_lastKey;
};

class TqkDBComboBox : public TqkDBCustomCombo
{
    Q_OBJECT
    Q_PROPERTY(TDataSource *DataSource READ DataSourceObject WRITE SetDataSource)
    Q_PROPERTY(QString DataField READ DataField WRITE SetDataField)
    Q_PROPERTY(QStringList Items READ Items WRITE SetItems)
    Q_PROPERTY(bool MapList READ MapList WRITE SetMapList)

public:
    explicit TqkDBComboBox(QWidget *parent = nullptr);

    TDataSource *DataSourceObject() const;
    const QStringList &Items() const { return m_items; }
    // The lines are copied; with MapList each is display text, TAB, stored value.
    void SetItems(const QStringList &items);
    bool MapList() const { return m_mapList; }
    void SetMapList(bool on) { m_mapList = on; }
    TComboBoxStyle Style() const { return m_style; }
    void SetStyle(TComboBoxStyle style);
    int ItemIndex() const;
    void SetItemIndex(int index);
    // The display part of item `index`; empty for an index outside the list.
    QString ItemText(int index) const;

    int DropDownCount = 8;
    int DropDownWidth = 0;
    int ItemHeight = 0;
    bool Sorted = false;
    bool AllowClearKey = false;
    bool AutoDropDown = false;
    bool ShowMatchText = false;
    TNotifyEvent OnDropDown;
    TqkComboCloseUpEvent OnCloseUp;
    TDrawItemEvent OnDrawItem;
    // Asked for each row's height with the style owner-draw variable.
    TMeasureItemEvent OnMeasureItem;
    bool IsOwnerDraw() const { return m_style == csOwnerDrawFixed || m_style == csOwnerDrawVariable; }

    void DropDown() override;
    void CloseUp(bool accept) override;
    bool IsDroppedDown() const override { return m_droppedDown; }
    TqkPopupListbox *PopupList() const { return m_list; }

    bool ShowsCaret() const override;
    void GetValueText(QString &text) const override;
    bool MapValueToDisplay(const QString &value, QString &displayText) const override;
    void PaintText(QPainter &painter, const QRect &rect, int left, int top, const QString &text) override;

protected:
    void DataChange() override;
    // Refuses a text that is no item's of a list-bound combo.
    void UpdateData() override;
    void KeyDown(int &key, qk::TShiftState shift) override;
    void KeyUp(int &key, qk::TShiftState shift) override;
    void KeyPress(QChar &key) override;
    bool ExitCheck() override;
    void mousePressEvent(QMouseEvent *event) override;

private:
    void fillList();
    QPoint listPosition(const QSize &size) const;
    // Selects the row without touching the text.
    void selectRow(int index);
    int firstItemShowing(const QString &display) const;
    // As firstItemShowing; an empty text shows no item.
    int indexOfDisplay(const QString &display) const;
    int indexOfValue(const QString &value) const;
    int indexOfText(int picked) const;
    bool textMatchesNoItem() const;
    // True when it refused the text.
    bool refuseTextOfNoItem();
    void showFieldItem(int index);
    bool beginItemChange();
    bool selectNextStartingWith(QChar character);
    bool completeMatch(QChar &key);
    void forwardToList(int key, qk::TShiftState shift);

    QStringList m_items;
    bool m_mapList = false;
    TComboBoxStyle m_style = csDropDown;
    int m_itemIndex = -1;
    bool m_droppedDown = false;
    bool m_clearedSinceDropDown = false;
    TqkPopupListbox *m_list = nullptr;
    TqkOutsideClickCloser *m_closer;
};

// The height of a list row that shows every glyph of the font whole,
// capital umlauts with their dots and descenders included.
int qkListRowHeight(const QFont &font);

// The part of a combo item before its first TAB.
QString qkItemDisplayPart(const QString &item);
QString qkItemValuePart(const QString &item);
