#pragma once

#include "lib/data/Qkdatsrc.h"
#include "lib/data/Qktypes.h"
#include "lib/edit/qkGridHost.h"
#include "platform/db/TTable.h"
#include "support/RecordingUiServices.h"

#include <QTemporaryDir>
#include <QWidget>

#include <gtest/gtest.h>

#include <memory>

namespace fixture {

// A table that publishes the library's picture list and checks, as the
// library's data sets do.
class MaskTable : public TTable
{
    Q_OBJECT
    Q_PROPERTY(QStringList PictureMasks MEMBER PictureMasks)
    Q_PROPERTY(bool ValidateWithMask MEMBER ValidateWithMask)
    Q_PROPERTY(TqkInvalidValueEvent OnInvalidValue READ GetOnInvalidValue WRITE SetOnInvalidValue)

public:
    using TTable::TTable;
    QStringList PictureMasks;
    bool ValidateWithMask = false;
    TqkInvalidValueEvent OnInvalidValue;
    TqkInvalidValueEvent GetOnInvalidValue() const { return OnInvalidValue; }
    void SetOnInvalidValue(const TqkInvalidValueEvent &event) { OnInvalidValue = event; }
};

// Stands in for the library's grid: named like it, it records the keys it
// is handed.
class TqkDBGrid : public QWidget, public TqkGridHost
{
    Q_OBJECT

public:
    explicit TqkDBGrid(QWidget *parent = nullptr) : QWidget(parent) { setFocusPolicy(Qt::StrongFocus); }
    bool AlwaysShowEditor() const override { return alwaysShowEditor; }
    bool TabsMoveColumns() const override { return tabs; }
    bool GridHasFocus() const override { return hasFocus(); }
    bool TakeFocus() override
    {
        setFocus();
        return true;
    }
    void GridKeyDown(int &key, qk::TShiftState shift) override { received.append({key, shift}); }
    void FireOnKeyDown(int &, qk::TShiftState) override {}
    QColor GridFontColor() const override { return Qt::black; }

    bool alwaysShowEditor = false;
    bool tabs = false;
    QList<QPair<int, qk::TShiftState>> received;
};

}

// A window with the demo customers (Kunden.db) open behind a data source,
// the clock standing at Saturday 2026-12-05 14:07:09, and a second edit
// that takes the focus when the control under test is left.
class EditTables : public testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;
    void show(QWidget *control);
    // Moves the focus on as a user's Tab does.
    void leave(QWidget *control);
    void typeText(QWidget *control, const QString &text);
    // A field of the customer numbered `nr` as the table file holds it, read
    // by a table object of its own.
    QString storedCustomerField(const QString &nr, const QString &field) const;

    QTemporaryDir dir;
    ui::ScopedRecordingUiServices services;
    std::unique_ptr<fixture::MaskTable> customers;
    std::unique_ptr<TqkDataSource> source;
    std::unique_ptr<QWidget> window;
    QWidget *other = nullptr;
};

namespace fixture {

// Named like the library's table: it keeps its own picture for "plz".
class TqkTable : public MaskTable
{
    Q_OBJECT

public:
    using MaskTable::MaskTable;
    Q_INVOKABLE QString GetFieldPicture(const QString &fieldName) const
    {
        return fieldName.compare(QLatin1String("plz"), Qt::CaseInsensitive) == 0 ? QStringLiteral("#####") : QString();
    }
};

}
