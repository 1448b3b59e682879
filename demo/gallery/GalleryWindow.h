#pragma once

#include "lib/data/Qkdatsrc.h"
#include "platform/db/TTable.h"

#include <QTemporaryDir>
#include <QWidget>

#include <memory>

class TqkDBComboBox;
class TqkFilterDialog;
class TqkDBRichEdit;
class TqkTable;
class TqkDBDateTimePicker;
class TqkMonthCalendar;
class TImageList;

namespace gallery {

// A demo table that publishes the library's picture list.
class GalleryTable : public TTable
{
    Q_OBJECT
    Q_PROPERTY(QStringList PictureMasks MEMBER PictureMasks)

public:
    using TTable::TTable;
    QStringList PictureMasks;
};

// Every edit control of the component library bound to the demo customers
// and orders, with buttons to move through the records and save them.
class GalleryWindow : public QWidget
{
    Q_OBJECT

public:
    // Writes the demo tables into `dataFolder` and opens them.
    explicit GalleryWindow(const QString &dataFolder);
    ~GalleryWindow() override;

    // Pictures of the window, its drop-downs and its dialogs, named after `prefix`.
    void saveScreenshots(const QString &prefix);

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    QWidget *customerGroup();
    QWidget *orderGroup();
    QWidget *unboundGroup();
    QWidget *positionGroup();
    void openPositions(const QString &dataFolder);
    QWidget *markerCombo();
    QWidget *navigation(TDataSet *dataSet, const QString &title);
    QWidget *searchButton();
    void saveFilterScreenshots(const QString &prefix);
    void saveRichEditScreenshots(const QString &prefix);
    void saveGridScreenshot(const QString &prefix);
    void saveWithPopup(QWidget *popup, const QString &name);

    std::unique_ptr<GalleryTable> m_customers;
    std::unique_ptr<GalleryTable> m_orders;
    std::unique_ptr<TqkDataSource> m_customerSource;
    std::unique_ptr<TqkDataSource> m_orderSource;
    std::unique_ptr<TqkTable> m_positions;
    std::unique_ptr<TqkDataSource> m_positionSource;
    TqkDBComboBox *m_country = nullptr;
    TqkDBComboBox *m_marker = nullptr;
    TqkDBDateTimePicker *m_founded = nullptr;
    TqkMonthCalendar *m_calendar = nullptr;
    std::unique_ptr<TqkFilterDialog> m_filter;
    TqkDBRichEdit *m_remark = nullptr;
    TImageList *m_priceClasses = nullptr;
};

// Shows the gallery on demo tables in a temporary folder until its window
// closes; the folder goes with it. With "--screenshot PREFIX" in `arguments`
// the pictures are saved instead.
int showGallery(const QStringList &arguments);

}
