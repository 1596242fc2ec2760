#include "fakecam/CameraImpl.h"

#include "fakecam/CameraPages.h"

namespace fakecam {

using namespace detail;

void FakeCamera::Impl::stall(std::unique_lock<std::mutex>& lock, int seconds)
{
    ++state.stalled;
    if (seconds > 0)
        wake.wait_for(lock, std::chrono::seconds(seconds), [this] { return stopping; });
    else
        wake.wait(lock, [this] { return stopping; });
    --state.stalled;
}

void FakeCamera::Impl::send(const httplib::Request& req, httplib::Response& res, Answer answer,
                            const std::shared_ptr<RecordedRequest>& record)
{
    // The server parsed any Range header into req.ranges and applies them when it writes. Only the
    // recordings honour a range, as the camera's file server does; the CGI and the snapshot send
    // their whole answer. The request object is the server's own, not const (see process_request).
    auto& ranges = const_cast<httplib::Request&>(req).ranges;
    if (answer.recording && answer.size == 0) {
        answer.recording = false;
        answer.body.clear();
    }
    std::uint64_t begin = 0;
    std::uint64_t length = answer.recording ? answer.size : answer.body.size();
    if (answer.recording && ranges.size() == 1) {
        const auto [first, last] = ranges.front();
        const std::uint64_t size = answer.size;
        std::uint64_t end = size - 1;
        bool satisfiable = true;
        if (first < 0) {
            satisfiable = last > 0;
            begin = size - std::min<std::uint64_t>(static_cast<std::uint64_t>(std::max<ssize_t>(last, 0)), size);
        } else {
            begin = static_cast<std::uint64_t>(first);
            satisfiable = begin < size;
            if (last >= 0)
                end = std::min<std::uint64_t>(end, static_cast<std::uint64_t>(last));
        }
        if (satisfiable) {
            ranges = {{static_cast<ssize_t>(begin), static_cast<ssize_t>(end)}};
            answer.status = 206;
            length = end - begin + 1;
        } else {
            const std::string contentRange = "bytes */" + std::to_string(size);
            answer = htmlAnswer(416, pages::rangeNotSatisfiable());
            answer.headers.emplace_back("Content-Range", contentRange);
            begin = 0;
            length = answer.body.size();
            ranges.clear();
        }
    } else {
        ranges.clear();
    }

    Fault current = Fault::None;
    int stallFor = 0;
    {
        std::unique_lock lock(mutex);
        current = fault;
        stallFor = stallSeconds;
        if (answerDelay.count() > 0 && answer.status != 401)
            wake.wait_for(lock, answerDelay, [this] { return stopping; });
    }
    for (const auto& [name, value] : answer.headers)
        res.set_header(name, value);
    res.status = answer.status;
    record->status = answer.status;
    const bool head = req.method == "HEAD";
    // A challenge is never cut: clients must still be able to log in while bodies break.
    const bool cut = (current == Fault::DropMidBody || current == Fault::StallMidBody || current == Fault::DropAfterHeaders)
                     && answer.status != 401 && length > 0;
    const bool trickle = current == Fault::Trickle && answer.status != 401;

    if (!answer.recording && !cut && !trickle) {
        record->bytesSent = head ? 0 : answer.body.size();
        {
            std::lock_guard lock(mutex);
            keepRecord(record);
        }
        res.set_content(std::move(answer.body), answer.contentType);
        return;
    }

    int width = 0;
    int height = 0;
    {
        std::lock_guard lock(mutex);
        keepRecord(record);
        width = options.width;
        height = options.height;
    }
    const std::uint64_t cutAt = !cut ? length : current == Fault::DropAfterHeaders ? 0 : length / 2;
    const bool stallFirst = cut && current == Fault::StallMidBody;
    auto body = std::make_shared<const std::string>(std::move(answer.body));
    const bool recording = answer.recording;
    const std::string path = answer.path;
    const std::uint64_t total = recording ? answer.size : body->size();
    res.set_content_provider(
        static_cast<std::size_t>(total), answer.contentType,
        [this, body, recording, path, total, width, height, begin, cutAt, stallFirst, stallFor, trickle, record](std::size_t offset, std::size_t available,
                                                                           httplib::DataSink& sink) {
            const std::uint64_t sent = offset - begin;
            {
                std::unique_lock lock(mutex);
                if (stopping)
                    return false;
                if (sent >= cutAt) {
                    if (stallFirst && stallFor > 0)
                        stall(lock, stallFor);
                    return false; // the server closes the connection
                }
            }
            if (trickle && sent > 0) {
                std::unique_lock lock(mutex);
                if (wake.wait_for(lock, std::chrono::seconds(1), [this] { return stopping; }))
                    return false;
            }
            const std::size_t n = static_cast<std::size_t>(
                std::min<std::uint64_t>({available, trickle ? std::uint64_t{2} : kChunk, cutAt - sent}));
            const std::string chunk = recording ? recordingBytes(path, offset, n, total, width, height) : body->substr(offset, n);
            // Counted before the write, so a client never holds more than the record says.
            {
                std::lock_guard lock(mutex);
                record->bytesSent += n;
            }
            if (!sink.write(chunk.data(), chunk.size())) {
                std::lock_guard lock(mutex);
                record->bytesSent -= n;
                return false;
            }
            return true;
        });
}

} // namespace fakecam
