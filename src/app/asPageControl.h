#pragma once

#include <QTabWidget>

// A page control whose pages are chosen from the keyboard with Alt and the
// accelerator letter of the tab caption ("E-&Mail").
class TasPageControl : public QTabWidget
{
    Q_OBJECT

public:
    explicit TasPageControl(QWidget *parent = nullptr);

    // Offers a possible accelerator key to the control; true when a page took
    // it. Only a visible tab of an enabled control is chosen, and only with Alt.
    bool dialogChar(QChar key, Qt::KeyboardModifiers modifiers);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void activatePage(int index);
};
