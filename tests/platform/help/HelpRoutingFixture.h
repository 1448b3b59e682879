#pragma once

#include "ChmFixture.h"

#include "platform/help/OnlHelp.h"
#include "support/RecordingUiServices.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

// A program folder (which takes the trace), a temporary folder, a folder for the system's
// help programs and the standard test help file; the clock stands at
// 06.12.2026 14:05:09 and the user is answered for.
class HelpRoutingFixture : public testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;

    void start(const QStringList &parameters = {});
    void stop();
    QString traceFile() const;
    QStringList traceLines() const;
    QString folder(const QString &name) const { return m_dir.filePath(name); }

    ui::ScopedRecordingUiServices m_ui;
    ChmFixture m_chm;
    QString m_helpFile;

private:
    QTemporaryDir m_dir;
    std::unique_ptr<HelpUnits> m_units;
    QList<QPair<const char *, QByteArray>> m_savedEnvironment;
};
