#include "lib/rich/qkRichParagraphDialog.h"

#include "lib/data/Qkintl.h"
#include "lib/edit/Qkdbcomb.h"
#include "lib/rich/qkPrintMargins.h"
#include "lib/rich/qkriched.h"
#include "platform/rtf/RtfDocument.h"
#include "platform/ui/UiServices.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTextBlock>
#include <QTextCursor>

#include <algorithm>
#include <cmath>
#include <functional>
#include <optional>
#include <vector>

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
    m_filled = shownValues();
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
        refuse(*edit, edit == m_at && m_lineSpacing->currentIndex() == lsMultiple);
        return false;
    }
    return true;
}

// Says what the edit takes, then hands it the focus with its text selected.
void TqkRichParagraphDialog::refuse(QLineEdit &edit, bool lineMultiple)
{
    const TqkMeasurementUnits units = m_richEdit.MeasurementUnits();
    const QString limit = unitsToText(twipsToUnits(maxTwips, units), units);
    const QString text =
        lineMultiple
            ? tr("„%1“ ist keine Zahl. Bitte geben Sie an, wie viele Zeilen der "
                 "Abstand hoch sein soll, etwa 1,5.")
                  .arg(edit.text())
            : tr("„%1“ ist kein gültiges Maß. Bitte geben Sie eine Zahl von -%2 bis %2 ein.").arg(edit.text(), limit);
    ui::services().messageBox(text, windowTitle(), ui::MsgIcon::Warning, ui::MsgButtons::Ok);
    edit.setFocus();
    edit.selectAll();
}

void TqkRichParagraphDialog::done(int result)
{
    if (result == Accepted && !allValid())
        return;
    QDialog::done(result);
}

// What the dialog shows, in the order alignment, indents, spacing, rule
// and its value: a value the user left as filled is not applied.
QStringList TqkRichParagraphDialog::shownValues() const
{
    return {m_alignment->text(),
            m_left->text(),
            m_firstLine->text(),
            m_right->text(),
            m_before->text(),
            m_after->text(),
            QString::number(m_lineSpacing->currentIndex()),
            m_at->text()};
}

void TqkRichParagraphDialog::Apply()
{
    const QStringList shown = shownValues();
    const auto changed = [&shown, this](std::initializer_list<int> values) {
        return std::any_of(values.begin(), values.end(), [&](int i) { return shown[i] != m_filled[i]; });
    };
    const TqkMeasurementUnits units = m_richEdit.MeasurementUnits();
    const auto twips = [units](const QLineEdit *edit) {
        return checkedTextToTwips(edit->text().trimmed(), units, maxTwips).value_or(0);
    };
    std::vector<std::function<void(QTextBlockFormat &)>> changes;
    if (changed({alignmentValue})) {
        const TqkRichEditParagraphDlg &t = *qkIntl().RichEdit->ParagraphDialog;
        const Qt::Alignment alignment = m_alignment->text() == t.AlignRight    ? Qt::AlignRight
                                        : m_alignment->text() == t.AlignCenter ? Qt::AlignHCenter
                                                                               : Qt::AlignLeft;
        changes.emplace_back([alignment](QTextBlockFormat &format) { format.setAlignment(alignment); });
    }
    if (changed({leftValue, firstLineValue})) {
        const std::optional<double> left =
            changed({leftValue}) ? std::optional(rtf::fromTwips(twips(m_left))) : std::nullopt;
        const std::optional<double> firstLine =
            changed({firstLineValue}) ? std::optional(rtf::fromTwips(twips(m_firstLine))) : std::nullopt;
        changes.emplace_back([left, firstLine](QTextBlockFormat &format) {
            rtf::setIndents(format, left.value_or(format.leftMargin()),
                            firstLine.value_or(rtf::firstLineIndent(format)));
        });
    }
    const auto length = [&](int value, QLineEdit *edit, void (QTextBlockFormat::*set)(qreal)) {
        if (changed({value}))
            changes.emplace_back(
                [set, margin = rtf::fromTwips(twips(edit))](QTextBlockFormat &format) { (format.*set)(margin); });
    };
    length(rightValue, m_right, &QTextBlockFormat::setRightMargin);
    length(beforeValue, m_before, &QTextBlockFormat::setTopMargin);
    length(afterValue, m_after, &QTextBlockFormat::setBottomMargin);
    if (changed({ruleValue, atValue})) {
        const int rule = m_lineSpacing->currentIndex();
        int spacing = twips(m_at);
        if (rule == lsMultiple) {
            const std::optional<double> lines = lineMultiple(m_at->text());
            spacing = lines ? int(std::trunc(*lines * 20.0)) : 20;
        }
        changes.emplace_back([rule, spacing](QTextBlockFormat &format) { setLineSpacing(format, rule, spacing); });
    }
    if (changes.empty())
        return;
    m_richEdit.ChangeParagraphs([&changes](QTextBlockFormat &format) {
        for (const auto &change : changes)
            change(format);
    });
}

bool qkRunParagraphDialog(TqkCustomRichEdit &richEdit)
{
    TqkRichParagraphDialog dialog(richEdit, richEdit.window());
    if (dialog.exec() != QDialog::Accepted)
        return false;
    dialog.Apply();
    return true;
}
