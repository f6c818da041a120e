#include "sysref.h"

#include "decimaltext.h"

namespace IPJESD204B {

QVector<int> lmfcsNotDivided(const Ratio &sysrefMHz, const QVector<Ratio> &lmfcsMHz)
{
    QVector<int> misfits;
    for (int i = 0; i < lmfcsMHz.size(); ++i) {
        const Ratio periods = lmfcsMHz.at(i) / sysrefMHz;
        if (!periods.isValid() || !periods.isInteger())
            misfits << i;
    }
    return misfits;
}

QString sysrefFitText(const Ratio &sysrefMHz, const Ratio &lmfcMHz)
{
    const Ratio periods = lmfcMHz / sysrefMHz;
    if (periods.isInteger())
        return QStringLiteral("LMFC %1 MHz = %2 x SYSREF %3 MHz")
            .arg(decimalText(lmfcMHz), decimalText(periods), decimalText(sysrefMHz));
    return QStringLiteral("SYSREF %1 MHz does not divide LMFC %2 MHz (%3 periods)")
        .arg(decimalText(sysrefMHz), decimalText(lmfcMHz), decimalText(periods));
}

} // namespace IPJESD204B

namespace IPJESD204B {

namespace {

QVector<SysrefOption> optionsFrom(const QVector<Ratio> &lmfcsMHz, const Ratio &slowestMHz)
{
    QVector<SysrefOption> options;
    for (const SysrefOption &option : commonSysrefOptions(lmfcsMHz)) {
        if (slowestMHz <= option.frequencyMHz)
            options << option;
    }
    return options;
}

} // namespace

CommonSysref commonSysref(const QVector<Ratio> &lmfcsMHz, const Ratio &deviceClockMHz)
{
    CommonSysref common;
    common.slowestMHz = deviceClockMHz / MaxSysrefClockDivider;
    common.options = optionsFrom(lmfcsMHz, common.slowestMHz);
    for (int count = 1; common.options.isEmpty() && count <= lmfcsMHz.size(); ++count) {
        if (optionsFrom(lmfcsMHz.mid(0, count), common.slowestMHz).isEmpty()) {
            common.breaker = count - 1;
            break;
        }
    }
    return common;
}

} // namespace IPJESD204B
