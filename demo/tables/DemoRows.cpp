#include "demo/tables/DemoRows.h"

#include "demo/tables/ContactData.h"
#include "demo/tables/DocumentData.h"
#include "demo/tables/FormRows.h"
#include "demo/tables/MailProgramData.h"
#include "demo/tables/MasterData.h"
#include "demo/tables/ReceivablesData.h"
#include "demo/tables/SettingsData.h"
#include "demo/tables/TableCatalog.h"
#include "platform/runtime/Exceptions.h"

#include <functional>

namespace demo {

Rows rowsOf(const QStringList &columns, const QList<QVariantList> &values)
{
    Rows rows;
    for (const QVariantList &list : values) {
        Row row;
        for (int i = 0; i < columns.size() && i < list.size(); ++i) {
            if (list.at(i).isValid())
                row.insert(columns.at(i), list.at(i));
        }
        rows << row;
    }
    return rows;
}

Rows demoRows(const QString &tableName)
{
    static const QHash<QString, std::function<Rows()>> generators = {
        {"formular.db", formRows},
        {"setup.db", companySetupRows},
        {"setuploc.db", workstationSetupRows},
        {"stsatz.db", taxRateRows},
        {"auftrag.db", orderRows},
        {"atrpos.db", orderPositionRows},
        {"bestell.db", purchaseRows},
        {"bestpos.db", purchasePositionRows},
        {"kunden.db", customerRows},
        {"liefer.db", supplierRows},
        {"mitarbei.db", staffRows},
        {"artikel.db", articleRows},
        {"laender.db", countryRows},
        {"kunpreis.db", customerPriceRows},
        {"kartdru.db", statisticsArticleRows},
        {"artstlst.db", billOfMaterialRows},
        {"lagerbew.db", stockMovementRows},
        {"mabkun.db", staffCustomerRows},
        {"offpos.db", openItemRows},
        {"offposbe.db", purchaseOpenItemRows},
        {"offposma.db", dunningProposalRows},
        {"mahnpara.db", dunningLevelRows},
        {"umsatz.db", paymentRows},
        {"umsatzbe.db", purchasePaymentRows},
        {"ansprech.db", contactPersonRows},
        {"kontakte.db", contactRows},
        {"aufgaben.db", taskRows},
        {"gruppen.db", groupRows},
        {"grzuord.db", groupAssignmentRows},
        {"am-benutzer.db", mailUserRows},
        {"mailausgang.db", outboxRows},
        {"maileingang.db", inboxRows},
        {"mailgesendet.db", sentRows},
        {"mailtrash.db", trashRows},
        {"texte.db", textBlockRows},
    };
    const QString fileName = tableSpec(tableName).fileName.toLower();
    const auto generator = generators.constFind(fileName);
    if (generator == generators.constEnd())
        throw Exception(QStringLiteral("Für die Tabelle %1 gibt es keine Demodaten.").arg(tableName));
    return (*generator)();
}

}
