#include "WholeCaptions.h"

#include <QAbstractButton>
#include <QDir>
#include <QLabel>
#include <QTabBar>

#include <gtest/gtest.h>

namespace {

bool showsACaption(const QWidget &widget)
{
    if (!widget.isVisible())
        return false;
    if (const auto *button = qobject_cast<const QAbstractButton *>(&widget))
        return !button->text().isEmpty();
    return qobject_cast<const QLabel *>(&widget) || qobject_cast<const QTabBar *>(&widget);
}

}

void expectCaptionsWhole(const QWidget &window, const QString &name)
{
    const QString folder = qEnvironmentVariable("TINTLEN_SCREENSHOTS");
    if (!folder.isEmpty())
        const_cast<QWidget &>(window).grab().save(QDir(folder).filePath(name + QStringLiteral(".png")));
    for (const QWidget *caption : window.findChildren<QWidget *>()) {
        if (!showsACaption(*caption))
            continue;
        const QSize needed = caption->sizeHint();
        const std::string who = (name + QLatin1Char(' ') + caption->objectName()).toStdString();
        EXPECT_GE(caption->width(), needed.width()) << who;
        EXPECT_GE(caption->height(), needed.height()) << who;
    }
}
