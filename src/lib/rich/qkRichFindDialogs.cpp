#include "lib/rich/qkRichFindDialogs.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

// The fields are made in the order they stand, which is the order Tab takes.
TqkFindDialog::TqkFindDialog(QWidget *parent, bool withReplace)
    : QDialog(parent), m_find(new QLineEdit(this)), m_replace(withReplace ? new QLineEdit(this) : nullptr),
      m_wholeWord(new QCheckBox(tr("Nur &ganzes Wort suchen"), this)),
      m_matchCase(new QCheckBox(tr("Groß-/&Kleinschreibung beachten"), this))
{
    setWindowTitle(withReplace ? tr("Ersetzen") : tr("Suchen"));
    setModal(false);
    auto *fields = new QFormLayout;
    fields->addRow(tr("&Suchen nach:"), m_find);
    if (m_replace)
        fields->addRow(tr("Ersetzen &durch:"), m_replace);
    fields->addRow(m_wholeWord);
    fields->addRow(m_matchCase);
    auto *buttons = new QVBoxLayout;
    auto *findNext = new QPushButton(tr("&Weitersuchen"), this);
    findNext->setDefault(true);
    buttons->addWidget(findNext);
    connect(findNext, &QPushButton::clicked, this, &TqkFindDialog::Find);
    if (withReplace) {
        auto *replace = new QPushButton(tr("&Ersetzen"), this);
        auto *replaceAll = new QPushButton(tr("&Alle ersetzen"), this);
        buttons->addWidget(replace);
        buttons->addWidget(replaceAll);
        connect(replace, &QPushButton::clicked, this, &TqkFindDialog::Replace);
        connect(replaceAll, &QPushButton::clicked, this, [this] {
            m_replaceAll = true;
            emit Replace();
            m_replaceAll = false;
        });
    }
    auto *cancel = new QPushButton(tr("Abbrechen"), this);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    buttons->addWidget(cancel);
    buttons->addStretch();
    auto *layout = new QHBoxLayout(this);
    layout->addLayout(fields);
    layout->addLayout(buttons);
}

QString TqkFindDialog::FindText() const
{
    return m_find->text();
}

void TqkFindDialog::SetFindText(const QString &text)
{
    m_find->setText(text);
}

QString TqkFindDialog::ReplaceText() const
{
    return m_replace ? m_replace->text() : QString();
}

TFindOptions TqkFindDialog::Options() const
{
    TFindOptions options;
    options.setFlag(frMatchCase, m_matchCase->isChecked());
    options.setFlag(frWholeWord, m_wholeWord->isChecked());
    options.setFlag(frReplaceAll, m_replaceAll);
    return options;
}
