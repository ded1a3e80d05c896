#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <stop_token>
#include <vector>

#include "banner/frame_waiter.h"
#include "banner/picture_decoder.h"

namespace picture_test {

// What the pictures of a FakePictureDecoder share with the test: how many are alive, how many
// draws happened, and a gate that holds every draw while it is closed.
struct PictureLog {
    std::mutex mutex;
    std::condition_variable changed;
    int live = 0;
    int draws = 0;
    bool gate_open = true;
    bool held_at_gate = false;

    int Live() {
        std::lock_guard lock(mutex);
        return live;
    }
    int Draws() {
        std::lock_guard lock(mutex);
        return draws;
    }
    void SetGate(bool open) {
        std::lock_guard lock(mutex);
        gate_open = open;
        changed.notify_all();
    }
    // Waits (at most 10 s) until `done` holds, under the lock.
    template <typename Done>
    bool Await(Done done) {
        std::unique_lock lock(mutex);
        return changed.wait_for(lock, std::chrono::seconds(10), done);
    }
};

// A picture that fills the rectangle it is drawn into with one colour.
class FakePicture final : public Picture {
public:
    FakePicture(Color color, Size size, std::shared_ptr<PictureLog> log)
        : m_color(color), m_size(size), m_log(std::move(log)) {
        std::lock_guard lock(m_log->mutex);
        ++m_log->live;
    }
    ~FakePicture() override {
        std::lock_guard lock(m_log->mutex);
        --m_log->live;
        m_log->changed.notify_all();
    }
    Size GetSize() const override { return m_size; }
    bool Draw(Canvas& canvas, const Rect& into, const Rect&) const override {
        {
            std::unique_lock lock(m_log->mutex);
            ++m_log->draws;
            m_log->held_at_gate = !m_log->gate_open;
            m_log->changed.notify_all();
            m_log->changed.wait(lock, [&] { return m_log->gate_open; });
            m_log->held_at_gate = false;
        }
        canvas.FillSolidRect(into, m_color);
        return true;
    }

private:
    Color m_color;
    Size m_size;
    std::shared_ptr<PictureLog> m_log;
};

// Decodes call by call as scripted: a colour and a size, or a failure (no colour). Calls past the
// end of the script fail. Records the bytes of every call.
class FakePictureDecoder final : public PictureDecoder {
public:
    struct Result {
        std::optional<Color> color;
        Size size;
    };

    void Script(std::vector<Result> results) {
        m_script = std::move(results);
        m_calls = 0;
    }
    std::unique_ptr<Picture> Decode(std::span<const std::byte> bytes) const override {
        inputs.emplace_back(bytes.begin(), bytes.end());
        if (m_calls >= m_script.size()) return nullptr;
        const Result& result = m_script[m_calls++];
        if (!result.color) return nullptr;
        return std::make_unique<FakePicture>(*result.color, result.size, log);
    }

    std::shared_ptr<PictureLog> log = std::make_shared<PictureLog>();
    mutable std::vector<std::vector<std::byte>> inputs;

private:
    std::vector<Result> m_script;
    mutable std::size_t m_calls = 0;
};

// Records every wait. Waits numbered below the hold mark (from 1) return at once; the others hold
// until the mark moves past them or a stop is requested.
class FakeFrameWaiter final : public FrameWaiter {
public:
    explicit FakeFrameWaiter(std::size_t hold_at = 1) : m_holdAt(hold_at) {}

    void Wait(std::uint32_t ms, std::stop_token stop) override {
        std::unique_lock lock(m_mutex);
        m_waits.push_back(ms);
        const std::size_t number = m_waits.size();
        if (number < m_holdAt) return;
        m_holding = number;
        m_changed.notify_all();
        m_changed.wait(lock, stop, [&] { return number < m_holdAt; });
        m_holding = 0;
        m_changed.notify_all();
    }

    // Lets the waits before `number` through; that one holds.
    void HoldAt(std::size_t number) {
        std::lock_guard lock(m_mutex);
        m_holdAt = number;
        m_changed.notify_all();
    }
    // Waits (at most 10 s) until wait `number` holds.
    bool AwaitHold(std::size_t number) {
        std::unique_lock lock(m_mutex);
        return m_changed.wait_for(lock, std::chrono::seconds(10),
                                  [&] { return m_holding == number; });
    }
    // HoldAt, then AwaitHold.
    bool RunTo(std::size_t number) {
        HoldAt(number);
        return AwaitHold(number);
    }
    bool Holding() const {
        std::lock_guard lock(m_mutex);
        return m_holding != 0;
    }
    std::vector<std::uint32_t> Waits() const {
        std::lock_guard lock(m_mutex);
        return m_waits;
    }

private:
    mutable std::mutex m_mutex;
    std::condition_variable_any m_changed;
    std::vector<std::uint32_t> m_waits;
    std::size_t m_holdAt;
    std::size_t m_holding = 0;
};

}  // namespace picture_test
