#pragma once

class QWidget;

// Centres a window on the screen of its owner (or its own screen):
// left = (screen width - window width) / 2, top likewise, halves rounded
// toward zero, counted from that screen's corner on the desktop.
void CentreOnScreen(QWidget* window);
