#include "lib/data/qkDialog.h"

#include "lib/data/Qkcommon.h"
#include "lib/data/Qkintl.h"

#include <QApplication>
#include <QDialog>
#include <QScreen>
#include <QStyle>

namespace {

QStyle::StandardPixmap glyphOf(TBitBtnKind kind)
{
    switch (kind) {
    case bkOK:
        return QStyle::SP_DialogOkButton;
    case bkCancel:
        return QStyle::SP_DialogCancelButton;
    case bkHelp:
        return QStyle::SP_DialogHelpButton;
    }
    return QStyle::SP_DialogOkButton;
}

void styleBitmapButton(TBitBtn &button, TBitBtnKind kind)
{
    button.SetKind(kind);
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPixelSize(11);
    const TFontStyles styles = qkIntl().DialogFontStyle;
    font.setBold(styles.testFlag(fsBold));
    font.setItalic(styles.testFlag(fsItalic));
    font.setUnderline(styles.testFlag(fsUnderline));
    font.setStrikeOut(styles.testFlag(fsStrikeOut));
    button.setFont(font);
    QPalette palette = button.palette();
    palette.setColor(QPalette::ButtonText, palette.color(QPalette::WindowText));
    button.setPalette(palette);
}

void connectResult(QPushButton &button, QWidget *owner, TBitBtnKind kind)
{
    auto *dialog = qobject_cast<QDialog *>(owner);
    if (!dialog)
        return;
    if (kind == bkOK)
        QObject::connect(&button, &QPushButton::clicked, dialog, &QDialog::accept);
    else if (kind == bkCancel)
        QObject::connect(&button, &QPushButton::clicked, dialog, &QDialog::reject);
}

QString captionOf(TBitBtnKind kind)
{
    switch (kind) {
    case bkOK:
        return qkIntl().BtnOKCaption;
    case bkCancel:
        return qkIntl().BtnCancelCaption;
    case bkHelp:
        return QStringLiteral("Help");
    }
    return {};
}

} // namespace

void TBitBtn::SetKind(TBitBtnKind kind)
{
    m_kind = kind;
    setIcon(style()->standardIcon(glyphOf(kind), nullptr, this));
}

QSize qkDialogButtonSize(bool bitmapped, int pixelsPerInch)
{
    return {qkScalePixels(77, pixelsPerInch), qkScalePixels(bitmapped ? 27 : 24, pixelsPerInch)};
}

int qkScreenPixelsPerInch()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    return screen ? qRound(screen->logicalDotsPerInch()) : 96;
}

QPushButton *qkCreateDialogButton(QWidget *owner, TBitBtnKind kind)
{
    const bool bitmapped = qkIntl().OKCancelBitmapped;
    QPushButton *button = nullptr;
    if (bitmapped) {
        auto *bitBtn = new TBitBtn(owner);
        styleBitmapButton(*bitBtn, kind);
        button = bitBtn;
    } else {
        button = new QPushButton(owner);
    }
    button->hide();
    button->resize(qkDialogButtonSize(bitmapped, qkScreenPixelsPerInch()));
    button->setText(captionOf(kind));
    connectResult(*button, owner, kind);
    return button;
}
