#pragma once

#include "platform/report/PageSink.h"

#include <QList>

namespace report {

// Keeps every page for exact inspection in tests.
class RecordingSink : public PageSink
{
public:
    int addPage(const Page &page) override;
    int finish() override;
    void abort() override;

    QList<Page> pages;
    bool finished = false;
    bool aborted = false;
};

}
