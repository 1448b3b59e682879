#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// What copying a form did to the form folder, kept until the copy's row is
// stored or dropped. A file the copy replaces waits beside it as a hidden
// backup until then, so that nothing is lost when the program ends in
// between.
class TFormCopyUndo
{
public:
    // Makes ready to write `target`: a file already there is backed up
    // first. False, and said so, when that failed; `target` must then stay
    // as it is.
    bool prepare(const QString &target);
    // The copy's row was stored: the backups go.
    void keep();
    // The copy's row was dropped: the files the copy created go, and the
    // ones it replaced come back.
    void undo();

private:
    struct Replaced
    {
        QString target;
        QString backup;
    };

    QStringList m_created;
    QList<Replaced> m_replaced;
};
