#include "platform/report/ProgressBox.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace report {

ProgressBox::ProgressBox(QWidget *parent, const QString &title)
    : QDialog(parent), m_text(new QLabel(this)), m_bar(new QProgressBar(this)),
      m_abort(new QPushButton(QStringLiteral("Abbrechen"), this))
{
    setWindowTitle(title.isEmpty() ? QStringLiteral("Drucken") : title);
    setModal(false);
    m_text->setText(QStringLiteral("Druck wird vorbereitet..."));
    m_text->setMinimumWidth(320);
    m_bar->setRange(0, 100);
    m_bar->setValue(0);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_text);
    layout->addWidget(m_bar);
    layout->addWidget(m_abort, 0, Qt::AlignHCenter);
    connect(m_abort, &QPushButton::clicked, this, [this] {
        m_aborted = true;
        m_abort->setEnabled(false);
        m_text->setText(QStringLiteral("Druck wird abgebrochen..."));
    });
}

void ProgressBox::setProgress(const QString &text, int percent)
{
    if (m_aborted)
        return;
    m_text->setText(text);
    m_bar->setValue(qBound(0, percent, 100));
}

QString ProgressBox::text() const
{
    return m_text->text();
}

int ProgressBox::percent() const
{
    return m_bar->value();
}

}
