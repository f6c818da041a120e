#include "configuredlink.h"
#include "decimaltext.h"
#include "ilascompare.h"
#include "linklatency.h"
#include "linkrecord.h"
#include "linkreport.h"
#include "sysref.h"
#include "transportverilog.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QTemporaryDir>
#include <QtTest>

using namespace IPJESD204B;

Q_DECLARE_METATYPE(IPSERDESIP::Ratio)
Q_DECLARE_METATYPE(IPJESD204B::LinkMode)
Q_DECLARE_METATYPE(IPJESD204B::LinkConfig)
Q_DECLARE_METATYPE(IPJESD204B::LatencyLink)
Q_DECLARE_METATYPE(IPJESD204B::ConfiguredLink)

namespace {

struct ModeShape
{
    int lanes, converters, samples, resolution, bitsPerSample, controlBits;
};

LinkMode modeOf(const ModeShape &shape, const char *sampleRate)
{
    LinkMode mode;
    mode.lanes = shape.lanes;
    mode.converters = shape.converters;
    mode.samples = shape.samples;
    mode.resolution = shape.resolution;
    mode.bitsPerSample = shape.bitsPerSample;
    mode.controlBits = shape.controlBits;
    mode.sampleRateMsps = sampleRateFromText(QLatin1String(sampleRate));
    return mode;
}

// The mode with some fields changed.
template <class Change> LinkMode changed(LinkMode mode, Change change)
{
    change(mode);
    return mode;
}

Ratio dec(const char *text)
{
    return Ratio::fromDecimal(QLatin1String(text));
}

Ratio gbps(const char *text) // in Mbps
{
    return dec(text) * 1000;
}

} // namespace

class TestLink : public QObject
{
    Q_OBJECT

private slots:
    void workedMode()
    {
        LinkMode mode = modeOf({4, 2, 1, 14, 16, 0}, "1000");
        mode.framesPerMultiframe = 32;
        const LinkPlan plan = planLink(mode);
        QVERIFY(plan.isValid());
        QVERIFY(plan.warnings.isEmpty());
        QCOMPARE(plan.frameClockMHz, Ratio::fromInt(1000));
        QCOMPARE(plan.sysref.size(), 15);
        QCOMPARE(plan.sysref.first().divisor, 2);
        QCOMPARE(plan.sysref.first().frequencyMHz, dec("15.625"));
        QCOMPARE(plan.sysref.last().frequencyMHz, dec("1.953125"));

        const QJsonObject json = linkPlanToJson(plan);
        QCOMPARE(json.value("K").toInt(-1), 32);
        QCOMPARE(json.value("kMin").toInt(-1), 17);
        QCOMPARE(json.value("laneRateGbps").toDouble(), 10.0);
        QCOMPARE(json.value("lmfcMHz").toDouble(), 31.25);
        QCOMPARE(json.value("sysrefMHz").toArray().first().toDouble(), 15.625);
        QCOMPARE(json.value("deviceClockMHz").toObject().value("64").toDouble(), 125.0);
        const QJsonArray ilas = json.value("ilas").toArray();
        QCOMPARE(ilas.size(), 4);
        QCOMPARE(ilas.at(3).toObject().value("lane").toInt(), 3);
        QCOMPARE(ilas.at(3).toObject().value("octets").toArray().size(), 14);

        // L-1 3, K-1 31, M-1 1, N-1 13, SUBCLASSV 1, N'-1 15, JESDV 1, HD 1: check sum 66.
        const QStringList report = linkPlanReport(plan);
        for (const char *line :
             {"F (octets per frame): 1", "HD (high density): 1", "K range: 17 to 32",
              "Lane rate: 10 Gbps", "Frame clock: 1000 MHz", "LMFC: 31.25 MHz",
              "Device clock, 32-bit PCS: 250 MHz", "Device clock, 64-bit PCS: 125 MHz",
              "ILAS lane 0: 00 00 00 03 00 1F 01 0D 2F 20 80 00 00 42 (FCHK 42)"})
            QVERIFY2(report.contains(QLatin1String(line)), line);

        // SYSREF at the LMFC itself is warned about, at LMFC / 2 it is not.
        mode.sysrefDivisor = 1;
        const LinkPlan atLmfc = planLink(mode);
        QVERIFY(atLmfc.isValid());
        QCOMPARE(atLmfc.warnings.size(), 1);
        for (const char *fragment : {"LMFC / 1 = 31.25 MHz", "LMFC / 2 = 15.625 MHz"})
            QVERIFY2(atLmfc.warnings.first().contains(QLatin1String(fragment)), fragment);
        mode.sysrefDivisor = 2;
        QCOMPARE(planLink(mode).warnings, QStringList());
    }

    void ilasOctets_data()
    {
        QTest::addColumn<LinkConfig>("config");
        QTest::addColumn<QString>("octets");
        // clang-format off
        // DID BID LID L F K M CS N N' S CF HD SUBCLASSV JESDV SCR ADJCNT ADJDIR PHADJ
        // The published example; summing the octets instead would give E1.
        QTest::newRow("public vector") << LinkConfig{0x55, 0xA, 0, 4, 2, 32, 4, 2, 14, 16, 1, 0, 0, 1, 1, 1, 0, 0, 0} << "55 0A 00 83 01 1F 03 8D 2F 20 00 00 00 A6";
        // Subclass 2 adjustment fields: ADJCNT 3, ADJDIR 1, PHADJ 1, LID 5 add 1+3+1+1+5.
        QTest::newRow("subclass 2") << LinkConfig{0x55, 0xA, 5, 4, 2, 32, 4, 2, 14, 16, 1, 0, 0, 2, 1, 1, 3, 1, 1} << "55 3A 65 83 01 1F 03 8D 4F 20 00 00 00 B1";
        QTest::newRow("HD and CF") << LinkConfig{0x55, 0xA, 0, 4, 2, 32, 4, 2, 14, 16, 1, 1, 1, 1, 1, 1, 0, 0, 0} << "55 0A 00 83 01 1F 03 8D 2F 20 81 00 00 A8";
        // The check sum wraps: 255+15+31+1+31+255+31+255+3+31+7+31+7+31+1+31 = 1016 = 0x3F8.
        QTest::newRow("all fields full") << LinkConfig{255, 15, 31, 32, 256, 32, 256, 3, 32, 32, 32, 31, 1, 7, 7, 1, 0, 0, 0} << "FF 0F 1F 9F FF 1F FF DF FF FF 9F 00 00 F8";
        // clang-format on
    }

    void ilasOctets()
    {
        QFETCH(LinkConfig, config);
        QVERIFY(linkConfigFieldErrors(config).isEmpty());
        QTEST(ilasHexText(ilasConfigOctets(config)), "octets");
    }

    void ilasCompare_data()
    {
        QTest::addColumn<QString>("received");
        QTest::addColumn<QStringList>("differences");
        const QString fchkKept = QStringLiteral("FCHK received 0xA6, the fields sum to 0xA5");
        // clang-format off
        // Mutations of the published example, 55 0A 00 83 01 1F 03 8D 2F 20 00 00 00 A6.
        QTest::newRow("match, 0x and commas") << "0x55,0x0A,0x00,0x83,0x01,0x1F,0x03,0x8D,0x2F,0x20,0,0,0,0xA6" << QStringList{};
        QTest::newRow("F, FCHK kept") << "55 0A 00 83 00 1F 03 8D 2F 20 00 00 00 A6" << QStringList{"F expected 2 (octet 0x01), received 1 (0x00)", fchkKept};
        QTest::newRow("N' beside SUBCLASSV") << "55 0A 00 83 01 1F 03 8D 2E 20 00 00 00 A6" << QStringList{"N' expected 16 (octet 0x0F), received 15 (0x0E)", fchkKept};
        QTest::newRow("SUBCLASSV") << "55 0A 00 83 01 1F 03 8D 0F 20 00 00 00 A6" << QStringList{"SUBCLASSV expected 1 (octet 0x01), received 0 (0x00)", fchkKept};
        QTest::newRow("SCR, FCHK follows") << "550A0003011F038D2F20000000A5" << QStringList{"SCR expected 1 (octet 0x01), received 0 (0x00)", "FCHK expected 0xA6, received 0xA5, the sum of the received fields"};
        QTest::newRow("reserved octet") << "55 0A 00 83 01 1F 03 8D 2F 20 00 12 00 A6" << QStringList{"octet 11 is reserved and zero, received 0x12"};
        QTest::newRow("octet sum") << "55 0A 00 83 01 1F 03 8D 2F 20 00 00 00 E1" << QStringList{"FCHK received 0xE1, the fields sum to 0xA6: it is the sum of octets 0 to 12, another check sum convention"};
        QTest::newRow("13 octets") << "55 0A 00 83 01 1F 03 8D 2F 20 00 00 00" << QStringList{"unreadable"};
        QTest::newRow("not hex") << "55 0A 00 83 01 1F 03 8D 2F 20 00 00 00 G6" << QStringList{"unreadable"};
        // clang-format on
    }

    void ilasCompare()
    {
        QFETCH(QString, received);
        const LinkConfig config{0x55, 0xA, 0, 4, 2, 32, 4, 2, 14, 16, 1, 0, 0, 1, 1, 1, 0, 0, 0};
        const std::optional<IlasOctets> octets = ilasOctetsFromText(received);
        QTEST(octets ? ilasDifferences(ilasConfigOctets(config), *octets)
                     : QStringList{QStringLiteral("unreadable")},
              "differences");
    }

    void ilasFromPlan()
    {
        const LinkPlan plan =
            planLink(changed(modeOf({4, 4, 1, 14, 16, 2}, "245.76"), [](LinkMode &m) {
                m.deviceId = 0x55, m.bankId = 0xA, m.framesPerMultiframe = 32, m.scrambling = true;
            }));
        QVERIFY(plan.isValid());
        QCOMPARE(plan.ilas.size(), 4);
        for (const LaneIlas &lane : plan.ilas) {
            QCOMPARE(ilasHexText(lane.octets),
                     QStringLiteral("55 0A 0%1 83 01 1F 03 8D 2F 20 00 00 00 A%2")
                         .arg(lane.lane)
                         .arg(6 + lane.lane));
        }
    }

    void brokenRules_data()
    {
        QTest::addColumn<LinkMode>("mode");
        QTest::addColumn<QStringList>("fragments");
        QTest::addColumn<int>("errorCount");

        // clang-format off
        // 32 frame bits share evenly over 1, 2 or 4 lanes only.
        QTest::newRow("F not whole") << modeOf({3, 2, 1, 14, 16, 0}, "500") << QStringList{"Octets per frame", "= 4/3 is not whole", "L = 1, 2, 4 make it whole"} << 1;
        QTest::newRow("F given wrong") << changed(modeOf({4, 4, 1, 14, 16, 0}, "245.76"), [](LinkMode &m) { m.octetsPerFrame = 4; }) << QStringList{"F = 4 was given", "F must be 2"} << 1;
        QTest::newRow("K too small") << changed(modeOf({1, 2, 1, 16, 16, 0}, "100"), [](LinkMode &m) { m.framesPerMultiframe = 2; }) << QStringList{"Frames per multiframe", "K = 2 is out of range for F = 4", "allow K = 5 to 32"} << 1;
        // F = 64: at most 1024 octets per multiframe limits K to 16.
        QTest::newRow("K beyond 1024 octets") << changed(modeOf({1, 16, 2, 16, 16, 0}, "10"), [](LinkMode &m) { m.framesPerMultiframe = 20; }) << QStringList{"allow K = 1 to 16"} << 1;
        QTest::newRow("HD required") << changed(modeOf({2, 1, 1, 16, 16, 0}, "500"), [](LinkMode &m) { m.highDensity = 0; }) << QStringList{"High density", "8 * F = 8 bits", "HD must be 1"} << 1;
        QTest::newRow("field overflow") << changed(modeOf({4, 4, 1, 14, 16, 2}, "245.76"), [](LinkMode &m) { m.deviceId = 256, m.bankId = 16, m.subclass = 8; }) << QStringList{"Field width", "DID = 256", "DID must be 0 to 255", "BID must be 0 to 15", "SUBCLASSV = 8 is not allowed; JESD204B defines 0 to 2"} << 3;
        QTest::newRow("M too many") << modeOf({30, 300, 1, 16, 16, 0}, "10") << QStringList{"M-1 has 8 bits", "M must be 1 to 256"} << 1;
        // 20 Gbps; four lanes halve it, and 50 to 625 MSPS keep two lanes in range.
        QTest::newRow("lane rate too high") << modeOf({2, 2, 1, 14, 16, 0}, "1000") << QStringList{"Lane rate: 20 Gbps with L = 2", "core's range of 1 to 12.5 Gbps", "L = 4 keep it in range", "Fs from 50 to 625 MSPS with L = 2"} << 1;
        QTest::newRow("lane rate too low") << modeOf({1, 1, 1, 16, 16, 0}, "10") << QStringList{"Lane rate: 0.2 Gbps", "Fs from 50 to 625 MSPS with L = 1"} << 1;
        QTest::newRow("sample too small") << modeOf({4, 4, 1, 16, 16, 2}, "245.76") << QStringList{"Sample size", "need 18 bits", "N' must be at least 18"} << 1;
        // 8 * 1 * 3 control bits need two 16-bit control words.
        QTest::newRow("control words short") << changed(modeOf({2, 8, 1, 14, 16, 3}, "100"), [](LinkMode &m) { m.controlWords = 1; }) << QStringList{"Control words", "CF must be at least 2"} << 1;
        QTest::newRow("no sample rate") << modeOf({4, 2, 1, 14, 16, 0}, "0") << QStringList{"Sample rate"} << 1;
        QTest::newRow("buffer one octet short") << changed(modeOf({1, 4, 1, 16, 16, 0}, "122.88"), [](LinkMode &m) { m.bufferOctets = 255; }) << QStringList{"Elastic buffer", "F * K = 8 * 32 = 256", "K at most 31"} << 1;
        // Every rule at once: each reports on its own.
        QTest::newRow("several rules") << changed(modeOf({2, 2, 1, 14, 16, 0}, "1000"), [](LinkMode &m) { m.highDensity = 2, m.framesPerMultiframe = 3, m.deviceId = 300; }) << QStringList{"HD must be 0 to 1", "DID must be 0 to 255", "allow K = 9 to 32", "Lane rate: 20 Gbps"} << 4;
        // clang-format on
    }

    void brokenRules()
    {
        QFETCH(LinkMode, mode);
        QFETCH(QStringList, fragments);
        QFETCH(int, errorCount);
        const LinkPlan plan = planLink(mode);
        const QString all = plan.errors.join(QLatin1Char('\n'));
        QCOMPARE(plan.errors.size(), errorCount);
        for (const QString &fragment : fragments)
            QVERIFY2(all.contains(fragment), qPrintable(fragment + QStringLiteral(" in:\n") + all));
        QVERIFY(plan.ilas.isEmpty());
        QCOMPARE(linkPlanToJson(plan).value("errors").toArray().size(), errorCount);
    }

    void commonSysref_data()
    {
        QTest::addColumn<QVector<Ratio>>("lmfcs");
        QTest::addColumn<Ratio>("base");
        QTest::addColumn<Ratio>("fastest");        // fastest SYSREF at most LMFC / 2 for every link
        QTest::addColumn<Ratio>("probe");          // a SYSREF to check against the links
        QTest::addColumn<QVector<int>>("misfits"); // links whose LMFC the probe does not divide
        QTest::addColumn<Ratio>("deviceClock");    // of the first link; SYSREF from it / 8192 up
        QTest::addColumn<int>("breaker");          // the first link with which none is left
        // clang-format off
        QTest::newRow("one link") << QVector<Ratio>{dec("31.25")} << dec("31.25") << dec("15.625") << dec("10") << QVector<int>{0} << dec("250") << -1;
        QTest::newRow("4:1") << QVector<Ratio>{dec("31.25"), dec("7.8125")} << dec("7.8125") << dec("3.90625") << dec("15.625") << QVector<int>{1} << dec("250") << -1;
        // 10 and 4 MHz share 2 MHz, already LMFC / 5 and LMFC / 2 of them.
        QTest::newRow("5:2") << QVector<Ratio>{dec("10"), dec("4")} << dec("2") << dec("2") << dec("2") << QVector<int>{} << dec("100") << -1;
        // 125/4 and 192/25 MHz: gcd(125, 192) / lcm(4, 25) = 1/100; 0.32 is 7.68 / 24 but 31.25 / 97.65625.
        // 0.01 MHz is below 250 MHz / 8192 = 0.030517578125 MHz.
        QTest::newRow("31.25 and 7.68") << QVector<Ratio>{dec("31.25"), dec("7.68")} << dec("0.01") << dec("0.01") << dec("0.32") << QVector<int>{0} << dec("250") << 1;
        // 3.84 = 96/25 and 11.71875 = 375/32 share 3/800 MHz; 0.96 is 3.84 / 4 and 7.68 / 8 only.
        // The first two share 3.84 MHz; the third leaves 0.00375, below 245.76 / 8192 = 0.03.
        QTest::newRow("unrelated") << QVector<Ratio>{dec("3.84"), dec("7.68"), dec("11.71875")} << dec("0.00375") << dec("0.00375") << dec("0.96") << QVector<int>{2} << dec("245.76") << 2;
        // One family: 1.92 divides all three; 1.92 itself is LMFC / 1 of the third, so 0.96 first. 1.28 is 7.68 / 6, 3.84 / 3, 1.92 / 1.5.
        QTest::newRow("one clock family") << QVector<Ratio>{dec("7.68"), dec("3.84"), dec("1.92")} << dec("1.92") << dec("0.96") << dec("1.28") << QVector<int>{2} << dec("245.76") << -1;
        // clang-format on
    }

    void commonSysref()
    {
        QFETCH(QVector<Ratio>, lmfcs);
        QFETCH(Ratio, probe);
        QFETCH(int, breaker);
        QTEST(commonSysrefBaseMHz(lmfcs), "base");
        const QVector<SysrefOption> options = commonSysrefOptions(lmfcs);
        QVERIFY(!options.isEmpty());
        QTEST(options.first().frequencyMHz, "fastest");
        for (const SysrefOption &option : options) {
            QVERIFY(lmfcsNotDivided(option.frequencyMHz, lmfcs).isEmpty());
            for (const Ratio &lmfc : lmfcs)
                QVERIFY((lmfc / option.frequencyMHz).toInt() >= 2);
        }
        QTEST(lmfcsNotDivided(probe, lmfcs), "misfits");
        QFETCH(Ratio, deviceClock);
        const CommonSysref common = IPJESD204B::commonSysref(lmfcs, deviceClock);
        QCOMPARE(common.breaker, breaker);
        QCOMPARE(common.options.isEmpty(), breaker >= 0);
        for (const SysrefOption &option : common.options)
            QVERIFY(deviceClock / MaxSysrefClockDivider <= option.frequencyMHz);
    }

    // Hand-worked: the ILAS start is buffered 2 core clocks after the boundary, the budget adds
    // ceil(budget / octet time / P) clocks; a release clock inside the arrivals is unsafe.
    void rbdWindows_data()
    {
        QTest::addColumn<LatencyLink>("link");
        QTest::addColumn<Ratio>("budgetNs");
        QTest::addColumn<int>("safeCount");
        QTest::addColumn<int>("recommended");
        QTest::addColumn<int>("latencyClocks");
        QTest::addColumn<Ratio>("latencyFrames");
        QTest::addColumn<Ratio>("latencyNs");
        // clang-format off
        // 2 ns at 10 Gbps = 2 octets, 1 clock: arrivals 2..3 of 8; release clocks 3..7, 0, 1 hold RBD 12..31, 0..7; the middle, RBD 25, releases at clock 6.
        QTest::newRow("worked mode, 2 ns") << LatencyLink{1, 32, 4, dec("10000")} << dec("2") << 28 << 25 << 7 << dec("28") << dec("28");
        // No skew: every RBD, in order from clock 2; the middle is RBD 17, 18 clocks of 1/122.88 us.
        QTest::newRow("rx_2lane, no skew") << LatencyLink{4, 32, 4, dec("4915.2")} << dec("0") << 32 << 17 << 18 << dec("18") << dec("146.484375");
        // 10 ns at 12.5 Gbps = 12.5 octets, 2 clocks of 8 octets: clocks 2 and 3 (RBD 8..15) unsafe; RBD 27 at clock 6.
        QTest::newRow("64-bit PCS, 10 ns") << LatencyLink{2, 32, 8, dec("12500")} << dec("10") << 24 << 27 << 7 << dec("28") << dec("44.8");
        // F 8 on 4-octet words: RBD r at clock 2r, only even clocks; the middle RBD 8 at clock 16, 17 clocks = 8.5 frames.
        QTest::newRow("F above the word") << LatencyLink{8, 16, 4, dec("5000")} << dec("0") << 16 << 8 << 17 << dec("8.5") << dec("136");
        // 8 ns = 2 clocks of a 5-clock multiframe: clocks 4, 0, 1 (RBD 16..19, 0..7); RBD 1 releases at clock 0, one multiframe on: 5 + 1.
        QTest::newRow("release past the boundary") << LatencyLink{1, 20, 4, dec("10000")} << dec("8") << 12 << 1 << 6 << dec("24") << dec("24");
        // 20 ns = 5 clocks, the whole multiframe.
        QTest::newRow("budget spans the multiframe") << LatencyLink{1, 20, 4, dec("10000")} << dec("20") << 0 << -1 << 0 << Ratio() << Ratio();
        // clang-format on
    }

    void rbdWindows()
    {
        QFETCH(LatencyLink, link);
        QFETCH(Ratio, budgetNs);
        QFETCH(int, recommended);
        const RbdWindow window = rbdWindow(link, budgetNs);
        QTEST(window.safe.size(), "safeCount");
        QCOMPARE(window.recommended, recommended);
        // Safe: the earliest and the latest arrival leave at one clock; unsafe: they do not.
        for (int rbd = 0; rbd < link.framesPerMultiframe; ++rbd)
            QCOMPARE(linkLatency(link, rbd, window.firstArrival).coreClocks ==
                         linkLatency(link, rbd, window.lastArrival).coreClocks,
                     window.safe.contains(rbd));
        if (recommended < 0)
            return;
        const LinkLatency latency = linkLatency(link, recommended, window.lastArrival);
        QTEST(latency.coreClocks, "latencyClocks");
        QTEST(latency.frameClocks, "latencyFrames");
        QTEST(latency.ns, "latencyNs");
    }

    void decimalTexts_data()
    {
        QTest::addColumn<Ratio>("value");
        QTest::addColumn<QString>("text");
        QTest::newRow("whole") << Ratio::fromInt(10) << "10";
        QTest::newRow("LMFC") << Ratio(125, 4) << "31.25";
        // Twelve places stay exact even beyond nine significant digits; 1/8192 needs thirteen.
        QTest::newRow("twelve places")
            << Ratio(1000000000001LL, 1000000000000LL) << "1.000000000001";
        QTest::newRow("thirds") << Ratio(125, 3) << "~41.6666667";
        QTest::newRow("large") << Ratio(1000000, 3) << "~333333.333";
        QTest::newRow("beyond twelve places") << Ratio(1, 8192) << "~0.000122070313";
        const Ratio::Int max = ~(Ratio::Int(1) << 127);
        QTest::newRow("largest") << Ratio(max, 3) << "~56713727820156410577229101238628035242";
        QTest::newRow("smallest") << Ratio(1, max) << "~0";
    }

    void decimalTexts()
    {
        QFETCH(Ratio, value);
        QTEST(decimalText(value), "text");
    }

    void sampleRateText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<Ratio>("rate"); // invalid: refused; the decimal syntax is the Ratio's
        QTest::newRow("decimal") << "245.76" << Ratio(24576, 100);
        QTest::newRow("zero") << "0" << Ratio();
    }

    void sampleRateText()
    {
        QFETCH(QString, text);
        QTEST(sampleRateFromText(text), "rate");
    }

    // One list of cases for the rule table, judged on a stored core's values and planned from a
    // mode with those values (M = F converters of 8 bits on one lane, so F is as given and
    // the lane rate is 10 * F * Fs): both give the same rules, by title.
    void linkRules_data()
    {
        // F, K, lane rate, buffer (none: a transmitter), PCS bits, subclass.
        QTest::addColumn<ConfiguredLink>("link");
        QTest::addColumn<QStringList>("rules");
        const QString k = "Frames per multiframe";
        const QString rate = "Lane rate";
        // clang-format off
        QTest::newRow("JESD204B low end below the core") << ConfiguredLink{4, 32, gbps("0.3125"), {}, 32, 1} << QStringList{rate};
        QTest::newRow("0.99 Gbps") << ConfiguredLink{4, 32, gbps("0.99"), {}, 32, 1} << QStringList{rate};
        QTest::newRow("1 Gbps") << ConfiguredLink{4, 32, gbps("1"), {}, 32, 1} << QStringList();
        QTest::newRow("12.5 Gbps") << ConfiguredLink{4, 32, gbps("12.5"), {}, 64, 1} << QStringList();
        QTest::newRow("12.6 Gbps") << ConfiguredLink{4, 32, gbps("12.6"), {}, 32, 1} << QStringList{rate};
        QTest::newRow("F * K 1") << ConfiguredLink{1, 1, gbps("2"), {}, 32, 1} << QStringList{k};
        QTest::newRow("F * K 16") << ConfiguredLink{1, 16, gbps("2"), {}, 32, 1} << QStringList{k};
        QTest::newRow("F * K 17") << ConfiguredLink{1, 17, gbps("2"), {}, 32, 1} << QStringList{"PCS width"};
        QTest::newRow("F * K 20") << ConfiguredLink{1, 20, gbps("2"), {}, 32, 1} << QStringList();
        QTest::newRow("F * K 20, 64-bit PCS") << ConfiguredLink{1, 20, gbps("2"), {}, 64, 1} << QStringList{"PCS width"};
        QTest::newRow("F * K 1024") << ConfiguredLink{32, 32, gbps("2"), 1024, 64, 1} << QStringList();
        QTest::newRow("F * K 1025") << ConfiguredLink{41, 25, gbps("4.1"), {}, 32, 1} << QStringList{k};
        QTest::newRow("buffer holds F * K") << ConfiguredLink{8, 32, gbps("2"), 256, 32, 1} << QStringList();
        QTest::newRow("buffer one multiframe short") << ConfiguredLink{8, 32, gbps("2"), 128, 32, 1} << QStringList{"Elastic buffer"};
        QTest::newRow("subclass 0") << ConfiguredLink{4, 32, gbps("2"), {}, 32, 0} << QStringList{"Subclass"};
        QTest::newRow("subclass 2") << ConfiguredLink{4, 32, gbps("2"), {}, 32, 2} << QStringList{"Subclass"};
        QTest::newRow("subclass 3, reserved") << ConfiguredLink{4, 32, gbps("2"), {}, 32, 3} << QStringList{"Subclass"};
        // clang-format on
    }

    void linkRules()
    {
        QFETCH(ConfiguredLink, link);
        QFETCH(QStringList, rules);
        const auto titles = [](const QStringList &problems) {
            QStringList found;
            for (const QString &problem : problems)
                found << ruleTitle(problem);
            return found;
        };
        const QStringList stored = configuredLinkProblems(link);
        QCOMPARE(titles(stored), rules);

        const int f = link.octetsPerFrame;
        LinkMode mode = modeOf({1, f, 1, 8, 8, 0}, "1");
        mode.sampleRateMsps = link.laneRateMbps / (10 * f);
        mode.framesPerMultiframe = link.framesPerMultiframe;
        mode.bufferOctets = link.bufferOctets;
        mode.subclass = *link.subclass;
        mode.pcsBits = link.pcsBits;
        const LinkPlan plan = planLink(mode);
        QCOMPARE(titles(plan.errors), rules);
        // The planner's texts are the table's, but for the lane rate, which adds what fits.
        for (const QString &problem : stored)
            QVERIFY(plan.errors.contains(problem) || ruleTitle(problem) == "Lane rate");
    }

    void linkRecord_data()
    {
        QTest::addColumn<QByteArray>("json");
        QTest::addColumn<QString>("error"); // empty: read
        // clang-format off
        QTest::newRow("every field") << QByteArray(R"({"format":"jesd204b-link","version":1,"M":4,"N":14,"N'":16,"S":1,"CS":2,"CF":0,"HD":0,"DID":85,"BID":10,"SUBCLASSV":1})") << "";
        QTest::newRow("defaults") << QByteArray(R"({"format":"jesd204b-link","version":1,"M":2,"N'":16})") << "";
        QTest::newRow("missing M") << QByteArray(R"({"format":"jesd204b-link","version":1,"N'":16})") << R"("M" must be a whole number from 1 to 256)";
        QTest::newRow("reserved subclass") << QByteArray(R"({"format":"jesd204b-link","version":1,"M":2,"N'":16,"SUBCLASSV":3})") << R"("SUBCLASSV" must be a whole number from 0 to 2)";
        QTest::newRow("fraction") << QByteArray(R"({"format":"jesd204b-link","version":1,"M":2.5,"N'":16})") << R"("M" must be a whole number from 1 to 256)";
        QTest::newRow("other format") << QByteArray(R"({"format":"x","version":1,"M":2,"N'":16})") << R"(not a link record ("format" "jesd204b-link", "version" 1))";
        // clang-format on
    }

    // What reads back is what was written, and what is written reads back.
    void linkRecord()
    {
        QFETCH(QByteArray, json);
        QFETCH(QString, error);
        QTemporaryDir dir;
        QFile file(dir.filePath("core.link.json"));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(json) == json.size());
        file.close();
        QString reason;
        const std::optional<LinkRecord> record = readLinkRecord(dir.filePath("core.json"), &reason);
        QCOMPARE(record.has_value(), error.isEmpty());
        QCOMPARE(reason.section(": ", 1), error);
        if (!record)
            return;
        const QJsonObject written = linkRecordToJson(*record);
        LinkRecord back;
        QVERIFY(linkRecordFromJson(written, &back, &reason));
        QVERIFY(back == *record);
        const QJsonObject given = QJsonDocument::fromJson(json).object();
        for (auto it = given.begin(); it != given.end(); ++it)
            QCOMPARE(written.value(it.key()), it.value());
    }
    // Octet maps worked by hand from converter data sheets' mode tables; rows give every octet
    // of the frame, lane by lane.
    void transportMaps_data()
    {
        QTest::addColumn<LinkMode>("mode");
        QTest::addColumn<int>("f");
        QTest::addColumn<QString>("octets"); // "; " between octets, or why the mode is refused
        // clang-format off
        // High density: each 16-bit sample spans two lanes.
        QTest::newRow("LMFS 4211 N'16 HD1") << modeOf({4, 2, 1, 16, 16, 0}, "1000") << 1 << "lane 0 octet 0: C0 S0 D[15:8]; lane 1 octet 0: C0 S0 D[7:0]; lane 2 octet 0: C1 S0 D[15:8]; lane 3 octet 0: C1 S0 D[7:0]";
        // Packed 12-bit samples: two samples in three octets, a sample split inside octet 1.
        QTest::newRow("LMFS 4432 N'12 packed") << modeOf({4, 4, 2, 12, 12, 0}, "500") << 3 << "lane 0 octet 0: C0 S0 D[11:4]; lane 0 octet 1: C0 S0 D[3:0], C0 S1 D[11:8]; lane 0 octet 2: C0 S1 D[7:0]; lane 1 octet 0: C1 S0 D[11:4]; lane 1 octet 1: C1 S0 D[3:0], C1 S1 D[11:8]; lane 1 octet 2: C1 S1 D[7:0]; lane 2 octet 0: C2 S0 D[11:4]; lane 2 octet 1: C2 S0 D[3:0], C2 S1 D[11:8]; lane 2 octet 2: C2 S1 D[7:0]; lane 3 octet 0: C3 S0 D[11:4]; lane 3 octet 1: C3 S0 D[3:0], C3 S1 D[11:8]; lane 3 octet 2: C3 S1 D[7:0]";
        // N 14 with two control bits after the data.
        QTest::newRow("LMFS 2221 N14 CS2") << modeOf({2, 2, 1, 14, 16, 2}, "250") << 2 << "lane 0 octet 0: C0 S0 D[13:6]; lane 0 octet 1: C0 S0 D[5:0], C0 S0 C[1:0]; lane 1 octet 0: C1 S0 D[13:6]; lane 1 octet 1: C1 S0 D[5:0], C1 S0 C[1:0]";
        // One lane, six octets: both converters' two packed samples in turn.
        QTest::newRow("LMFS 1262 N'12") << modeOf({1, 2, 2, 12, 12, 0}, "100") << 6 << "lane 0 octet 0: C0 S0 D[11:4]; lane 0 octet 1: C0 S0 D[3:0], C0 S1 D[11:8]; lane 0 octet 2: C0 S1 D[7:0]; lane 0 octet 3: C1 S0 D[11:4]; lane 0 octet 4: C1 S0 D[3:0], C1 S1 D[11:8]; lane 0 octet 5: C1 S1 D[7:0]";
        // Data, one control bit and four tail bits in one octet.
        QTest::newRow("N11 CS1 N'16 tail") << modeOf({1, 1, 1, 11, 16, 1}, "100") << 2 << "lane 0 octet 0: C0 S0 D[10:3]; lane 0 octet 1: C0 S0 D[2:0], C0 S0 C[0], C0 S0 T[3:0]";
        QTest::newRow("CF 1") << changed(modeOf({1, 2, 1, 16, 16, 0}, "100"), [](LinkMode &m) { m.controlWords = 1; }) << 6 << "Transport layer: control words (CF > 0) are not supported";
        QTest::newRow("F too small") << modeOf({1, 2, 1, 16, 16, 0}, "100") << 2 << "Transport layer: M * S * N' = 32 bits do not fill L * F = 2 octets";
        // clang-format on
    }

    void transportMaps()
    {
        QFETCH(LinkMode, mode);
        QFETCH(int, f);
        const TransportMap map = transportMap(mode, f);
        QTEST(transportMapReport(map).join(QStringLiteral("; ")), "octets");
        // A refused mode reports its error alone and gives no octets.
        if (!map.isValid())
            QCOMPARE(transportMapReport(map), QStringList{map.error});
        QCOMPARE(transportMapToJson(map).isEmpty(), !map.isValid());
    }

    // The octets of "N11 CS1 N'16 tail" above as the plan's JSON gives them, bits counted
    // inside each field's kind.
    void transportJson()
    {
        // clang-format off
        const QByteArray expected = R"([{"fields":[{"converter":0,"kind":"data","lsb":3,"msb":10,"sample":0}],"lane":0,"octet":0},)"
            R"({"fields":[{"converter":0,"kind":"data","lsb":0,"msb":2,"sample":0},{"converter":0,"kind":"control","lsb":0,"msb":0,"sample":0},)"
            R"({"converter":0,"kind":"tail","lsb":0,"msb":3,"sample":0}],"lane":0,"octet":1}])";
        // clang-format on
        const TransportMap map = transportMap(modeOf({1, 1, 1, 11, 16, 1}, "100"), 2);
        QCOMPARE(QJsonDocument(transportMapToJson(map)).toJson(QJsonDocument::Compact), expected);
    }

    // Beats of whole frames against clock words of P octets: at least one word long, a
    // period of lcm(F, P) octets.
    void transportGeometries_data()
    {
        QTest::addColumn<int>("f");
        QTest::addColumn<int>("p");
        QTest::addColumn<int>("framesPerBeat");
        QTest::addColumn<int>("clocks");
        QTest::addColumn<int>("beats");
        QTest::newRow("F 1, P 4") << 1 << 4 << 4 << 1 << 1;
        QTest::newRow("F 3, P 4") << 3 << 4 << 2 << 3 << 2;
        QTest::newRow("F 3, P 8") << 3 << 8 << 4 << 3 << 2;
        QTest::newRow("F 6, P 4") << 6 << 4 << 1 << 3 << 2;
        QTest::newRow("F 12, P 8") << 12 << 8 << 1 << 3 << 2;
        QTest::newRow("F 16, P 8") << 16 << 8 << 1 << 2 << 1;
    }

    void transportGeometries()
    {
        QFETCH(int, f);
        QFETCH(int, p);
        const TransportGeometry g = transportGeometry(f, p);
        QTEST(g.framesPerBeat, "framesPerBeat");
        QTEST(g.clocksPerPeriod, "clocks");
        QTEST(g.beatsPerPeriod, "beats");
    }
};

QTEST_GUILESS_MAIN(TestLink)
#include "tst_link.moc"
