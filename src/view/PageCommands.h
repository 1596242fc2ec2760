#pragma once
// The information and set-up commands of the "F&unctions" menu: each sends a camera command and
// opens the page the camera answered with.

#include "camera/CommandCatalogue.h"

#include <array>

// The answer page of each is its camera command's answer file in the catalogue.
struct PageCommand {
    int command; // menu command
    int code;    // camera command code
};

const std::array<PageCommand, 19>& pageCommands();

