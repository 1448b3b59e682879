#include "platform/ui/GermanFileDetails.h"

#include <QFileDialog>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QIdentityProxyModel>
#include <QLocale>
#include <QStyle>
#include <QTreeView>

namespace ui {
namespace {

// The columns of Qt's file system model.
constexpr int kSizeColumn = 1;
constexpr int kDateColumn = 3;

class GermanFileDetailsModel : public QIdentityProxyModel
{
public:
    using QIdentityProxyModel::QIdentityProxyModel;

    QVariant data(const QModelIndex &index, int role) const override
    {
        const auto *files = qobject_cast<const QFileSystemModel *>(sourceModel());
        if (role != Qt::DisplayRole || !files)
            return QIdentityProxyModel::data(index, role);
        static const QLocale german(QLocale::German, QLocale::Germany);
        const QModelIndex source = mapToSource(index);
        if (index.column() == kDateColumn)
            return german.toString(files->lastModified(source), QStringLiteral("dd.MM.yyyy HH:mm"));
        if (index.column() == kSizeColumn && !files->isDir(source))
            return german.formattedDataSize(files->size(source));
        return QIdentityProxyModel::data(index, role);
    }
};

} // namespace

void showFileDetailsInGerman(QFileDialog &dialog)
{
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setProxyModel(new GermanFileDetailsModel(&dialog));
    // Qt sizes the date column for its English short form, which cuts a
    // German date with its four-digit year.
    if (auto *details = dialog.findChild<QTreeView *>(QStringLiteral("treeView"))) {
        const int margins = 2 * (details->style()->pixelMetric(QStyle::PM_FocusFrameHMargin) + 1)
                            + 2 * details->style()->pixelMetric(QStyle::PM_HeaderMargin);
        details->header()->resizeSection(
            kDateColumn, details->fontMetrics().horizontalAdvance(QStringLiteral("00.00.0000 00:00")) + margins);
    }
}

} // namespace ui
