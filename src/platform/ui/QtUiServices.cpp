#include "platform/ui/QtUiServices.h"

#include "platform/ui/Application.h"
#include "platform/ui/ScreenPlacement.h"

#include <QApplication>
#include <QDesktopServices>
#include <QGridLayout>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QSpacerItem>
#include <QStyle>
#include <QUrl>

#include <utility>
#include <vector>

namespace ui {

namespace {

using ButtonSpec = std::pair<QMessageBox::StandardButton, int>;

std::vector<ButtonSpec> buttonSpecs(MsgButtons buttons)
{
    switch (buttons) {
    case MsgButtons::Ok:
        return {{QMessageBox::Ok, IDOK}};
    case MsgButtons::OkCancel:
        return {{QMessageBox::Ok, IDOK}, {QMessageBox::Cancel, IDCANCEL}};
    case MsgButtons::YesNo:
        return {{QMessageBox::Yes, IDYES}, {QMessageBox::No, IDNO}};
    case MsgButtons::YesNoCancel:
        return {{QMessageBox::Yes, IDYES}, {QMessageBox::No, IDNO}, {QMessageBox::Cancel, IDCANCEL}};
    case MsgButtons::AbortRetryIgnore:
        return {{QMessageBox::Abort, IDABORT}, {QMessageBox::Retry, IDRETRY}, {QMessageBox::Ignore, IDIGNORE}};
    case MsgButtons::RetryCancel:
        return {{QMessageBox::Retry, IDRETRY}, {QMessageBox::Cancel, IDCANCEL}};
    }
    return {{QMessageBox::Ok, IDOK}};
}

QMessageBox::Icon qtIcon(MsgIcon icon)
{
    switch (icon) {
    case MsgIcon::None:
        return QMessageBox::NoIcon;
    case MsgIcon::Information:
        return QMessageBox::Information;
    case MsgIcon::Warning:
        return QMessageBox::Warning;
    case MsgIcon::Stop:
        return QMessageBox::Critical;
    case MsgIcon::Question:
        return QMessageBox::Question;
    }
    return QMessageBox::NoIcon;
}

// German captions, since the buttons are the one part of a box the caller does not word.
QString germanText(QMessageBox::StandardButton button)
{
    switch (button) {
    case QMessageBox::Ok:
        return QStringLiteral("OK");
    case QMessageBox::Cancel:
        return QStringLiteral("Abbrechen");
    case QMessageBox::Yes:
        return QStringLiteral("&Ja");
    case QMessageBox::No:
        return QStringLiteral("&Nein");
    case QMessageBox::Abort:
        return QStringLiteral("&Abbrechen");
    case QMessageBox::Retry:
        return QStringLiteral("&Wiederholen");
    case QMessageBox::Ignore:
        return QStringLiteral("&Ignorieren");
    default:
        return {};
    }
}

// Closing the box by Escape or the title bar answers like the cancelling
// button: "Abbrechen" where there is one, since "Nein" to "save changes?"
// throws the changes away.
int escapeResult(const std::vector<ButtonSpec> &specs)
{
    for (const int cancelling : {IDCANCEL, IDNO}) {
        for (const auto &spec : specs) {
            if (spec.second == cancelling)
                return cancelling;
        }
    }
    return specs.front().second;
}

// The width a window needs so that the title bar shows its whole caption in
// the bold title-bar font, beside the window's icon and its three buttons:
// the window system cuts a longer one ("Fehler Define...").
int wholeTitleWidth(const QWidget &window)
{
    QFont titleFont = window.font();
    titleFont.setBold(true);
    const int decoration = 5 * window.style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, &window);
    return QFontMetrics(titleFont).horizontalAdvance(window.windowTitle()) + decoration;
}

// A caption may say what a prompt takes (the allowed range of a year, say).
void showWholeTitle(QDialog &dialog)
{
    const QSize hint = dialog.sizeHint();
    dialog.resize(qMax(hint.width(), wholeTitleWidth(dialog)), hint.height());
}

// The prompt opens where the user works, over the control that has the focus.
void placeOverFocus(QDialog &dialog)
{
    const QWidget *focus = QApplication::focusWidget();
    if (!focus)
        return;
    QRect frame(QPoint(), dialog.size());
    frame.moveCenter(focus->mapToGlobal(focus->rect().center()));
    dialog.move(fitInside(frame, focus->screen()->availableGeometry()).topLeft());
}

// A box sizes itself by its text alone: a box with a short text is widened
// for its title.
void makeRoomForTitle(QMessageBox &box)
{
    auto *grid = qobject_cast<QGridLayout *>(box.layout());
    if (!grid)
        return;
    grid->addItem(new QSpacerItem(wholeTitleWidth(box), 0, QSizePolicy::Fixed, QSizePolicy::Minimum),
                  grid->rowCount(), 0, 1, grid->columnCount());
}

}

int QtUiServices::messageBox(const QString &text, const QString &caption, MsgIcon icon, MsgButtons buttons,
                             int defaultButton)
{
    // A box without a caption of its own would get the window system's
    // fallback, the executable's file name.
    const QString title = caption.isEmpty() ? applicationTitle() : caption;
    QMessageBox box(qtIcon(icon), title, text, QMessageBox::NoButton, QApplication::activeWindow());
    const std::vector<ButtonSpec> specs = buttonSpecs(buttons);
    const int wantedDefault = defaultButton ? defaultButton : specs.front().second;
    for (const auto &[standard, result] : specs) {
        QPushButton *button = box.addButton(standard);
        button->setText(germanText(standard));
        if (result == wantedDefault)
            box.setDefaultButton(button);
        if (result == escapeResult(specs))
            box.setEscapeButton(button);
    }
    makeRoomForTitle(box);
    box.exec();
    const auto clicked = box.standardButton(box.clickedButton());
    for (const auto &[standard, result] : specs) {
        if (standard == clicked)
            return result;
    }
    return escapeResult(specs);
}

bool QtUiServices::inputQuery(const QString &caption, const QString &prompt, QString &value)
{
    QInputDialog dialog(QApplication::activeWindow());
    dialog.setWindowTitle(caption);
    dialog.setLabelText(prompt);
    dialog.setTextValue(value);
    showWholeTitle(dialog);
    placeOverFocus(dialog);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    value = dialog.textValue();
    return true;
}

void QtUiServices::beep()
{
    QApplication::beep();
}

void QtUiServices::pushBusyCursor()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
}

void QtUiServices::popBusyCursor()
{
    QApplication::restoreOverrideCursor();
}

QDateTime QtUiServices::now() const
{
    return QDateTime::currentDateTime();
}

bool QtUiServices::openUrl(const QString &url)
{
    return QDesktopServices::openUrl(QUrl::fromUserInput(url));
}

}
