#include "lib/filterdlg/TqkFilterDialogView.h"

#include "lib/data/Qkintl.h"
#include "platform/ui/ScreenPlacement.h"
#include "ui_TqkFilterDialogView.h"

#include <QHeaderView>
#include <QRegularExpression>
#include <QScrollBar>

#include <algorithm>

namespace {

QString withoutAccelerator(QString caption)
{
    return caption.remove(QLatin1Char('&'));
}

bool holdsOperatorWord(const QString &value, const TqkFieldOperators &words)
{
    for (const QString &word : {words.OrChar(), words.AndChar(), words.NullChar()}) {
        const QRegularExpression whole(QStringLiteral("\\b%1\\b").arg(QRegularExpression::escape(word)),
                                       QRegularExpression::CaseInsensitiveOption);
        if (!word.isEmpty() && whole.match(value).hasMatch())
            return true;
    }
    return false;
}

QString matchCaption(TqkFilterMatchType type)
{
    const TqkFilterDialogIntl &texts = *qkIntl().FilterDialog;
    switch (type) {
    case fdMatchStart:
        return texts.MatchStartLabel;
    case fdMatchAny:
        return texts.MatchAnyLabel;
    case fdMatchExact:
        return texts.MatchExactLabel;
    case fdMatchRange:
        return texts.ByRangeLabel;
    default:
        return {};
    }
}

} // namespace

TqkFilterDialogView::TqkFilterDialogView(const std::vector<TqkFieldInfo> &criteria, const TqkFieldOperators &words,
                                         QWidget *parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::TqkFilterDialogView>())
{
    m_ui->setupUi(this);
    const TqkFilterDialogIntl &texts = *qkIntl().FilterDialog;
    setWindowTitle(texts.SummaryCaption);
    QFont font = this->font();
    font.setBold(qkIntl().DialogFontStyle.testFlag(fsBold));
    font.setItalic(qkIntl().DialogFontStyle.testFlag(fsItalic));
    setFont(font);
    m_ui->CancelBtn->SetKind(bkCancel);
    m_ui->CancelBtn->setText(texts.BtnCloseSummary);
    connect(m_ui->CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
    QTableWidget &grid = *m_ui->StringGrid1;
    grid.setHorizontalHeaderLabels({texts.SummaryFieldLabel, texts.SummarySearchLabel, texts.SummaryValueLabel});
    grid.verticalHeader()->hide();
    grid.verticalHeader()->setDefaultSectionSize(grid.fontMetrics().height() + 4);
    const int widths[] = {115, 171, 171};
    for (int column = 0; column < 3; ++column)
        grid.setColumnWidth(column, widths[column]);
    grid.horizontalHeader()->setStretchLastSection(true);
    grid.setRowCount(int(criteria.size()));
    for (int row = 0; row < int(criteria.size()); ++row) {
        const QStringList cells = SummaryRow(criteria[std::size_t(row)], words);
        for (int column = 0; column < cells.size(); ++column)
            grid.setItem(row, column, new QTableWidgetItem(cells.at(column)));
    }
    fitColumns(widths);
}

// The designed widths are the least a column gets: a longer text widens its
// column, and the window, instead of being cut off.
void TqkFilterDialogView::fitColumns(const int (&designed)[3])
{
    QTableWidget &grid = *m_ui->StringGrid1;
    int total = 0;
    for (int column = 0; column < 3; ++column) {
        const int width =
            std::max(designed[column], static_cast<const QAbstractItemView &>(grid).sizeHintForColumn(column));
        grid.setColumnWidth(column, width);
        total += width;
    }
    grid.setMinimumWidth(total + 2 * grid.frameWidth() + grid.verticalScrollBar()->sizeHint().width());
}

TqkFilterDialogView::~TqkFilterDialogView() = default;

// The summary stands in the middle of the screen the form is on, not over the form.
void TqkFilterDialogView::showEvent(QShowEvent *event)
{
    ui::sizeInsideScreen(this, size());
    QDialog::showEvent(event);
}

QStringList TqkFilterDialogView::SummaryRow(const TqkFieldInfo &info, const TqkFieldOperators &words)
{
    const QString caption = withoutAccelerator(matchCaption(info.MatchType));
    if (caption.isEmpty())
        return {};
    if (info.MatchType == fdMatchRange) {
        QStringList bounds;
        if (!info.MinValue.isEmpty())
            bounds << QStringLiteral(">=") + info.MinValue;
        if (!info.MaxValue.isEmpty())
            bounds << QStringLiteral("<=") + info.MaxValue;
        return {info.DisplayName, caption, bounds.join(QStringLiteral(", "))};
    }
    QString value = info.FilterValue;
    if (info.NonMatching) {
        if (holdsOperatorWord(value, words))
            value = QStringLiteral("(") + value + QStringLiteral(")");
        value = qkIntl().FilterDialog->ViewSummaryNotText + QLatin1Char(' ') + value;
    }
    return {info.DisplayName, caption, value};
}
