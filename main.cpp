// Puffpop: burst the balloons before they get away.
#include "platform/app.h"
#include "platform/error.h"
#include "startup/frmStartup.h"

int main() {
    try {
        startup::frmStartup.Show();
    } catch (const platform::RuntimeError& error) {
        platform::Fatal(platform::ErrorReport(error));
    }
    platform::Run();
    return 0;
}
