#include "lib/rich/qkRichFontDialog.h"

#include "lib/data/Qkintl.h"
#include "lib/rich/qkRichColors.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QFontDialog>
#include <QFontInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

// Qt's dialog picks the style by its name and takes the family's first
// style when the name is not one of them ("Normal" where the family says
// "Book"), which would make an upright text italic on OK. The style the
// font is drawn in is named instead.
QFont withDrawnStyle(const QFont &font)
{
    const QString drawn = QFontInfo(font).styleName();
    if (!QFontDatabase::styles(font.family()).contains(drawn))
        return font;
    QFont named = font;
    named.setStyleName(drawn);
    return named;
}

// Tab goes through the font choice before the colour below it, and, in the
// font choice, reaches the writing system after the effects above it.
void tabInStandingOrder(QFontDialog &fonts, QWidget &color)
{
    auto *writingSystem = fonts.findChild<QComboBox *>();
    const QList<QCheckBox *> effects = fonts.findChildren<QCheckBox *>();
    auto *sample = fonts.findChild<QLineEdit *>(QStringLiteral("qt_fontDialog_sampleEdit"));
    if (!writingSystem || effects.isEmpty() || !sample)
        return;
    QWidget::setTabOrder(effects.last(), writingSystem);
    QWidget::setTabOrder(writingSystem, sample);
    QWidget::setTabOrder(sample, &color);
}

// Qt's German font choice gives one access key to two captions ("&Größe",
// "Durch&gestrichen"): the later one takes the first of its letters that no
// caption before it has.
void giveEachAccessKeyOnce(QWidget &window)
{
    QSet<QChar> taken;
    for (QWidget *part : window.findChildren<QWidget *>()) {
        auto *button = qobject_cast<QAbstractButton *>(part);
        auto *label = qobject_cast<QLabel *>(part);
        if (!button && !(label && label->buddy()))
            continue;
        QString caption = button ? button->text() : label->text();
        const qsizetype mark = caption.indexOf(QLatin1Char('&'));
        if (mark < 0 || mark + 1 >= caption.size())
            continue;
        if (!taken.contains(caption.at(mark + 1).toLower())) {
            taken.insert(caption.at(mark + 1).toLower());
            continue;
        }
        caption.remove(mark, 1);
        for (qsizetype i = 0; i < caption.size(); ++i) {
            const QChar letter = caption.at(i).toLower();
            if (letter.isLetter() && !taken.contains(letter)) {
                taken.insert(letter);
                caption.insert(i, QLatin1Char('&'));
                break;
            }
        }
        button ? button->setText(caption) : label->setText(caption);
    }
}

} // namespace

TqkRichFontDialog::TqkRichFontDialog(const QFont &font, const QColor &color, QWidget *parent)
    : QDialog(parent), m_fonts(new QFontDialog(withDrawnStyle(font), this)), m_colors(new QComboBox(this)),
      m_given(font), m_shown(m_fonts->currentFont())
{
    setWindowTitle(m_fonts->windowTitle());
    // Shown as a part of this window, without buttons of its own.
    m_fonts->setOptions(QFontDialog::NoButtons | QFontDialog::DontUseNativeDialog);
    m_fonts->setWindowFlags(Qt::Widget);
    for (const TqkNamedColor &named : qkRichColors())
        m_colors->addItem(qkColorSwatch(qkStoredColor(named.value), QSize(24, 12)), named.name,
                          qkStoredColor(named.value));
    // A colour of the text that has no name is offered as it is.
    int current = m_colors->findData(color);
    if (current < 0) {
        m_colors->addItem(qkColorSwatch(color, QSize(24, 12)), color.name(), color);
        current = m_colors->count() - 1;
    }
    m_colors->setCurrentIndex(current);
    auto *colorRow = new QHBoxLayout;
    auto *colorLabel = new QLabel(tr("&Farbe:"), this);
    colorLabel->setBuddy(m_colors);
    colorRow->addWidget(colorLabel);
    colorRow->addWidget(m_colors);
    colorRow->addStretch();
    auto *buttons = new QDialogButtonBox(this);
    buttons->addButton(qkIntl().BtnOKCaption, QDialogButtonBox::AcceptRole)->setDefault(true);
    buttons->addButton(qkIntl().BtnCancelCaption, QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_fonts);
    layout->addLayout(colorRow);
    layout->addWidget(buttons);
    tabInStandingOrder(*m_fonts, *m_colors);
    giveEachAccessKeyOnce(*this);
}

// A family without a face of the text's slant or weight shows its nearest
// face; while the user leaves the face as shown, the text keeps its own
// slant and weight, drawn by the system where the family has no face.
QFont TqkRichFontDialog::SelectedFont() const
{
    QFont chosen = m_fonts->currentFont();
    if (chosen.italic() == m_shown.italic() && chosen.weight() == m_shown.weight()) {
        chosen.setStyleName(QString());
        chosen.setItalic(m_given.italic());
        chosen.setWeight(m_given.weight());
    }
    return chosen;
}

QColor TqkRichFontDialog::SelectedColor() const
{
    return m_colors->currentData().value<QColor>();
}
