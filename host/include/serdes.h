#pragma once

#include "devicedb.h"
#include "hostexport.h"
#include "parametermap.h"

#include <QMap>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <memory>

namespace IPSERDESIP {

class Message;

// Something the serdes model knows by name: a lane, a PLL.
class IPSERDESHOST_EXPORT Instance
{
public:
    explicit Instance(const QString &name);
    virtual ~Instance();
    Instance(const Instance &) = delete;
    Instance &operator=(const Instance &) = delete;

    QString name() const { return m_name; }
    // The protocol instance ("file:module") that occupies it; empty when free.
    QString owner() const { return m_owner; }
    void setOwner(const QString &owner) { m_owner = owner; }

private:
    QString m_name;
    QString m_owner;
};

// One direction of a lane. The source names the PLL that drives it: "QPLL0", "QPLL1",
// "CPLL" or empty.
class LINE
{
public:
    QString getSource() const { return m_source; }
    void setSource(const QString &source) { m_source = source; }

private:
    QString m_source;
};

// A SERDES lane. Status: 0 free, 1 receive, 2 transmit, 3 both.
class IPSERDESHOST_EXPORT LANE : public Instance
{
public:
    enum Status { Free = 0, Receive = 1, Transmit = 2, Both = 3 };
    enum LineIndex { RxLine = 0, TxLine = 1 };

    explicit LANE(const QString &name);
    ~LANE() override;

    int getLaneStatus() const { return m_status; }
    void setLaneStatus(int status) { m_status = status; }
    double getLaneRate() const { return m_rate; }
    void setLaneRate(double rate) { m_rate = rate; }
    // 0 the receive line, 1 the transmit line.
    LINE &line(int index) { return m_lines[index == TxLine ? 1 : 0]; }
    const LINE &line(int index) const { return m_lines[index == TxLine ? 1 : 0]; }

private:
    int m_status = Free;
    double m_rate = 0.0;
    LINE m_lines[2];
};

// A quad PLL ("Q0_QPLL0" ...). Free until enabled; when enabled it runs one VCO frequency
// from one reference clock for one owner.
class IPSERDESHOST_EXPORT PLL : public Instance
{
public:
    explicit PLL(const QString &name);
    ~PLL() override;

    bool isEnabled() const { return m_enabled; }
    void setEnabled(bool enabled) { m_enabled = enabled; }
    // VCO frequency in GHz as its decimal text, exact.
    QString vco() const { return m_vco; }
    void setVco(const QString &vco) { m_vco = vco; }
    QString refClock() const { return m_refClock; }
    void setRefClock(const QString &refClock) { m_refClock = refClock; }

private:
    bool m_enabled = false;
    QString m_vco;
    QString m_refClock;
};

// A reference clock source and how many instances use it, at which frequency (MHz).
class IPSERDESHOST_EXPORT REF_SOURCE
{
public:
    explicit REF_SOURCE(const QString &name) : m_name(name) {}

    QString name() const { return m_name; }
    int getUseCount() const { return m_useCount; }
    void setUseCount(int count) { m_useCount = count; }
    double getFrequency() const { return m_frequency; }
    // The frequency as it was given, for exact arithmetic.
    QString frequencyText() const { return m_frequencyText; }
    void setFrequency(const QString &text);

private:
    QString m_name;
    int m_useCount = 0;
    double m_frequency = 0.0;
    QString m_frequencyText;
};

// The design-wide SERDES model and key/value store shared by all protocol instances.
class IPSERDESHOST_EXPORT serdes
{
public:
    static serdes *instance();

    // Global data.
    void setData(const QString &key, const QVariant &value);
    QVariant getData(const QString &key) const;
    void removeData(const QString &key);
    ParameterMap globalData() const { return m_globalData; }
    // The keys setData wrote since the model was reset or forgetWrittenKeys was called, in the
    // order first written: what an accepted dialog published, whether or not a value changed.
    QStringList writtenKeys() const { return m_writtenKeys; }
    void forgetWrittenKeys() { m_writtenKeys.clear(); }

    QString workingDir() const { return m_workingDir; }
    void setWorkingDir(const QString &dir) { m_workingDir = dir; }

    // Appends "global_reset_enable true", or "... false" when the global data holds
    // "GLOBAL_RESET_ENABLE" = false.
    void setGlobalResetEnableParam(QStringList &options) const;

    // The model of the current device's quads.
    void setDevice(const DEV::DeviceArg &device);
    DEV::DeviceArg device() const;
    int quadCount() const;
    // Forgets every instance, route, clock and global value: a new, empty design.
    void reset();

    QMap<QString, Instance *> allInstance() const;
    QStringList findLaneName(const QString &protocolName) const;
    double getFreqByRefsrc(const QString &source) const;
    REF_SOURCE *FormStringToREFSPtr(const QString &source) const;
    bool checkAccess(const QString &source, const QString &laneLine) const;
    bool checkRoute(const QStringList &lanes, const QStringList &plls, const QStringList &refClks,
                    const QStringList &refClkFreqs);
    void resetLane(const QString &lane, bool keepRoute);
    QStringList checkPLLforQuad0(double lineRate) const;
    QStringList checkPLLforQuad1(double lineRate) const;
    bool checkPllEnable(const QString &pll) const;

    // checkRoute on behalf of a named instance ("file:module"): what that instance itself
    // holds in the design is no conflict (a core checked again after it was added).
    bool checkRoute(const QStringList &lanes, const QStringList &plls, const QStringList &refClks,
                    const QStringList &refClkFreqs, const QString &owner);
    // Why the last checkRoute answered false, one line per conflict; lines of lanes that
    // resetLane released are gone.
    QStringList routeConflicts() const;
    QStringList checkPLLforQuad(int quad, double lineRate) const;

    // Design bookkeeping. A protocol instance lists the lanes findLaneName answers.
    void addProtocolInstance(const QString &protocolName, const QString &instanceName,
                             const QStringList &lanes);
    // Claims an accepted core's resources (its lanes, PLLs at the VCO its rates need, its
    // reference clock) as an instance of the design; false with *error when they clash with
    // the design or the rates cannot be made, and then nothing is claimed.
    bool addInstance(const Message &report, QString *error);
    // Frees whatever the named instance holds (a core about to be edited): its lanes, PLLs and
    // clocks, and its own records in the global data, the keys named after its module that no
    // other instance owns. Settings it shares with the design (a quad bias) stay, so that the
    // edited core starts from them.
    void removeInstance(const QString &instanceName);
    // The instance ("file:module") that holds the module name of instanceName, other than
    // the one named except; empty when none does.
    QString moduleHolder(const QString &instanceName, const QString &except = QString()) const;

    // The model behind the calls above; defined with the serdes model's implementation.
    struct Model;
    Model &model();
    const Model &model() const;

private:
    serdes();
    ~serdes();

    ParameterMap m_globalData;
    QStringList m_writtenKeys;
    QString m_workingDir;
    std::unique_ptr<Model> m_model;
};

} // namespace IPSERDESIP
