#include "lib/rich/qkRichParagraphDialog.h"

#include "lib/data/Qkintl.h"
#include "lib/edit/Qkdbcomb.h"
#include "lib/rich/qkPrintMargins.h"
#include "lib/rich/qkriched.h"
#include "platform/rtf/RtfDocument.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTextBlock>
#include <QTextCursor>

#include <cmath>
#include <optional>

using namespace richMeasure;

namespace {

// The rule and its value (twips, or twentieths of a line for a multiple).
std::pair<int, int> lineSpacingOf(const QTextBlockFormat &format)
{
    const double height = format.lineHeight();
    switch (format.lineHeightType()) {
    case QTextBlockFormat::ProportionalHeight:
        if (std::abs(height - 150) < 0.5)
            return {lsOneAndHalf, 0};
        if (std::abs(height - 200) < 0.5)
            return {lsDouble, 0};
        if (std::abs(height - 100) < 0.5)
            return {lsSingle, 0};
        return {lsMultiple, int(std::lround(height / 100.0 * 20.0))};
    case QTextBlockFormat::MinimumHeight:
        return {lsAtLeast, rtf::toTwips(height)};
    case QTextBlockFormat::FixedHeight:
        return {lsExactly, rtf::toTwips(height)};
    default:
        return {lsSingle, 0};
    }
}

void setLineSpacing(QTextBlockFormat &format, int rule, int value)
{
    switch (rule) {
    case lsOneAndHalf:
        format.setLineHeight(150, QTextBlockFormat::ProportionalHeight);
        break;
    case lsDouble:
        format.setLineHeight(200, QTextBlockFormat::ProportionalHeight);
        break;
    case lsAtLeast:
        format.setLineHeight(rtf::fromTwips(value), QTextBlockFormat::MinimumHeight);
        break;
    case lsExactly:
        format.setLineHeight(rtf::fromTwips(value), QTextBlockFormat::FixedHeight);
        break;
    case lsMultiple:
        format.setLineHeight(value * 100.0 / 20.0, QTextBlockFormat::ProportionalHeight);
        break;
    default:
        format.setLineHeight(0, QTextBlockFormat::SingleHeight);
        break;
    }
}

std::optional<double> lineMultiple(const QString &text)
{
    bool ok = false;
    double lines = QLocale(QLocale::German).toDouble(text.trimmed(), &ok);
    if (!ok)
        lines = text.trimmed().toDouble(&ok);
    return ok ? std::optional<double>(lines) : std::nullopt;
}

QString hundredthsText(double value, TqkMeasurementUnits units)
{
    return stepText(value, 100, units);
}

} // namespace

TqkRichParagraphDialog::TqkRichParagraphDialog(TqkCustomRichEdit &richEdit, QWidget *parent)
    : QDialog(parent), m_richEdit(richEdit), m_alignment(new TqkDBComboBox), m_lineSpacing(new QComboBox)
{
    const TqkRichEditParagraphDlg &t = *qkIntl().RichEdit->ParagraphDialog;
    setWindowTitle(t.ParagraphDlgCaption);
    resize(331, 229);
    m_left = addEdit(t.LeftEditHint);
    m_right = addEdit(t.RightEditHint);
    m_firstLine = addEdit(t.FirstLineEditHint);
    m_before = addEdit(QString());
    m_after = addEdit(QString());
    m_at = addEdit(QString());
    m_alignment->SetItems({t.AlignLeft, t.AlignCenter, t.AlignRight});
    m_alignment->SetStyle(csDropDownList);
    m_alignment->setToolTip(t.AlignmentHint);
    m_lineSpacing->addItems({t.LineSpacingSingle, t.LineSpacingOneAndHalf, t.LineSpacingDouble, t.LineSpacingAtLeast,
                             t.LineSpacingExactly, t.LineSpacingMultiple});
    auto *indents = new QFormLayout;
    indents->addRow(t.LeftEditCaption, m_left);
    indents->addRow(t.RightEditCaption, m_right);
    indents->addRow(t.FirstLineEditCaption, m_firstLine);
    auto *indentBox = new QGroupBox(t.IndentationGroupBoxCaption);
    indentBox->setLayout(indents);
    auto *spacing = new QFormLayout;
    spacing->addRow(t.BeforeParagraphCaption, m_before);
    spacing->addRow(t.AfterParagraphCaption, m_after);
    spacing->addRow(t.WithinParagraphCaption, m_lineSpacing);
    spacing->addRow(t.WithinParagraphAtCaption, m_at);
    auto *spacingBox = new QGroupBox(t.SpacingGroupCaption);
    spacingBox->setLayout(spacing);
    auto *alignment = new QFormLayout;
    alignment->addRow(t.AlignmentCaption, m_alignment);
    auto *buttons = new QDialogButtonBox;
    buttons->addButton(qkIntl().BtnOKCaption, QDialogButtonBox::AcceptRole)->setDefault(true);
    buttons->addButton(qkIntl().BtnCancelCaption, QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto *boxes = new QHBoxLayout;
    boxes->addWidget(indentBox);
    boxes->addWidget(spacingBox);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(boxes);
    layout->addLayout(alignment);
    layout->addWidget(buttons);
    fill();
    connect(m_lineSpacing, &QComboBox::activated, this, &TqkRichParagraphDialog::lineSpacingChosen);
    connect(m_at, &QLineEdit::textEdited, this, [this] {
        if (m_lineSpacing->currentIndex() <= lsDouble)
            m_lineSpacing->setCurrentIndex(lsMultiple);
    });
}

QLineEdit *TqkRichParagraphDialog::addEdit(const QString &hint)
{
    auto *edit = new QLineEdit;
    // Wide enough for a negative value with its unit, at any scale.
    edit->setMinimumWidth(edit->fontMetrics().horizontalAdvance(QStringLiteral("-00,000 cm")) + 12);
    if (m_richEdit.EditorOptions.testFlag(reoShowHints))
        edit->setToolTip(hint);
    return edit;
}

void TqkRichParagraphDialog::fill()
{
    const TqkMeasurementUnits units = m_richEdit.MeasurementUnits();
    const QTextBlockFormat format = m_richEdit.textCursor().blockFormat();
    const auto shown = [units](int twips, int steps) { return stepText(twipsToUnits(twips, units), steps, units); };
    m_left->setText(shown(rtf::toTwips(format.leftMargin()), 0));
    m_firstLine->setText(shown(rtf::toTwips(rtf::firstLineIndent(format)), 0));
    m_right->setText(shown(rtf::toTwips(format.rightMargin()), 0));
    const TqkRichEditParagraphDlg &t = *qkIntl().RichEdit->ParagraphDialog;
    const Qt::Alignment align = format.alignment() & Qt::AlignHorizontal_Mask;
    m_alignment->setText(align == Qt::AlignRight     ? t.AlignRight
                         : align == Qt::AlignHCenter ? t.AlignCenter
                                                     : t.AlignLeft);
    if (m_richEdit.RichEditVersion() <= 1)
        return;
    m_before->setText(shown(rtf::toTwips(format.topMargin()), 100));
    m_after->setText(shown(rtf::toTwips(format.bottomMargin()), 100));
    const auto [rule, value] = lineSpacingOf(format);
    m_lineSpacing->setCurrentIndex(rule);
    if (rule == lsMultiple)
        m_at->setText(QLocale(QLocale::German).toString(value * 0.05, 'g', 4));
    else if (rule > lsDouble)
        m_at->setText(hundredthsText(twipsToUnits(value, units), units));
}

void TqkRichParagraphDialog::lineSpacingChosen(int rule)
{
    const TqkMeasurementUnits units = m_richEdit.MeasurementUnits();
    if (rule <= lsDouble)
        m_at->clear();
    else if (rule == lsMultiple)
        m_at->setText(QStringLiteral("1"));
    else
        m_at->setText(units == muCentimeters ? QStringLiteral("0,42 cm") : QStringLiteral("0,16''"));
}

// The first edit that does not hold a position on the page takes the focus
// and nothing is applied. Empty spacing edits count as 0.
bool TqkRichParagraphDialog::allValid()
{
    const TqkMeasurementUnits units = m_richEdit.MeasurementUnits();
    for (QLineEdit *edit : {m_left, m_firstLine, m_right, m_before, m_after, m_at}) {
        const bool mayBeEmpty = edit == m_before || edit == m_after || edit == m_at;
        if (mayBeEmpty && edit->text().trimmed().isEmpty())
            continue;
        if (edit == m_at && m_lineSpacing->currentIndex() == lsMultiple) {
            if (lineMultiple(edit->text()))
                continue;
        } else if (checkedTextToTwips(edit->text().trimmed(), units, maxTwips)) {
            continue;
        }
        edit->setFocus();
        edit->selectAll();
        return false;
    }
    return true;
}

void TqkRichParagraphDialog::done(int result)
{
    if (result == Accepted && !allValid())
        return;
    QDialog::done(result);
}

void TqkRichParagraphDialog::Apply()
{
    const TqkMeasurementUnits units = m_richEdit.MeasurementUnits();
    const auto twips = [units](const QLineEdit *edit) {
        return checkedTextToTwips(edit->text().trimmed(), units, maxTwips).value_or(0);
    };
    const int left = twips(m_left);
    const int firstLine = twips(m_firstLine);
    const int rule = m_lineSpacing->currentIndex();
    int spacing = twips(m_at);
    if (rule == lsMultiple) {
        const std::optional<double> lines = lineMultiple(m_at->text());
        spacing = lines ? int(std::trunc(*lines * 20.0)) : 20;
    }
    const TqkRichEditParagraphDlg &t = *qkIntl().RichEdit->ParagraphDialog;
    QTextBlockFormat format = m_richEdit.textCursor().blockFormat();
    format.setAlignment(m_alignment->text() == t.AlignRight    ? Qt::AlignRight
                        : m_alignment->text() == t.AlignCenter ? Qt::AlignHCenter
                                                               : Qt::AlignLeft);
    rtf::setIndents(format, rtf::fromTwips(left), rtf::fromTwips(firstLine));
    format.setRightMargin(rtf::fromTwips(twips(m_right)));
    format.setTopMargin(rtf::fromTwips(twips(m_before)));
    format.setBottomMargin(rtf::fromTwips(twips(m_after)));
    setLineSpacing(format, rule, spacing);
    m_richEdit.BeginEdit();
    QTextCursor cursor = m_richEdit.textCursor();
    cursor.setBlockFormat(format);
}

bool qkRunParagraphDialog(TqkCustomRichEdit &richEdit)
{
    TqkRichParagraphDialog dialog(richEdit, richEdit.window());
    if (dialog.exec() != QDialog::Accepted)
        return false;
    dialog.Apply();
    return true;
}
