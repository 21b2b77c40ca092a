// qxbench: the desktop bench tool.
#include "core/clock.h"
#include "core/event_pump.h"
#include "core/program_paths.h"
#include "device/bench.h"
#include "shell/bench_app.h"
#include "shell/main_panel.h"
#include "transport/port_io.h"
#include "transport/system_usb_transport.h"
#include "shell/qt_prompter.h"

#include <QApplication>
#include <QSessionManager>

#include <QSocketNotifier>

#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace {
// SIGTERM and SIGINT close the main window the normal way, so settings are
// saved: the handler only writes a byte that the event loop picks up.
int signalPipe[2] = {-1, -1};
void onSignal(int)
{
    const char c = 1;
    [[maybe_unused]] const auto n = ::write(signalPipe[1], &c, 1);
}
} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName("qxbench");
    QApplication::setQuitOnLastWindowClosed(true);

    const auto paths = qx::ProgramPaths::fromEnvironment(QApplication::applicationDirPath());
    qx::SystemClock clock;
    qx::QtEventPump pump;
    qx::QtPrompter prompter;
    qx::BenchApp::Parts parts;
    parts.clock = &clock;
    parts.pump = &pump;
    parts.prompter = &prompter;
    parts.usb = qx::MakeSystemUsbTransport();
    parts.ports = qx::MakeSystemPortAccess();
    qx::BenchApp tool(paths, std::move(parts));
    qx::TMainPanel &main = tool.main();
    prompter.setParent(&main);

    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, signalPipe) == 0) {
        auto *notifier = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, &main);
        QObject::connect(notifier, &QSocketNotifier::activated, &main, [&] {
            char c;
            [[maybe_unused]] const auto n = ::read(signalPipe[0], &c, 1);
            main.close();
        });
        std::signal(SIGTERM, onSignal);
        std::signal(SIGINT, onSignal);
    }

    // A session logout closes the main window the normal way too.
    QObject::connect(&app, &QGuiApplication::commitDataRequest, &main, [&](QSessionManager &) { main.close(); });

    main.show();
    tool.activate();
    return app.exec();
}
