#include "copytool/CopyCommandLine.h"
#include "copytool/CopyWindow.h"
#include "desktop/Session.h"
#include "ui/Pictures.h"
#include "ui/Widgets.h"

int main(int argc, char* argv[])
{
    // With --nach, --help, --version or a bad argument no window is needed.
    const CopyCommandLine::Request request = CopyCommandLine::parse(argc, argv);
    if (!request.opensWindow())
        return CopyCommandLine::runWithoutWindow(argc, argv, request);
    const auto app =
        Session::start(argc, argv, CopyCommandLine::kProgram, QStringLiteral("--help"));
    if (!app)
        return Cli::kNothingDone;
    CopyWindow window(request.presets());
    window.setWindowIcon(Pictures::windowIcon());
    centreOnScreen(&window);
    window.show();
    return QApplication::exec();
}
