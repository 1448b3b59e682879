#include "support/RecordingSink.h"

namespace report {

int RecordingSink::addPage(const Page &page)
{
    pages.append(page);
    return 0;
}

int RecordingSink::finish()
{
    finished = true;
    return 0;
}

void RecordingSink::abort()
{
    aborted = true;
    pages.clear();
}

}
