#pragma once

namespace wattrix {

class CMainFrame;

// Registers the creators of every child window class the program has (the
// mode windows, the history window) with the frame's registry. Each window
// class adds itself here.
void RegisterChildWindows(CMainFrame& frame);

}  // namespace wattrix
