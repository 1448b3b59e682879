#pragma once

#include "platform/db/DbTypes.h"

#include <QAbstractTableModel>
#include <QList>
#include <QPointer>
#include <QStringList>
#include <QVector>

#include <memory>

class QTableView;
class TDataSet;
class TDataSource;

// Shows the records of a data source in a table view, read-only, and keeps
// the view's current row and the data set's current record together.
class DataSetGridModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    struct Column
    {
        QString fieldName;
        QString title;
        int width = 0;
        Qt::Alignment alignment = Qt::AlignLeft;
    };

    DataSetGridModel(TDataSource *source, QList<Column> columns, QObject *parent = nullptr);
    ~DataSetGridModel() override;

    // Shows the model in the view; choosing a row there makes its record current.
    void attach(QTableView *view);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // Reads the records again at once; after a change of the data this
    // happens by itself as soon as the event loop is idle.
    void reload();
    // The row of the current record, -1 when there is none.
    int currentRow() const { return m_shown.current; }

private:
    class Link;
    struct Snapshot
    {
        QVector<QStringList> rows;
        QVector<TBookmark> bookmarks;
        int current = -1;
        bool operator==(const Snapshot &other) const;
    };

    void scheduleReload();
    void followCursor();
    void refreshCurrentRow();
    void showCurrentRow();
    void rowChosen(const QModelIndex &index);
    Snapshot readRecords(TDataSet &dataSet) const;
    QStringList rowTexts(const TDataSet &dataSet) const;

    std::unique_ptr<Link> m_link;
    QList<Column> m_columns;
    Snapshot m_shown;
    QPointer<QTableView> m_view;
    bool m_reloadPending = false;
    mutable bool m_reading = false;
};
