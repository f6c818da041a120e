#include <QApplication>
#include <QtTest>

#include <memory>

std::unique_ptr<QObject> makeTopDefinesTest();
std::unique_ptr<QObject> makeSerdesLinesTest();
std::unique_ptr<QObject> makeLaneOptionsTest();
std::unique_ptr<QObject> makeResourcesTest();
std::unique_ptr<QObject> makeGenerateTest();

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    int failures = 0;
    for (const auto &make : {makeTopDefinesTest, makeSerdesLinesTest, makeLaneOptionsTest,
                             makeResourcesTest, makeGenerateTest}) {
        const std::unique_ptr<QObject> test = make();
        failures += QTest::qExec(test.get(), argc, argv);
    }
    return failures == 0 ? 0 : 1;
}
