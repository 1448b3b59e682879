#include "demo/tables/ReceivablesData.h"

#include "demo/tables/DocumentData.h"

#include <QDate>

namespace demo {
namespace {

struct Payment
{
    QString partner;
    QString document;
    QDate date;
    double amount;
    QString method;
    QString voucher;
};

const QList<Payment> &salesPayments()
{
    static const QList<Payment> payments = {
        {"10005", "20260011", QDate(2026, 10, 9), 500.00, "Überweisung", "KA-2026-0398"},
        {"10001", "20260001", QDate(2026, 10, 20), 1000.00, "Überweisung", "KA-2026-0411"},
        {"10006", "20260007", QDate(2026, 10, 30), salesDocumentTotal("20260007"), "Lastschrift", "KA-2026-0430"},
        {"10007", "20260008", QDate(2026, 11, 2), salesDocumentTotal("20260008"), "Bar", "BAR-0815"},
        {"10001", "20260001", QDate(2026, 11, 13), 250.00, "Überweisung", "KA-2026-0462"},
        {"10003", "20260004", QDate(2026, 11, 20), 100.00, "Scheck", "KA-2026-0477"},
    };
    return payments;
}

const QList<Payment> &purchasePayments()
{
    static const QList<Payment> payments = {
        {"70001", "30260001", QDate(2026, 10, 15), 300.00, "Überweisung", "BA-2026-0102"},
        {"70001", "30260001", QDate(2026, 11, 16), 150.00, "Überweisung", "BA-2026-0131"},
    };
    return payments;
}

double paidOn(const QList<Payment> &payments, const QString &document)
{
    double sum = 0;
    for (const Payment &payment : payments) {
        if (payment.document == document)
            sum = roundCents(sum + payment.amount);
    }
    return sum;
}

Rows paymentRowsOf(const QList<Payment> &payments)
{
    Rows rows;
    int number = 0;
    for (const Payment &payment : payments) {
        rows << Row{{"LfdNr", ++number},
                    {"kundennr", payment.partner},
                    {"auftragnr", payment.document},
                    {"Zahldatum", payment.date},
                    {"zahlbetrag", payment.amount},
                    {"zahlbetragWae", payment.amount},
                    {"Skonto", 0.0},
                    {"Zahlart", payment.method},
                    {"Beleg", payment.voucher}};
    }
    return rows;
}

// The state of a sales invoice before the next dunning run: its current
// level, the dates of the levels already sent, and the level proposed now.
struct OpenItem
{
    QString customer;
    QString document;
    QDate invoiceDate;
    int level;
    QList<QDate> dunningDates;
    int proposedLevel;
};

const QList<OpenItem> &openItems()
{
    static const QList<OpenItem> items = {
        {"10001", "20260001", QDate(2026, 10, 6), 0, {}, 1},
        {"10003", "20260004", QDate(2026, 10, 19), 0, {}, 0},
        {"10006", "20260007", QDate(2026, 10, 28), 0, {}, 0},
        {"10001", "20260009", QDate(2026, 8, 4), 2, {QDate(2026, 9, 7), QDate(2026, 9, 28)}, 3},
        {"10001", "20260010", QDate(2026, 9, 8), 1, {QDate(2026, 10, 12)}, 2},
        {"10005", "20260011", QDate(2026, 8, 17), 1, {QDate(2026, 9, 14)}, 2},
        {"10005", "20260012", QDate(2026, 9, 21), 0, {}, 1},
    };
    return items;
}

// Interest runs from the due date to the day of the dunning run.
const QDate dunningRunDate(2026, 11, 30);
constexpr double interestRate = 8.12;
constexpr int paymentDays = 14;

int overdueDays(const OpenItem &item)
{
    return int(item.invoiceDate.addDays(paymentDays).daysTo(dunningRunDate));
}

double openAmount(const OpenItem &item)
{
    return roundCents(salesDocumentTotal(item.document) - paidOn(salesPayments(), item.document));
}

double interestOf(const OpenItem &item)
{
    return roundCents(openAmount(item) * interestRate / 100 * overdueDays(item) / 360);
}

Row openItemRow(const OpenItem &item)
{
    const double value = salesDocumentTotal(item.document);
    const double paid = paidOn(salesPayments(), item.document);
    Row row{{"auftragnr", item.document},
            {"kundennr", item.customer},
            {"Datum", item.invoiceDate},
            {"faellig", item.invoiceDate.addDays(paymentDays)},
            {"auftragswert", value},
            {"auftragswertWae", value},
            {"gezahlt", paid},
            {"gezahltWae", paid},
            {"offenerBetrag", openAmount(item)},
            {"offenerBetragWae", openAmount(item)},
            {"mahnstufe", item.level}};
    for (int i = 0; i < item.dunningDates.size(); ++i)
        row.insert(QStringLiteral("mahndatum%1").arg(i + 1), item.dunningDates.at(i));
    return row;
}

}

Rows openItemRows()
{
    Rows rows;
    for (const OpenItem &item : openItems())
        rows << openItemRow(item);
    return rows;
}

Rows purchaseOpenItemRows()
{
    Rows rows;
    for (const QString &document : {QStringLiteral("30260001"), QStringLiteral("30260004")}) {
        const double value = purchaseDocumentTotal(document);
        const double paid = paidOn(purchasePayments(), document);
        rows << Row{{"auftragnr", document},
                    {"kundennr", document == QLatin1String("30260001") ? "70001" : "70003"},
                    {"Datum", document == QLatin1String("30260001") ? QDate(2026, 9, 29) : QDate(2026, 11, 17)},
                    {"faellig", document == QLatin1String("30260001") ? QDate(2026, 10, 29) : QDate(2026, 12, 17)},
                    {"Auftragswert", value},
                    {"AuftragswertWae", value},
                    {"Gezahlt", paid},
                    {"GezahltWae", paid}};
    }
    return rows;
}

// Customer 10001 is proposed at levels 1, 3 and 2 in key order, customer
// 10005 at levels 2 and 1.
Rows dunningProposalRows()
{
    Rows rows;
    for (const OpenItem &item : openItems()) {
        if (item.proposedLevel == 0)
            continue;
        const double interest = interestOf(item);
        rows << Row{{"kundennr", item.customer},        {"auftragnr", item.document}, {"mahnstufe", item.proposedLevel},
                    {"mahnzinsen", interestRate},       {"mahnzinsbetrag", interest}, {"mahnzinsbetragWae", interest},
                    {"mahnzinstage", overdueDays(item)}};
    }
    return rows;
}

Rows dunningLevelRows()
{
    return rowsOf(
        {"Mahnstufe", "Bezeichnung", "zahlfrist", "mahngebuehr", "mahngebuehrWae", "Zinssatz", "mahntext"},
        {
            {1, "Zahlungserinnerung", 14, 0.0, 0.0, 0.0,
             "#Briefanrede\r\n\r\nsicher ist es Ihrer Aufmerksamkeit entgangen, dass die folgenden Rechnungen "
             "noch offen sind. Bitte überweisen Sie den Betrag innerhalb von #Zahlfristtage Tagen, spätestens bis "
             "zum #Zahlfristdatum."},
            {2, "1. Mahnung", 10, 5.00, 5.00, interestRate,
             "#Briefanrede\r\n\r\nleider konnten wir bis heute keinen Zahlungseingang feststellen. Bitte "
             "begleichen Sie den offenen Betrag bis zum #Zahlfristdatum."},
            {3, "2. Mahnung", 7, 10.00, 10.00, interestRate,
             "#Briefanrede\r\n\r\ntrotz unserer Mahnung ist der Betrag weiterhin offen. Bitte zahlen Sie "
             "innerhalb von #Zahlfristtage Tagen. Verstreicht auch diese Frist ohne Zahlung, berechnen wir "
             "weitere Gebühren."},
            {4, "3. Mahnung", 7, 15.00, 15.00, interestRate,
             "#Briefanrede\r\n\r\nwir fordern Sie letztmalig auf, den Betrag bis zum #Zahlfristdatum zu zahlen."},
            {5, "Letzte Mahnung", 5, 25.00, 25.00, interestRate,
             "#Briefanrede\r\n\r\ngeht der Betrag nicht bis zum #Zahlfristdatum ein, übergeben wir die Forderung "
             "ohne weitere Ankündigung einem Inkassobüro."},
        });
}

Rows paymentRows()
{
    return paymentRowsOf(salesPayments());
}

Rows purchasePaymentRows()
{
    return paymentRowsOf(purchasePayments());
}

}
