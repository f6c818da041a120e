#include "faultfixture.h"

#include "parameterfile.h"
#include "testpaths.h"

#include <idecore.h>
#include <serdes.h>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

namespace Faults {

namespace {

QStringList sinkReports;

void recordReport(const QString &title, const QString &text, QWidget *)
{
    sinkReports << title + QStringLiteral(": ") + text;
}

} // namespace

const QStringList &outputNames()
{
    static const QStringList names{QStringLiteral("top_define.vh"),
                                   QStringLiteral("jesd204b_top_defines.vh"),
                                   QStringLiteral("jesd204b.ini")};
    return names;
}

ParameterSet exampleSet(const QString &name)
{
    ParameterSet set;
    QString error;
    if (!HostProgram::readParameterFile(TestPaths::examplesDir() + QLatin1Char('/') + name, &set,
                                        &error))
        qFatal("%s", qPrintable(error));
    return set;
}

std::unique_ptr<IPJESD204B::jesd204b> loadedProtocol()
{
    auto protocol =
        std::make_unique<IPJESD204B::jesd204b>(TestPaths::sourceDir() + QStringLiteral("/data"));
    if (!protocol->load())
        qFatal("the core description does not load");
    return protocol;
}

Result generate(IPJESD204B::jesd204b &protocol, const ParameterSet &params, const QString &workDir)
{
    IPSERDESIP::serdes::instance()->setWorkingDir(workDir);
    sinkReports.clear();
    Core::MessageSink::setHandler(recordReport);
    Result result;
    QStringList reserved;
    QString message;
    result.ok =
        protocol.generate(params, result.ini, reserved, result.moduleOptions, message, false);
    Core::MessageSink::setHandler(nullptr);
    result.reports = sinkReports;
    return result;
}

QString generationDir(const QString &workDir, const ParameterSet &params)
{
    return workDir + QLatin1Char('/') + params.value(QStringLiteral("file")).toString() +
           QStringLiteral("/temp/jesd204b");
}

QList<QByteArray> outputs(const QString &dir)
{
    QList<QByteArray> bytes;
    for (const QString &name : outputNames())
        bytes << fileBytes(dir + QLatin1Char('/') + name);
    return bytes;
}

QByteArray fileBytes(const QString &path)
{
    if (!QFileInfo(path).isFile())
        return QByteArrayLiteral("<no file>");
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArrayLiteral("<unreadable>");
}

void writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
}

QStringList tree(const QString &dir)
{
    QStringList entries;
    QDirIterator it(dir, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        entries << QDir(dir).relativeFilePath(it.next());
    entries.sort();
    return entries;
}

} // namespace Faults
