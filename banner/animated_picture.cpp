#include "banner/animated_picture.h"

#include <algorithm>
#include <mutex>
#include <optional>
#include <system_error>
#include <utility>

#include "base/resource_source.h"

namespace {

constexpr Color kWhite = Rgb(255, 255, 255);

bool BeginsWithGif(std::span<const std::byte> data) {
    return data.size() >= 3 && data[0] == std::byte{'G'} && data[1] == std::byte{'I'} &&
           data[2] == std::byte{'F'};
}

// Delays under 5 hundredths are taken as 100 ms. The product wraps in 32 bits, so a frame
// without a delay (0xFFFFFFFF) is held for 4294967286 ms: in effect until the animation halts.
std::uint32_t FrameWaitMs(std::uint32_t delay) { return delay < 5 ? 100 : delay * 10u; }

Rect FrameRect(const GifFrame& frame) {
    return {frame.left, frame.top, frame.left + frame.width, frame.top + frame.height};
}

Rect WholeOf(Size size) { return {0, 0, size.width, size.height}; }

Rect Intersection(const Rect& a, const Rect& b) {
    return {std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
            std::min(a.bottom, b.bottom)};
}

// A decoder may give a frame's picture at the frame's own size, or at the logical screen's with
// the frame in place and the rest filled (Qt does the latter, with the background colour or
// transparency). Only the frame's part is drawn, so the rest of the canvas keeps what it shows.
Rect SourceOf(const GifFrame& frame, Size picture, Size screen) {
    const bool frame_is_screen = frame.width == screen.width && frame.height == screen.height;
    if (picture == screen && !frame_is_screen) return FrameRect(frame);
    return WholeOf(picture);
}

}  // namespace

// What the animation thread uses. The thread holds a reference of its own, so that whatever
// happens to the control the frames and the canvas live as long as the thread.
struct CAnimatedPicture::Content {
    Content(std::shared_ptr<SurfaceFactory> surfaces_, std::shared_ptr<FrameWaiter> waiter_,
            std::function<void()> repaint_)
        : surfaces(std::move(surfaces_)),
          waiter(std::move(waiter_)),
          repaint(std::move(repaint_)) {}

    const std::shared_ptr<SurfaceFactory> surfaces;
    const std::shared_ptr<FrameWaiter> waiter;

    // Held while a frame is drawn or disposed of and while the paint copies the canvas. Without
    // it a paint could copy a canvas half drawn, and the two threads would race on its pixels.
    // Both hold it briefly (with Qt a 300 x 100 frame draws in about 6 us and the copy takes
    // under 10 us: bench/banner_bench.cpp), so the paint never waits long; a second buffer would
    // cost a copy per frame and gain nothing.
    std::mutex mutex;
    std::unique_ptr<Surface> canvas;
    std::unique_ptr<Surface> backup;  // what lay under a frame of disposal method 3
    Rect backup_area;                 // where, in the canvas
    Size size;
    Color background = kWhite;

    // Written only while no animation thread runs. The thread reads the frames without the lock
    // and owns the current frame while it runs; the control reads it again after the join.
    std::vector<GifFrame> frames;
    std::size_t current_frame = 0;

    std::mutex repaint_mutex;
    std::function<void()> repaint;  // emptied when a thread that would not end is let go
};

CAnimatedPicture::CAnimatedPicture(const PictureDecoder& decoder,
                                   std::shared_ptr<SurfaceFactory> surfaces, PictureColors colors,
                                   std::function<void()> repaint,
                                   std::shared_ptr<FrameWaiter> waiter,
                                   std::chrono::milliseconds haltTimeout)
    : m_decoder(decoder),
      m_surfaces(std::move(surfaces)),
      m_waiter(waiter ? std::move(waiter) : std::make_shared<SteadyFrameWaiter>()),
      m_colors(colors),
      m_repaint(std::move(repaint)),
      m_haltTimeout(haltTimeout),
      m_content(NewContent()) {}

CAnimatedPicture::~CAnimatedPicture() { ReleaseContent(); }

std::shared_ptr<CAnimatedPicture::Content> CAnimatedPicture::NewContent() const {
    return std::make_shared<Content>(m_surfaces, m_waiter, m_repaint);
}

bool CAnimatedPicture::LoadFromResource(const ResourceSource& resources, int id,
                                        std::string_view type) {
    const std::span<const std::byte> bytes = resources.Find(type, id);
    if (bytes.empty()) return false;
    return LoadFromMemory(bytes);
}

bool CAnimatedPicture::LoadFromMemory(std::span<const std::byte> data) {
    ReleaseContent();
    if (data.empty()) return false;
    m_isGif = BeginsWithGif(data);
    // Other versions may hold blocks the splitter does not walk: the decoder gets them whole.
    if (!GifSplitter::IsSplittableGif(data)) return LoadWhole(data, std::nullopt);

    GifSplitter splitter;
    splitter.StartParse(data);
    const Size screen{splitter.LogicalScreenWidth(), splitter.LogicalScreenHeight()};
    m_width = screen.width;
    m_height = screen.height;
    const int count = splitter.CountFrames();
    if (count == 0) return false;
    if (count == 1) return LoadWhole(data, screen);

    splitter.ResetCursor();
    std::vector<GifFrame> frames;
    while (std::optional<GifFrameStream> stream = splitter.ExtractNextFrame()) {
        std::unique_ptr<Picture> picture = m_decoder.Decode(stream->stream);
        if (!picture) continue;  // the frame is dropped; the others still play
        GifFrame frame{std::move(picture), stream->width, stream->height,   stream->left,
                       stream->top,        stream->delay, stream->disposal, {}};
        frame.source = SourceOf(frame, frame.picture->GetSize(), screen);
        frames.push_back(std::move(frame));
    }
    splitter.EndParse();
    if (frames.empty()) return false;
    // ReleaseContent has ended any thread: nobody else reads the frames yet.
    m_content->frames = std::move(frames);
    if (CreateCanvas(screen.width, screen.height)) return true;
    m_content->frames.clear();
    return false;
}

// The whole data as one still picture, at `size` or else at the picture's own size.
bool CAnimatedPicture::LoadWhole(std::span<const std::byte> data, std::optional<Size> size) {
    std::unique_ptr<Picture> picture = m_decoder.Decode(data);
    if (!picture) return false;
    const Size canvas = size.value_or(picture->GetSize());
    m_stillPicture = std::move(picture);
    if (CreateCanvas(canvas.width, canvas.height)) return true;
    m_stillPicture.reset();
    return false;
}

bool CAnimatedPicture::CreateCanvas(int width, int height) {
    m_width = width;
    m_height = height;
    std::unique_ptr<Surface> canvas = m_surfaces->CreateSurface({width, height});
    if (!canvas) return false;
    canvas->GetCanvas().FillSolidRect({0, 0, width, height}, m_colors.menu);
    {
        std::lock_guard lock(m_content->mutex);
        m_content->canvas = std::move(canvas);
        m_content->size = {width, height};
        // The GIF's own background colour is not used.
        m_content->background = m_colors.button_face;
    }
    m_initialised = true;
    return true;
}

bool CAnimatedPicture::StartShowing() {
    if (!m_initialised) return false;
    if (IsAnimation()) {
        if (m_thread.joinable()) return true;
        std::promise<void> ended;
        std::future<void> ended_future = ended.get_future();
        try {
            m_thread = std::jthread(
                [content = m_content, ended = std::move(ended)](std::stop_token stop) mutable {
                    RunAnimation(*content, stop);
                    ended.set_value();
                });
        } catch (const std::system_error&) {
            return false;
        }
        m_threadEnded = std::move(ended_future);
        return true;
    }
    if (!m_stillPicture) return false;
    bool drawn = false;
    {
        std::lock_guard lock(m_content->mutex);
        drawn = m_stillPicture->Draw(m_content->canvas->GetCanvas(), {0, 0, m_width, m_height},
                                     WholeOf(m_stillPicture->GetSize()));
    }
    if (drawn) RequestRepaint(*m_content);
    return drawn;
}

bool CAnimatedPicture::IsAnimation() const { return m_isGif && m_content->frames.size() > 1; }

std::size_t CAnimatedPicture::FrameCount() const { return m_content->frames.size(); }

void CAnimatedPicture::HaltAnimation() {
    if (!m_thread.joinable()) return;
    m_thread.request_stop();  // also wakes the frame's wait
    if (m_threadEnded.wait_for(m_haltTimeout) == std::future_status::ready) {
        m_thread.join();
    } else {
        // Only a drawing or a wait that does not end keeps the thread this long. It is let go
        // with the content it holds, which it frees when it ends; it asks for no more repaints,
        // since its owner may be gone by then. The control is left empty.
        m_thread.detach();
        {
            std::lock_guard lock(m_content->repaint_mutex);
            m_content->repaint = nullptr;
        }
        m_content = NewContent();
        m_stillPicture.reset();
        m_initialised = false;
        m_isGif = false;
    }
    m_threadEnded = {};
}

void CAnimatedPicture::ReleaseContent() {
    HaltAnimation();
    // No thread uses the content now: a fresh one frees the frames, the canvas and the backup,
    // and starts over at the first frame with a white background.
    m_content = NewContent();
    m_stillPicture.reset();
    m_initialised = false;
    m_isGif = false;
}

void CAnimatedPicture::Paint(Canvas& target, Point at) const {
    std::lock_guard lock(m_content->mutex);
    if (!m_content->canvas) return;
    const Size size = m_content->size;
    target.CopySurface(*m_content->canvas, {0, 0, size.width, size.height}, at);
}

void CAnimatedPicture::RunAnimation(Content& content, std::stop_token stop) {
    const std::vector<GifFrame>& frames = content.frames;
    // After a halt the frame that was on show has not been disposed of yet; on a first run this
    // is the first frame.
    {
        std::lock_guard lock(content.mutex);
        DisposeOf(content, frames[content.current_frame]);
    }
    while (!stop.stop_requested()) {
        const GifFrame& frame = frames[content.current_frame];
        bool drawn = false;
        {
            std::lock_guard lock(content.mutex);
            if (frame.disposal == 3) {
                // Only the part inside the canvas can be given back: a frame far larger than the
                // screen costs no larger a backup.
                const Rect area = Intersection(FrameRect(frame), WholeOf(content.size));
                content.backup =
                    area.Width() > 0 && area.Height() > 0
                        ? content.surfaces->CreateSurface({area.Width(), area.Height()})
                        : nullptr;
                if (content.backup) {
                    content.backup->GetCanvas().CopySurface(*content.canvas, area, {0, 0});
                    content.backup_area = area;
                }
            }
            drawn =
                frame.picture->Draw(content.canvas->GetCanvas(), FrameRect(frame), frame.source);
        }
        // A frame that failed to draw is still waited out.
        if (drawn) RequestRepaint(content);
        if (stop.stop_requested()) break;
        content.waiter->Wait(FrameWaitMs(frame.delay), stop);
        if (stop.stop_requested()) break;
        {
            std::lock_guard lock(content.mutex);
            DisposeOf(content, frame);
        }
        if (++content.current_frame == frames.size()) {
            content.current_frame = 0;
            std::lock_guard lock(content.mutex);
            const Size size = content.size;
            content.canvas->GetCanvas().FillSolidRect({0, 0, size.width, size.height},
                                                      content.background);
        }
    }
}

// Called with the content's lock held.
void CAnimatedPicture::DisposeOf(Content& content, const GifFrame& frame) {
    switch (frame.disposal) {
        case 2:
            content.canvas->GetCanvas().FillSolidRect(FrameRect(frame), content.background);
            break;
        case 3:
            if (content.backup) {
                const Rect& area = content.backup_area;
                content.canvas->GetCanvas().CopySurface(
                    *content.backup, {0, 0, area.Width(), area.Height()}, {area.left, area.top});
                content.backup.reset();
            }
            break;
        default:  // 0, 1 and 4 to 7 leave the frame where it is
            break;
    }
}

void CAnimatedPicture::RequestRepaint(Content& content) {
    std::lock_guard lock(content.repaint_mutex);
    if (content.repaint) content.repaint();
}
