#include "lib/grid/qkMemoDialog.h"

#include "lib/data/Qkintl.h"
#include "lib/data/qkDialog.h"
#include "lib/grid/qkDBGrid.h"
#include "platform/db/TDataLink.h"
#include "platform/db/TDataSet.h"
#include "platform/db/TDataSource.h"
#include "platform/ui/UiServices.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

TqkMemoDialog::TqkMemoDialog(QObject *owner)
    : QObject(owner), m_link(new TFieldDataLink(this)), m_memoAttributes(mSizeable | mWordWrap)
{}

TDataSource *TqkMemoDialog::DataSource() const
{
    return m_link->DataSource();
}

void TqkMemoDialog::SetDataSource(TDataSource *source)
{
    m_link->SetDataSource(source);
}

QString TqkMemoDialog::DataField() const
{
    return m_link->FieldName();
}

void TqkMemoDialog::SetDataField(const QString &fieldName)
{
    m_link->SetFieldName(fieldName);
}

bool TqkMemoDialog::Execute()
{
    return ExecuteMemoDialog(QApplication::activeWindow(), this, !(m_memoAttributes & mViewOnly));
}

bool ExecuteMemoDialog(QWidget *activeForm, TqkMemoDialog *memoDialog, bool editable)
{
    TqkMemoDlg dialog(memoDialog, editable, activeForm);
    TDataSource *source = memoDialog->DataSource();
    TDataSet *dataSet = source ? source->DataSet() : nullptr;
    TField *field =
        dataSet && !memoDialog->DataField().isEmpty() ? dataSet->FieldByName(memoDialog->DataField()) : nullptr;
    if (field)
        dialog.Memo()->setPlainText(field->AsString());
    const bool accepted = dialog.exec() == QDialog::Accepted;
    if (memoDialog->OnCloseDialog)
        memoDialog->OnCloseDialog(&dialog);
    if (accepted && editable && field) {
        dataSet->Edit();
        field->SetAsString(dialog.Memo()->toPlainText());
    }
    return accepted;
}

TqkMemoDlg::TqkMemoDlg(TqkMemoDialog *owner, bool editable, QWidget *parent)
    : QDialog(parent), m_owner(owner), m_memo(new QPlainTextEdit(this)), m_ok(qkCreateDialogButton(this, bkOK)),
      m_cancel(qkCreateDialogButton(this, bkCancel))
{
    if (parent && (parent->windowFlags() & Qt::WindowStaysOnTopHint))
        setWindowFlag(Qt::WindowStaysOnTopHint);
    setWindowTitle(owner->Caption());
    setFont(owner->Font());
    setSizeGripEnabled(owner->MemoAttributes() & mSizeable);
    m_memo->setLineWrapMode((owner->MemoAttributes() & mWordWrap) ? QPlainTextEdit::WidgetWidth
                                                                  : QPlainTextEdit::NoWrap);
    m_memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_memo->setTabChangesFocus(false);
    m_memo->setReadOnly(!editable);
    m_memo->installEventFilter(this);
    m_ok->setVisible(true);
    m_cancel->setVisible(editable);
    m_ok->setDefault(false);
    m_ok->setAutoDefault(false);
    m_cancel->setAutoDefault(false);

    auto *userPanel = new QWidget(this);
    auto *userRow = new QHBoxLayout(userPanel);
    userRow->setContentsMargins(0, 0, 0, 0);
    m_user1 = addUserButton(userPanel, owner->UserButton1Caption, owner->OnUserButton1Click);
    m_user2 = addUserButton(userPanel, owner->UserButton2Caption, owner->OnUserButton2Click);
    userPanel->setVisible(m_user1 || m_user2);

    // A lone OK of a view-only memo stands centred under it.
    const bool centredOk = !editable && !m_user1 && !m_user2;
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(userPanel);
    buttons->addStretch();
    buttons->addWidget(m_ok);
    buttons->addWidget(m_cancel);
    if (centredOk)
        buttons->addStretch();
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_memo);
    layout->addLayout(buttons);
    applyRectangle(owner->DlgLeft(), owner->DlgTop(), owner->DlgWidth(), owner->DlgHeight());
    if (!(owner->MemoAttributes() & mSizeable))
        setFixedSize(size());
}

// Left and top both 0 keep the window centred at the given size; a left
// below 0 (the grid's call) keeps the designed size as well.
void TqkMemoDlg::applyRectangle(int left, int top, int width, int height)
{
    static constexpr QSize designedSize(561, 395);
    resize(designedSize);
    if (left == 0 && top == 0)
        resize(width, height);
    else if (left > 0 || top >= 1)
        setGeometry(left, top, width, height);
}

QPushButton *TqkMemoDlg::addUserButton(QWidget *panel, const QString &caption, const TqkMemoUserButtonEvent &handler)
{
    if (caption.isEmpty())
        return nullptr;
    auto *button = new QPushButton(caption, panel);
    button->setAutoDefault(false);
    panel->layout()->addWidget(button);
    connect(button, &QPushButton::clicked, this, [this, handler] {
        if (handler)
            handler(this, m_memo);
    });
    return button;
}

void TqkMemoDlg::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!m_firstShow)
        return;
    m_firstShow = false;
    QFont buttonFont = font();
    const TFontStyles style = qkIntl().DialogFontStyle;
    buttonFont.setBold(style & fsBold);
    buttonFont.setItalic(style & fsItalic);
    buttonFont.setUnderline(style & fsUnderline);
    buttonFont.setStrikeOut(style & fsStrikeOut);
    for (QPushButton *button : findChildren<QPushButton *>())
        button->setFont(buttonFont);
    m_memo->setFocus();
    if (m_owner->OnInitDialog)
        m_owner->OnInitDialog(this);
    QTextCursor cursor = m_memo->textCursor();
    cursor.clearSelection();
    m_memo->setTextCursor(cursor);
}

bool TqkMemoDlg::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_memo && event->type() == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(event);
        const bool ctrlEnter =
            (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) && (key->modifiers() & Qt::ControlModifier);
        if (ctrlEnter || key->key() == Qt::Key_F2) {
            accept();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TqkMemoDlg::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_F2) {
        accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

// Leaving with changes asks first; a No keeps the window and the text.
bool TqkMemoDlg::keepOpenOnCancel()
{
    if (!m_memo->document()->isModified() || m_memo->isReadOnly())
        return false;
    return ui::services().messageBox(qkIntl().UserMessages->MemoChangesWarning, windowTitle(), ui::MsgIcon::Question,
                                     ui::MsgButtons::YesNo)
           != ui::IDYES;
}

void TqkMemoDlg::reject()
{
    if (!keepOpenOnCancel())
        QDialog::reject();
}
