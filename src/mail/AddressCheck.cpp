#include "mail/AddressCheck.h"

#include "platform/runtime/StringLists.h"

namespace {

// Blanks and control characters at both ends do not count.
QString withoutOuterBlanks(const QString &text)
{
    qsizetype start = 0;
    qsizetype end = text.size();
    while (start < end && text.at(start) <= QLatin1Char(' '))
        ++start;
    while (end > start && text.at(end - 1) <= QLatin1Char(' '))
        --end;
    return text.mid(start, end - start);
}

bool holdsForbiddenCharacter(const QString &address)
{
    static const QString forbidden = QStringLiteral(" äöüß[]():");
    const QString lower = address.toLower();
    for (const QChar c : forbidden) {
        if (lower.contains(c))
            return true;
    }
    return false;
}

bool isInvalidDomain(const QString &domain)
{
    if (domain.size() < 2)
        return true;
    const qsizetype point = domain.indexOf(QLatin1Char('.'));
    return point <= 0 || point == domain.size() - 1;
}

}

bool CheckAddressList(const QString &text, QStringList &addresses)
{
    QString cleaned = text;
    cleaned.replace(QLatin1Char(';'), QLatin1Char(','));
    cleaned.remove(QLatin1Char(' '));
    cleaned.remove(QLatin1Char('"'));
    addresses = cleaned.isEmpty() ? QStringList() : FromCommaText(cleaned);
    for (const QString &address : std::as_const(addresses)) {
        if (IsInvalidAddress(address))
            return false;
    }
    return true;
}

bool IsInvalidAddress(const QString &address)
{
    if (withoutOuterBlanks(address).isEmpty() || holdsForbiddenCharacter(address))
        return true;
    const qsizetype at = address.indexOf(QLatin1Char('@'));
    if (at <= 0 || at == address.size() - 1)
        return true;
    const QString domain = address.mid(at + 1);
    return domain.contains(QLatin1Char('@')) || isInvalidDomain(domain);
}
