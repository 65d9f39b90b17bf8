#pragma once

// Screen readers take a top-level window of the class `className` (a plain QWidget, which Qt
// presents as a filler) for a frame, as they take a main window or a dialog. Once is enough.
void presentAsFrame(const char *className);
