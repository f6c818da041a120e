#pragma once

#include "jesd204b.h"
#include "parameterfile.h"
#include "testfiles.h"
#include "testpaths.h"

#include <idecore.h>
#include <parametermap.h>
#include <serdes.h>

#include <memory>

// What the input and write suites share: the examples, sets changed from them, the plug-in's
// protocol generating in-process as a host other than ipcore-host does, and the outputs.
namespace AppFixture {

inline const QStringList outputNames{QStringLiteral("top_define.vh"),
                                     QStringLiteral("jesd204b_top_defines.vh"),
                                     QStringLiteral("jesd204b.ini")};

using TestFiles::changedJson;
using TestFiles::readJson;
using TestFiles::tree;
using TestFiles::writeJson;
using TestPaths::example;

// A set as the host program reads it.
inline IPSERDESIP::ParameterMap readSet(const QString &path)
{
    IPSERDESIP::ParameterMap set;
    QString error;
    if (!HostProgram::readParameterFile(path, &set, &error))
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

struct Generation
{
    bool ok = false;
    QStringList ini;
    QStringList moduleOptions;
    QStringList reports; // "title: text" of every sink message during the call
};

inline Generation generate(IPJESD204B::jesd204b &protocol, const IPSERDESIP::ParameterMap &params,
                           const QString &workDir)
{
    static QStringList reports;
    reports.clear();
    IPSERDESIP::serdes::instance()->setWorkingDir(workDir);
    Core::MessageSink::setHandler([](const QString &title, const QString &text, QWidget *) {
        reports << title + QStringLiteral(": ") + text;
    });
    Generation result;
    QStringList reserved;
    QString message;
    result.ok =
        protocol.generate(params, result.ini, reserved, result.moduleOptions, message, false);
    Core::MessageSink::setHandler(nullptr);
    result.reports = reports;
    return result;
}

inline QString generationDir(const QString &workDir, const QString &file)
{
    return workDir + QLatin1Char('/') + file + QStringLiteral("/temp/jesd204b");
}

inline QList<QByteArray> outputs(const QString &dir)
{
    QList<QByteArray> bytes;
    for (const QString &name : outputNames)
        bytes << TestFiles::bytes(dir + QLatin1Char('/') + name);
    return bytes;
}

} // namespace AppFixture
