#pragma once

#include "app/DruckPrg.h"
#include "support/FakePrinterService.h"
#include "support/RecordingEngine.h"
#include "support/RecordingUiServices.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

// Recording services that can run something while a message box is up, as
// a real box's own message loop would let activations through.
class HookedUiServices : public ui::ScopedRecordingUiServices
{
public:
    int messageBox(const QString &text, const QString &caption, ui::MsgIcon icon, ui::MsgButtons buttons,
                   int defaultButton = 0) override;

    std::function<void()> whileBoxIsUp;
};

// A complete installation of the print manager in a folder of the test's
// own: program folder with Tintlen.ini asking for the demo invoice, data,
// form, user and temp folders, and the demo tables. The registry stand-in
// is a file of the test's own and starts empty.
class StartupFixture : public ::testing::Test
{
protected:
    static void SetUpTestSuite();

    void SetUp() override;
    void TearDown() override;
    // Starts again from the installation as set up: no window, no messages,
    // the request of the demo invoice.
    void restart();

    QString path(const QString &relative) const;
    QString programFolder() const { return path(QStringLiteral("programm")); }
    QString dataFolder() const { return path(QStringLiteral("daten")); }
    QString iniPath() const;
    void writeInit(const QString &key, const QString &value);
    void writeRequest(const QString &key, const QString &value);
    QString readInit(const QString &key) const;
    // Registers the demo mail program (beside the data folder) in the registry stand-in.
    void registerMailProgram();

    // The main window, created on first use.
    TfrmPrintMan &window();
    // Creates the window, shows it and handles the request once.
    TfrmPrintMan &activatedWindow();
    // Lets the idle loop run, so the grids show what changed.
    static void processEvents();

    QTemporaryDir root;
    HookedUiServices services;
    // What the windows print stays in the installation's folder and goes with it.
    os::FakePrinterService printers{root.filePath(QStringLiteral("pdf"))};

private:
    QByteArray m_savedRegistry;
    std::unique_ptr<TfrmPrintMan> m_window;
};

// The main window handling the demo request, shown, with the recording
// engine in place of the real one and the PDF printer as default.
class RecordingWindowFixture : public StartupFixture
{
protected:
    void SetUp() override;
    void TearDown() override;
    // Activated on first use; the messages of the start are cleared.
    TfrmPrintMan &shownWindow();

    report::RecordingEngine engine;

private:
    bool m_activated = false;
};
