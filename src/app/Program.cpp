#include "app/Program.h"

#include "app/DruckPrg.h"
#include "app/Kopieren.h"
#include "app/bearbeitenform.h"
#include "app/emailroad/Ansprech.h"
#include "app/emailroad/EmailEditor.h"
#include "app/emailroad/EmailPreview.h"
#include "app/emailroad/EmailPrompt.h"
#include "app/singlestarter.h"
#include "platform/help/OnlHelp.h"
#include "platform/os/SingleInstance.h"
#include "platform/ui/Application.h"

int runProgram(ui::Application &app)
{
    os::SingleInstanceLock lock;
    if (!AcquireSingleInstance(lock))
        return 1;
    // A second copy ends before the help starts, so it leaves the first
    // copy's help trace alone.
    HelpUnits helpUnits(QCoreApplication::arguments().mid(1));

    app.createForm<TfrmPrintMan>();
    app.createForm<TfrmAnsprech>();
    app.createForm<TfrmEdit>();
    app.createForm<TfrmEMail>();
    app.createForm<TfrmKopieren>();
    app.createForm<TfrmPreview>();
    app.createForm<TfrmBearbeiten>();
    return app.run();
}
