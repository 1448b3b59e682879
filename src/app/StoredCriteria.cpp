#include "app/StoredCriteria.h"

#include "app/Utils.h"
#include "lib/data/Qkfltdlg.h"
#include "platform/db/TDataSource.h"
#include "platform/db/TTable.h"
#include "platform/runtime/StringLists.h"

namespace {

constexpr int itemsPerField = 7;

bool matchTypeOf(const QString &letter, TqkFilterMatchType &type)
{
    if (letter.size() != 1 || letter[0] < QLatin1Char('A') || letter[0] > QLatin1Char('F'))
        return false;
    type = TqkFilterMatchType(letter[0].unicode() - 'A');
    return true;
}

}

bool LoadFilterFields(TqkFilterDialog *dialog, const QStringList &items, TDataSet *dataSet)
{
    dialog->ClearFilter();
    if (items.isEmpty())
        return true;
    // Group by group: an unknown field of an earlier group is still named
    // when a later group turns out incomplete.
    for (int i = 0; i < items.size(); i += itemsPerField) {
        TqkFilterMatchType matchType = fdMatchStart;
        if (items.size() - i < itemsPerField) {
            dialog->ClearFilter();
            return false;
        }
        if (!dataSet->FindField(items[i])) {
            ShowPlainMessage(QStringLiteral("Feldname ") + items[i] + QStringLiteral(" gibt es nicht!"));
            continue;
        }
        if (!matchTypeOf(items[i + 1], matchType)) {
            dialog->ClearFilter();
            return false;
        }
        auto info = std::make_unique<TqkFieldInfo>();
        info->FieldName = items[i];
        info->MatchType = matchType;
        info->FilterValue = items[i + 2];
        info->MinValue = items[i + 3];
        info->MaxValue = items[i + 4];
        info->CaseSensitive = items[i + 5] == QLatin1String("J");
        info->NonMatching = items[i + 6] == QLatin1String("J");
        dialog->FieldInfo().push_back(std::move(info));
    }
    dialog->ApplyFilter();
    return true;
}

bool ApplyStoredCriteria(TDataSource *source, TqkFilterDialog *dialog, TTable *table, const QString &definition)
{
    source->SetDataSet(table);
    dialog->SetDataSource(source);
    if (definition.isEmpty()) {
        dialog->ClearFilter();
        return true;
    }
    if (LoadFilterFields(dialog, FromCommaText(definition), table))
        return true;
    ShowError(QStringLiteral("GetRecords"),
              QStringLiteral("loadfilter von ") + definition + QStringLiteral(" erfolglos"));
    return false;
}
