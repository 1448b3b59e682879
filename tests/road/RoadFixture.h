#pragma once

#include "RoadScript.h"
#include "SmtpTestServer.h"

#include "platform/os/SystemPrinterService.h"

#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>

// The demo installation in a folder of the test's own, its e-mails going to
// a server on loopback and its documents to the built-in PDF printer.
class RoadFixture : public ::testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;

    QString iniPath() const;
    QString readInit(const QString &key) const;
    void writeInit(const QString &key, const QString &value);
    // The PDF files the built-in printer wrote, in a comma-separated list.
    QString pdfs() const;

    // Starts the program as `main` does, with `arguments` after its name on
    // the command line, and lets `steps` drive it; returns the exit code once
    // its message loop has ended.
    int runProgramWith(const std::function<void(RoadScript &)> &steps, const QStringList &arguments = {});

    QString stoppedAt;
    QTemporaryDir root;
    SmtpTestServer server;
    os::SystemPrinterService printers;
};

// The main window shows the forms of `module`'s request and waits for the user.
bool requestShown(const QString &module);
void waitForTheInvoiceRequest(RoadScript &script);
void clickAbbruch(RoadScript &script);
// Alt+E opens the form maintenance, and its "Layout bearbeiten" is clicked.
void askForTheLayout(RoadScript &script);
// Back from the designer to the form maintenance, Escape there, and Abbruch
// in the main window once it stands alone.
void leaveFormMaintenanceAndQuit(RoadScript &script);
bool inTheBackground();
