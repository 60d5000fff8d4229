#include "movtoy4m/FramePlacement.h"

FloatRect FramePlacement::fit(const FloatRect& r, const FloatRect& R)
{
    const float scaleW = R.w / r.w;
    const float scaleH = R.h / r.h;
    const float scale = scaleW < scaleH ? scaleW : scaleH;
    const float w = r.w * scale;
    const float h = r.h * scale;
    return { R.x + (R.w - w) / 2, R.y + (R.h - h) / 2, w, h };
}

FrameRect FramePlacement::scaledRect(QSize natural, QSize frame, int aspect1, int aspect2, bool tvSafe)
{
    FrameRect rect { 0, 0, frame.height(), frame.width() };
    if (!natural.isEmpty() && aspect1 > 0 && aspect2 > 0) {
        const FloatRect shape
            = fit({ 0, 0, float(natural.width()), float(natural.height()) }, { 0, 0, float(aspect1), float(aspect2) });
        // One display-aspect unit in output pixels, per axis: the frame's
        // pixels need not be square.
        const double sx = double(frame.width()) / aspect1;
        const double sy = double(frame.height()) / aspect2;
        const double w = shape.w * sx;
        const double h = shape.h * sy;
        const double x = (frame.width() - w) / 2;
        const double y = (frame.height() - h) / 2;
        rect.left = int(x);
        rect.top = int(y);
        rect.right = int(x) + int(w);
        rect.bottom = int(y) + int(h);
    }
    return tvSafe ? tvSafeInset(rect) : rect;
}

FrameRect FramePlacement::tvSafeInset(const FrameRect& rect)
{
    const int dh = (rect.width() * 5) / 100;
    const int dv = (rect.height() * 5) / 100;
    return { rect.top + dv, rect.left + dh, rect.bottom - dv, rect.right - dh };
}
