#pragma once

#include "testfiles.h"

#include "jesd204b.h"
#include "parameterfile.h"
#include "testpaths.h"

#include <idecore.h>
#include <parametermap.h>
#include <serdes.h>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <memory>

// What the fault tests share: a loaded protocol, the example sets, generation into a working
// directory, the three output files read back, and the messages the host's sink received.
namespace Faults {

inline const QStringList outputNames{QStringLiteral("top_define.vh"),
                                     QStringLiteral("jesd204b_top_defines.vh"),
                                     QStringLiteral("jesd204b.ini")};

// A path that is missing or not a file reads as a marker.
inline QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly))
        return QByteArrayLiteral("<no file>");
    return file.readAll();
}

inline void writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
}

inline QJsonObject exampleJson(const QString &name)
{
    return QJsonDocument::fromJson(fileBytes(TestPaths::examplesDir() + QLatin1Char('/') + name))
        .object();
}

// An example parameter set by file name ("tx_2lane.json"), as the host program reads it.
inline IPSERDESIP::ParameterMap exampleSet(const QString &name)
{
    IPSERDESIP::ParameterMap set;
    QString error;
    if (!HostProgram::readParameterFile(TestPaths::examplesDir() + QLatin1Char('/') + name, &set,
                                        &error))
        qFatal("%s", qPrintable(error));
    return set;
}

inline std::unique_ptr<IPJESD204B::jesd204b> loadedProtocol()
{
    auto protocol =
        std::make_unique<IPJESD204B::jesd204b>(TestPaths::sourceDir() + QStringLiteral("/data"));
    if (!protocol->load())
        qFatal("the core description does not load");
    return protocol;
}

struct Result
{
    bool ok = false;
    QStringList ini;
    QStringList moduleOptions;
    QStringList reports; // "title: text" of every sink message during the call
};

// Generates the set with the working directory set to workDir.
inline Result generate(IPJESD204B::jesd204b &protocol, const IPSERDESIP::ParameterMap &params,
                       const QString &workDir)
{
    static QStringList reports;
    reports.clear();
    IPSERDESIP::serdes::instance()->setWorkingDir(workDir);
    Core::MessageSink::setHandler([](const QString &title, const QString &text, QWidget *) {
        reports << title + QStringLiteral(": ") + text;
    });
    Result result;
    QStringList reserved;
    QString message;
    result.ok =
        protocol.generate(params, result.ini, reserved, result.moduleOptions, message, false);
    Core::MessageSink::setHandler(nullptr);
    result.reports = reports;
    return result;
}

// The generation directory of a set below workDir.
inline QString generationDir(const QString &workDir, const IPSERDESIP::ParameterMap &params)
{
    return workDir + QLatin1Char('/') + params.value(QStringLiteral("file")).toString() +
           QStringLiteral("/temp/jesd204b");
}

inline QList<QByteArray> outputs(const QString &dir)
{
    QList<QByteArray> bytes;
    for (const QString &name : outputNames)
        bytes << fileBytes(dir + QLatin1Char('/') + name);
    return bytes;
}

using TestFiles::tree;

} // namespace Faults

class FaultsTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void uncreatableDirectory_data();
    void uncreatableDirectory();
    void faultDuringWrite_data();
    void faultDuringWrite();
    void parameterOfEveryType_data();
    void parameterOfEveryType();
    void designEntryOfEveryType_data();
    void designEntryOfEveryType();
    void hostProgramRefusesInOneLine_data();
    void hostProgramRefusesInOneLine();

private:
    IPSERDESIP::ParameterMap m_old; // two lanes
    IPSERDESIP::ParameterMap m_new; // eight lanes, same output directory
    QList<QByteArray> m_oldBytes;
    QList<QByteArray> m_newBytes;
};
