// kt41-sim: a KT-41 controller on a pseudo-terminal, a serial device or TCP.
#include "CommandLine.h"
#include "Controller.h"
#include "PtyServer.h"
#include "SerialServer.h"
#include "TcpServer.h"
#include "version/Version.h"

#include <csignal>
#include <iostream>
#include <memory>

namespace {

using namespace kt41::sim;

int Serve(const SimCommandLine& cl) {
    ControllerOptions options;
    options.Address = cl.Address;
    options.AnswerAnyAddress = cl.AnyAddress;
    options.SerialNumber = cl.SerialNumber;
    options.ArchiveDays = cl.ArchiveDays;
    if (cl.Mode != SimCommandLine::Transport::Device) {
        options.EmulatedBaud = cl.Baud;
    }
    Controller controller(options);
    if (cl.Resistance) {
        controller.References().SetResistance(*cl.Resistance);
    }
    if (cl.Current) {
        controller.References().SetCurrent(*cl.Current);
    }
    for (const Fault& f : cl.Faults) {
        controller.AddFault(f);
    }
    if (cl.Verbose) {
        controller.SetCallObserver([](const CallRecord& c) {
            std::cerr << "unit " << int(c.Unit) << " fc " << int(c.FunctionCode) << " reg "
                      << c.First << " x" << c.Count << "  " << c.Function;
            if (c.Fault) {
                std::cerr << "  [" << FaultKindName(*c.Fault) << "]";
            }
            std::cerr << std::endl;
        });
    }

    // Block the signals that end the program; sigwait takes them below.
    sigset_t stop;
    sigemptyset(&stop);
    sigaddset(&stop, SIGINT);
    sigaddset(&stop, SIGTERM);
    sigaddset(&stop, SIGHUP);
    pthread_sigmask(SIG_BLOCK, &stop, nullptr);

    std::unique_ptr<PtyServer> pty;
    std::unique_ptr<TcpServer> tcp;
    std::unique_ptr<SerialServer> serial;
    switch (cl.Mode) {
    case SimCommandLine::Transport::Pty:
        pty = std::make_unique<PtyServer>(controller);
        if (cl.Hold) {
            pty->Hold(true);
        }
        std::cout << pty->SlavePath() << std::endl;
        break;
    case SimCommandLine::Transport::Tcp:
        tcp = std::make_unique<TcpServer>(controller, cl.TcpPort);
        if (cl.Hold) {
            tcp->Hold(true);
        }
        std::cout << tcp->PortName() << std::endl;
        break;
    case SimCommandLine::Transport::Device:
        serial = std::make_unique<SerialServer>(controller, cl.DevicePath,
                                                cl.Baud != 0 ? cl.Baud : 9600);
        std::cout << serial->Path() << std::endl;
        break;
    case SimCommandLine::Transport::None:
        return 2;
    }
    std::cerr << "KT-41 simulator: unit " << int(cl.Address)
              << (cl.AnyAddress ? " (answers every address)" : "") << ", serial number "
              << cl.SerialNumber << (cl.Hold ? ", port held" : "") << ". Ctrl+C ends it."
              << std::endl;
    int signal = 0;
    sigwait(&stop, &signal);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (kt41::version::AskedForVersion(argc, argv)) {
        std::cout << kt41::version::VersionLine("kt41-sim");
        return 0;
    }
    std::string error;
    const auto cl = ParseSimCommandLine(std::vector<std::string>(argv + 1, argv + argc), &error);
    if (!cl) {
        std::cerr << "kt41-sim: " << error << "\nTry kt41-sim --help." << std::endl;
        return 2;
    }
    if (cl->Help) {
        std::cout << SimHelpText();
        return 0;
    }
    try {
        return Serve(*cl);
    } catch (const std::exception& e) {
        std::cerr << "kt41-sim: " << e.what() << std::endl;
        return 1;
    }
}
