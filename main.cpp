// Puffpop: burst the balloons before they get away.
#include "platform/app.h"
#include "platform/error.h"
#include "startup/command_line.h"
#include "startup/frmStartup.h"
#include "startup/program.h"

int main(int argc, char** argv) {
    startup::IdentifyProgram();
    const startup::Command command = startup::ReadCommandLine(argc, argv);
    if (command.exitStatus >= 0) return command.exitStatus;
    try {
        if (command.mode == startup::Mode::Ask)
            startup::frmStartup.Show();
        else
            startup::frmStartup.StartIn(command.mode == startup::Mode::FullScreen);
    } catch (const platform::RuntimeError& error) {
        platform::Fatal(platform::ErrorReport(error));
    }
    platform::Run();
    return 0;
}
