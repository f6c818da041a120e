#pragma once

#include "hostexport.h"

#include <QList>
#include <QObject>
#include <QString>

namespace IPSERDESIP {

class BaseProtocol;

// The object a protocol plug-in hands to the host. The host fills the package directory
// (no trailing separator) before it asks for the protocols.
class IPSERDESHOST_EXPORT ProtocolPackage : public QObject
{
    Q_OBJECT

public:
    ProtocolPackage();
    ~ProtocolPackage() override;

    // Fresh, loaded protocol objects; the caller owns them.
    virtual QList<BaseProtocol *> protocols() = 0;

    QString directory() const { return m_directory; }
    void setDirectory(const QString &directory) { m_directory = directory; }

protected:
    QString m_directory;
};

} // namespace IPSERDESIP

#define IPSERDESIP_ProtocolPackage_iid "com.mirelan.plugins.ProtocolPackage/1.0"
Q_DECLARE_INTERFACE(IPSERDESIP::ProtocolPackage, IPSERDESIP_ProtocolPackage_iid)
