#pragma once

#include "demo/tables/DemoRows.h"

namespace demo {

// The mail program's users and mailboxes. Running numbers are unique over
// all four mailboxes; the outbox's counter row holds the next free one.
Rows mailUserRows();
Rows outboxRows();
Rows inboxRows();
Rows sentRows();
Rows trashRows();
Rows textBlockRows();

// The user the mail program last worked as (frm.ini, "Lastuser").
QString demoMailUser();

extern const QString mailCounterFolder;

}
