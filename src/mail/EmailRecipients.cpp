#include "mail/EmailRecipients.h"

#include "mail/AddressCheck.h"
#include "mail/TemplateLanguage.h"
#include "platform/db/TDataSet.h"
#include "platform/db/TField.h"

const QString AutomaticRecipientText = QStringLiteral("{E-Mail-Adresse wird automatisch ermittelt}");

namespace {

bool isValidList(const QString &text)
{
    QStringList addresses;
    return CheckAddressList(text, addresses);
}

// A partner that was not found is an empty record, never the one before.
QString partnerField(TDataSet &partner, const char *name)
{
    const TField *field = partner.FindField(QLatin1String(name));
    return field && !partner.IsEmpty() ? field->AsString() : QString();
}

QString oneLine(QString text)
{
    return text.replace(QStringLiteral("\r\n"), QStringLiteral(" "))
        .replace(QLatin1Char('\r'), QLatin1Char(' '))
        .replace(QLatin1Char('\n'), QLatin1Char(' '));
}

}

TRecipientResolver::TRecipientResolver(TTemplateContext &context, TDataSet &partner, const QString &partnerWord)
    : m_context(context), m_partner(partner), m_partnerWord(partnerWord)
{}

QString TRecipientResolver::firstOutputLine(const QString &templateLine)
{
    QStringList output;
    m_context.ProcessTemplateLine(templateLine, output, QString());
    return output.isEmpty() ? QString() : output.first();
}

QString TRecipientResolver::promptMessage(const char *kind)
{
    return QStringLiteral("Die E-Mail ") + QString::fromUtf8(kind) + QStringLiteral("Adresse für den ") + m_partnerWord
           + QLatin1Char(' ') + partnerField(m_partner, "Name") + QStringLiteral(" ist ungültig. Bitte geben Sie eine ")
           + QStringLiteral("neue Adresse an.");
}

void TRecipientResolver::savePartnerAddress(const QString &address)
{
    m_partner.Edit();
    m_partner.FieldByName(QStringLiteral("EMail"))->SetAsString(address);
    m_partner.Post();
}

TRecipientResolver::Answer TRecipientResolver::askForRecipient(TAddressPrompt &prompt, QString &recipient)
{
    while (recipient.isEmpty() || !isValidList(recipient)) {
        if (prompt.CancelAll())
            return Answer::CancelAll;
        const TAddressPrompt::Request request{promptMessage(""), recipient, QStringLiteral("Senden &an"),
                                              QStringLiteral("In ") + m_partnerWord
                                                  + QStringLiteral("-Datenbank &speichern")};
        bool save = false;
        if (!prompt.Ask(request, recipient, save))
            return prompt.CancelAll() ? Answer::CancelAll : Answer::Declined;
        if (save && !recipient.isEmpty() && isValidList(recipient) && !m_partner.IsEmpty())
            savePartnerAddress(recipient);
    }
    return Answer::Valid;
}

TRecipientResolver::Answer TRecipientResolver::askForCopies(TAddressPrompt &prompt, const char *kind, const char *label,
                                                            QString &list, QString &tabText)
{
    while (!list.isEmpty() && !isValidList(list)) {
        if (prompt.CancelAll())
            return Answer::CancelAll;
        const TAddressPrompt::Request request{promptMessage(kind), list, QString::fromUtf8(label),
                                              QStringLiteral("In ") + QString::fromUtf8(kind).chopped(1)
                                                  + QStringLiteral("-Zeile &speichern")};
        bool save = false;
        if (!prompt.Ask(request, list, save))
            return prompt.CancelAll() ? Answer::CancelAll : Answer::Declined;
        if (save && isValidList(list))
            tabText = list;
    }
    return Answer::Valid;
}

bool TRecipientResolver::Resolve(TEmailTabTexts &tab, TAddressPrompt *prompt, TEmailAddresses &result)
{
    const QString sendTo = tab.SendTo;
    result.SendTo = sendTo.isEmpty() || sendTo == AutomaticRecipientText ? partnerField(m_partner, "EMail")
                                                                         : firstOutputLine(sendTo);
    bool send = true;
    bool asking = prompt != nullptr;
    const auto consider = [&](Answer answer) {
        if (answer == Answer::Declined) {
            send = false;
            asking = false;
        }
        return answer != Answer::CancelAll;
    };
    if (asking && !consider(askForRecipient(*prompt, result.SendTo)))
        return false;
    result.CC = tab.CC.isEmpty() ? QString() : firstOutputLine(tab.CC);
    if (asking && !consider(askForCopies(*prompt, "CC-", "&CC", result.CC, tab.CC)))
        return false;
    result.BCC = tab.BCC.isEmpty() ? QString() : firstOutputLine(tab.BCC);
    if (asking && !consider(askForCopies(*prompt, "BCC-", "&BCC", result.BCC, tab.BCC)))
        return false;
    result.Betreff = oneLine(firstOutputLine(tab.Betreff));
    return send;
}
