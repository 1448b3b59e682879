#pragma once

#include "mail/EmailText.h"
#include "mail/TemplateLanguage.h"

#include <QString>
#include <QStringList>

#include <memory>

// One document's generated e-mail.
struct TGeneratedEmail
{
    QStringList Text;
    QString SendTo;
    QString CC;
    QString BCC;
    QString Betreff;
    int Pages = 1;
};

// What the sending roads and the preview share over the requested
// documents: the template run on the e-mail state's tables, the e-mail
// tab's texts, and the walk over the documents.
class TEmailRun
{
public:
    TEmailRun();
    ~TEmailRun();
    TEmailRun(const TEmailRun &) = delete;
    TEmailRun &operator=(const TEmailRun &) = delete;

    // Places the head table on the first requested document; false after
    // the message when there is none.
    bool FindFirstDocument();
    // Moves to the next requested document; false when the run is done.
    bool NextDocument();

    // False when the document is not to be sent. Copy lists corrected in
    // the prompt go back into the tab.
    bool Generate(TGeneratedEmail &email, bool preview, bool ask);

    bool AttachmentMode() const;
    // The tab's attachment name without any folder, or the module's name +
    // ".txt" (then shown in the tab).
    QString AttachmentName() const;
    // The body that goes with an attachment: the template's attachment
    // section as it stands.
    QString AttachmentNote() const;

private:
    TTemplateContext m_context;
    std::unique_ptr<TEmailGenerator> m_generator;
};

// Lines joined with CR LF, as mail bodies and attachment files carry them;
// a line break inside a line (a value of several lines) is a CR LF too.
QString JoinedLines(const QStringList &lines);

// Writes an attachment file in the suite's encoding; false after a message
// when the name is taken meanwhile or the file cannot be written.
bool WriteAttachmentFile(const QString &path, const QStringList &text);
