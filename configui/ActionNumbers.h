#pragma once
// The action numbers an interface description's bindings name. Header only, so that the
// code that writes descriptions (the demo) shares them without linking the window code.

namespace ml {

enum TActionNumber : int {
    OpenUrl = 0,
    ShowWindow = 1,
    NextPicture = 2,
    PreviousPicture = 3,
    PreviewSelectedFile = 4,
    OpenSetting = 5,
    CloseWindow = 6,
    SetAsWallpaper = 9,
};

} // namespace ml
