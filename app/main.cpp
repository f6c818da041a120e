#include "commands.h"
#include "commandsupport.h"

#include <QApplication>
#include <QCoreApplication>
#include <QTextStream>

#include <csignal>
#include <cstdio>
#include <functional>
#include <map>
#include <memory>

namespace {

const std::map<QString, std::function<int(const QStringList &)>> &commandTable()
{
    static const std::map<QString, std::function<int(const QStringList &)>> table{
        {QStringLiteral("list"), HostProgram::runList},
        {QStringLiteral("devices"), HostProgram::runDevices},
        {QStringLiteral("generate"), HostProgram::runGenerate},
        {QStringLiteral("resources"), HostProgram::runResources},
        {QStringLiteral("check"), HostProgram::runCheck},
        {QStringLiteral("configure"), HostProgram::runConfigure},
        {QStringLiteral("plan"), HostProgram::runPlan},
        {QStringLiteral("ilas"), HostProgram::runIlas},
        {QStringLiteral("simulate"), HostProgram::runSimulate},
        {QStringLiteral("template"), HostProgram::runTemplate},
        {QStringLiteral("transport"), HostProgram::runTransport},
        {QStringLiteral("--version"), HostProgram::runVersion},
    };
    return table;
}

int usage(FILE *stream)
{
    QTextStream out(stream);
    out << "Usage: ipcore-host <command> [options]\n\n"
           "Commands:\n"
           "  list        list the IP cores of the plug-ins\n"
           "  devices     list the device database\n"
           "  configure   configure a core in the dialog and store its parameter set\n"
           "  check       prove a parameter set's line rate against its PLL and clock\n"
           "  generate    generate a core's files from a parameter set\n"
           "  resources   print the SERDES resources a parameter set occupies\n"
           "  plan        plan a JESD204B link from a converter's mode\n"
           "  ilas        print the ILAS configuration of a parameter set's lanes\n"
           "  simulate    run a generated core's link in loopback in a Verilog simulator\n"
           "  template    write a core's instantiation template and timing constraints\n"
           "  transport   write a core's transport modules (samples to lanes and back)\n\n"
           "Options:\n"
           "  -h, --help  print this help\n"
           "  --version   print the program's version and the versions of the plug-ins' cores\n\n"
           "Run 'ipcore-host <command> --help' for a command's options.\n"
           "Exit codes: 0 success, 1 the job failed, 2 bad usage or bad input.\n";
    return stream == stdout ? HostProgram::Success : HostProgram::BadUsage;
}

} // namespace

int main(int argc, char *argv[])
{
    // A write past the file-size limit then fails with EFBIG, which the writer reports like any
    // other write error, instead of the signal killing the program mid-way.
    std::signal(SIGXFSZ, SIG_IGN);
    QStringList raw;
    for (int i = 0; i < argc; ++i) {
        raw << QString::fromLocal8Bit(argv[i]);
        // A byte the locale cannot decode would name another file than the one given.
        if (raw.last().toLocal8Bit() != QByteArray(argv[i])) {
            QTextStream(stderr) << "ipcore-host: argument " << i
                                << " is not valid text in the locale's encoding\n";
            return HostProgram::BadUsage;
        }
    }
    if (raw.size() < 2)
        return usage(stderr);
    const QString command = raw.at(1);
    if (command == QLatin1String("--help") || command == QLatin1String("-h"))
        return usage(stdout);
    const auto found = commandTable().find(command);
    if (found == commandTable().end()) {
        QTextStream(stderr) << "ipcore-host: unknown command '" << command << "'\n";
        return usage(stderr);
    }

    QStringList arguments = raw;
    arguments.removeAt(1);
    std::unique_ptr<QCoreApplication> app;
    if (HostProgram::needsWidgets(command, arguments))
        app = std::make_unique<QApplication>(argc, argv);
    else
        app = std::make_unique<QCoreApplication>(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("ipcore-host"));
    QCoreApplication::setApplicationVersion(QStringLiteral(JESD_PROGRAM_VERSION));
    return HostProgram::finishStandardOutput(command, found->second(arguments));
}
