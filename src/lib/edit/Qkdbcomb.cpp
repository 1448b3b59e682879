#include "lib/edit/Qkdbcomb.h"

#include "lib/edit/qkGridHost.h"
#include "lib/edit/qkPopup.h"
#include "platform/db/TDataLink.h"
#include "platform/db/TField.h"
#include "platform/ui/UiServices.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QScreen>
#include <QStyledItemDelegate>

#include <algorithm>

using namespace qk;

namespace {

bool isTypingKey(int key)
{
    return key == VK_SPACE || (key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z')
           || (key >= VK_NUMPAD0 && key <= VK_NUMPAD9) || key > 145;
}

QChar typedCharacter(int key)
{
    if (key >= VK_NUMPAD0 && key <= VK_NUMPAD9)
        return QChar('0' + (key - VK_NUMPAD0));
    return key < 128 ? QChar(key) : QChar();
}

bool startsWithUpper(const QString &text, const QString &start)
{
    return text.toUpper().startsWith(start.toUpper());
}

}

int qkListRowHeight(const QFont &font)
{
    // The style's own row height is cut to the font's nominal height, which
    // clips the dots of capital umlauts; the glyphs' real extent decides.
    const QFontMetrics metrics(font);
    const QRect glyphs = metrics.tightBoundingRect(QStringLiteral("ÄÖÜÂÉÅgjpqy"));
    return qMax(metrics.ascent(), -glyphs.top()) + qMax(metrics.descent(), glyphs.bottom() + 1) + 4;
}

QString qkItemDisplayPart(const QString &item)
{
    return item.section(QLatin1Char('\t'), 0, 0);
}

QString qkItemValuePart(const QString &item)
{
    const int tab = int(item.indexOf(QLatin1Char('\t')));
    return tab < 0 ? QString() : item.mid(tab + 1);
}

// ---------------------------------------------------------------- base

TqkDBCustomCombo::TqkDBCustomCombo(QWidget *parent) : TqkDBCustomEdit(parent), m_button(new TqkComboButton(this))
{
    m_button->SetButtonStyle(cbsEllipsis);
    connect(m_button, &QAbstractButton::clicked, this, [this] { qkRunShowingErrors([this] { ButtonClick(); }); });
}

void TqkDBCustomCombo::ButtonClick()
{
    if (IsDroppedDown()) {
        CloseUp(true);
        return;
    }
    if (focusPolicy() != Qt::NoFocus)
        setFocus(Qt::MouseFocusReason);
    if (hasFocus())
        DropDown();
}

void TqkDBCustomCombo::DropDown()
{
    if (!OnDialog)
        return;
    m_inDropDown = true;
    update();
    OnDialog(this);
    update();
    m_inDropDown = false;
}

void TqkDBCustomCombo::CloseUp(bool accept)
{
    if (accept)
        SetModified(true);
}

bool TqkDBCustomCombo::WantsKey(int key, TShiftState shift)
{
    if (IsDroppedDown() && (key == VK_RETURN || key == VK_ESCAPE))
        return true;
    return TqkDBCustomEdit::WantsKey(key, shift);
}

void TqkDBCustomCombo::HandleComboKey(int &key, TShiftState shift)
{
    const bool alt = shift & Qt::AltModifier;
    if ((key == VK_UP || key == VK_DOWN) && alt) {
        if (IsDroppedDown())
            CloseUp(true);
        else
            DropDown();
        key = 0;
    } else if ((key == VK_RETURN || key == VK_ESCAPE) && IsDroppedDown() && !alt) {
        CloseUp(key == VK_RETURN);
        key = 0;
    }
}

void TqkDBCustomCombo::KeyDown(int &key, TShiftState shift)
{
    HandleComboKey(key, shift);
    if (key != 0)
        TqkDBCustomEdit::KeyDown(key, shift);
}

// ---------------------------------------------------------------- pop-up list

namespace {

// Rows of an owner-drawn list: unselected rows are filled with the list's
// colours, then the combo's OnDrawItem draws each row.
class OwnerDrawDelegate : public QStyledItemDelegate
{
public:
    explicit OwnerDrawDelegate(TqkDBComboBox *combo) : QStyledItemDelegate(combo), m_combo(combo) {}

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        if (!m_combo->OnDrawItem) {
            QStyledItemDelegate::paint(painter, option, index);
            return;
        }
        const bool selected = option.state & QStyle::State_Selected;
        painter->fillRect(option.rect, option.palette.color(selected ? QPalette::Highlight : QPalette::Base));
        painter->setPen(option.palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
        m_combo->OnDrawItem(m_combo, index.row(), *painter, option.rect, selected);
    }

private:
    TqkDBComboBox *m_combo;
};

}

TqkPopupListbox::TqkPopupListbox(TqkDBComboBox *combo) : QListWidget(combo), m_combo(combo)
{
    qkMakeDropDownWindow(this);
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setLineWidth(1);
    setSelectionMode(QAbstractItemView::SingleSelection);
    hide();
}

void TqkPopupListbox::mouseReleaseEvent(QMouseEvent *event)
{
    QListWidget::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && viewport()->rect().contains(event->position().toPoint()))
        m_combo->CloseUp(true);
}

void TqkPopupListbox::SearchKey(QChar key)
{
    if (key == QChar(8) || key == QChar(27)) {
        m_searchText.clear();
        return;
    }
    if (key.unicode() < 32)
        return;
    if (m_combo->IsOwnerDraw()) {
        const QDateTime now = ui::services().now();
        if (!m_lastKey.isValid() || m_lastKey.msecsTo(now) > 1500)
            m_searchText.clear();
        m_lastKey = now;
    } else {
        m_searchText = m_combo->text();
    }
    if (m_searchText.size() < 32)
        m_searchText += key;
    const QString wanted = m_searchText.left(255);
    for (int row = 0; row < count(); ++row) {
        if (startsWithUpper(item(row)->text(), wanted)) {
            setCurrentRow(row);
            return;
        }
    }
    if (!m_combo->ShowMatchText)
        setCurrentRow(-1);
}

// ---------------------------------------------------------------- combo box

TqkDBComboBox::TqkDBComboBox(QWidget *parent) : TqkDBCustomCombo(parent)
{
    SetButtonStyle(cbsDownArrow);
    // A typed text stands for the first item showing it, not for the item
    // picked before; an open list follows the typing itself.
    connect(this, &QLineEdit::textEdited, this, [this] {
        if (!m_droppedDown)
            selectRow(-1);
    });
    m_closer = new TqkOutsideClickCloser(
        this, [this]() -> QWidget * { return m_list; }, [] { return true; }, [this] { CloseUp(true); });
}

TDataSource *TqkDBComboBox::DataSourceObject() const
{
    return DataLink()->DataSource();
}

void TqkDBComboBox::SetItems(const QStringList &items)
{
    m_items = items;
}

QString TqkDBComboBox::ItemText(int index) const
{
    return index >= 0 && index < m_items.size() ? qkItemDisplayPart(m_items.at(index)) : QString();
}

int TqkDBComboBox::firstItemShowing(const QString &display) const
{
    for (int i = 0; i < m_items.size(); ++i) {
        if (qkItemDisplayPart(m_items.at(i)) == display)
            return i;
    }
    return -1;
}

int TqkDBComboBox::indexOfDisplay(const QString &display) const
{
    return display.isEmpty() ? -1 : firstItemShowing(display);
}

int TqkDBComboBox::indexOfValue(const QString &value) const
{
    for (int i = 0; i < m_items.size(); ++i) {
        if (m_items.at(i).contains(QLatin1Char('\t')) && qkItemValuePart(m_items.at(i)) == value)
            return i;
    }
    return -1;
}

// Two items may show the same text and store different values (two
// customers of one name): while the text is still the one of the item
// `picked`, that item is meant; a typed text means the first showing it.
int TqkDBComboBox::indexOfText(int picked) const
{
    if (picked >= 0 && picked < m_items.size() && ItemText(picked) == text())
        return picked;
    return firstItemShowing(text());
}

bool TqkDBComboBox::textMatchesNoItem() const
{
    return m_mapList && !text().isEmpty() && indexOfText(ItemIndex()) < 0;
}

void TqkDBComboBox::SetStyle(TComboBoxStyle style)
{
    // Only the style simple has no button; a button hidden by ShowButton
    // stays hidden across the other styles.
    if ((style == csSimple) != (m_style == csSimple))
        SetShowButton(style != csSimple);
    m_style = style;
    update();
}

int TqkDBComboBox::ItemIndex() const
{
    return m_list ? m_list->currentRow() : m_itemIndex;
}

void TqkDBComboBox::selectRow(int index)
{
    m_itemIndex = index >= 0 && index < m_items.size() ? index : -1;
    if (m_list)
        m_list->setCurrentRow(m_itemIndex);
}

void TqkDBComboBox::SetItemIndex(int index)
{
    selectRow(index);
    if (m_itemIndex >= 0)
        setText(ItemText(m_itemIndex));
}

void TqkDBComboBox::PaintText(QPainter &painter, const QRect &rect, int left, int top, const QString &shown)
{
    if (!IsOwnerDraw() || !OnDrawItem) {
        TqkDBCustomEdit::PaintText(painter, rect, left, top, shown);
        return;
    }
    // The handler meets the painter as a row of the list hands it over:
    // the area filled, the text colour set, and no brush of its own that
    // the handler's frames would fill with.
    painter.save();
    painter.fillRect(rect, painter.brush());
    painter.setBrush(Qt::NoBrush);
    OnDrawItem(this, m_itemIndex, painter, rect, true);
    painter.restore();
}

bool TqkDBComboBox::ShowsCaret() const
{
    if (IsOwnerDraw())
        return false;
    if (m_style == csDropDownList)
        return m_droppedDown || ShowMatchText;
    return true;
}

void TqkDBComboBox::GetValueText(QString &value) const
{
    value = text();
    if (!m_mapList || (m_style == csDropDown && value.isEmpty()))
        return;
    const int index = indexOfText(ItemIndex());
    value = index < 0 ? QString() : qkItemValuePart(m_items.at(index));
}

bool TqkDBComboBox::MapValueToDisplay(const QString &value, QString &displayText) const
{
    if (!m_mapList)
        return false;
    displayText = ItemText(indexOfValue(value));
    return true;
}

void TqkDBComboBox::DataChange()
{
    TField *field = Field();
    if (!field || !m_mapList) {
        TqkDBCustomEdit::DataChange();
        if (m_style == csDropDown)
            showFieldItem(indexOfDisplay(text()));
        else if (field && IsOwnerDraw())
            showFieldItem(indexOfDisplay(field->Text()));
        return;
    }
    const int index = indexOfValue(field->Text());
    showText(ItemText(index));
    showFieldItem(index);
}

// The open list keeps the row the user is moving through.
void TqkDBComboBox::showFieldItem(int index)
{
    if (m_droppedDown)
        m_itemIndex = index;
    else
        selectRow(index);
}

void TqkDBComboBox::UpdateData()
{
    if (!refuseTextOfNoItem())
        TqkDBCustomEdit::UpdateData();
}

// A list-bound combo stores only what its list holds: a text that is no
// item's is refused as a list-only combo refuses a key of no item, with a
// beep, and the value kept is shown again.
bool TqkDBComboBox::refuseTextOfNoItem()
{
    if (isReadOnly() || !isModified() || !textMatchesNoItem())
        return false;
    ui::services().beep();
    Reset();
    return true;
}

void TqkDBComboBox::fillList()
{
    if (!m_list)
        m_list = new TqkPopupListbox(this);
    // A sorted combo sorts its items themselves, so that list rows and item
    // indexes stay the same.
    if (Sorted) {
        const QString current = m_items.value(m_itemIndex);
        std::stable_sort(m_items.begin(), m_items.end(), [](const QString &a, const QString &b) {
            return qkItemDisplayPart(a).compare(qkItemDisplayPart(b), Qt::CaseInsensitive) < 0;
        });
        if (m_itemIndex >= 0)
            m_itemIndex = int(m_items.indexOf(current));
    }
    m_list->clear();
    for (const QString &item : m_items)
        m_list->addItem(qkItemDisplayPart(item));
    if (IsOwnerDraw() && !dynamic_cast<OwnerDrawDelegate *>(m_list->itemDelegate()))
        m_list->setItemDelegate(new OwnerDrawDelegate(this));
    m_list->setFont(font());
    m_list->setPalette(palette());
    const int rowHeight = ItemHeight > 0 ? ItemHeight : qkListRowHeight(font());
    const bool measured = m_style == csOwnerDrawVariable && OnMeasureItem;
    for (int row = 0; row < m_list->count(); ++row) {
        int height = rowHeight;
        if (measured)
            OnMeasureItem(this, row, height);
        m_list->item(row)->setSizeHint(QSize(0, qMax(1, height)));
    }
}

void TqkDBComboBox::DropDown()
{
    if (m_droppedDown || m_style == csSimple)
        return;
    update();
    fillList();
    if (OnDropDown) {
        OnDropDown(this);
        fillList();
    }
    int rowsHeight = 0;
    for (int row = 0; row < qMin(int(m_list->count()), DropDownCount); ++row)
        rowsHeight += m_list->sizeHintForRow(row);
    const QSize size(DropDownWidth > 0 ? DropDownWidth : width(), rowsHeight + 4);
    // The row of the current item, which of two rows of its text is the one it holds.
    m_list->setCurrentRow(IsOwnerDraw() && Field() ? indexOfDisplay(Field()->Text())
                          : text().isEmpty()       ? -1
                                                   : indexOfText(m_itemIndex));
    m_list->setGeometry(QRect(listPosition(size), size));
    m_list->show();
    m_list->raise();
    m_droppedDown = true;
    m_clearedSinceDropDown = false;
    m_closer->setWatching(true);
    setFocus(Qt::OtherFocusReason);
    if (ShowsCaret())
        selectAll();
    update();
}

// Below the control, overlapping its last pixel row; above it when the list
// would pass the screen's bottom.
QPoint TqkDBComboBox::listPosition(const QSize &size) const
{
    const QPoint origin = mapToGlobal(QPoint(0, 0));
    QPoint position = qkDropDownPosition(this, size, origin.x());
    const int screenHeight = screen()->geometry().bottom() + 1;
    const int below = origin.y() + height() - 1;
    position.setY(screenHeight < below + size.height() ? origin.y() - size.height() : below);
    return position;
}

void TqkDBComboBox::CloseUp(bool accept)
{
    if (!m_droppedDown)
        return;
    const int chosen = accept ? m_list->currentRow() : -1;
    QString taken;
    if (chosen >= 0)
        taken = m_list->item(chosen)->text();
    else if (m_style == csDropDown)
        taken = text();
    m_list->hide();
    m_droppedDown = false;
    m_closer->setWatching(false);
    // A row of the same text as another item's is still another item when
    // the items map to values.
    const bool otherItem = m_mapList && chosen >= 0 && chosen != indexOfText(m_itemIndex);
    const bool mayPutEmpty = m_style == csDropDownList || m_mapList;
    if (accept && (taken != text() || otherItem) && (!taken.isEmpty() || mayPutEmpty) && EditCanModify()) {
        setReadOnly(false);
        setText(taken);
        m_itemIndex = chosen;
        SetModified(true);
    }
    selectRow(indexOfText(m_itemIndex));
    update();
    if (ShowsCaret())
        selectAll();
    if (OnCloseUp)
        OnCloseUp(this, accept);
}

bool TqkDBComboBox::beginItemChange()
{
    if (!DataLink()->DataSource()) {
        if (ReadOnly())
            return false;
        setReadOnly(false);
        return true;
    }
    return DataLink()->Edit();
}

bool TqkDBComboBox::selectNextStartingWith(QChar character)
{
    const int count = int(m_items.size());
    for (int step = 1; step <= count; ++step) {
        const int index = (ItemIndex() + step + count) % count;
        if (startsWithUpper(ItemText(index), QString(character))) {
            if (!beginItemChange())
                return false;
            SetItemIndex(index);
            SetModified(true);
            return true;
        }
    }
    return false;
}

void TqkDBComboBox::forwardToList(int key, TShiftState shift)
{
    const int qtKey = key == VK_UP      ? Qt::Key_Up
                      : key == VK_DOWN  ? Qt::Key_Down
                      : key == VK_PRIOR ? Qt::Key_PageUp
                                        : Qt::Key_PageDown;
    QKeyEvent event(QEvent::KeyPress, qtKey, shift);
    QCoreApplication::sendEvent(m_list, &event);
}

void TqkDBComboBox::KeyDown(int &key, TShiftState shift)
{
    const bool alt = shift & Qt::AltModifier;
    const bool typing = isTypingKey(key) && !alt;
    if (AutoDropDown && !m_droppedDown && typing)
        DropDown();
    if (!m_droppedDown && !Grid() && !alt && (key == VK_UP || key == VK_DOWN)) {
        // At either end of the list the key changes nothing, and so leaves
        // the record as it is.
        const int index = ItemIndex() + (key == VK_DOWN ? 1 : -1);
        if (index >= 0 && index < m_items.size() && beginItemChange()) {
            SetItemIndex(index);
            SetModified(true);
            selectAll();
        }
        key = 0;
        return;
    }
    if (!m_droppedDown && !ShowMatchText && m_style == csDropDownList && typing)
        selectNextStartingWith(m_keyChar.unicode() >= 32 ? m_keyChar : typedCharacter(key));
    if (m_droppedDown && (m_style != csDropDown || AutoDropDown) && typing && !m_clearedSinceDropDown) {
        BeginFieldEdit();
        setReadOnly(false);
        setText(QString());
        m_clearedSinceDropDown = true;
    }
    // A key with Shift held goes to the edit alone: the list never sees it.
    const bool shifted = shift & Qt::ShiftModifier;
    const bool caretKey = key == VK_END || key == VK_HOME || key == VK_LEFT || key == VK_RIGHT;
    if (shifted || !(m_droppedDown && caretKey))
        HandleComboKey(key, shift);
    if (!shifted && m_droppedDown && (key == VK_UP || key == VK_DOWN || key == VK_PRIOR || key == VK_NEXT)) {
        forwardToList(key, shift);
        key = 0;
    }
    if (key != 0)
        TqkDBCustomEdit::KeyDown(key, shift);
}

void TqkDBComboBox::KeyUp(int &key, TShiftState shift)
{
    const bool clearing = key == VK_DELETE || key == VK_BACK;
    if (AllowClearKey && clearing) {
        if (!m_droppedDown && m_style == csDropDownList && !ShowMatchText) {
            BeginFieldEdit();
            setText(QString());
            SetItemIndex(-1);
            SetModified(true);
        } else if (m_droppedDown && text().isEmpty()) {
            SetItemIndex(-1);
        }
    }
    TqkDBCustomEdit::KeyUp(key, shift);
}

bool TqkDBComboBox::completeMatch(QChar &key)
{
    const int start = hasSelectedText() ? selectionStart() : cursorPosition();
    const QString typed = QString(text()).replace(start, int(selectedText().size()), key);
    if (start + 1 != typed.size())
        return false;
    const int count = int(m_items.size());
    for (int step = 0; step < count; ++step) {
        const int index = (qMax(ItemIndex(), 0) + step) % count;
        const QString item = ItemText(index);
        if (!startsWithUpper(item, typed))
            continue;
        key = QChar();
        if (!beginItemChange())
            return true;
        setReadOnly(false);
        SetItemIndex(index);
        setSelection(int(typed.size()), int(item.size() - typed.size()));
        SetModified(true);
        return true;
    }
    return false;
}

void TqkDBComboBox::KeyPress(QChar &key)
{
    if (m_droppedDown)
        m_list->SearchKey(key);
    const ushort code = key.unicode();
    if (ShowMatchText && code >= 32 && code <= 254) {
        if (completeMatch(key))
            return;
        if (m_style == csDropDownList || m_droppedDown) {
            key = QChar();
            return;
        }
    }
    if (code == 9 && Grid())
        return;
    const bool autoFill = AutoFillDate();
    SetAutoFillDate(autoFill && !m_mapList);
    TqkDBCustomEdit::KeyPress(key);
    SetAutoFillDate(autoFill);
    if (key == QChar(13))
        key = QChar();
}

bool TqkDBComboBox::ExitCheck()
{
    if (m_droppedDown)
        CloseUp(true);
    refuseTextOfNoItem();
    return TqkDBCustomEdit::ExitCheck();
}

void TqkDBComboBox::mousePressEvent(QMouseEvent *event)
{
    const bool listOnly = m_style == csDropDownList || IsOwnerDraw();
    if (listOnly && event->button() == Qt::LeftButton) {
        if (!Grid())
            setFocus(Qt::MouseFocusReason);
        if (m_droppedDown)
            CloseUp(true);
        else
            DropDown();
    }
    TqkDBCustomEdit::mousePressEvent(event);
}
