#include "config/WindowBounds.h"

#include <algorithm>

namespace config {

TWindowPos OnWorkArea(const TWindowPos &pos, const RECT &work, int captionHeight) {
    TWindowPos result = pos;
    int workWidth = work.right - work.left, workHeight = work.bottom - work.top;
    result.width = std::max(result.width, std::min(kMinWindowWidth, workWidth));
    result.height = std::max(result.height, std::min(kMinWindowHeight, workHeight));
    // In 64 bits: saved values may lie anywhere in the integer range.
    long long left = result.left, top = result.top;
    long long visible = std::min<long long>(left + result.width, work.right) - std::max<long long>(left, work.left);
    bool reachable = top >= work.top && top + captionHeight <= work.bottom &&
                     visible >= std::min(kMinVisibleCaption, result.width);
    if (!reachable) {
        result.left = static_cast<int>(std::clamp<long long>(left, work.left, std::max(work.left, work.right - result.width)));
        result.top = static_cast<int>(std::clamp<long long>(top, work.top, std::max(work.top, work.bottom - result.height)));
    }
    return result;
}

RECT WorkspaceToScreen(const RECT &normal, const RECT &work, const RECT &monitor) {
    int dx = work.left - monitor.left, dy = work.top - monitor.top;
    return {normal.left + dx, normal.top + dy, normal.right + dx, normal.bottom + dy};
}

} // namespace config
