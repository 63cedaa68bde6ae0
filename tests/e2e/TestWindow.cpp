// A stand-in for a screen-saver host in the end-to-end tests: makes a plain X11 window the
// saver can draw into and reads its pixels back. It never paints the window itself, so
// whatever the window shows was put there by someone else.
//
//   ml_test_window jpeg PATH           writes a 40 x 20 JPEG with four coloured quadrants
//   ml_test_window window W H [hidden] prints the new window's id, then reads commands:
//       map | unmap | remap            change visibility (remap forces a repaint), answer "ok"
//       resize W H                     change the window's size, answer "ok"
//       check X Y RRGGBB               "ok" when the pixel is within 48 of that colour per
//                                      channel, else "bad X Y got RRGGBB"
//       quit

#include "backend/Jpeg.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <thread>

namespace {

// Red, green / blue, white: any mirroring, rotation or aspect-keeping stretch moves a
// corner's colour.
constexpr unsigned kQuadrants[2][2] = {{0xFF0000, 0x00FF00}, {0x0000FF, 0xFFFFFF}};

int WriteJpeg(const std::string& path) {
    ml::TBitmap picture(40, 20);
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 40; ++x)
            picture.SetPixel(x, y, kQuadrants[y / 10][x / 20]);
    std::ofstream(path, std::ios::binary) << ml::EncodeJpeg(picture, 95);
    return 0;
}

unsigned Channel(unsigned long pixel, unsigned long mask) {
    int shift = 0;
    while (mask && !((mask >> shift) & 1))
        ++shift;
    const unsigned long max = mask >> shift;
    return max ? static_cast<unsigned>(((pixel & mask) >> shift) * 255 / max) : 0;
}

unsigned ReadPixel(Display* display, Window window, int x, int y) {
    XImage* image = XGetImage(display, window, x, y, 1, 1, AllPlanes, ZPixmap);
    if (!image)
        return 0x1000000; // never a colour: reported as a mismatch
    const unsigned long pixel = XGetPixel(image, 0, 0);
    const unsigned rgb = Channel(pixel, image->red_mask) << 16 |
                         Channel(pixel, image->green_mask) << 8 | Channel(pixel, image->blue_mask);
    XDestroyImage(image);
    return rgb;
}

bool Near(unsigned a, unsigned b) {
    for (int shift : {0, 8, 16})
        if (std::abs(int(a >> shift & 0xFF) - int(b >> shift & 0xFF)) > 48)
            return false;
    return true;
}

void Settle(Display* display) {
    XSync(display, False);
    // The server paints exposed backgrounds on its own schedule; give it a moment.
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
}

int RunWindow(int width, int height, bool hidden) {
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "ml_test_window: no X display\n");
        return 2;
    }
    const int screen = DefaultScreen(display);
    // A mid grey background that no quadrant colour is near.
    const Window window = XCreateSimpleWindow(display, RootWindow(display, screen), 0, 0,
                                              static_cast<unsigned>(width),
                                              static_cast<unsigned>(height), 0, 0, 0x808080);
    if (!hidden)
        XMapWindow(display, window);
    Settle(display);
    std::cout << window << std::endl;

    std::string line;
    while (std::getline(std::cin, line)) {
        std::istringstream words(line);
        std::string command;
        words >> command;
        if (command == "quit")
            break;
        if (command == "map" || command == "unmap" || command == "remap") {
            if (command != "map")
                XUnmapWindow(display, window);
            if (command != "unmap")
                XMapWindow(display, window);
            Settle(display);
            std::cout << "ok" << std::endl;
        } else if (command == "resize") {
            unsigned w = 0, h = 0;
            words >> w >> h;
            XResizeWindow(display, window, w, h);
            Settle(display);
            std::cout << "ok" << std::endl;
        } else if (command == "check") {
            int x = 0, y = 0;
            std::string hex;
            words >> x >> y >> hex;
            const unsigned want = static_cast<unsigned>(std::stoul(hex, nullptr, 16));
            const unsigned got = ReadPixel(display, window, x, y);
            char answer[64];
            std::snprintf(answer, sizeof answer, "bad %d %d got %06X", x, y, got);
            std::cout << (Near(got, want) ? "ok" : answer) << std::endl;
        } else {
            std::cout << "unknown command " << command << std::endl;
        }
    }
    XDestroyWindow(display, window);
    XCloseDisplay(display);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "jpeg" && argc == 3)
        return WriteJpeg(argv[2]);
    if (mode == "window" && (argc == 4 || argc == 5))
        return RunWindow(std::atoi(argv[2]), std::atoi(argv[3]),
                         argc == 5 && std::string(argv[4]) == "hidden");
    std::fprintf(stderr, "usage: ml_test_window jpeg PATH | window W H [hidden]\n");
    return 2;
}
