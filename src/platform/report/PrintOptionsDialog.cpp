#include "platform/report/PrintOptionsDialog.h"

#include "platform/report/DialogRunner.h"
#include "platform/report/StrictSpinBox.h"
#include "platform/ui/UiServices.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>

namespace report {

PrintOptionsDialog::PrintOptionsDialog(const PrintOptions &options, QWidget *parent, const QString &title)
    : QDialog(parent), m_options(options), m_printer(new QComboBox(this)), m_copies(new StrictSpinBox(this)),
      m_first(new StrictSpinBox(this)), m_last(new StrictSpinBox(this))
{
    setWindowTitle(title.isEmpty() ? QStringLiteral("Druckoptionen") : title);
    m_printer->addItems(options.printers);
    if (!options.printers.contains(options.printer) && !options.printer.isEmpty())
        m_printer->insertItem(0, options.printer);
    m_printer->setCurrentText(options.printer);
    m_copies->setRange(1, 999);
    m_copies->setValue(qMax(1, options.copies));
    m_first->setRange(1, 9999);
    m_first->setValue(qMax(1, options.firstPage));
    m_last->setRange(1, 9999);
    m_last->setValue(qBound(1, options.lastPage, 9999));
    connect(m_first, &QSpinBox::valueChanged, this, [this](int v) { m_last->setMinimum(v); });
    m_last->setMinimum(m_first->value());

    auto *form = new QFormLayout(this);
    form->addRow(QStringLiteral("D&rucker:"), m_printer);
    form->addRow(QStringLiteral("&Exemplare:"), m_copies);
    form->addRow(QStringLiteral("Seiten &von:"), m_first);
    form->addRow(QStringLiteral("&bis:"), m_last);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("&Drucken"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Abbrechen"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    form->addRow(buttons);
}

void PrintOptionsDialog::accept()
{
    for (QSpinBox *box : {m_copies, m_first, m_last}) {
        if (!box->hasAcceptableInput()) {
            box->setFocus();
            ui::services().messageBox(refusal(box), windowTitle(), ui::MsgIcon::Warning, ui::MsgButtons::Ok);
            return;
        }
    }
    QDialog::accept();
}

// Named as the user sees the field beside it.
QString PrintOptionsDialog::refusal(QSpinBox *box) const
{
    const auto *label = qobject_cast<QLabel *>(qobject_cast<QFormLayout *>(layout())->labelForField(box));
    QString caption = label->text().remove(QLatin1Char('&'));
    if (caption.endsWith(QLatin1Char(':')))
        caption.chop(1);
    return QStringLiteral("Bitte bei \"%1\" eine Zahl von %2 bis %3 eingeben.")
        .arg(caption)
        .arg(box->minimum())
        .arg(box->maximum());
}

PrintOptions PrintOptionsDialog::options() const
{
    PrintOptions chosen = m_options;
    chosen.printer = m_printer->currentText();
    chosen.copies = m_copies->value();
    chosen.firstPage = m_first->value();
    chosen.lastPage = m_last->value();
    return chosen;
}

bool askPrintOptions(PrintOptions &options, QWidget *parent, const QString &title)
{
    PrintOptionsDialog dialog(options, parent, title);
    if (runDialog(dialog) != QDialog::Accepted)
        return false;
    options = dialog.options();
    return true;
}

}
