#include "app/DataSetGridModel.h"

#include "platform/db/TDataLink.h"
#include "platform/db/TDataSet.h"
#include "platform/db/TDataSource.h"
#include "platform/db/TField.h"

#include <QHeaderView>
#include <QItemSelectionModel>
#include <QScopedValueRollback>
#include <QTableView>
#include <QTimer>

#include <algorithm>

// The data set's notifications, passed on to the model.
class DataSetGridModel::Link : public TDataLink
{
public:
    explicit Link(DataSetGridModel &model) : m_model(model) {}

protected:
    void ActiveChanged() override { m_model.scheduleReload(); }
    void DataSetChanged() override { m_model.scheduleReload(); }
    void LayoutChanged() override { m_model.scheduleReload(); }
    void DataSetScrolled(int) override { m_model.followCursor(); }
    void RecordChanged(TField *) override { m_model.refreshCurrentRow(); }

private:
    DataSetGridModel &m_model;
};

namespace {

bool sameRecord(const TBookmark &left, const TBookmark &right)
{
    return left.valid == right.valid && left.rowId == right.rowId;
}

// Walks the data set's records without anybody hearing of it: the data
// links are quiet and the scroll events are held back, and the current
// record is the same afterwards. The links hear of the data set again in
// end(), where what their handlers throw reaches the caller; a walk left by
// an exception only puts things back.
class QuietWalk
{
public:
    explicit QuietWalk(TDataSet &dataSet)
        : m_dataSet(dataSet), m_start(dataSet.GetBookmark()), m_beforeScroll(dataSet.BeforeScroll()),
          m_afterScroll(dataSet.AfterScroll())
    {
        m_dataSet.SetBeforeScroll({});
        m_dataSet.SetAfterScroll({});
        m_dataSet.DisableControls();
    }
    ~QuietWalk()
    {
        if (m_ended)
            return;
        try {
            end();
        } catch (const std::exception &) {
            // Already on the way out with another error.
        }
    }
    QuietWalk(const QuietWalk &) = delete;
    QuietWalk &operator=(const QuietWalk &) = delete;

    const TBookmark &start() const { return m_start; }

    void end()
    {
        m_ended = true;
        try {
            m_dataSet.GotoBookmark(m_start);
        } catch (const std::exception &) {
            // The record went away while we walked: the cursor stays where the walk ended.
        }
        m_dataSet.SetBeforeScroll(m_beforeScroll);
        m_dataSet.SetAfterScroll(m_afterScroll);
        m_dataSet.EnableControls();
    }

private:
    TDataSet &m_dataSet;
    TBookmark m_start;
    TDataSetNotifyEvent m_beforeScroll;
    TDataSetNotifyEvent m_afterScroll;
    bool m_ended = false;
};

}

bool DataSetGridModel::Snapshot::operator==(const Snapshot &other) const
{
    if (rows != other.rows || current != other.current || bookmarks.size() != other.bookmarks.size())
        return false;
    for (int i = 0; i < bookmarks.size(); ++i)
        if (!sameRecord(bookmarks[i], other.bookmarks[i]))
            return false;
    return true;
}

DataSetGridModel::DataSetGridModel(TDataSource *source, QList<Column> columns, QObject *parent)
    : QAbstractTableModel(parent), m_link(std::make_unique<Link>(*this)), m_columns(std::move(columns))
{
    m_link->SetDataSource(source);
}

DataSetGridModel::~DataSetGridModel() = default;

void DataSetGridModel::attach(QTableView *view)
{
    m_view = view;
    view->setModel(this);
    view->verticalHeader()->hide();
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // The widths were chosen for another font: a title never gets cut off.
    QHeaderView *header = view->horizontalHeader();
    for (int column = 0; column < m_columns.size(); ++column)
        view->setColumnWidth(column, std::max(m_columns[column].width, header->sectionSizeHint(column)));
    header->setStretchLastSection(true);
    connect(view->selectionModel(), &QItemSelectionModel::currentRowChanged, this, &DataSetGridModel::rowChosen);
    showCurrentRow();
}

int DataSetGridModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_shown.rows.size());
}

int DataSetGridModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_columns.size());
}

QVariant DataSetGridModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_shown.rows.size())
        return QVariant();
    if (role == Qt::DisplayRole)
        return m_shown.rows[index.row()].value(index.column());
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(m_columns[index.column()].alignment | Qt::AlignVCenter);
    return QVariant();
}

QVariant DataSetGridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= m_columns.size())
        return QVariant();
    if (role == Qt::DisplayRole)
        return m_columns[section].title;
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(m_columns[section].alignment | Qt::AlignVCenter);
    return QVariant();
}

void DataSetGridModel::reload()
{
    m_reloadPending = false;
    TDataSet *dataSet = m_link->DataSet();
    if (m_reading || (dataSet && dataSet->Active() && dataSet->State() != dsBrowse))
        return;
    Snapshot fresh = dataSet && dataSet->Active() ? readRecords(*dataSet) : Snapshot();
    if (fresh == m_shown)
        return;
    const bool sameRows = fresh.rows.size() == m_shown.rows.size();
    if (!sameRows)
        beginResetModel();
    m_shown = std::move(fresh);
    if (sameRows && !m_shown.rows.isEmpty())
        emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
    else if (!sameRows)
        endResetModel();
    showCurrentRow();
}

// Reading is left to the idle loop, so that it never runs in the middle of
// somebody else's walk over the records.
void DataSetGridModel::scheduleReload()
{
    if (m_reading || m_reloadPending)
        return;
    m_reloadPending = true;
    QTimer::singleShot(0, this, &DataSetGridModel::reload);
}

void DataSetGridModel::followCursor()
{
    TDataSet *dataSet = m_link->DataSet();
    if (m_reading || !dataSet || !dataSet->Active())
        return;
    const TBookmark here = dataSet->GetBookmark();
    for (int row = 0; row < m_shown.bookmarks.size(); ++row) {
        if (sameRecord(m_shown.bookmarks[row], here)) {
            m_shown.current = row;
            showCurrentRow();
            return;
        }
    }
    scheduleReload();
}

void DataSetGridModel::refreshCurrentRow()
{
    TDataSet *dataSet = m_link->DataSet();
    if (m_reading || !dataSet || !dataSet->Active() || m_shown.current < 0)
        return;
    m_shown.rows[m_shown.current] = rowTexts(*dataSet);
    emit dataChanged(index(m_shown.current, 0), index(m_shown.current, columnCount() - 1));
}

void DataSetGridModel::showCurrentRow()
{
    if (!m_view || !m_view->selectionModel())
        return;
    QScopedValueRollback reading(m_reading, true);
    if (m_shown.current < 0) {
        m_view->selectionModel()->clear();
        return;
    }
    const QModelIndex current = index(m_shown.current, 0);
    m_view->selectionModel()->setCurrentIndex(current, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    m_view->scrollTo(current);
}

void DataSetGridModel::rowChosen(const QModelIndex &index)
{
    TDataSet *dataSet = m_link->DataSet();
    if (m_reading || !index.isValid() || index.row() == m_shown.current || !dataSet || !dataSet->Active())
        return;
    dataSet->GotoBookmark(m_shown.bookmarks.value(index.row()));
}

DataSetGridModel::Snapshot DataSetGridModel::readRecords(TDataSet &dataSet) const
{
    QScopedValueRollback reading(m_reading, true);
    Snapshot snapshot;
    QuietWalk walk(dataSet);
    for (dataSet.First(); !dataSet.Eof(); dataSet.Next()) {
        const TBookmark record = dataSet.GetBookmark();
        if (sameRecord(record, walk.start()))
            snapshot.current = int(snapshot.rows.size());
        snapshot.rows.append(rowTexts(dataSet));
        snapshot.bookmarks.append(record);
    }
    walk.end();
    return snapshot;
}

QStringList DataSetGridModel::rowTexts(const TDataSet &dataSet) const
{
    QStringList texts;
    for (const Column &column : m_columns) {
        const TField *field = dataSet.FindField(column.fieldName);
        texts << (field ? field->AsString() : QString());
    }
    return texts;
}
