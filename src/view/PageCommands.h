#pragma once
// The information and set-up commands of the "F&unctions" menu: each sends a camera command and
// opens the page the camera answered with.

#include <array>

struct PageCommand {
    int command;      // menu command
    int code;         // camera command code
    const char* page; // the answer page in the program folder
};

const std::array<PageCommand, 19>& pageCommands();

// The camera command behind "&Video" of the "&SD" menu: stores the card listing for the
// recordings browser.
inline constexpr int kSdListingCode = 79;
