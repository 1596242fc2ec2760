#pragma once
// What the program puts in the camera link's seams: messages go to the desktop's message box,
// and the window's thread waits for a request without freezing the window.

#include "camera/RequestSeams.h"

// A wait on the window's thread: the window repaints and can be closed (which ends the request at
// once, so the program can end), keyboard and mouse input wait until the request is over, so
// every handler's steps keep their order, and a busy cursor shows after half a second. On any
// other thread it simply blocks.
void waitKeepingWindowAlive(PendingRequest& request);

// Puts the desktop's message box and waitKeepingWindowAlive in place.
void installCameraSeams();
