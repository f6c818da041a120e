#include "generationtest.h"

#include <QtTest>

QTEST_MAIN(GenerationTest)
