#include "commands.h"
#include "commandsupport.h"

#include <QApplication>
#include <QCoreApplication>
#include <QTextStream>

#include <csignal>
#include <cstdio>
#include <memory>

namespace {

// The commands in the order `--help` lists them: name, handler, one-line summary (none for
// --version, which the options list).
struct Command
{
    const char *name;
    int (*run)(const QStringList &);
    const char *summary;
};

constexpr Command commands[] = {
    {"list", HostProgram::runList, "list the IP cores of the plug-ins"},
    {"devices", HostProgram::runDevices, "list the device database"},
    {"configure", HostProgram::runConfigure,
     "configure a core in the dialog and store its parameter set"},
    {"check", HostProgram::runCheck, "prove a parameter set's line rate against its PLL and clock"},
    {"generate", HostProgram::runGenerate, "generate a core's files from a parameter set"},
    {"resources", HostProgram::runResources, "print the SERDES resources a parameter set occupies"},
    {"plan", HostProgram::runPlan, "plan a JESD204B link from a converter's mode"},
    {"ilas", HostProgram::runIlas, "print the ILAS configuration of a parameter set's lanes"},
    {"simulate", HostProgram::runSimulate,
     "run a generated core's link in loopback in a Verilog simulator"},
    {"template", HostProgram::runTemplate,
     "write a core's instantiation template and timing constraints"},
    {"transport", HostProgram::runTransport,
     "write a core's transport modules (samples to lanes and back)"},
    {"--version", HostProgram::runVersion, nullptr},
};

const Command *findCommand(const QString &name)
{
    for (const Command &command : commands) {
        if (name == QLatin1String(command.name))
            return &command;
    }
    return nullptr;
}

int usage(FILE *stream)
{
    QTextStream out(stream);
    out << "Usage: ipcore-host <command> [options]\n\nCommands:\n";
    for (const Command &command : commands) {
        if (command.summary)
            out << "  " << QString::fromLatin1(command.name).leftJustified(12) << command.summary
                << '\n';
    }
    out << "\nOptions:\n"
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
    const Command *found = findCommand(command);
    if (!found) {
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
    return HostProgram::finishStandardOutput(command, found->run(arguments));
}
