#pragma once

#include <QSpinBox>

namespace report {

// A spin box that keeps what the user typed. Qt's own puts its last value
// back over a text outside its range when the user presses Enter or leaves
// it, so that a dialog would go on with a number the user did not choose.
// Here such a text stays, and Enter on it goes to the dialog, which refuses
// it (see hasAcceptableInput()).
class StrictSpinBox : public QSpinBox
{
    Q_OBJECT

public:
    using QSpinBox::QSpinBox;

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
};

} // namespace report
