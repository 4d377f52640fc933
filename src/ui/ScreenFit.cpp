#include "ui/ScreenFit.h"

#include <QGuiApplication>
#include <QScreen>
#include <QStyle>
#include <QWidget>
#include <QWindow>
#include <algorithm>

namespace morvane {

namespace {

// What the window system adds around the window: known once the window has been shown;
// before, a title bar and thin borders are to be expected.
QMargins FrameOf(const QWidget* window) {
    if (const QWindow* handle = window->windowHandle(); handle != nullptr && handle->isVisible())
        return handle->frameMargins();
    constexpr int kBorder = 4;
    const int titleBar = window->style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, window);
    return {kBorder, titleBar + kBorder, kBorder, kBorder};
}

}  // namespace

void FitToScreen(QWidget* window, QSize wanted) {
    const QWidget* over = window->parentWidget() != nullptr ? window->parentWidget() : window;
    const QScreen* screen =
        over->screen() != nullptr ? over->screen() : QGuiApplication::primaryScreen();
    if (screen == nullptr) {
        window->resize(wanted);
        return;
    }
    const QRect area = screen->availableGeometry();
    const QMargins frame = FrameOf(window);
    const QSize room = area.size().shrunkBy(frame);
    // A layout's minimum may be larger than a small screen; then the minimum gives way, since
    // a window cut by the screen's edge cannot be used at all.
    const QSize minimum = window->minimumSizeHint().expandedTo(window->minimumSize());
    if (minimum.width() > room.width() || minimum.height() > room.height())
        window->setMinimumSize(minimum.boundedTo(room));
    window->resize(wanted.boundedTo(room));
    // A dialog is placed over its parent, inside the screen, when it is shown; a window of
    // its own is kept inside here.
    if (window->parentWidget() != nullptr)
        return;
    QRect outer = window->geometry().marginsAdded(frame);
    if (!area.contains(outer)) {
        outer.moveLeft(std::clamp(outer.left(), area.left(), area.right() - outer.width() + 1));
        outer.moveTop(std::clamp(outer.top(), area.top(), area.bottom() - outer.height() + 1));
        window->move(outer.topLeft());
    }
}

void FitToScreen(QWidget* window) {
    FitToScreen(window, window->size());
}

}  // namespace morvane
