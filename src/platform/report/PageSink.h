#pragma once

#include "platform/report/Page.h"

namespace report {

// Where the pages of a print run go: a print queue, a PDF file, a preview
// file or a recording. Pages arrive one at a time and are not kept, so
// memory does not grow with the length of a document.
class PageSink
{
public:
    virtual ~PageSink() = default;
    // 0, or a result code when the page could not be output.
    virtual int addPage(const Page &page) = 0;
    // Completes the output; nothing is output when no page came.
    virtual int finish() = 0;
    // Drops what was output so far (user abort).
    virtual void abort() = 0;
    // What went wrong when a call failed, naming the file or folder; empty
    // when there is nothing more to say than the result code.
    virtual QString errorText() const { return {}; }
};

}
