#pragma once

#include "lib/data/Qkfltdlg.h"
#include "platform/db/TDataSet.h"

#include <QDialog>

#include <memory>
#include <vector>

namespace Ui {
class TqkFilterDialogView;
}

// The read-only summary of the criteria entered so far.
class TqkFilterDialogView : public QDialog
{
    Q_OBJECT

public:
    TqkFilterDialogView(const std::vector<TqkFieldInfo> &criteria, const TqkFieldOperators &words,
                        QWidget *parent = nullptr);
    ~TqkFilterDialogView() override;

    Ui::TqkFilterDialogView &Controls() { return *m_ui; }

    // The three cells of one criterion's row; empty for match types the
    // summary does not describe.
    static QStringList SummaryRow(const TqkFieldInfo &info, const TqkFieldOperators &words);

protected:
    void showEvent(QShowEvent *event) override;

private:
    void fitColumns(const int (&designed)[3]);

    std::unique_ptr<Ui::TqkFilterDialogView> m_ui;
};
