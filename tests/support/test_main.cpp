// Every suite runs inside one QApplication on the offscreen platform, and no request of the
// program may leave the loopback address.
#include "camera/CameraRequest.h"

#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? QByteArray("offscreen")
                                                                     : qgetenv("QT_QPA_PLATFORM"));
    qputenv("no_proxy", "*");
    qputenv("NO_PROXY", "*");
    QApplication app(argc, argv);
    setLoopbackOnly(true);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
