#pragma once

#include <QWidget>
#include <cstddef>
#include <memory>
#include <span>
#include <string_view>

#include "banner/animated_picture.h"
#include "banner/qt/qt_picture_decoder.h"

class ResourceSource;

// Shows a CAnimatedPicture, at the picture's size. The animation thread runs only while the
// widget is visible: hiding it halts the thread, showing it again starts it on the frame that was
// on show. It takes no mouse input: clicks and the cursor over it are its window's.
class QtAnimatedPicture : public QWidget {
public:
    // `waiter` waits out the frames' delays (the steady clock when null).
    explicit QtAnimatedPicture(QWidget* parent = nullptr,
                               std::shared_ptr<FrameWaiter> waiter = nullptr);

    // Load, then take the picture's size. On a screen of twice the density (or more) a resource
    // takes its version of type "TYPE@2x" where there is one, shown pixel for pixel at half its
    // size in the widget's own units.
    [[nodiscard]] bool LoadFromResource(const ResourceSource& resources, int id,
                                        std::string_view type);
    [[nodiscard]] bool LoadFromMemory(std::span<const std::byte> bytes);
    // Draws a still picture, or starts the animation; while the widget is hidden the start waits
    // for it to be shown.
    [[nodiscard]] bool StartShowing();

    CAnimatedPicture& picture() { return m_picture; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    bool FitToPicture(bool loaded);

    QtPictureDecoder m_decoder;
    // Destroyed, and so halted, before the widget's own parts go.
    CAnimatedPicture m_picture;
    bool m_startOnShow = false;
    qreal m_ratio = 1;  // picture pixels per widget unit
};
