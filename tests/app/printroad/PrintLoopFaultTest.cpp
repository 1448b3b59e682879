#include "PrintRoadFixture.h"

#include "app/printroad/PrintJob.h"
#include "platform/report/api/ReportCodes.h"

#include <algorithm>

// Every way a list job can fail, at every copy and page, while the user
// keeps clicking: the real engine's progress box and every error box keep
// the message loop running, so a second job (print, labels, designer) may
// be started from there. It must not run, and the job that is running must
// end cleanly with its tables and its engine job closed.
namespace {

// The recording engine with pages of a few records, one chosen call failing,
// and the user acting at every progress step.
class FaultyEngine : public report::RecordingEngine
{
public:
    int recordsPerPage = 4;
    std::function<void()> userActs;
    int openJobs = 0;
    int mostOpenJobs = 0;

    // The given occurrence of `call` answers `code`; an empty call: none.
    void failAt(const QString &call, int occurrence = 0, int code = 0)
    {
        m_failingCall = call;
        m_failingOccurrence = occurrence;
        m_failingCode = code;
        m_seen = 0;
    }

    int jobOpen(int language) override
    {
        mostOpenJobs = std::max(mostOpenJobs, ++openJobs);
        return RecordingEngine::jobOpen(language);
    }
    int jobClose(int job) override
    {
        --openJobs;
        return RecordingEngine::jobClose(job);
    }
    int printStart(int job, int kind, const QString &layout, int destination, int options, QWidget *parent,
                   const QString &boxTitle, bool withBox) override
    {
        m_onPage = 0;
        const int result =
            RecordingEngine::printStart(job, kind, layout, destination, options, parent, boxTitle, withBox);
        return inject(withBox ? QStringLiteral("LlPrintWithBoxStart") : QStringLiteral("LlPrintStart"), result);
    }
    int printGetPrinterInfo(int job, QString &name, QString &port) override
    {
        return inject(QStringLiteral("LlPrintGetPrinterInfo"), RecordingEngine::printGetPrinterInfo(job, name, port));
    }
    int print(int job) override { return inject(QStringLiteral("LlPrint"), RecordingEngine::print(job)); }
    int printFields(int job) override
    {
        int result = RecordingEngine::printFields(job);
        if (result == 0 && ++m_onPage > recordsPerPage) {
            m_onPage = 0;
            result = report::LL_WRN_REPEAT_DATA;
        }
        return inject(QStringLiteral("LlPrintFields"), result);
    }
    int printSetBoxText(int job, const QString &text, int percent) override
    {
        if (userActs)
            userActs();
        return inject(QStringLiteral("LlPrintSetBoxText"), RecordingEngine::printSetBoxText(job, text, percent));
    }
    int printEnd(int job, int options) override
    {
        return inject(QStringLiteral("LlPrintEnd"), RecordingEngine::printEnd(job, options));
    }

private:
    QString m_failingCall;
    int m_failingOccurrence = 0;
    int m_failingCode = 0;
    int m_onPage = 0;
    int m_seen = 0;

    int inject(const QString &name, int result)
    {
        if (name == m_failingCall && ++m_seen == m_failingOccurrence)
            return m_failingCode;
        return result;
    }
};

// A user who answers every box and then clicks again.
class ImpatientUser : public ui::RecordingUiServices
{
public:
    std::function<void()> userActs;

    int messageBox(const QString &text, const QString &caption, ui::MsgIcon icon, ui::MsgButtons buttons,
                   int defaultButton) override
    {
        const int answer = RecordingUiServices::messageBox(text, caption, icon, buttons, defaultButton);
        if (userActs)
            userActs();
        return answer;
    }
};

struct Fault
{
    const char *call;
    int code;
    // The caption of the one box, or nothing for the user's own abort.
    const char *caption;
    // The check pass's end is not asked for its result.
    int firstOccurrence = 1;
};

class PrintLoopFaultTest : public PrintLoopFixture
{
protected:
    void SetUp() override
    {
        PrintLoopFixture::SetUp();
        freshTables();
        report::setEngine(&faulty);
        ui::installServices(&user);
        user.setNow(QDateTime(QDate(2026, 11, 20), QTime(9, 30)));
        const auto clickAgain = [this] {
            ++attempts;
            loop.ListeTintlen(false);
            loop.EtikettTintlen(false);
            loop.Layout();
            driver.Tintlen();
        };
        faulty.userActs = clickAgain;
        user.userActs = clickAgain;
    }

    // An invoice of over forty positions: several pages, and the progress
    // box comes up every eleventh record.
    void longInvoice(int copies)
    {
        request(QStringLiteral("Auftrag"), QStringLiteral("Rechnung"), QStringLiteral("L"), QStringLiteral("E"),
                QStringLiteral("20260001"));
        window.row = {QStringLiteral("Rechnung"), QStringLiteral("Auftrag_Rechnung.lst"), copies};
    }

    // How often a job without faults makes `call`.
    int callsOfCleanJob(const QString &call, int copies)
    {
        longInvoice(copies);
        faulty.failAt(QString());
        loop.ListeTintlen(false);
        const int count = faulty.count(call);
        faulty.calls.clear();
        user.clear();
        return count;
    }

    FaultyEngine faulty;
    ImpatientUser user;
    printroad::PrintJob driver{loop, fields, window};
    int attempts = 0;
};

}

TEST_F(PrintLoopFaultTest, NoFaultAtAnyCopyOrPageLetsASecondJobInOrLeavesAnythingOpen)
{
    const Fault faults[] = {
        {"LlPrintGetPrinterInfo", report::LL_ERR_NO_PRINTER, "Fehler (Nr.-11)"},
        {"LlPrintStart", report::LL_ERR_LAYOUT, "Fehler (Nr.-22)"},
        {"LlPrintWithBoxStart", report::LL_ERR_LAYOUT, "Fehler (Nr.-22)"},
        {"LlPrint", report::LL_ERR_PRINTING_FAILED, "Fehler (Nr.-12)"},
        {"LlPrintFields", report::LL_ERR_EXPRESSION, "Fehler (Nr.-23)"},
        {"LlPrintFields", report::LL_ERR_PRINTING_FAILED, "Fehler (Nr.-12)"},
        {"LlPrintEnd", report::LL_ERR_PRINTING_FAILED, "Fehler (Nr.-12)", 2},
        {"LlPrintSetBoxText", report::LL_ERR_USER_ABORTED, nullptr},
    };
    for (const int copies : {1, 3}) {
        for (const Fault &fault : faults) {
            const QString call = QString::fromLatin1(fault.call);
            const int occurrences = callsOfCleanJob(call, copies);
            ASSERT_GT(occurrences, 0) << fault.call;
            for (int occurrence = fault.firstOccurrence; occurrence <= occurrences; ++occurrence) {
                SCOPED_TRACE(QStringLiteral("%1 fails at call %2 of %3, %4 copies")
                                 .arg(call)
                                 .arg(occurrence)
                                 .arg(occurrences)
                                 .arg(copies)
                                 .toStdString());
                longInvoice(copies);
                faulty.failAt(call, occurrence, fault.code);
                faulty.mostOpenJobs = 0;
                attempts = 0;
                loop.ListeTintlen(false);
                faulty.failAt(QString());

                EXPECT_EQ(faulty.mostOpenJobs, 1);
                EXPECT_EQ(faulty.openJobs, 0);
                EXPECT_GT(attempts, 0);
                EXPECT_FALSE(isOpen(tc));
                EXPECT_FALSE(isOpen(tcSetup));
                EXPECT_EQ(PrintRequest().Datensatz, QStringLiteral("20260001"));
                ASSERT_EQ(user.messages().size(), 1);
                if (fault.caption)
                    EXPECT_EQ(user.messages().first().caption, QString::fromLatin1(fault.caption));
                else
                    EXPECT_EQ(user.messages().first().text, QStringLiteral("Benutzer-Abbruch"));
                EXPECT_FALSE(loop.isRunning());
                faulty.calls.clear();
                user.clear();
            }
        }
    }
}

TEST_F(PrintLoopFaultTest, AJobThatEndedAfterAFaultLetsTheNextOneRun)
{
    longInvoice(2);
    faulty.failAt(QStringLiteral("LlPrint"), 2, report::LL_ERR_PRINTING_FAILED);
    loop.ListeTintlen(false);
    ASSERT_EQ(user.messages().size(), 1);

    faulty.userActs = nullptr;
    user.userActs = nullptr;
    faulty.calls.clear();
    faulty.failAt(QString());
    loop.ListeTintlen(false);
    EXPECT_EQ(faulty.count(QStringLiteral("LlPrintEnd")), 3);
    EXPECT_EQ(faulty.openJobs, 0);
    EXPECT_EQ(user.messages().size(), 1);
}
