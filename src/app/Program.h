#pragma once

namespace ui {
class Application;
}

// The program block: the single-instance guard, the help units, the forms in
// their order of creation, and the message loop until the main form closes.
// Returns the process's exit code. `main` and the road tests both run it.
int runProgram(ui::Application &app);
