#pragma once

#include "devicedb.h"
#include "hostexport.h"
#include "parametermap.h"

#include <QMap>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariant>

namespace IPSERDESIP {

class Message;

// A SERDES protocol offered by a plug-in package. The host owns every protocol object.
class IPSERDESHOST_EXPORT BaseProtocol : public QObject
{
    Q_OBJECT

public:
    BaseProtocol();
    ~BaseProtocol() override;

    // New core: runs the configuration dialog; empty map on cancel or refusal.
    virtual ParameterMap create(const QString &name, const DEV::DeviceArg &device) = 0;
    // Existing core: runs the dialog over a stored set; empty map on cancel or refusal.
    virtual ParameterMap edit(const ParameterMap &stored) = 0;
    // New report of the SERDES resources the set occupies; the caller owns it.
    virtual Message *resources(const ParameterMap &params) = 0;
    // Writes the core's files; appends to iniLines and moduleOptions. `reserved` is kept for
    // the host's own use and is not read by protocols.
    virtual bool generate(const ParameterMap &params, QStringList &iniLines, QStringList &reserved,
                          QStringList &moduleOptions, QString &message, bool runSynthesis) = 0;
    virtual bool load() = 0;
    virtual QString version() const = 0;
    virtual QString id() const = 0;
    virtual QString name() const = 0;
    virtual QStringList category() const = 0;
    virtual QString summary() const = 0;
    virtual bool isSupported(const DEV::DeviceArg &device) const = 0;

    DEV::DeviceArg device() const { return m_device; }
    void setDevice(const DEV::DeviceArg &device) { m_device = device; }

protected:
    DEV::DeviceArg m_device;
};

} // namespace IPSERDESIP
