#pragma once
// The simulated camera in a child process, for benchmarks that judge the program's own memory or
// processor time: the camera's work (drawing and encoding pictures on its server threads) would
// otherwise be counted as the program's.

#include "fakecam/FakeCamera.h"

#include <sys/types.h>

#include <functional>
#include <string>

// Forks a camera with these options; when given, the child makes its answer to every snapshot
// request with `snapshot`. Returns its port, 0 when it did not start. The child serves until
// `stop` reaches end of file, that is until this process closes it or ends. Call it before
// anything starts a thread, drawing included: Qt draws large pictures on a pool of threads that
// a forked child does not have, and would wait for them for ever.
int startCameraChild(const fakecam::Options& options, int& stop, pid_t& child,
                     const std::function<std::string()>& snapshot = {});
