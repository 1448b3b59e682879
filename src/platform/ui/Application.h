#pragma once

#include "platform/ui/ActiveWindowWatch.h"

#include <QApplication>
#include <QTranslator>
#include <QWidget>

#include <memory>
#include <vector>

namespace ui {

// The text an escaped exception is shown with: a full stop is appended when
// the message ends in a character that sorts after ".".
QString exceptionDisplayText(const QString &message);

// The caption of the program's own message boxes: the application object's
// title, or the application name while there is none.
QString applicationTitle();

// A warning box with an OK button, captioned with the application's title,
// through the installed user-interface services.
void showWarning(const QString &text);

// Shows an exception that escaped an event handler: stop icon, application
// title as caption. EAbort is the silent exception and shows nothing.
// Without an Application object the caption is the application name.
void showEscapedException(const std::exception &error);

// The program's application object: owns the forms in creation order,
// reports activation, and keeps exceptions out of Qt's event loop.
class Application : public QApplication
{
    Q_OBJECT

public:
    Application(int &argc, char **argv);
    ~Application() override;

    static Application *instance();

    // Creates a form that lives until the application ends; the first one
    // created is the main form, whose closing ends the message loop.
    template <class Form>
    Form *createForm()
    {
        auto form = std::make_unique<Form>();
        Form *created = form.get();
        adoptForm(std::move(form));
        return created;
    }

    QWidget *mainForm() const;
    QList<QWidget *> forms() const;
    // The application's title: the caption of its own message boxes.
    QString title() const { return m_title; }
    void setTitle(const QString &title) { m_title = title; }

    // Shows the main form and runs the message loop until it closes.
    int run();
    // Reports a return of the user to the program, as the window system's
    // activation does; tests call it directly.
    void activate();

    bool notify(QObject *receiver, QEvent *event) override;

signals:
    void activated();

private:
    void becomeActive();
    void followActiveWindow(ActiveOwner owner);
    void followApplicationState(Qt::ApplicationState state);
    void followMainFormActivation(QObject *receiver, QEvent *event);
    void quitWhenMainFormClosed(QObject *receiver, QEvent *event);
    void adoptForm(std::unique_ptr<QWidget> form);
    void installGermanQtTexts();

    QTranslator m_qtTexts;
    std::vector<std::unique_ptr<QWidget>> m_forms;
    QString m_title;
    bool m_mainFormClosed = false;
    // Whether the user is in the program now: an activation is reported
    // only on the way in.
    bool m_active = false;
    // Null where the window manager's active window cannot be followed.
    std::unique_ptr<ActiveWindowWatch> m_activeWindow;
};

}
