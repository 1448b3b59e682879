#pragma once

#include "ui_TfrmEdit.h"

#include <QDialog>
#include <QHash>

class QLineEdit;
class QPlainTextEdit;
class TFormatlistItem;
class TFormular;

// The editor of one e-mail template: its header settings, its sections on
// five pages, and the names that can be inserted into them.
class TfrmEdit : public QDialog, public Ui::TfrmEdit
{
    Q_OBJECT

public:
    explicit TfrmEdit(QWidget *parent = nullptr);
    ~TfrmEdit() override;

    // Edits the template file and saves it on OK; with an error position
    // (section, line from 1) the editor opens there.
    void EditFormular(const QString &fileName, const QString &title, int errorSection = -1, int errorLine = 0);

    void SavePosition() const;
    void LoadPosition();

    // What the user's insert does with the entry of the selected tree node.
    void InsertSelectedEntry();

    bool Modified() const { return m_modified; }
    void reject() override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void connectEditing();
    void fillHeader();
    void fillMemos();
    void writeBack(TFormular &formular) const;
    void saveAndAccept();
    void fillTree();
    void showDependentControls();
    void goToError(int section, int line);
    void insertIntoMemo(QPlainTextEdit *memo, const TFormatlistItem &entry);
    void insertIntoHeaderEdit(QLineEdit *edit, const TFormatlistItem &entry);
    bool confirmDiscard();
    void checkAddressText(QLineEdit *edit);
    QList<QPair<QPlainTextEdit *, int>> sectionMemos() const;

    QHash<QObject *, int> m_tags;
    QWidget *m_insertTarget = nullptr;
    QString m_fileName;
    bool m_modified = false;
    bool m_filling = false;
};

extern TfrmEdit *frmEdit;

// The program's editor, or one that goes with the main window.
TfrmEdit &TemplateEditor();
