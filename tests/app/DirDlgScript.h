#pragma once

#include "app/DirDlg.h"
#include "app/Kopieren.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QKeyEvent>
#include <QStringList>

#include "TextPrinting.h"

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <ostream>

// Types a text into a widget key by key, umlauts included.
inline void typeText(QWidget *widget, const QString &text)
{
    for (const QChar character : text) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(character));
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(character));
        QApplication::sendEvent(widget, &press);
        QApplication::sendEvent(widget, &release);
    }
}

// The help requests (context, fallback context) that pressing a help button
// routes.
inline QList<QPair<int, int>> helpRequestsOf(QAbstractButton *helpButton)
{
    QList<QPair<int, int>> requests;
    SetDialogHelpRouter([&](int context, int fallback) { requests << qMakePair(context, fallback); });
    helpButton->click();
    SetDialogHelpRouter({});
    return requests;
}

// Stands in for the user at the program's modal dialogs: each dialog that
// opens is shown and worked by the next step of the script; a dialog the step
// leaves open is closed as by its close button.
class DialogScript
{
public:
    using Step = std::function<void(QDialog &)>;

    DialogScript()
    {
        SetModalRunner([this](QDialog &dialog) { return run(dialog); });
    }
    ~DialogScript() { SetModalRunner({}); }
    DialogScript(const DialogScript &) = delete;
    DialogScript &operator=(const DialogScript &) = delete;

    void then(Step step) { m_steps.push_back(std::move(step)); }
    // Captions of the dialogs opened so far, in order.
    const QStringList &opened() const { return m_opened; }
    bool finished() const { return m_steps.empty(); }

private:
    int run(QDialog &dialog)
    {
        m_opened << dialog.windowTitle();
        dialog.show();
        if (m_steps.empty()) {
            ADD_FAILURE() << "unexpected dialog " << dialog.windowTitle().toStdString();
        } else {
            const Step step = std::move(m_steps.front());
            m_steps.pop_front();
            step(dialog);
        }
        if (dialog.isVisible())
            dialog.reject();
        return dialog.result();
    }

    std::deque<Step> m_steps;
    QStringList m_opened;
};
