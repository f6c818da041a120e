#include "configuredlink.h"

#include <QtTest>

using namespace IPJESD204B;

// The rules a stored core's F, K, lane rate and buffer must keep.
class ConfiguredLinkTest : public QObject
{
    Q_OBJECT

private slots:
    void problems_data()
    {
        QTest::addColumn<int>("f");
        QTest::addColumn<int>("k");
        QTest::addColumn<QString>("rateGbps"); // empty: unknown
        QTest::addColumn<int>("buffer");       // -1: a transmitter, no buffer
        QTest::addColumn<QStringList>("problems");
        // clang-format off
        QTest::newRow("legal") << 4 << 32 << "4.9152" << 1024 << QStringList();
        // 17 <= F * K: the smallest multiframe is 17 octets, so F 1 needs K 17.
        QTest::newRow("F 1, K 16") << 1 << 16 << "4.9152" << 1024 << QStringList{"Frames per multiframe: K = 16 is out of range for F = 1; 17 <= F * K <= 1024 and K <= 32 allow K = 17 to 32"};
        QTest::newRow("F 1, K 17") << 1 << 17 << "4.9152" << 1024 << QStringList();
        // F * K <= 1024: F 256 allows K 1 to 4.
        QTest::newRow("F 256, K 5") << 256 << 5 << "4.9152" << -1 << QStringList{"Frames per multiframe: K = 5 is out of range for F = 256; 17 <= F * K <= 1024 and K <= 32 allow K = 1 to 4"};
        QTest::newRow("F 0") << 0 << 32 << "4.9152" << 1024 << QStringList{"Octets per frame: F = 0 is outside 1 to 256"};
        QTest::newRow("F 257") << 257 << 1 << "" << -1 << QStringList{"Octets per frame: F = 257 is outside 1 to 256"};
        // The buffer holds 8 * 32 = 256 octets exactly.
        QTest::newRow("buffer just large enough") << 8 << 32 << "4.9152" << 256 << QStringList();
        QTest::newRow("buffer one multiframe short") << 8 << 32 << "4.9152" << 128 << QStringList{"Elastic buffer: 128 octets do not hold one multiframe of F * K = 8 * 32 = 256 octets; the buffer must have at least 256 octets, or K at most 16"};
        QTest::newRow("transmitter ignores the buffer") << 8 << 32 << "4.9152" << -1 << QStringList();
        // 0.3125 to 12.5 Gbps, both ends legal.
        QTest::newRow("slowest lane rate") << 4 << 32 << "0.3125" << 1024 << QStringList();
        QTest::newRow("fastest lane rate") << 4 << 32 << "12.5" << 1024 << QStringList();
        QTest::newRow("too slow") << 4 << 32 << "0.3124" << 1024 << QStringList{"Lane rate: 0.3124 Gbps is outside the JESD204B range of 0.3125 to 12.5 Gbps"};
        QTest::newRow("too fast") << 4 << 32 << "12.5000001" << 1024 << QStringList{"Lane rate: 12.5000001 Gbps is outside the JESD204B range of 0.3125 to 12.5 Gbps"};
        QTest::newRow("unknown rate") << 4 << 32 << "" << 1024 << QStringList();
        // clang-format on
    }

    void problems()
    {
        QFETCH(int, f);
        QFETCH(int, k);
        QFETCH(QString, rateGbps);
        QFETCH(int, buffer);
        QFETCH(QStringList, problems);
        ConfiguredLink link;
        link.octetsPerFrame = f;
        link.framesPerMultiframe = k;
        if (!rateGbps.isEmpty())
            link.laneRateMbps = IPSERDESIP::Ratio::fromDecimal(rateGbps) * 1000;
        if (buffer >= 0)
            link.bufferOctets = buffer;
        QCOMPARE(configuredLinkProblems(link), problems);
    }
};

QTEST_GUILESS_MAIN(ConfiguredLinkTest)
#include "tst_configuredlink.moc"
