#pragma once
// Where the test window goes when its picture changes size: the outer window
// keeps its centre.
namespace maprun {

struct WindowRect {
    int left, top, width, height;
};

inline constexpr int kPictureTop = 122; // the controls above the picture

// The outer rectangle for a client area of the frame's size plus the controls,
// given the old outer rectangle and the frame (border) sizes around the client.
WindowRect CentredWindow(const WindowRect& oldOuter, int frameWidth, int frameHeight,
                         int borderWidth, int borderHeight);

} // namespace maprun
