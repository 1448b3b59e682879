#pragma once

#include <QString>

class TDataSet;
class TTemplateContext;

// What the e-mail tab holds for the addresses and the subject; the copy
// and blind-copy texts take a corrected list when the user asks for it.
struct TEmailTabTexts
{
    QString SendTo;
    QString CC;
    QString BCC;
    QString Betreff;
};

extern const QString AutomaticRecipientText;

// The address prompt as the recipient determination sees it.
class TAddressPrompt
{
public:
    struct Request
    {
        QString Message;
        QString Address;
        QString Label;
        QString SaveCaption;
    };

    virtual ~TAddressPrompt() = default;
    // "Alle ungültigen E-Mails ignorieren" was chosen earlier in this run.
    virtual bool CancelAll() const = 0;
    // Shows the prompt; true for OK with the edited address and the save choice.
    virtual bool Ask(const Request &request, QString &address, bool &save) = 0;
};

struct TEmailAddresses
{
    QString SendTo;
    QString CC;
    QString BCC;
    QString Betreff;
};

// Works out one document's addresses and subject from the tab's texts and
// the partner record. With a prompt, invalid lists are offered for
// correction; returns false when the document is not to be sent.
class TRecipientResolver
{
public:
    TRecipientResolver(TTemplateContext &context, TDataSet &partner, const QString &partnerWord);

    bool Resolve(TEmailTabTexts &tab, TAddressPrompt *prompt, TEmailAddresses &result);

private:
    enum class Answer { Valid, Declined, CancelAll };

    QString firstOutputLine(const QString &templateLine);
    QString promptMessage(const char *kind);
    Answer askForRecipient(TAddressPrompt &prompt, QString &recipient);
    Answer askForCopies(TAddressPrompt &prompt, const char *kind, const char *label, QString &list, QString &tabText);
    void savePartnerAddress(const QString &address);

    TTemplateContext &m_context;
    TDataSet &m_partner;
    QString m_partnerWord;
};
