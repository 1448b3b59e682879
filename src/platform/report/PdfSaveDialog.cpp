#include "platform/report/PdfSaveDialog.h"

#include "platform/ui/GermanFileDetails.h"
#include "platform/ui/UiServices.h"

#include <QDir>
#include <QFileInfo>

namespace report {
namespace {

const QString kTitle = QStringLiteral("Als PDF speichern");

bool replaceAllowed(const QString &path)
{
    return !QFileInfo::exists(path)
           || ui::services().messageBox(QStringLiteral("Die Datei %1 ist schon vorhanden. Soll sie ersetzt werden?")
                                            .arg(QDir::toNativeSeparators(path)),
                                        kTitle, ui::MsgIcon::Question, ui::MsgButtons::YesNo, ui::IDNO)
                  == ui::IDYES;
}

} // namespace

PdfSaveDialog::PdfSaveDialog(QWidget *parent, const QString &suggestedPath)
    : QFileDialog(parent, kTitle, suggestedPath, QStringLiteral("PDF-Dateien (*.pdf)"))
{
    setAcceptMode(QFileDialog::AcceptSave);
    setOption(QFileDialog::DontConfirmOverwrite);
    ui::showFileDetailsInGerman(*this);
}

// A folder chosen is opened by Qt's own handling, as in any file dialog.
void PdfSaveDialog::accept()
{
    const QStringList chosen = selectedFiles();
    if (chosen.isEmpty() || QFileInfo(chosen.constFirst()).isDir()) {
        QFileDialog::accept();
        return;
    }
    QString path = chosen.constFirst();
    if (!path.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive))
        path += QStringLiteral(".pdf");
    if (!replaceAllowed(path))
        return;
    m_pdfPath = path;
    QFileDialog::accept();
}

} // namespace report
