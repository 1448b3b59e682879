#include "FuzzInput.h"

#include "mail/TemplateLanguage.h"
#include "mail/formularmodul.h"
#include "mail/parsermodul.h"

#include <QDir>
#include <QTemporaryFile>

namespace {

// A value of each kind, as the documents give them, afresh for every input:
// the template state's reset removes variables.
void fillVocabulary(TFormatlist &list)
{
    list.RegisterTemplateCommands();
    list.AddItem()->SetVariable("Zahl", "Zahl", mail::Variant(qint64(42)), "Zahl");
    list.AddItem()->SetVariable("Betrag", "Betrag", mail::Variant(1234.5), "Betrag");
    list.AddItem()->SetVariable("Name", "Name", mail::Variant(QStringLiteral("Müller")), "Name");
}
}

// The template file as read from disk, then every section through the
// template language: only the template error may leave it.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    QTemporaryFile file(QDir::tempPath() + QStringLiteral("/fuzz-template-XXXXXX.frm"));
    if (!file.open() || file.write(fuzzBytes(data, size)) != qint64(size) || !file.flush())
        return 0;
    TFormular formular;
    formular.LoadFromFile(file.fileName());
    TFormatlist vocabulary;
    fillVocabulary(vocabulary);
    TTemplateContext context(vocabulary, &formular);
    for (int section = 0; section < FormularSectionCount; ++section) {
        QStringList output;
        try {
            context.ProcessFormSection(section, output, QString());
        } catch (const EFormularerror &) {
        }
    }
    context.ResetTemplateState();
    return 0;
}
