#include "platform/mapi/SendProgress.h"

#include <QApplication>
#include <QDialog>
#include <QEventLoop>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include <thread>

namespace mapi {
namespace {

class ProgressBox : public QDialog
{
public:
    ProgressBox(const QString &text, std::atomic<bool> &cancel) : m_cancel(cancel)
    {
        setWindowTitle(QStringLiteral("E-Mail senden"));
        setWindowModality(Qt::ApplicationModal);
        auto *layout = new QVBoxLayout(this);
        auto *label = new QLabel(text, this);
        label->setObjectName(QStringLiteral("lblSendeText"));
        layout->addWidget(label);
        m_abort = new QPushButton(QStringLiteral("Abbrechen"), this);
        m_abort->setObjectName(QStringLiteral("btnAbbrechen"));
        layout->addWidget(m_abort, 0, Qt::AlignHCenter);
        connect(m_abort, &QPushButton::clicked, this, &ProgressBox::reject);
    }

    // Escape and the window's close button cancel as the button does; the
    // box stays until the transfer has really ended.
    void reject() override
    {
        m_cancel = true;
        m_abort->setEnabled(false);
    }

private:
    std::atomic<bool> &m_cancel;
    QPushButton *m_abort = nullptr;
};

}

void runWithProgress(const QString &text, std::atomic<bool> &cancel, const std::function<void()> &work)
{
    if (!qobject_cast<QApplication *>(QCoreApplication::instance())) {
        work();
        return;
    }
    QEventLoop waiting;
    std::thread worker([&] {
        work();
        QMetaObject::invokeMethod(&waiting, &QEventLoop::quit, Qt::QueuedConnection);
    });
    {
        ProgressBox box(text, cancel);
        box.show();
        waiting.exec();
    }
    worker.join();
}

}
