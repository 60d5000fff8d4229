#pragma once

#include <QSize>

// An integer rectangle as the movie service gives them: width = right - left,
// height = bottom - top.
struct FrameRect {
    int top = 0;
    int left = 0;
    int bottom = 0;
    int right = 0;

    int width() const { return right - left; }
    int height() const { return bottom - top; }
    bool isEmpty() const { return width() <= 0 || height() <= 0; }
    bool operator==(const FrameRect&) const = default;
};

// A single-precision rectangle, used only inside the placement arithmetic.
struct FloatRect {
    float x = 0;
    float y = 0;
    float w = 0;
    float h = 0;
};

// Where a movie's picture goes inside the disc's frame: its shape kept, as
// large as the frame's display aspect allows, centred, and optionally shrunk
// into the area every television shows.
class FramePlacement {
public:
    // `r` scaled to fit inside `R` with its shape kept, centred in `R`.
    static FloatRect fit(const FloatRect& r, const FloatRect& R);

    // The picture's rectangle in a frame of `frame` pixels shown at the
    // display aspect aspect1:aspect2, for a movie of `natural` size. A movie
    // without a size fills the frame.
    static FrameRect scaledRect(QSize natural, QSize frame, int aspect1, int aspect2, bool tvSafe);

    // `rect` shrunk by 5 % of its size on every side.
    static FrameRect tvSafeInset(const FrameRect& rect);
};
