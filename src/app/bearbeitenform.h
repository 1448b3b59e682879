#pragma once

#include "app/FormCopyUndo.h"

#include "ui_TfrmBearbeiten.h"

#include <QDialog>

#include <functional>
#include <memory>
#include <vector>

class QLineEdit;
class TDataSource;
class TTable;
class TfrmKopieren;
enum class TCopyTarget;

// Decimals of the e-mails' floating-point placeholders that give none, as the
// dialog's e-mail page last confirmed them; empty until then.
QString &EmailDefaultDecimals();

// The form-entry dialog: edits one row of the form table, creates, copies and
// deletes rows with their files, and holds the e-mail settings.
class TfrmBearbeiten : public QDialog, public Ui::TfrmBearbeiten
{
    Q_OBJECT

public:
    static constexpr int ModePrint = 0;
    static constexpr int ModeEmail = 1;
    static constexpr int HelpContext = 2001;
    static constexpr int FallbackHelpContext = 201;
    // "Ausdrucke" is a small integer.
    static constexpr int MaxCopies = 32767;
    // More decimals than a double carries would only print noise.
    static constexpr int MaxDecimals = 15;

    explicit TfrmBearbeiten(QWidget *parent = nullptr);
    ~TfrmBearbeiten() override;

    // Edits the current row of `table` through `dataSource`: a print row in
    // ModePrint, an e-mail row in ModeEmail. A table whose range is empty gets
    // a new row first. True when the user confirmed with OK; every other way
    // out cancels the row's unsaved changes.
    bool EditJob(TTable *table, TDataSource *dataSource, int mode);

    // What the program connects: the layout designer and the template editor
    // for the current row.
    std::function<void()> Layout;
    std::function<void()> EditJobForm;

public slots:
    void btnOkClick();
    void btnBearbeitenClick();
    void btnNeuClick();
    void btnDeleteClick();
    void btnCopyClick();
    void SpeedButton1Click();
    void spbtnAusdrUpClick();
    void spbtnAusdrDownClick();
    void btnAnlagepfadClick();
    void btnHilfeClick();

private:
    class FieldEdit;
    struct KeptRow;

    void connectButtons();
    void showMode(bool mailProgramInstalled);
    void layOutAfresh();
    void editCurrentRow();
    void postRow();
    void cancelRow();
    void newRow();
    int highestSortNumber();
    bool fileNameValid(const QString &message);
    bool typedTextsFit();
    QString decimalPlacesRefusal(int &decimals);
    void refuse(QWidget *page, QWidget *control, const QString &message);
    bool confirmEmailPages();
    void changeCopies(int step);
    void copyForm(const KeptRow &kept, const QString &newName);
    QString formPath() const;
    QString sourceBase(const QString &storedName) const;
    QString copyMask(const QString &storedName) const;
    TCopyTarget copyTarget(const QString &storedName, const QString &newName) const;
    QString browseFilter() const;
    TfrmKopieren *copyDialog();
    QString fieldText(const QString &fieldName) const;

    TTable *m_table = nullptr;
    TDataSource *m_dataSource = nullptr;
    int m_mode = ModePrint;
    std::vector<std::unique_ptr<FieldEdit>> m_fieldEdits;
    FieldEdit *m_fileEdit = nullptr;
    FieldEdit *m_copiesEdit = nullptr;
    std::unique_ptr<TfrmKopieren> m_ownCopyDialog;
    // What the last copy did for the row not yet posted: leaving the dialog
    // with "Abbruch" removes that row, and with it the files it created,
    // and puts back the files it replaced.
    TFormCopyUndo m_copyUndo;
};

// The program's form-entry dialog while it exists.
extern TfrmBearbeiten *frmBearbeiten;
