#pragma once

#include "mail/Variant.h"

#include <QString>
#include <QStringList>

class TFormatlist;
class TFormular;

// Cuts the first piece of at most Width columns off Text: at the first line
// break, else after the last blank or "-", else at Width. A width below 1
// means no wrap: the piece runs to the first line break.
void WrapText(QString &text, int width, QString &piece);

// One run of the template language over the documents of an e-mail job: the
// vocabulary it resolves names in, the loaded template, and the state that
// lives from line to line (the condition depth).
class TTemplateContext
{
public:
    // The most placeholders and bracket groups one template line may hold.
    static constexpr int MaxSlots = 51;
    // No placeholder may be wider than this; wider formats are refused.
    static constexpr int MaxWidth = 1000;

    explicit TTemplateContext(TFormatlist &vocabulary, const TFormular *formular = nullptr);

    TFormatlist &Vocabulary() const { return m_vocabulary; }
    void SetFormular(const TFormular *formular) { m_formular = formular; }

    // Decimals for floating-point and currency placeholders that give none
    // (the e-mail setting of the form-entry dialog; empty: the format's own).
    QString DefaultDecimals;

    int ConditionDepth() const { return m_depth; }

    // Before each document: conditions closed, command values emptied, every
    // variable removed.
    void ResetTemplateState();

    // Appends the output lines of one template line; raises EFormularerror.
    bool ProcessTemplateLine(const QString &line, QStringList &output, const QString &suffix);
    void ProcessFormSection(int section, QStringList &output, const QString &suffix);
    void EvaluateExpression(const mail::Variant &expression, mail::Variant &result) const;

private:
    void ProcessCommandLine(const QString &line);
    void ProcessCondition(const QString &argument);
    void ProcessVariable(const QString &argument);

    TFormatlist &m_vocabulary;
    const TFormular *m_formular;
    int m_depth = 0;
};
