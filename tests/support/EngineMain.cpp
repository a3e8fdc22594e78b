#include <gtest/gtest.h>

#include <QCoreApplication>

// The engine's tests need no display: a core application gives the program's directory.
int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
