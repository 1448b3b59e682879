#pragma once

#include <QDialog>

class QLabel;
class QProgressBar;
class QPushButton;

namespace report {

// The modeless box shown while a job prints, with an abort button.
class ProgressBox : public QDialog
{
    Q_OBJECT
public:
    ProgressBox(QWidget *parent, const QString &title);

    void setProgress(const QString &text, int percent);
    bool aborted() const { return m_aborted; }
    QPushButton *abortButton() const { return m_abort; }
    QString text() const;
    int percent() const;

private:
    QLabel *m_text;
    QProgressBar *m_bar;
    QPushButton *m_abort;
    bool m_aborted = false;
};

}
