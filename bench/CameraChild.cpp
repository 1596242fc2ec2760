#include "CameraChild.h"

#include <unistd.h>

int startCameraChild(const fakecam::Options& options, int& stop, pid_t& child,
                     const std::function<std::string()>& snapshot)
{
    int portPipe[2];
    int stopPipe[2];
    if (::pipe(portPipe) != 0 || ::pipe(stopPipe) != 0)
        return 0;
    child = ::fork();
    if (child < 0)
        return 0;
    if (child == 0) {
        ::close(portPipe[0]);
        ::close(stopPipe[1]);
        fakecam::FakeCamera camera(options);
        if (snapshot)
            camera.setPage("/tmpfs/auto.jpg", snapshot(), 200, "image/jpeg");
        int port = camera.start() ? camera.port() : 0;
        if (::write(portPipe[1], &port, sizeof port) != sizeof port || port == 0)
            ::_exit(1);
        char byte;
        while (::read(stopPipe[0], &byte, 1) > 0) {
        }
        camera.stop();
        ::_exit(0);
    }
    ::close(portPipe[1]);
    ::close(stopPipe[0]);
    int port = 0;
    if (::read(portPipe[0], &port, sizeof port) != sizeof port)
        port = 0;
    ::close(portPipe[0]);
    stop = stopPipe[1];
    return port;
}
