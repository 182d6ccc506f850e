// Measurements of the running program for the benchmarks, asked for through
// the environment: VELKARIS_MEASURE=startup prints "FirstPictureMs=<n>" (from
// the process's start to the first picture painted) and closes the window;
// VELKARIS_MEASURE=memory:<ms> prints "RssKb=<n>" that long after the first
// picture and closes; VELKARIS_MEASURE=soak:<ms> prints a "SoakTick" line every
// <ms> (clock, lateness of the user-interface thread, frame sounding) until the
// window closes (tools/soak.sh reads them). Without the variable nothing happens.
#pragma once

class QWidget;

namespace vk {

struct Player;

// Called when the picture window has shown its first picture.
void MeasureFirstPicture(QWidget* main_window, Player& player);

}  // namespace vk
