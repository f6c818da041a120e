#include <QApplication>
#include <QObject>
#include <QTest>

#include <memory>

std::unique_ptr<QObject> createLaneOfferTest();
std::unique_ptr<QObject> createCalculationTest();
std::unique_ptr<QObject> createBiasTest();
std::unique_ptr<QObject> createDrpTest();
std::unique_ptr<QObject> createPinFigureTest();
std::unique_ptr<QObject> createSnapshotTest();

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    int failed = 0;
    for (auto create : {createLaneOfferTest, createCalculationTest, createBiasTest, createDrpTest,
                        createPinFigureTest, createSnapshotTest}) {
        const std::unique_ptr<QObject> test = create();
        failed += QTest::qExec(test.get(), argc, argv);
    }
    return failed;
}
