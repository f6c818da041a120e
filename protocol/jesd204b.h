#pragma once

#include <baseprotocol.h>
#include <parametermap.h>

#include <QMap>
#include <QString>
#include <QVariant>

namespace IPJESD204B {

// The JESD204B link core as the host's SERDES framework sees it.
class jesd204b : public IPSERDESIP::BaseProtocol
{
public:
    explicit jesd204b(const QString &directory);
    ~jesd204b() override;

    IPSERDESIP::ParameterMap create(const QString &name, const DEV::DeviceArg &device) override;
    IPSERDESIP::ParameterMap edit(const IPSERDESIP::ParameterMap &stored) override;
    IPSERDESIP::Message *resources(const IPSERDESIP::ParameterMap &params) override;
    bool generate(const IPSERDESIP::ParameterMap &params, QStringList &iniLines,
                  QStringList &reserved, QStringList &moduleOptions, QString &message,
                  bool runSynthesis) override;
    bool load() override;
    QString version() const override;
    QString id() const override;
    QString name() const override;
    QStringList category() const override;
    QString summary() const override;
    bool isSupported(const DEV::DeviceArg &device) const override;

    // Generation form of one lane's SERDES option block, read from the parameter set.
    void appendLaneOptions(QStringList &options, const QString &lanePrefix,
                           const QString &quadPrefix) const;

    IPSERDESIP::ParameterMap parameters() const { return m_parameters; }
    IPSERDESIP::ParameterMap ipInfo() const { return m_ipInfo; }
    QString directory() const { return m_directory; }
    // Why load() refuses the description file: its read error or the keys it lacks.
    QString loadProblem() const;

private:
    IPSERDESIP::ParameterMap m_parameters;
    IPSERDESIP::ParameterMap m_ipInfo;
    QString m_directory;
};

} // namespace IPJESD204B
