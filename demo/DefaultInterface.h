#pragma once
// The configuration window every project gets unless it brings its own: the demo's window,
// written in the component notation by our own code. "MainWindow" with the product's header,
// the picture grid with check boxes, a preview pane, picture buttons for browsing,
// previewing, settings, wallpaper and closing, a link to the web site, and an "AboutWindow"
// it opens. The project's own texts come in through the placeholders <ScreensaverName>,
// <CompanyName> and <Website>. The pictures of the buttons and the logo are painted here and
// carried as BMP data inside the text.

#include <string>

namespace ml {

// The whole interface description file (the collection with its counts), lines ending in
// CR LF. The same on every run.
std::string DefaultInterfaceDescription();

} // namespace ml
