#include "demo/tables/DemoArticles.h"

#include "platform/runtime/Exceptions.h"

namespace demo {

const QList<DemoArticle> &demoArticles()
{
    static const QList<DemoArticle> articles = {
        {"1001", "Schraube M6x40 verzinkt", "Stück", 20.00, 32.00, 100, "70001", "1", 4800},
        {"1002", "Dübel Nylon 8 mm", "Stück", 7.00, 12.00, 100, "70001", "1", 2500},
        {"1003", "Holzleim wasserfest 750 g", "Flasche", 5.10, 8.95, 1, "70002", "1", 64},
        {"1004", "Akku-Bohrschrauber 18 V", "Stück", 89.00, 149.00, 1, "70003", "1", 12},
        {"1005", "Bohrersatz HSS 19-tlg.", "Satz", 14.20, 24.90, 1, "70001", "1", 30},
        {"1006", "Schleifpapier K120, 10 Bogen", "Pack", 3.10, 5.49, 1, "70002", "1", 140},
        {"1007", "Wasserwaage 60 cm", "Stück", 50.00, 75.00, 1, "70001", "1", 9},
        {"1008", "Gliedermaßstab 2 m", "Stück", 3.80, 6.95, 1, "70001", "1", 75},
        {"1009", "Arbeitshandschuhe Größe 10", "Paar", 2.40, 4.50, 1, "70003", "1", 200},
        {"1010", "Kabeltrommel 25 m", "Stück", 31.00, 54.90, 1, "70003", "1", 7},
        {"1011", "LED-Strahler 30 W", "Stück", 17.50, 32.00, 1, "70003", "1", 22},
        {"1012", "Werkzeugkoffer „Meister“, bestückt", "Stück", 160.00, 279.00, 1, "", "1", 3},
        {"1013", "Spanplatte 19 mm, 2800 × 2070 mm", "Platte", 28.40, 46.80, 1, "70002", "1", 40},
        {"1014", "Türdrücker Edelstahl", "Garnitur", 12.90, 24.50, 1, "70001", "1", 18},
        {"1015", "Silikon transparent 310 ml", "Kartusche", 3.20, 6.20, 1, "70002", "1", 96},
        {"1016", "Fachbuch „Holzbau für Praktiker“", "Stück", 21.00, 34.80, 1, "70002", "2", 11},
    };
    return articles;
}

const DemoArticle &demoArticle(const QString &nr)
{
    for (const DemoArticle &article : demoArticles()) {
        if (article.nr == nr)
            return article;
    }
    throw Exception(QStringLiteral("Demo-Artikel %1 gibt es nicht.").arg(nr));
}

double demoTaxRate(const QString &taxKey)
{
    return taxKey.trimmed() == QLatin1String("2") ? 7.0 : 19.0;
}

}
