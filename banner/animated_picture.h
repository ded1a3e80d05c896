#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <future>
#include <memory>
#include <optional>
#include <span>
#include <stop_token>
#include <string_view>
#include <thread>
#include <vector>

#include "banner/frame_waiter.h"
#include "banner/gif_splitter.h"
#include "banner/picture_decoder.h"
#include "toolkit/canvas.h"

class ResourceSource;

// One frame of an animated picture, as the animation thread shows it.
struct GifFrame {
    std::unique_ptr<Picture> picture;
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::uint32_t delay = GifFrameStream::kNoDelay;  // hundredths of a second
    std::uint32_t disposal = 0;                      // 0..7
    // The part of the picture that shows the frame: all of it, or the frame's rectangle when the
    // decoder gave the frame in place on a picture of the logical screen's size.
    Rect source;
};

// The system colours a picture is drawn over.
struct PictureColors {
    Color menu = Rgb(240, 240, 240);         // fills a new canvas
    Color button_face = Rgb(240, 240, 240);  // clears it after each pass; disposal method 2
};

// Shows a picture, and plays it when it is an animated GIF: the frames are drawn one after
// another into an off-screen canvas by an animation thread, each for its own delay, and the
// owner's paint copies the canvas. Every operation is called from one (the user-interface) thread.
class CAnimatedPicture {
public:
    // How long HaltAnimation waits for the animation thread to end, unless told otherwise.
    static constexpr std::chrono::milliseconds kHaltTimeout{5000};

    // `repaint` asks the owner to paint again soon; it is called from the animation thread too,
    // must be safe there and must return promptly. The frames' delays are waited out by `waiter`
    // (a SteadyFrameWaiter when null). HaltAnimation waits at most `haltTimeout` for the thread.
    CAnimatedPicture(const PictureDecoder& decoder, std::shared_ptr<SurfaceFactory> surfaces,
                     PictureColors colors, std::function<void()> repaint,
                     std::shared_ptr<FrameWaiter> waiter = nullptr,
                     std::chrono::milliseconds haltTimeout = kHaltTimeout);
    CAnimatedPicture(const CAnimatedPicture&) = delete;
    CAnimatedPicture& operator=(const CAnimatedPicture&) = delete;
    // Halts the animation and frees the content.
    ~CAnimatedPicture();

    // Loads resource `id` of `type` (the banner is "GIF" 168).
    [[nodiscard]] bool LoadFromResource(const ResourceSource& resources, int id,
                                        std::string_view type);
    // Loads a picture from `data`, which the caller may free once the call returns. A GIF of two
    // or more frames becomes an animation; any other picture a still one.
    [[nodiscard]] bool LoadFromMemory(std::span<const std::byte> data);
    // Draws a still picture into the canvas, or starts the animation thread (true when it runs).
    [[nodiscard]] bool StartShowing();
    bool IsAnimation() const;
    // Ends the animation thread, keeping the frame on show for the next start.
    void HaltAnimation();
    // Halts the animation and frees everything a load made.
    void ReleaseContent();
    // Copies the canvas to `at` (its top-left corner) of `target`; nothing without a canvas.
    void Paint(Canvas& target, Point at = {}) const;

    // The canvas's size, set by the last load that got as far as knowing it.
    Size GetSize() const { return {m_width, m_height}; }
    std::size_t FrameCount() const;
    bool IsAnimating() const { return m_thread.joinable(); }

private:
    struct Content;

    static void RunAnimation(Content& content, std::stop_token stop);
    static void DisposeOf(Content& content, const GifFrame& frame);
    static void RequestRepaint(Content& content);

    [[nodiscard]] bool LoadWhole(std::span<const std::byte> data, std::optional<Size> size);
    [[nodiscard]] bool CreateCanvas(int width, int height);
    std::shared_ptr<Content> NewContent() const;

    const PictureDecoder& m_decoder;
    const std::shared_ptr<SurfaceFactory> m_surfaces;
    const std::shared_ptr<FrameWaiter> m_waiter;
    const PictureColors m_colors;
    const std::function<void()> m_repaint;
    const std::chrono::milliseconds m_haltTimeout;

    int m_width = 0;
    int m_height = 0;
    bool m_isGif = false;
    bool m_initialised = false;
    std::unique_ptr<Picture> m_stillPicture;
    // Shared with the animation thread, so that a thread that outlives HaltAnimation's wait can
    // never find its frames and canvas freed under it.
    std::shared_ptr<Content> m_content;
    std::jthread m_thread;
    std::future<void> m_threadEnded;
};
