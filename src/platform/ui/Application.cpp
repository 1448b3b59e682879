#include "platform/ui/Application.h"

#include "platform/runtime/Exceptions.h"
#include "platform/ui/UiServices.h"
#include "platform/ui/WindowStartState.h"

#include <QLibraryInfo>
#include <QLocale>
#include <QWindowStateChangeEvent>

namespace ui {

QString exceptionDisplayText(const QString &message)
{
    if (!message.isEmpty() && message.back() > QLatin1Char('.'))
        return message + QLatin1Char('.');
    return message;
}

QString applicationTitle()
{
    const Application *application = Application::instance();
    return application ? application->title() : QCoreApplication::applicationName();
}

void showWarning(const QString &text)
{
    services().messageBox(text, applicationTitle(), MsgIcon::Warning, MsgButtons::Ok);
}

void showEscapedException(const std::exception &error)
{
    if (dynamic_cast<const EAbort *>(&error))
        return;
    const auto *own = dynamic_cast<const Exception *>(&error);
    const QString message = own ? own->Message() : QString::fromUtf8(error.what());
    services().messageBox(exceptionDisplayText(message), applicationTitle(), MsgIcon::Stop, MsgButtons::Ok);
}

Application::Application(int &argc, char **argv) : QApplication(argc, argv), m_title(applicationName())
{
    installGermanQtTexts();
    // The program's windows come and go while it waits for the next request
    // (the main window hides behind the e-mail preview, the preview closes);
    // only the main form's closing ends it.
    setQuitOnLastWindowClosed(false);
    // Who took the focus tells a leave, not how long the program was
    // without it: another program's window is a leave, however short the
    // visit; the focus passing between our own windows and boxes is not.
    m_activeWindow = ActiveWindowWatch::start();
    if (m_activeWindow)
        connect(m_activeWindow.get(), &ActiveWindowWatch::activeWindowChanged, this, &Application::followActiveWindow);
    connect(this, &QGuiApplication::applicationStateChanged, this, &Application::followApplicationState);
}

// The forms go before the application object, in reverse order of creation.
Application::~Application()
{
    while (!m_forms.empty())
        m_forms.pop_back();
}

Application *Application::instance()
{
    return qobject_cast<Application *>(QCoreApplication::instance());
}

QWidget *Application::mainForm() const
{
    return m_forms.empty() ? nullptr : m_forms.front().get();
}

QList<QWidget *> Application::forms() const
{
    QList<QWidget *> result;
    for (const auto &form : m_forms)
        result.append(form.get());
    return result;
}

int Application::run()
{
    QWidget *main = mainForm();
    if (!main)
        return 0;
    m_mainFormClosed = false;
    main->show();
    // A form that closed while it was being shown (a failed start-up check)
    // ends the program before the loop starts: quit() would not reach it.
    if (m_mainFormClosed)
        return 0;
    main->activateWindow();
    return exec();
}

void Application::activate()
{
    m_active = true;
    emit activated();
}

// A minimised main form is no way in: the focus that the window system hands
// back to it after a box closed can still arrive once it was minimised.
void Application::becomeActive()
{
    const QWidget *main = mainForm();
    if (!m_active && !(main && main->isMinimized()))
        activate();
}

void Application::followActiveWindow(ActiveOwner owner)
{
    if (owner == ActiveOwner::OtherProgram)
        m_active = false;
    else if (owner == ActiveOwner::ThisProgram)
        becomeActive();
}

// Where the window manager's active window is followed, Qt's inactive state
// says nothing more: it also falls while the focus rests on no window.
void Application::followApplicationState(Qt::ApplicationState state)
{
    if (state == Qt::ApplicationActive)
        becomeActive();
    else if (!m_activeWindow)
        m_active = false;
}

// The window system does not always tell Qt that the program lost the focus:
// a window minimised right after a modal window closed can stay Qt's focus
// window, and its restoring then changes no application state. Minimising
// the main form therefore counts as leaving the program, and restoring or
// activating it as coming back, so that every return reads the request anew.
void Application::followMainFormActivation(QObject *receiver, QEvent *event)
{
    if (receiver != mainForm())
        return;
    if (event->type() == QEvent::WindowActivate) {
        becomeActive();
    } else if (event->type() == QEvent::WindowStateChange) {
        const auto *change = static_cast<QWindowStateChangeEvent *>(event);
        const bool minimised = mainForm()->isMinimized();
        if (minimised) {
            m_active = false;
        } else if (change->oldState().testFlag(Qt::WindowMinimized)) {
            // Hidden behind the e-mail preview and shown again, it must not
            // go back to the task bar.
            markToStartNormal(mainForm()->windowHandle());
            becomeActive();
        }
    }
}

bool Application::notify(QObject *receiver, QEvent *event)
{
    try {
        const bool handled = QApplication::notify(receiver, event);
        followMainFormActivation(receiver, event);
        quitWhenMainFormClosed(receiver, event);
        return handled;
    } catch (const std::exception &error) {
        showEscapedException(error);
    }
    return false;
}

// Hiding, minimising or unmapping the main window leaves the program waiting
// for the next request; a close its form accepted (its close handler has
// stored the settings by then) ends the loop.
void Application::quitWhenMainFormClosed(QObject *receiver, QEvent *event)
{
    if (event->type() != QEvent::Close || !event->isAccepted() || receiver != mainForm())
        return;
    m_mainFormClosed = true;
    quit();
}

// Qt's own dialogs (file and folder pickers, the print dialog) would
// otherwise speak English to German office staff.
void Application::installGermanQtTexts()
{
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    if (m_qtTexts.load(QLocale(QLocale::German, QLocale::Germany), QStringLiteral("qtbase"), QStringLiteral("_"),
                       folder))
        installTranslator(&m_qtTexts);
}

void Application::adoptForm(std::unique_ptr<QWidget> form)
{
    m_forms.push_back(std::move(form));
}

}
