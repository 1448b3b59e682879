#pragma once

#include <QList>
#include <QString>

namespace demo {

// The demo's article master, shared by the article table and the documents
// that sell and buy these articles. Prices are per price unit
// ("PreisEinheit": screws are priced per hundred).
struct DemoArticle
{
    QString nr;
    QString description;
    QString unit;
    double purchasePrice;
    double salesPrice;
    int priceUnit;
    QString supplierNr;
    QString taxKey;
    double stock;
};

const QList<DemoArticle> &demoArticles();
const DemoArticle &demoArticle(const QString &nr);

// Tax rates of the demo by key ("1" full, "2" reduced), in percent.
double demoTaxRate(const QString &taxKey);

}
