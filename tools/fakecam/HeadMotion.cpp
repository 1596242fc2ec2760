#include "fakecam/CameraImpl.h"

#include "fakecam/CameraPages.h"

namespace fakecam {

using namespace detail;

namespace {

// A preset or move number of the CGI: one or two decimal digits.
int presetNumber(const std::string& text)
{
    if (text.empty() || text.size() > 2 || !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return -1;
    return std::stoi(text);
}

} // namespace

void FakeCamera::Impl::position(Clock::time_point now, int& pan, int& tilt) const
{
    pan = state.pan;
    tilt = state.tilt;
    if (moveDx == 0 && moveDy == 0)
        return;
    const auto units = std::chrono::duration_cast<std::chrono::milliseconds>(now - moveStart).count() / kMoveIntervalMs;
    pan = static_cast<int>(std::clamp<long long>(pan + moveDx * units, -kPanLimit, kPanLimit));
    tilt = static_cast<int>(std::clamp<long long>(tilt + moveDy * units, -kTiltLimit, kTiltLimit));
}

void FakeCamera::Impl::settle(Clock::time_point now)
{
    int pan = 0;
    int tilt = 0;
    position(now, pan, tilt);
    state.pan = pan;
    state.tilt = tilt;
    moveStart = now;
}

void FakeCamera::Impl::halt(Clock::time_point now)
{
    settle(now);
    moveDx = 0;
    moveDy = 0;
    state.moving.clear();
}

void FakeCamera::Impl::step(int dx, int dy)
{
    halt(Clock::now());
    state.pan = std::clamp(state.pan + dx * kStepSize, -kPanLimit, kPanLimit);
    state.tilt = std::clamp(state.tilt + dy * kStepSize, -kTiltLimit, kTiltLimit);
}

Answer FakeCamera::Impl::headCommand(const std::string& script, const httplib::Request& req, bool& handled)
{
    handled = true;
    const auto now = Clock::now();
    const Answer ok = htmlAnswer(200, pages::setOk());
    struct Direction {
        const char* name;
        int dx;
        int dy;
    };
    static constexpr Direction kDirections[] = {{"left", -1, 0}, {"right", 1, 0}, {"up", 0, 1}, {"down", 0, -1}};

    if (script == "ptzctrl.cgi") {
        const std::string act = req.get_param_value("-act");
        if (act == "stop") {
            halt(now);
            return ok;
        }
        if (act == "home") {
            halt(now);
            state.pan = 0;
            state.tilt = 0;
            return ok;
        }
        for (const Direction& d : kDirections) {
            if (act != d.name)
                continue;
            if (req.get_param_value("-step") == "1") {
                step(d.dx, d.dy);
            } else {
                settle(now);
                moveDx = d.dx;
                moveDy = d.dy;
                state.moving = d.name;
            }
            return ok;
        }
        return htmlAnswer(200, pages::setError("-act"));
    }
    for (const Direction& d : kDirections) {
        if (script == std::string("yt") + d.name + ".cgi") {
            step(d.dx, d.dy);
            return ok;
        }
    }
    if (script == "preset.cgi") {
        const int number = presetNumber(req.get_param_value("-number"));
        const std::string status = req.get_param_value("-status");
        if (req.get_param_value("-act") != "set" || number < 0 || number >= kPresetCount)
            return htmlAnswer(200, pages::setError(number < 0 ? "-number" : "-act"));
        settle(now);
        if (status == "1")
            state.presets[number] = {state.pan, state.tilt};
        else if (status == "0")
            state.presets.erase(number);
        else
            return htmlAnswer(200, pages::setError("-status"));
        return ok;
    }
    if (script == "sysreboot.cgi") {
        halt(now);
        ++state.reboots;
        return ok;
    }
    if (script == "param.cgi" && req.get_param_value("cmd") == "preset") {
        const int number = presetNumber(req.get_param_value("-number"));
        if (req.get_param_value("-act") != "goto" || number < 0 || number >= kPresetCount)
            return htmlAnswer(200, pages::setError(number < 0 ? "-number" : "-act"));
        halt(now);
        // A preset never stored leaves the head where it is, as the cameras do.
        const auto it = state.presets.find(number);
        if (it != state.presets.end()) {
            state.pan = it->second.first;
            state.tilt = it->second.second;
        }
        return ok;
    }
    handled = false;
    return ok;
}

} // namespace fakecam
