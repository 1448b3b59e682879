#include "lib/rich/qkRichTabDialog.h"

#include "lib/data/Qkintl.h"
#include "lib/rich/qkPrintMargins.h"
#include "lib/rich/qkriched.h"
#include "platform/rtf/RtfDocument.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTextBlock>
#include <QTextCursor>

using namespace richMeasure;

TqkRichTabDialog::TqkRichTabDialog(TqkCustomRichEdit &richEdit, QWidget *parent)
    : QDialog(parent), m_richEdit(richEdit), m_edit(new QLineEdit), m_list(new QListWidget)
{
    const TqkRichEditTabDlg &t = *qkIntl().RichEdit->TabDialog;
    setWindowTitle(t.TabDlgCaption);
    resize(257, 192);
    m_list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    auto *group = new QGroupBox(t.TabGroupBoxCaption);
    auto *column = new QVBoxLayout(group);
    column->addWidget(m_edit);
    column->addWidget(m_list);
    auto *setButton = new QPushButton(t.SetTabButtonCaption);
    auto *clearButton = new QPushButton(t.ClearTabButtonCaption);
    auto *clearAllButton = new QPushButton(t.ClearAllButtonCaption);
    m_ok = new QPushButton(qkIntl().BtnOKCaption);
    auto *cancel = new QPushButton(qkIntl().BtnCancelCaption);
    m_ok->setDefault(true);
    auto *buttons = new QVBoxLayout;
    for (QPushButton *button : {m_ok, cancel, setButton, clearButton, clearAllButton}) {
        button->setAutoDefault(false);
        buttons->addWidget(button);
    }
    m_ok->setDefault(true);
    buttons->addStretch();
    auto *layout = new QHBoxLayout(this);
    layout->addWidget(group, 1);
    layout->addLayout(buttons);
    if (richEdit.EditorOptions.testFlag(reoShowHints)) {
        m_edit->setToolTip(t.TabPositionEditHint);
        m_list->setToolTip(t.ListBoxHint);
        setButton->setToolTip(t.SetButtonHint);
        clearButton->setToolTip(t.ClearButtonHint);
        clearAllButton->setToolTip(t.ClearAllButtonHint);
    }
    connect(setButton, &QPushButton::clicked, this, &TqkRichTabDialog::SetTab);
    connect(clearButton, &QPushButton::clicked, this, &TqkRichTabDialog::ClearSelected);
    connect(clearAllButton, &QPushButton::clicked, this, &TqkRichTabDialog::ClearAll);
    connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    m_edit->installEventFilter(this);
    fill();
}

void TqkRichTabDialog::fill()
{
    for (const int twips : qkTabStopTwips(m_richEdit))
        m_list->addItem(unitsToText(twipsToUnits(twips, m_richEdit.MeasurementUnits()), m_richEdit.MeasurementUnits()));
}

int TqkRichTabDialog::twipsOf(const QString &text) const
{
    return textToTwips(text, m_richEdit.MeasurementUnits());
}

QStringList TqkRichTabDialog::Positions() const
{
    QStringList texts;
    for (int row = 0; row < m_list->count(); ++row)
        texts << m_list->item(row)->text();
    return texts;
}

bool TqkRichTabDialog::SetTab()
{
    const TqkMeasurementUnits units = m_richEdit.MeasurementUnits();
    const std::optional<int> twips = checkedTextToTwips(m_edit->text(), units, maxTwips);
    if (!twips || *twips < 0) {
        m_edit->setFocus();
        m_edit->selectAll();
        return false;
    }
    const QString shown = unitsToText(twipsToUnits(*twips, units), units);
    int row = 0;
    while (row < m_list->count() && twipsOf(m_list->item(row)->text()) < *twips)
        ++row;
    if (row == m_list->count() || twipsOf(m_list->item(row)->text()) != *twips)
        m_list->insertItem(row, shown);
    m_edit->clear();
    return true;
}

void TqkRichTabDialog::ClearSelected()
{
    qDeleteAll(m_list->selectedItems());
}

void TqkRichTabDialog::ClearAll()
{
    m_list->clear();
}

void TqkRichTabDialog::Apply()
{
    QList<int> twips;
    for (int row = 0; row < m_list->count() && twips.size() < maxTabStops; ++row)
        twips.append(twipsOf(m_list->item(row)->text()));
    qkSetTabStops(m_richEdit, twips);
}

void TqkRichTabDialog::done(int result)
{
    if (result == Accepted && !m_edit->text().trimmed().isEmpty() && !SetTab())
        return;
    QDialog::done(result);
}

// While the position is being typed, Return sets it; in an empty edit it
// closes the dialog.
bool TqkRichTabDialog::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_edit && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            if (m_edit->text().trimmed().isEmpty())
                accept();
            else
                SetTab();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

QList<int> qkTabStopTwips(const TqkCustomRichEdit &richEdit)
{
    QList<int> twips;
    for (const QTextOption::Tab &tab : rtf::tabStops(richEdit.textCursor().blockFormat()))
        twips.append(rtf::toTwips(tab.position));
    return twips;
}

void qkSetTabStops(TqkCustomRichEdit &richEdit, const QList<int> &twips)
{
    QList<QTextOption::Tab> tabs;
    for (const int position : twips.first(std::min<qsizetype>(twips.size(), TqkRichTabDialog::maxTabStops)))
        tabs.append(QTextOption::Tab(rtf::fromTwips(position), QTextOption::LeftTab));
    // Each paragraph measures its stops from its own first line.
    richEdit.ChangeParagraphs([&tabs](QTextBlockFormat &format) { rtf::setTabStops(format, tabs); });
}

bool qkRunTabDialog(TqkCustomRichEdit &richEdit)
{
    TqkRichTabDialog dialog(richEdit, richEdit.window());
    if (dialog.exec() != QDialog::Accepted)
        return false;
    dialog.Apply();
    return true;
}
