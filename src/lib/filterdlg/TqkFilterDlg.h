#pragma once

#include "lib/data/Qkfltdlg.h"
#include "platform/db/TDataSet.h"

#include <QDialog>

#include <memory>
#include <vector>

class QLabel;
class QLineEdit;
class QPushButton;

namespace Ui {
class TqkFilterDlg;
}

// The filter dialog's search form: the user picks a field and enters a value
// or a range for it; the criteria go back to the dialog only on OK.
class TqkFilterDlg : public QDialog
{
    Q_OBJECT

public:
    TqkFilterDlg(TqkFilterDialog &dialog, QWidget *parent = nullptr);
    ~TqkFilterDlg() override;

    const std::vector<TqkFieldInfo> &Criteria() const { return m_criteria; }
    bool Changed() const { return m_changed; }
    Ui::TqkFilterDlg &Controls() { return *m_ui; }

    // Stores the shown field's controls into the criteria; false (with the
    // offending control focused) when a value or bound does not fit the field.
    bool StoreShownField();
    void ShowSummary();
    void ClearSearch();

    void done(int result) override;

protected:
    void showEvent(QShowEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct Entry
    {
        QString label;
        QString fieldName;
        TFieldType type = ftUnknown;
    };

    void setCaptions();
    void applyOptions();
    void putClearButtonInViewButtonsPlace();
    void collectEntries();
    void fillFieldList(const QString &keep);
    void selectInitialField();
    void fieldRowChanged(int row);
    void showField(const Entry &entry);
    void showPage(const Entry &entry, const TqkFieldInfo *info);
    void matchTypeClicked();
    void fieldTabChanged(int index);
    void valueRangeTabChanged(int index);
    void updateClearButtons();
    // True when the shown field takes the text; otherwise beeps, tells the
    // user which field and why, and focuses the control holding the text.
    bool takes(const QString &text, QWidget *control, const QLabel &label);
    bool refusesTyped(const QString &typed) const;
    QString boundText(bool maximum) const;
    bool usesDatePickers() const;
    TqkFieldInfo *criterionFor(const QString &label);
    const Entry *shownEntry() const;
    QLineEdit *valueControl() const;
    void moveSelection(int delta);
    int navigationStep(int key) const;

    std::unique_ptr<Ui::TqkFilterDlg> m_ui;
    TqkFilterDialog &m_dialog;
    std::vector<Entry> m_entries;
    std::vector<TqkFieldInfo> m_criteria;
    QString m_shownLabel;
    int m_shownRow = -1;
    bool m_changed = false;
    bool m_activated = false;
    bool m_switching = false;
    QString m_pictureMask;
    QPushButton *m_okButton = nullptr;
    QPushButton *m_cancelButton = nullptr;
};

// Shows the form for the dialog and answers what the user decided.
bool qkRunFilterDlg(TqkFilterDialog &dialog);
// Lets TqkFilterDialog::Execute show this form.
void qkInstallFilterDlg();
